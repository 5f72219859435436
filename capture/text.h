// Text helpers of the capture: UTF-8 of wide text (UTF-16 on Windows, one code point per
// wchar_t elsewhere) and HRESULTs for messages.
#ifndef QUILLET_CAPTURE_TEXT_H
#define QUILLET_CAPTURE_TEXT_H

#include <windows.h>

#include <string>

// Calls `emit(codePoint, isLoneSurrogate)` for each character of the text.
template <class Emit>
void forEachCodePoint(const std::wstring& text, Emit emit)
{
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned long c = static_cast<unsigned long>(text[i]) & (sizeof(wchar_t) == 2 ? 0xFFFFul : 0xFFFFFFFFul);
        if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            unsigned long low = static_cast<unsigned long>(text[i + 1]) & 0xFFFFul;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                emit(0x10000ul + ((c - 0xD800) << 10) + (low - 0xDC00), false);
                ++i;
                continue;
            }
        }
        emit(c, c >= 0xD800 && c <= 0xDFFF);
    }
}

// Appends the UTF-8 bytes of one code point (not a surrogate).
void appendUtf8(std::string* out, unsigned long codePoint);

// UTF-8 of the text; lone surrogates become U+FFFD.
std::string utf8(const std::wstring& text);

// WMI names (classes, properties) compare without regard to ASCII case.
bool sameName(const std::wstring& a, const std::wstring& b);

// "0x80041010 (WBEM_E_INVALID_CLASS)"; the name only for the codes a capture meets.
std::string hresultText(HRESULT hr);

#endif
