#include "capture/redaction/address_forms.h"

#include "capture/redaction/case_fold.h"

namespace quillet::capture {

namespace {

const unsigned long kFirstIpv4Placeholder = 0xC0000200ul;  // 192.0.2.0

}  // namespace

std::wstring decimalText(unsigned long value)
{
    wchar_t digits[24];
    size_t first = sizeof digits / sizeof digits[0];
    do {
        digits[--first] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value);
    return std::wstring(digits + first, digits + sizeof digits / sizeof digits[0]);
}

std::wstring hexText(unsigned long value, size_t digits)
{
    std::wstring text;
    for (; value || text.size() < digits; value >>= 4)
        text.insert(text.begin(), L"0123456789ABCDEF"[value & 0xF]);
    return text;
}

bool isKeptAddress(const AddressBytes& address)
{
    bool allZero = true;
    for (size_t i = 0; i < address.size(); ++i)
        allZero = allZero && address[i] == 0;
    if (address.size() != 4)
        return allZero;
    unsigned long inverted = ~ipv4Value(address) & 0xFFFFFFFFul;
    return (inverted & (inverted + 1)) == 0;
}

AddressBytes placeholderAddress(size_t size, unsigned n)
{
    if (size == 4)
        return ipv4FromValue(kFirstIpv4Placeholder + n);
    AddressBytes address(size, 0);
    if (size == 6)
        address[0] = 0x02;
    if (size == 16) {
        static const unsigned char kDocumentation[] = {0x20, 0x01, 0x0d, 0xb8};
        address.assign(kDocumentation, kDocumentation + 4);
        address.resize(16, 0);
    }
    for (size_t i = 0; i < 4 && i < size; ++i)
        address[size - 1 - i] = static_cast<unsigned char>((n >> (8 * i)) & 0xFF);
    return address;
}

AddressBytes ipv4FromValue(unsigned long value)
{
    AddressBytes address;
    for (int shift = 24; shift >= 0; shift -= 8)
        address.push_back(static_cast<unsigned char>((value >> shift) & 0xFF));
    return address;
}

unsigned long ipv4Value(const AddressBytes& address)
{
    unsigned long value = 0;
    for (size_t i = 0; i < address.size(); ++i)
        value = (value << 8) | address[i];
    return value & 0xFFFFFFFFul;
}

std::wstring dottedQuad(const AddressBytes& address)
{
    std::wstring text;
    for (size_t i = 0; i < address.size(); ++i)
        text += (i ? L"." : L"") + decimalText(address[i]);
    return text;
}

std::wstring ipv6Text(const AddressBytes& address)
{
    unsigned long groups[8];
    for (size_t i = 0; i < 8; ++i)
        groups[i] = address[2 * i] * 256ul + address[2 * i + 1];
    // The longest run of two or more zero groups becomes "::".
    size_t gap = 8, gapLength = 1;
    for (size_t i = 0; i < 8;) {
        size_t run = 0;
        while (i + run < 8 && groups[i + run] == 0)
            ++run;
        if (run > gapLength) {
            gap = i;
            gapLength = run;
        }
        i += run ? run : 1;
    }
    std::wstring text;
    for (size_t i = 0; i < 8; ++i) {
        if (i == gap) {
            text += L"::";
            i += gapLength - 1;
            continue;
        }
        if (!text.empty() && text[text.size() - 1] != L':')
            text += L':';
        text += foldCase(hexText(groups[i], 1));
    }
    return text;
}

std::wstring macText(const AddressBytes& address, wchar_t separator)
{
    std::wstring text;
    for (size_t i = 0; i < address.size(); ++i) {
        if (i && separator)
            text += separator;
        text += hexText(address[i], 2);
    }
    return text;
}

std::vector<std::wstring> writtenForms(const AddressBytes& address)
{
    std::vector<std::wstring> forms;
    if (address.size() == 4) {
        forms.push_back(dottedQuad(address));
        forms.push_back(decimalText(ipv4Value(address)));
    } else if (address.size() == 6) {
        forms.push_back(macText(address, L':'));
        forms.push_back(macText(address, L'-'));
        forms.push_back(macText(address, 0));
    } else if (address.size() == 16) {
        forms.push_back(ipv6Text(address));
    }
    return forms;
}

}  // namespace quillet::capture
