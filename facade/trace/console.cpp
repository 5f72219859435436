#include "trace/console.h"

#include <cstdarg>
#include <iostream>
#include <streambuf>

#include "trace/pending_line.h"
#include "trace/wide_format.h"

namespace quillet {

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
template <typename Char, void (*append)(const Char*, size_t)>
class LineBuf : public std::basic_streambuf<Char>
{
    typedef std::basic_streambuf<Char> Base;

protected:
    typename Base::int_type overflow(typename Base::int_type c) override
    {
        if (!Base::traits_type::eq_int_type(c, Base::traits_type::eof())) {
            const Char character = Base::traits_type::to_char_type(c);
            append(&character, 1);
        }
        return Base::traits_type::not_eof(c);
    }

    std::streamsize xsputn(const Char* text, std::streamsize count) override
    {
        append(text, static_cast<size_t>(count));
        return count;
    }

    int sync() override
    {
        sendLine();
        return 0;
    }
};

typedef LineBuf<char, pending_line::appendNarrow> NarrowLineBuf;
typedef LineBuf<wchar_t, pending_line::appendWide> WideLineBuf;

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

}  // namespace quillet
