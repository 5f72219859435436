#include "capture/redaction/identifier_patterns.h"

#include "capture/redaction/case_fold.h"

namespace quillet::capture {

namespace {

// The character at i, or 0 past the end: the scanners may look ahead without checking.
wchar_t at(const std::wstring& text, size_t i)
{
    return i < text.size() ? text[i] : L'\0';
}

bool isDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

int hexValue(wchar_t c)
{
    if (isDigit(c))
        return c - L'0';
    c = foldCase(c);
    return c >= L'a' && c <= L'f' ? c - L'a' + 10 : -1;
}

bool isHex(wchar_t c)
{
    return hexValue(c) >= 0;
}

bool isAlnum(wchar_t c)
{
    wchar_t small = foldCase(c);
    return isDigit(c) || (small >= L'a' && small <= L'z');
}

bool startsWithAt(const std::wstring& text, size_t i, const wchar_t* prefix)
{
    for (; *prefix; ++prefix, ++i)
        if (foldCase(at(text, i)) != *prefix)
            return false;
    return true;
}

size_t hexRun(const std::wstring& text, size_t i, size_t most)
{
    size_t n = 0;
    while (n < most && isHex(at(text, i + n)))
        ++n;
    return n;
}

size_t digitRun(const std::wstring& text, size_t i, size_t most)
{
    size_t n = 0;
    while (n < most && isDigit(at(text, i + n)))
        ++n;
    return n;
}

bool isIscsiNameCharacter(wchar_t c)
{
    return isAlnum(c) || c == L'-' || c == L'.' || c == L':' || c == L'_' ||
           static_cast<unsigned long>(c) > 0xA0;
}

// iqn.yyyy-mm.reversed.domain[:anything]; a full stop, colon or dash after it belongs to the
// sentence.
size_t iqnLength(const std::wstring& text, size_t start)
{
    size_t i = start + 4;
    if (digitRun(text, i, 4) != 4 || at(text, i + 4) != L'-' || digitRun(text, i + 5, 2) != 2 ||
        at(text, i + 7) != L'.')
        return 0;
    i += 8;
    size_t domain = i;
    while (isAlnum(at(text, i)) || at(text, i) == L'-' || at(text, i) == L'.')
        ++i;
    if (at(text, i) == L':')
        while (isIscsiNameCharacter(at(text, i)))
            ++i;
    while (i > domain && (text[i - 1] == L'.' || text[i - 1] == L':' || text[i - 1] == L'-'))
        --i;
    return i > domain ? i - start : 0;
}

size_t iscsiNameLength(const std::wstring& text, size_t start)
{
    if (startsWithAt(text, start, L"iqn."))
        return iqnLength(text, start);
    bool eui = startsWithAt(text, start, L"eui.");
    if (!eui && !startsWithAt(text, start, L"naa."))
        return 0;
    size_t digits = hexRun(text, start + 4, 33);
    if (isAlnum(at(text, start + 4 + digits)))
        return 0;
    return digits == 16 || (!eui && digits == 32) ? 4 + digits : 0;
}

// Four decimal bytes joined by '.', not followed by a further digit or ".digit".
size_t dottedQuadLength(const std::wstring& text, size_t start, unsigned char bytes[4])
{
    size_t i = start;
    for (int part = 0; part < 4; ++part) {
        if (part > 0 && at(text, i++) != L'.')
            return 0;
        size_t digits = digitRun(text, i, 4);
        if (digits == 0 || digits > 3)
            return 0;
        unsigned value = 0;
        for (size_t k = 0; k < digits; ++k)
            value = value * 10 + static_cast<unsigned>(text[i + k] - L'0');
        if (value > 255)
            return 0;
        bytes[part] = static_cast<unsigned char>(value);
        i += digits;
    }
    if (at(text, i) == L'.' && isDigit(at(text, i + 1)))
        return 0;
    return i - start;
}

size_t macLength(const std::wstring& text, size_t start, unsigned char bytes[6], wchar_t* separator)
{
    *separator = at(text, start + 2);
    if (*separator != L':' && *separator != L'-')
        return 0;
    for (size_t part = 0; part < 6; ++part) {
        size_t i = start + 3 * part;
        if (hexRun(text, i, 3) != 2 || (part < 5 && at(text, i + 2) != *separator))
            return 0;
        bytes[part] = static_cast<unsigned char>(hexValue(text[i]) * 16 + hexValue(text[i + 1]));
    }
    size_t end = start + 17;
    if (isAlnum(at(text, end)) || (at(text, end) == *separator && isHex(at(text, end + 1))))
        return 0;
    return 17;
}

// Hex groups joined by ':', at most one "::", an IPv4 address in the last 32 bits allowed. At least
// two groups: "::" and "::1" say nothing about a host.
size_t ipv6Length(const std::wstring& text, size_t start, unsigned char bytes[16])
{
    unsigned groups[8];
    size_t count = 0;
    int gap = -1;  // where "::" stands, in groups
    size_t i = start;
    if (at(text, i) == L':' && at(text, i + 1) == L':') {
        gap = 0;
        i += 2;
    }
    unsigned char quad[4];
    while (count < 8) {
        size_t digits = hexRun(text, i, 5);
        if (digits == 0)
            break;
        if (digits > 4)
            return 0;
        size_t quadLength =
            at(text, i + digits) == L'.' && count <= 6 ? dottedQuadLength(text, i, quad) : 0;
        if (quadLength > 0) {
            groups[count++] = quad[0] * 256u + quad[1];
            groups[count++] = quad[2] * 256u + quad[3];
            i += quadLength;
            break;
        }
        unsigned value = 0;
        for (size_t k = 0; k < digits; ++k)
            value = value * 16 + static_cast<unsigned>(hexValue(text[i + k]));
        groups[count++] = value;
        i += digits;
        if (at(text, i) == L':' && at(text, i + 1) == L':' && gap < 0) {
            gap = static_cast<int>(count);
            i += 2;
        } else if (at(text, i) == L':' && isHex(at(text, i + 1))) {
            ++i;
        } else {
            break;
        }
    }
    bool complete = gap < 0 ? count == 8 : count <= 7;
    if (!complete || count < 2 || isAlnum(at(text, i)) || at(text, i) == L'.')
        return 0;
    // The groups after "::" move to the end; zeros fill the gap.
    size_t after = gap < 0 ? 0 : count - static_cast<size_t>(gap);
    for (size_t k = 0; k < 8; ++k) {
        unsigned group = k < count - after ? groups[k]
                         : k >= 8 - after  ? groups[k - (8 - count)]
                                           : 0;
        bytes[2 * k] = static_cast<unsigned char>(group >> 8);
        bytes[2 * k + 1] = static_cast<unsigned char>(group & 0xFF);
    }
    return i - start;
}

}  // namespace

FoundIdentifier identifierAt(const std::wstring& text, size_t start, bool dottedQuads)
{
    FoundIdentifier found;
    wchar_t before = start > 0 ? text[start - 1] : L' ';
    if (isAlnum(before))
        return found;
    unsigned char bytes[16];
    if ((found.length = iscsiNameLength(text, start)) > 0) {
        found.kind = FoundIdentifier::kIscsiName;
    } else if (before != L':' && before != L'-' &&
               (found.length = macLength(text, start, bytes, &found.separator)) > 0) {
        found.kind = FoundIdentifier::kMac;
        found.bytes.assign(bytes, bytes + 6);
    } else if (dottedQuads && before != L'.' &&
               (found.length = dottedQuadLength(text, start, bytes)) > 0) {
        found.kind = FoundIdentifier::kIpv4;
        found.bytes.assign(bytes, bytes + 4);
    } else if (before != L':' && before != L'.' &&
               (found.length = ipv6Length(text, start, bytes)) > 0) {
        found.kind = FoundIdentifier::kIpv6;
        found.bytes.assign(bytes, bytes + 16);
    }
    return found;
}

FoundIdentifier wholeIdentifier(const std::wstring& text)
{
    FoundIdentifier found = identifierAt(text, 0, true);
    return found.length == text.size() ? found : FoundIdentifier();
}

std::wstring iqnUniqueName(const std::wstring& name)
{
    size_t colon = name.find(L':');
    return startsWithAt(name, 0, L"iqn.") && colon != std::wstring::npos ? name.substr(colon + 1)
                                                                         : std::wstring();
}

}  // namespace quillet::capture
