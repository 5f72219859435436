#include "capture/redactor.h"

#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

#include <algorithm>
#include <string>
#include <vector>

#include "capture/redaction/case_fold.h"
#include "capture/redaction/identifier_table.h"
#include "capture/redaction/text_matcher.h"

namespace quillet::capture {

namespace {

bool contains(const std::wstring& name, const wchar_t* part)
{
    const wchar_t* end = part + wcslen(part);
    return std::search(name.begin(), name.end(), part, end, sameFolded) != name.end();
}

bool isAddressProperty(const CapturedProperty& property)
{
    return contains(property.name, L"Address");
}

bool isSerialProperty(const CapturedProperty& property)
{
    return contains(property.name, L"SerialNumber");
}

// What a string holds as a whole, by its property's name; kKinds for any other string.
IdentifierTable::Kind textKind(const CapturedProperty& property, const std::wstring& text)
{
    if (text.empty())
        return IdentifierTable::kKinds;
    if (contains(property.name, L"InstanceName"))
        return IdentifierTable::kInstanceName;
    if (isSerialProperty(property))
        return IdentifierTable::kSerialNumber;
    if (contains(property.name, L"iSCSIName") ||
        wholeIdentifier(text).kind == FoundIdentifier::kIscsiName)
        return IdentifierTable::kIscsiName;
    if (isAddressProperty(property))
        return IdentifierTable::kAddress;
    return IdentifierTable::kKinds;
}

std::string decimal(unsigned long value)
{
    char text[24];
    snprintf(text, sizeof text, "%lu", value);
    return text;
}

// A placeholder number that the property's integer type holds.
unsigned long fitted(unsigned n, CIMTYPE base)
{
    unsigned long largest = 0xFFFFFFFFul;
    if (base == CIM_SINT8)
        largest = 127;
    else if (base == CIM_UINT8)
        largest = 255;
    else if (base == CIM_SINT16)
        largest = 32767;
    else if (base == CIM_UINT16 || base == CIM_CHAR16)
        largest = 65535;
    return (n - 1) % largest + 1;
}

// Texts shorter than this are replaced where they are a whole value only: inside other strings
// they would match by chance.
const size_t kShortestEmbedded = 3;

class Redactor
{
public:
    // First pass: replaces every value that its property names as an identifier and numbers the
    // identifiers found by their form in the other strings, which it keeps for the second pass.
    void instance(CapturedInstance& object)
    {
        for (size_t i = 0; i < object.values.size(); ++i)
            value(object.values[i], object.cls->properties[i]);
    }

    // Second pass: every identifier inside the other strings, known by its value or by its form.
    void hideInsideStrings()
    {
        TextMatcher matcher(m_table.knownForms(), kShortestEmbedded);
        std::vector<TextMatcher::Match> known;
        for (size_t i = 0; i < m_otherStrings.size(); ++i) {
            matcher.longestAtEachStart(*m_otherStrings[i].text, &known);
            *m_otherStrings[i].text =
                rewritten(*m_otherStrings[i].text, m_otherStrings[i].dottedQuads, known);
        }
    }

private:
    struct OtherString
    {
        std::wstring* text;
        bool dottedQuads;  // a dotted quad in it is an address (not in a version)
    };

    void value(CapturedValue& value, const CapturedProperty& property)
    {
        CIMTYPE base = property.type & ~CIM_FLAG_ARRAY;
        switch (value.kind) {
            case CapturedValue::Text:
                text(value.text, property);
                return;
            case CapturedValue::Literal:
                literal(value.literal, base, property);
                return;
            case CapturedValue::Object:
                instance(*value.object);
                return;
            case CapturedValue::Array:
                if (base == CIM_UINT8 && isAddressProperty(property)) {
                    bytes(value);
                    return;
                }
                for (size_t i = 0; i < value.elements.size(); ++i)
                    this->value(value.elements[i], property);
                return;
            case CapturedValue::Null:
                return;
        }
    }

    void text(std::wstring& text, const CapturedProperty& property)
    {
        IdentifierTable::Kind kind = textKind(property, text);
        if (kind == IdentifierTable::kKinds) {
            if ((property.type & ~CIM_FLAG_ARRAY) == CIM_DATETIME)
                return;
            OtherString other = {&text, !contains(property.name, L"Version")};
            m_otherStrings.push_back(other);
            // Numbers what it holds in the order met; it is rewritten in the second pass.
            eachIdentifier(text, other.dottedQuads, std::vector<TextMatcher::Match>(),
                           [](size_t, size_t, const std::wstring&) {});
            return;
        }
        FoundIdentifier address =
            kind == IdentifierTable::kAddress ? wholeIdentifier(text) : FoundIdentifier();
        text = address.kind != FoundIdentifier::kNothing ? m_table.found(address, text)
                                                         : m_table.value(kind, text).text;
    }

    void literal(std::string& literal, CIMTYPE base, const CapturedProperty& property)
    {
        if (isSerialProperty(property) && base != CIM_BOOLEAN && base != CIM_REAL32 &&
            base != CIM_REAL64) {
            unsigned n = m_table
                             .value(IdentifierTable::kSerialNumber,
                                    std::wstring(literal.begin(), literal.end()))
                             .number;
            literal = decimal(fitted(n, base));
        } else if (base == CIM_UINT32 && isAddressProperty(property)) {
            unsigned n = m_table.address(ipv4FromValue(strtoul(literal.c_str(), NULL, 10)));
            if (n)
                literal = decimal(ipv4Value(placeholderAddress(4, n)));
        }
    }

    void bytes(CapturedValue& array)
    {
        AddressBytes address;
        for (size_t i = 0; i < array.elements.size(); ++i)
            address.push_back(
                static_cast<unsigned char>(strtoul(array.elements[i].literal.c_str(), NULL, 10)));
        unsigned n = m_table.address(address);
        if (n == 0)
            return;
        AddressBytes placeholder = placeholderAddress(address.size(), n);
        for (size_t i = 0; i < array.elements.size(); ++i)
            array.elements[i].literal = decimal(placeholder[i]);
    }

    // Calls replace(start, length, replacement) for every identifier in the text, left to right,
    // the longest where several start at one place: `known` holds the known written forms that
    // start at each position (or nothing).
    template <class Replace>
    void eachIdentifier(const std::wstring& text, bool dottedQuads,
                        const std::vector<TextMatcher::Match>& known, Replace replace)
    {
        for (size_t i = 0; i < text.size();) {
            FoundIdentifier found = identifierAt(text, i, dottedQuads);
            size_t knownLength = known.empty() ? 0 : known[i].length;
            if (found.length == 0 && knownLength == 0) {
                ++i;
            } else if (knownLength >= found.length) {
                replace(i, knownLength,
                        m_table.formReplacements()[static_cast<size_t>(known[i].id)]);
                i += knownLength;
            } else {
                replace(i, found.length, m_table.found(found, text.substr(i, found.length)));
                i += found.length;
            }
        }
    }

    std::wstring rewritten(const std::wstring& text, bool dottedQuads,
                           const std::vector<TextMatcher::Match>& known)
    {
        std::wstring result;
        size_t copied = 0;
        eachIdentifier(text, dottedQuads, known,
                       [&](size_t start, size_t length, const std::wstring& replacement) {
                           result.append(text, copied, start - copied).append(replacement);
                           copied = start + length;
                       });
        return result.append(text, copied, std::wstring::npos);
    }

    IdentifierTable m_table;
    std::vector<OtherString> m_otherStrings;
};

}  // namespace

void redact(Capture* capture)
{
    Redactor redactor;
    for (size_t i = 0; i < capture->instances.size(); ++i)
        redactor.instance(capture->instances[i]);
    redactor.hideInsideStrings();
}

}  // namespace quillet::capture
