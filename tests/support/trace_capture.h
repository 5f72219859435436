// TraceCapture: while alive, everything written to std::cout and std::wcout lands, in the order
// written, in one text (wide characters as UTF-8), as it would on the console. The streams'
// format flags (the number base the engine switches) are left alone.
#ifndef QUILLET_TEST_TRACE_CAPTURE_H
#define QUILLET_TEST_TRACE_CAPTURE_H

#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#include "sim/utf8.h"

class TraceCapture
{
public:
    TraceCapture();
    ~TraceCapture();

    const std::string& text() const { return m_text; }
    // The text split at line ends, without them.
    std::vector<std::string> lines() const;

private:
    TraceCapture(const TraceCapture&);
    TraceCapture& operator=(const TraceCapture&);

    class NarrowSink : public std::streambuf
    {
    public:
        explicit NarrowSink(std::string& text) : m_text(text) {}

    protected:
        int_type overflow(int_type c);
        std::streamsize xsputn(const char* s, std::streamsize n);

    private:
        std::string& m_text;
    };

    class WideSink : public std::wstreambuf
    {
    public:
        explicit WideSink(std::string& text) : m_utf8(text) {}

    protected:
        int_type overflow(int_type c);

    private:
        winsim::Utf8Writer m_utf8;
    };

    std::string m_text;
    NarrowSink m_narrow;
    WideSink m_wide;
    std::streambuf* m_pOldNarrow;
    std::wstreambuf* m_pOldWide;
};

#endif
