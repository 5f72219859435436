// The placeholder of every identifier met in a capture, so that one identifier, whatever its case
// and written form, becomes one placeholder everywhere: an adapter's instance name still matches
// across its classes. Placeholders are numbered per kind in the order the identifiers are met.
#ifndef QUILLET_CAPTURE_REDACTION_IDENTIFIER_TABLE_H
#define QUILLET_CAPTURE_REDACTION_IDENTIFIER_TABLE_H

#include <map>
#include <unordered_map>
#include <string>
#include <vector>

#include "capture/redaction/address_forms.h"
#include "capture/redaction/identifier_patterns.h"

namespace quillet::capture {

class IdentifierTable
{
public:
    enum Kind
    {
        kInstanceName,
        kSerialNumber,
        kIscsiName,
        kHostName,
        kAddress,
        kKinds
    };

    struct Placeholder
    {
        unsigned number;
        std::wstring text;
    };

    IdentifierTable();

    // A whole value known by what its property holds. An iSCSI name also makes the host name in it
    // known, an instance name its WQL-escaped form. kAddress is for a text in an address property
    // that holds no address (a host name): ADDRESS-n.
    const Placeholder& value(Kind kind, const std::wstring& text);

    // The placeholder number of an address as bytes (4: IPv4, 6: MAC, 16: IPv6); 0 for one that
    // is kept (isKeptAddress).
    unsigned address(const AddressBytes& address);

    // The text that replaces an identifier found by its form; the original where it is kept.
    std::wstring found(const FoundIdentifier& found, const std::wstring& original);

    // Every written form known so far and, at the same index, the text that replaces it. A form
    // may come twice (in other cases): the first stands.
    const std::vector<std::wstring>& knownForms() const { return m_forms; }
    const std::vector<std::wstring>& formReplacements() const { return m_replacements; }

private:
    void addForm(const std::wstring& form, const std::wstring& placeholder);
    void addHostName(const std::wstring& iscsiName);

    std::unordered_map<std::wstring, Placeholder> m_values;  // case-folded value
    std::map<AddressBytes, unsigned> m_addresses;
    std::vector<std::wstring> m_forms;
    std::vector<std::wstring> m_replacements;
    unsigned m_counts[kKinds];
};

}  // namespace quillet::capture

#endif
