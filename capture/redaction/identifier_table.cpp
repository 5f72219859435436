#include "capture/redaction/identifier_table.h"

#include "capture/redaction/case_fold.h"

namespace quillet::capture {

namespace {

// Escaped as a WQL string literal wants it (the form in a query or a script's source).
std::wstring wqlEscaped(const std::wstring& text)
{
    std::wstring escaped;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\\' || text[i] == L'"')
            escaped += L'\\';
        escaped += text[i];
    }
    return escaped;
}

// eui. and naa. names keep their form (and length); anything else becomes an iqn. name.
std::wstring iscsiPlaceholder(const std::wstring& original, unsigned n)
{
    FoundIdentifier found = wholeIdentifier(original);
    std::wstring prefix = foldCase(original.substr(0, 4));
    if (found.kind == FoundIdentifier::kIscsiName && (prefix == L"eui." || prefix == L"naa."))
        return prefix + hexText(n, original.size() - 4);
    return L"iqn.2000-01.invalid.redacted:name-" + decimalText(n);
}

std::wstring placeholderText(IdentifierTable::Kind kind, const std::wstring& original, unsigned n)
{
    switch (kind) {
        case IdentifierTable::kInstanceName:
            return L"REDACTED\\INSTANCE_" + decimalText(n);
        case IdentifierTable::kSerialNumber:
            return L"SERIAL-" + decimalText(n);
        case IdentifierTable::kIscsiName:
            return iscsiPlaceholder(original, n);
        case IdentifierTable::kHostName:
            return L"host-" + decimalText(n);
        default:
            return L"ADDRESS-" + decimalText(n);
    }
}

}  // namespace

IdentifierTable::IdentifierTable()
{
    for (int kind = 0; kind < kKinds; ++kind)
        m_counts[kind] = 0;
}

const IdentifierTable::Placeholder& IdentifierTable::value(Kind kind, const std::wstring& text)
{
    std::wstring key = foldCase(text);
    std::unordered_map<std::wstring, Placeholder>::iterator known = m_values.find(key);
    if (known != m_values.end())
        return known->second;
    unsigned n = ++m_counts[kind];
    Placeholder& placeholder = m_values[key];
    placeholder.number = n;
    placeholder.text = placeholderText(kind, text, n);
    addForm(text, placeholder.text);
    if (kind == kInstanceName)
        addForm(wqlEscaped(text), wqlEscaped(placeholder.text));
    if (kind == kIscsiName)
        addHostName(text);
    return placeholder;
}

// The host name of iqn.1991-05.com.example:db-host-07.corp.example.com is
// "db-host-07.corp.example.com", and "db-host-07" on its own.
void IdentifierTable::addHostName(const std::wstring& iscsiName)
{
    std::wstring host = iqnUniqueName(iscsiName);
    if (host.empty())
        return;
    const std::wstring& placeholder = value(kHostName, host).text;
    size_t dot = host.find(L'.');
    if (dot != std::wstring::npos)
        addForm(host.substr(0, dot), placeholder);
}

unsigned IdentifierTable::address(const AddressBytes& address)
{
    if (isKeptAddress(address))
        return 0;
    std::map<AddressBytes, unsigned>::const_iterator known = m_addresses.find(address);
    if (known != m_addresses.end())
        return known->second;
    unsigned n = ++m_counts[kAddress];
    m_addresses[address] = n;
    std::vector<std::wstring> forms = writtenForms(address);
    std::vector<std::wstring> placeholders = writtenForms(placeholderAddress(address.size(), n));
    for (size_t i = 0; i < forms.size(); ++i)
        addForm(forms[i], placeholders[i]);
    return n;
}

std::wstring IdentifierTable::found(const FoundIdentifier& found, const std::wstring& original)
{
    if (found.kind == FoundIdentifier::kIscsiName)
        return value(kIscsiName, original).text;
    unsigned n = address(found.bytes);
    if (n == 0)
        return original;
    AddressBytes placeholder = placeholderAddress(found.bytes.size(), n);
    if (found.kind == FoundIdentifier::kIpv4)
        return dottedQuad(placeholder);
    if (found.kind == FoundIdentifier::kMac)
        return macText(placeholder, found.separator);
    return ipv6Text(placeholder);
}

void IdentifierTable::addForm(const std::wstring& form, const std::wstring& placeholder)
{
    m_forms.push_back(form);
    m_replacements.push_back(placeholder);
}

}  // namespace quillet::capture
