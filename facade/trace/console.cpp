#include "trace/console.h"

#include <cstdarg>
#include <iostream>
#include <streambuf>

#include "trace/pending_line.h"
#include "trace/wide_format.h"

namespace {

// A stream that failed (a null string inserted, say) would stay silent for the rest of the
// process: each line that leaves makes both streams usable again.
bool sendLine()
{
    const bool whole = pending_line::send();
    if (std::cout.rdstate())
        std::cout.clear();
    if (std::wcout.rdstate())
        std::wcout.clear();
    return whole;
}

// The streams' own formatting stays (std::hex stays set on the narrow one); only where the text
// goes changes. No put area: the buffer object is shared by every thread, the text is not.
// A flush (std::endl) ends the line. Neither buffer ever reports a failure: the stream must
// never turn bad because standard output refused a line.
class NarrowLineBuf : public std::streambuf
{
protected:
    int_type overflow(int_type c) override
    {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            const char character = traits_type::to_char_type(c);
            pending_line::appendNarrow(&character, 1);
        }
        return traits_type::not_eof(c);
    }

    std::streamsize xsputn(const char* text, std::streamsize count) override
    {
        pending_line::appendNarrow(text, static_cast<size_t>(count));
        return count;
    }

    int sync() override
    {
        sendLine();
        return 0;
    }
};

class WideLineBuf : public std::wstreambuf
{
protected:
    int_type overflow(int_type c) override
    {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            const wchar_t character = traits_type::to_char_type(c);
            pending_line::appendWide(&character, 1);
        }
        return traits_type::not_eof(c);
    }

    std::streamsize xsputn(const wchar_t* text, std::streamsize count) override
    {
        pending_line::appendWide(text, static_cast<size_t>(count));
        return count;
    }

    int sync() override
    {
        sendLine();
        return 0;
    }
};

}  // namespace

void installTraceOutput()
{
    // Never destroyed: destructors that trace may run during process exit.
    static NarrowLineBuf* narrow = new NarrowLineBuf;
    static WideLineBuf* wide = new WideLineBuf;
    if (std::cout.rdbuf() != narrow)
        std::cout.rdbuf(narrow);
    if (std::wcout.rdbuf() != wide)
        std::wcout.rdbuf(wide);
}

bool traceWprintf(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    appendFormatted(format, args);
    va_end(args);
    return sendLine();
}
