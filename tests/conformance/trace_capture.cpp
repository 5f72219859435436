#include "trace_capture.h"

#include <sstream>

namespace {

void appendUtf8(std::string& text, unsigned codePoint)
{
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | (codePoint >> 6));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (codePoint >> 18));
        text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

}  // namespace

TraceCapture::TraceCapture()
    : m_narrow(m_text),
      m_wide(m_text),
      m_pOldNarrow(std::cout.rdbuf(&m_narrow)),
      m_pOldWide(std::wcout.rdbuf(&m_wide))
{
}

TraceCapture::~TraceCapture()
{
    std::cout.rdbuf(m_pOldNarrow);
    std::wcout.rdbuf(m_pOldWide);
}

std::vector<std::string> TraceCapture::lines() const
{
    std::vector<std::string> result;
    std::istringstream stream(m_text);
    std::string line;
    while (std::getline(stream, line)) {
        result.push_back(line);
    }
    return result;
}

TraceCapture::NarrowSink::int_type TraceCapture::NarrowSink::overflow(int_type c)
{
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        m_text += traits_type::to_char_type(c);
    }
    return traits_type::not_eof(c);
}

std::streamsize TraceCapture::NarrowSink::xsputn(const char* s, std::streamsize n)
{
    m_text.append(s, static_cast<size_t>(n));
    return n;
}

// UTF-16 on Windows (surrogate pairs joined), UTF-32 on Linux.
TraceCapture::WideSink::int_type TraceCapture::WideSink::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    const unsigned unit = static_cast<unsigned>(traits_type::to_char_type(c));
    if (unit >= 0xD800 && unit < 0xDC00) {
        m_highSurrogate = unit;
        return c;
    }
    if (unit >= 0xDC00 && unit < 0xE000 && m_highSurrogate != 0) {
        appendUtf8(m_text, 0x10000 + ((m_highSurrogate - 0xD800) << 10) + (unit - 0xDC00));
    } else {
        appendUtf8(m_text, unit);
    }
    m_highSurrogate = 0;
    return c;
}
