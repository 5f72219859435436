// Text forms shared by the log and the messages: HRESULTs and UTF-8.
#include "sim/sim.h"
#include "sim/text.h"

#include <cstdio>

namespace winsim {

std::string hresultText(HRESULT hr)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08x", static_cast<unsigned int>(hr));
    return buffer;
}

static void appendUtf8(std::string& out, unsigned int codePoint)
{
    if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF)
        codePoint = 0xFFFD;
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

std::string toUtf8(const wchar_t* text, size_t length)
{
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i)
        appendUtf8(out, static_cast<unsigned int>(text[i]));
    return out;
}

std::string toUtf8(std::wstring_view text)
{
    return toUtf8(text.data(), text.size());
}

std::wstring fromUtf8(const std::string& text)
{
    std::wstring out;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[i++]);
        size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        if (lead < 0x80) {
            out += static_cast<wchar_t>(lead);
            continue;
        }
        unsigned int codePoint = extra == 0 ? 0xFFFD : (lead & (0x3F >> extra));
        for (size_t k = 0; k < extra; ++k) {
            if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
                codePoint = 0xFFFD;  // truncated sequence: the bytes read so far become one U+FFFD
                break;
            }
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
        }
        out += static_cast<wchar_t>(codePoint);
    }
    return out;
}

}  // namespace winsim
