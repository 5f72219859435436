// Identifiers recognised by their form wherever they stand in a text, known or not: iSCSI names
// (iqn.yyyy-mm.reversed.domain[:unique name], eui. and 16 hex digits, naa. and 16 or 32), IPv4
// and IPv6 addresses and MAC addresses (six hex pairs joined by ':' or '-').
#ifndef QUILLET_CAPTURE_REDACTION_IDENTIFIER_PATTERNS_H
#define QUILLET_CAPTURE_REDACTION_IDENTIFIER_PATTERNS_H

#include <string>
#include <vector>

namespace quillet::capture {

struct FoundIdentifier
{
    enum Kind
    {
        kNothing,
        kIscsiName,
        kIpv4,
        kIpv6,
        kMac
    };
    Kind kind;
    size_t length;
    std::vector<unsigned char> bytes;  // an address, in network order
    wchar_t separator;                 // a MAC address's

    FoundIdentifier() : kind(kNothing), length(0), separator(0) {}
};

// The identifier that starts at `at`, if any. A dotted quad counts as an IPv4 address only where
// `dottedQuads` is set: in a version text it is a version.
FoundIdentifier identifierAt(const std::wstring& text, size_t at, bool dottedQuads);

// The whole text as one identifier, or kNothing.
FoundIdentifier wholeIdentifier(const std::wstring& text);

// What names the node inside an iqn. name: the text after its first ':' (the host name in an
// initiator's name), or empty.
std::wstring iqnUniqueName(const std::wstring& name);

}  // namespace quillet::capture

#endif
