#include "utf8/utf8.h"

namespace unicode {

namespace {

constexpr bool kWideIsUtf16 = sizeof(wchar_t) == 2;

bool isHighSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}
char32_t joinSurrogates(char32_t high, char32_t low)
{
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

// wchar_t is signed on Linux: a negative one must not pass for a small code point.
char32_t unitValue(wchar_t unit)
{
    return kWideIsUtf16 ? static_cast<char16_t>(unit) : static_cast<char32_t>(unit);
}

unsigned char byteAt(std::string_view text, size_t pos)
{
    return static_cast<unsigned char>(text[pos]);
}

}  // namespace

char32_t nextCodePoint(std::wstring_view text, size_t& pos)
{
    char32_t c = unitValue(text[pos++]);
    if (kWideIsUtf16 && isHighSurrogate(c) && pos < text.size() &&
        isLowSurrogate(unitValue(text[pos])))
        return joinSurrogates(c, unitValue(text[pos++]));
    return c;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (isSurrogate(c) || c > 0x10FFFF)
        c = kReplacementCharacter;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string toUtf8(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();)
        appendUtf8(out, nextCodePoint(text, pos));
    return out;
}

void Utf8Writer::put(wchar_t unit)
{
    char32_t c = unitValue(unit);
    if (m_pendingHigh != 0) {
        char32_t high = m_pendingHigh;
        m_pendingHigh = 0;
        if (isLowSurrogate(c)) {
            appendUtf8(m_out, joinSurrogates(high, c));
            return;
        }
        appendUtf8(m_out, kReplacementCharacter);
    }
    if (kWideIsUtf16 && isHighSurrogate(c))
        m_pendingHigh = c;
    else
        appendUtf8(m_out, c);
}

bool decodeUtf8(std::string_view text, size_t& pos, char32_t& codePoint)
{
    codePoint = kReplacementCharacter;
    const unsigned char lead = byteAt(text, pos++);
    if (lead < 0x80) {
        codePoint = lead;
        return true;
    }
    // The range of the second byte is narrower after some lead bytes: that is what rules out
    // overlong forms (E0, F0), surrogates (ED) and values above U+10FFFF (F4).
    size_t extra = 0;
    char32_t value = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        value = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        value = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return false;
    }
    for (; extra > 0; --extra, low = 0x80, high = 0xBF) {
        if (pos >= text.size())
            return false;
        unsigned char next = byteAt(text, pos);
        if (next < low || next > high)
            return false;
        value = (value << 6) | (next & 0x3F);
        ++pos;
    }
    codePoint = value;
    return true;
}

size_t findInvalidUtf8(std::string_view text)
{
    for (size_t pos = 0; pos < text.size();) {
        if (byteAt(text, pos) < 0x80) {  // most of a MOF file: no call for it
            ++pos;
            continue;
        }
        size_t start = pos;
        char32_t ignored = 0;
        if (!decodeUtf8(text, pos, ignored))
            return start;
    }
    return std::string_view::npos;
}

void appendWide(std::wstring& out, char32_t c)
{
    if (kWideIsUtf16 && c >= 0x10000) {
        out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
        out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
        out += static_cast<wchar_t>(c);
    }
}

std::wstring fromUtf8(std::string_view utf8)
{
    std::wstring out;
    out.reserve(utf8.size());
    char32_t c = 0;
    for (size_t pos = 0; pos < utf8.size();) {
        decodeUtf8(utf8, pos, c);
        appendWide(out, c);
    }
    return out;
}

std::string printableAscii(std::wstring_view text)
{
    std::string out;
    for (size_t pos = 0; pos < text.size();) {
        char32_t c = nextCodePoint(text, pos);
        out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    return out;
}

std::string printableAscii(std::string_view utf8)
{
    return printableAscii(fromUtf8(utf8));
}

}  // namespace unicode
