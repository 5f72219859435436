// Addresses as bytes (network order) and as text, and the placeholders that stand for them: IPv4
// addresses from 192.0.2.0/24 on (the documentation network), IPv6 addresses in 2001:db8::/32,
// MAC addresses locally administered (02-00-..); other byte strings all zero but the number.
#ifndef QUILLET_CAPTURE_REDACTION_ADDRESS_FORMS_H
#define QUILLET_CAPTURE_REDACTION_ADDRESS_FORMS_H

#include <string>
#include <vector>

namespace quillet::capture {

typedef std::vector<unsigned char> AddressBytes;

// An address that identifies nothing: all zero (unset), or an IPv4 subnet mask (ones, then zeros).
bool isKeptAddress(const AddressBytes& address);

// The placeholder number n (from 1) as an address of `size` bytes.
AddressBytes placeholderAddress(size_t size, unsigned n);

// WMI holds an IPv4 address as a host-order uint32: 10.20.11.21 is 0x0A140B15.
AddressBytes ipv4FromValue(unsigned long value);
unsigned long ipv4Value(const AddressBytes& address);

std::wstring dottedQuad(const AddressBytes& address);
std::wstring ipv6Text(const AddressBytes& address);  // compressed: 2001:db8::1
std::wstring macText(const AddressBytes& address,
                     wchar_t separator);  // upper case; no separator: 12 digits

// Numbers as text, without the C library's formatting (a capture may hold very many).
std::wstring decimalText(unsigned long value);
std::wstring hexText(unsigned long value, size_t digits);  // upper case, zero-padded to `digits`

// How an address of this size may be written inside a string: IPv4 dotted and as its decimal
// value, MAC with ':', '-' and without separator, IPv6 compressed. The forms of two addresses of
// one size come in the same order.
std::vector<std::wstring> writtenForms(const AddressBytes& address);

}  // namespace quillet::capture

#endif
