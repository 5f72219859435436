#include "trace/console.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <iostream>
#include <new>
#include <streambuf>
#include <string>
#include <vector>

#ifdef _WIN32

// The console runtime's own streams keep their order on one FILE; nothing to set up.
void installTraceOutput() {}

void traceWprintf(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    vwprintf(format, args);
    va_end(args);
    fflush(stdout);
}

#else

namespace {

// Appends the UTF-8 form of one code point; surrogates and values beyond Unicode become U+FFFD.
void appendUtf8(std::string& out, wchar_t character)
{
    unsigned long c = static_cast<unsigned long>(character);
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        c = 0xFFFD;
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

void writeUtf8(const wchar_t* text, size_t length)
{
    std::string bytes;
    bytes.reserve(length);
    for (size_t i = 0; i < length; ++i)
        appendUtf8(bytes, text[i]);
    fwrite(bytes.data(), 1, bytes.size(), stdout);
}

// glibc's stdout takes one orientation, and the narrow writers come first; so wide text is
// encoded here and written straight into the narrow FILE. Unbuffered, so that half a line on
// the wide stream keeps its place before the narrow half that follows it.
class Utf8StdoutBuf : public std::wstreambuf
{
protected:
    int_type overflow(int_type c) override
    {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            wchar_t character = traits_type::to_char_type(c);
            writeUtf8(&character, 1);
        }
        return traits_type::not_eof(c);
    }

    std::streamsize xsputn(const wchar_t* text, std::streamsize count) override
    {
        writeUtf8(text, static_cast<size_t>(count));
        return count;
    }

    int sync() override { return fflush(stdout) == 0 ? 0 : -1; }
};

}  // namespace

void installTraceOutput()
{
    // Never destroyed: destructors that trace may run during process exit.
    static Utf8StdoutBuf* buffer = new Utf8StdoutBuf;
    if (std::wcout.rdbuf() != buffer)
        std::wcout.rdbuf(buffer);
}

void traceWprintf(const wchar_t* format, ...)
{
    // vswprintf reports a too small buffer only as -1, so grow until the text fits; names can be
    // long. The cap stops a format that fails for another reason from growing without end.
    // Out of memory the line is dropped: the callers hold the interpreter lock and must not throw.
    const size_t limit = size_t(1) << 26;
    try {
        std::vector<wchar_t> buffer(256);
        for (;;) {
            va_list args;
            va_start(args, format);
            int length = vswprintf(buffer.data(), buffer.size(), format, args);
            va_end(args);
            if (length >= 0) {
                writeUtf8(buffer.data(), static_cast<size_t>(length));
                break;
            }
            if (buffer.size() >= limit)
                break;
            buffer.resize(buffer.size() * 2);
        }
    } catch (const std::bad_alloc&) {
    }
    fflush(stdout);
}

#endif
