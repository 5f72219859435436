#include "trace/utf8.h"

namespace quillet {

namespace {

const unsigned long kReplacement = 0xFFFD;

bool isHighSurrogate(unsigned long c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(unsigned long c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

char* putCodePoint(unsigned long c, char* out)
{
    if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
    return out;
}

}  // namespace

size_t encodeUtf8(const wchar_t* text, size_t length, char* out)
{
    char* const start = out;
    const wchar_t* const end = text + length;
    while (text != end) {
        // Trace text is nearly all ASCII: copy it four characters at a time while it is.
        while (end - text >= 4 &&
               (static_cast<unsigned long>(text[0]) | text[1] | text[2] | text[3]) < 0x80) {
            out[0] = static_cast<char>(text[0]);
            out[1] = static_cast<char>(text[1]);
            out[2] = static_cast<char>(text[2]);
            out[3] = static_cast<char>(text[3]);
            out += 4;
            text += 4;
        }
        while (text != end && static_cast<unsigned long>(*text) < 0x80)
            *out++ = static_cast<char>(*text++);
        if (text == end)
            break;
        unsigned long c = static_cast<unsigned long>(*text++);
        if (isHighSurrogate(c) && sizeof(wchar_t) == 2 && text != end &&
            isLowSurrogate(static_cast<unsigned long>(*text))) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<unsigned long>(*text++) - 0xDC00);
        } else if (isHighSurrogate(c) || isLowSurrogate(c) || c > 0x10FFFF) {
            c = kReplacement;
        }
        out = putCodePoint(c, out);
    }
    return static_cast<size_t>(out - start);
}

}  // namespace quillet
