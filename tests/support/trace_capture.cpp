#include "trace_capture.h"

#include <sstream>

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

TraceCapture::WideSink::int_type TraceCapture::WideSink::overflow(int_type c)
{
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        m_utf8.put(traits_type::to_char_type(c));
    }
    return traits_type::not_eof(c);
}
