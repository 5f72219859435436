#include "capture/redactor.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

wchar_t lower(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c;
}

bool contains(const std::wstring& text, const std::wstring& part)
{
    std::wstring a(text), b(part);
    std::transform(a.begin(), a.end(), a.begin(), lower);
    std::transform(b.begin(), b.end(), b.begin(), lower);
    return a.find(b) != std::wstring::npos;
}

bool startsWith(const std::wstring& text, const std::wstring& prefix)
{
    return text.size() >= prefix.size() && contains(text.substr(0, prefix.size()), prefix);
}

std::wstring number(int n)
{
    wchar_t text[16];
    swprintf(text, sizeof text / sizeof text[0], L"%d", n);
    return text;
}

enum Category { kNone, kInstanceName, kSerialNumber, kIqn, kAddress, kCategories };

// iSCSI names: iqn., eui. and naa. forms (RFC 3720, 3980).
bool isIscsiName(const std::wstring& text)
{
    return startsWith(text, L"iqn.") || startsWith(text, L"eui.") || startsWith(text, L"naa.");
}

bool isAddressProperty(const std::wstring& name)
{
    return contains(name, L"Address");
}

Category textCategory(const std::wstring& property, const std::wstring& text)
{
    if (text.empty())
        return kNone;
    if (contains(property, L"InstanceName"))
        return kInstanceName;
    if (contains(property, L"SerialNumber"))
        return kSerialNumber;
    if (isIscsiName(text) || contains(property, L"iSCSIName"))
        return kIqn;
    if (isAddressProperty(property))
        return kAddress;
    return kNone;
}

// Subnet masks (ones then zeros) identify nothing and say how the network is laid out.
bool isNetmask(const std::string& literal)
{
    unsigned long value = strtoul(literal.c_str(), NULL, 10) & 0xFFFFFFFFul;
    unsigned long inverted = ~value & 0xFFFFFFFFul;
    return (inverted & (inverted + 1)) == 0;
}

// Texts shorter than this are replaced where they are a whole value only: inside other strings
// they would match by chance.
const size_t kShortestEmbedded = 4;

class Redactor
{
public:
    Redactor() : m_counts(kCategories, 0) {}

    void instance(CapturedInstance& object)
    {
        for (size_t i = 0; i < object.values.size(); ++i)
            value(object.values[i], object.cls->properties[i]);
    }

    // A redacted text also hides where it appears inside other strings.
    void hideEmbedded(CapturedValue& value) const
    {
        if (value.kind == CapturedValue::Text) {
            for (size_t i = 0; i < m_longestFirst.size(); ++i)
                replaceAll(&value.text, m_longestFirst[i]->first, m_longestFirst[i]->second);
        } else if (value.kind == CapturedValue::Object) {
            for (size_t i = 0; i < value.object->values.size(); ++i)
                hideEmbedded(value.object->values[i]);
        } else if (value.kind == CapturedValue::Array) {
            for (size_t i = 0; i < value.elements.size(); ++i)
                hideEmbedded(value.elements[i]);
        }
    }

    void prepareEmbedded()
    {
        for (std::map<std::wstring, std::wstring>::const_iterator it = m_texts.begin(); it != m_texts.end(); ++it)
            if (it->first.size() >= kShortestEmbedded)
                m_longestFirst.push_back(&*it);
        std::stable_sort(m_longestFirst.begin(), m_longestFirst.end(), longerFirst);
    }

private:
    typedef std::pair<const std::wstring, std::wstring> TextEntry;

    static bool longerFirst(const TextEntry* a, const TextEntry* b) { return a->first.size() > b->first.size(); }

    static void replaceAll(std::wstring* text, const std::wstring& from, const std::wstring& to)
    {
        for (size_t at = text->find(from); at != std::wstring::npos; at = text->find(from, at + to.size()))
            text->replace(at, from.size(), to);
    }

    void value(CapturedValue& value, const CapturedProperty& property)
    {
        CIMTYPE base = property.type & ~CIM_FLAG_ARRAY;
        switch (value.kind) {
        case CapturedValue::Text: {
            Category category = textCategory(property.name, value.text);
            if (category != kNone)
                value.text = textPlaceholder(category, value.text);
            return;
        }
        case CapturedValue::Literal:
            if (base == CIM_UINT32 && isAddressProperty(property.name) && !isNetmask(value.literal))
                value.literal = ipv4Placeholder(value.literal);
            return;
        case CapturedValue::Object:
            instance(*value.object);
            return;
        case CapturedValue::Array:
            if (base == CIM_UINT8 && isAddressProperty(property.name)) {
                bytesPlaceholder(value);
                return;
            }
            for (size_t i = 0; i < value.elements.size(); ++i)
                this->value(value.elements[i], property);
            return;
        case CapturedValue::Null:
            return;
        }
    }

    std::wstring textPlaceholder(Category category, const std::wstring& text)
    {
        std::map<std::wstring, std::wstring>::iterator known = m_texts.find(text);
        if (known != m_texts.end())
            return known->second;
        std::wstring n = number(++m_counts[category]);
        std::wstring placeholder = category == kInstanceName ? L"REDACTED\\INSTANCE_" + n
                                 : category == kSerialNumber ? L"SERIAL-" + n
                                 : category == kIqn          ? L"iqn.2000-01.invalid.redacted:name-" + n
                                                             : L"ADDRESS-" + n;
        m_texts[text] = placeholder;
        return placeholder;
    }

    // 192.0.2.n, the documentation network, as the host-order integer WMI holds.
    std::string ipv4Placeholder(const std::string& literal)
    {
        std::map<std::string, std::string>::iterator known = m_ipv4.find(literal);
        if (known != m_ipv4.end())
            return known->second;
        char text[16];
        snprintf(text, sizeof text, "%lu", 0xC0000200ul + static_cast<unsigned long>(++m_counts[kAddress]));
        return m_ipv4[literal] = text;
    }

    // MAC addresses become locally administered ones (02-00-00-00-..), IPv6 addresses fall in
    // 2001:db8::/32; the placeholder's number sits in the last two bytes. All-zero (unset) stays.
    void bytesPlaceholder(CapturedValue& value)
    {
        std::string key;
        bool allZero = true;
        for (size_t i = 0; i < value.elements.size(); ++i) {
            key += value.elements[i].literal + ",";
            allZero = allZero && value.elements[i].literal == "0";
        }
        if (allZero)
            return;
        std::map<std::string, std::vector<std::string> >::iterator known = m_bytes.find(key);
        if (known == m_bytes.end()) {
            size_t size = value.elements.size();
            std::vector<unsigned> bytes(size, 0);
            static const unsigned mac[] = {0x02};
            static const unsigned ipv6[] = {0x20, 0x01, 0x0d, 0xb8};
            if (size == 6)
                std::copy(mac, mac + 1, bytes.begin());
            else if (size == 16)
                std::copy(ipv6, ipv6 + 4, bytes.begin());
            unsigned n = static_cast<unsigned>(++m_counts[kAddress]);
            if (size >= 1)
                bytes[size - 1] = n & 0xFF;
            if (size >= 2)
                bytes[size - 2] = (n >> 8) & 0xFF;
            std::vector<std::string> literals;
            for (size_t i = 0; i < size; ++i) {
                char text[8];
                snprintf(text, sizeof text, "%u", bytes[i]);
                literals.push_back(text);
            }
            known = m_bytes.insert(std::make_pair(key, literals)).first;
        }
        for (size_t i = 0; i < value.elements.size(); ++i)
            value.elements[i].literal = known->second[i];
    }

    std::vector<int> m_counts;
    std::map<std::wstring, std::wstring> m_texts;
    std::map<std::string, std::string> m_ipv4;
    std::map<std::string, std::vector<std::string> > m_bytes;
    std::vector<const TextEntry*> m_longestFirst;
};

}  // namespace

void redact(Capture* capture)
{
    Redactor redactor;
    for (size_t i = 0; i < capture->instances.size(); ++i)
        redactor.instance(capture->instances[i]);
    redactor.prepareEmbedded();
    for (size_t i = 0; i < capture->instances.size(); ++i)
        for (size_t k = 0; k < capture->instances[i].values.size(); ++k)
            redactor.hideEmbedded(capture->instances[i].values[k]);
}
