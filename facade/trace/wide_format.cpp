#include "trace/wide_format.h"

#include <cerrno>
#include <climits>
#include <cwchar>
#include <new>
#include <vector>

#include "trace/pending_line.h"

namespace quillet {

namespace {

// True when every conversion of the format is %ls, %d or %%, without flags, width or precision.
bool isPlainFormat(const wchar_t* format)
{
    for (const wchar_t* p = format; *p; ++p) {
        if (*p != L'%')
            continue;
        ++p;
        if (*p == L'l' && p[1] == L's')
            ++p;
        else if (*p != L'd' && *p != L'%')
            return false;
    }
    return true;
}

void appendDecimal(int value)
{
    char digits[16];
    char* start = digits + sizeof(digits);
    // Negative values count down from zero so that INT_MIN needs no special case.
    int rest = value;
    do {
        const int digit = rest % 10;
        *--start = static_cast<char>('0' + (digit < 0 ? -digit : digit));
        rest /= 10;
    } while (rest != 0);
    if (value < 0)
        *--start = '-';
    pending_line::appendNarrow(start, static_cast<size_t>(digits + sizeof(digits) - start));
}

void appendPlain(const wchar_t* format, va_list args)
{
    const wchar_t* text = format;
    for (const wchar_t* p = format;; ++p) {
        if (*p != L'%' && *p != L'\0')
            continue;
        pending_line::appendWide(text, static_cast<size_t>(p - text));
        if (*p == L'\0')
            return;
        ++p;
        if (*p == L'd') {
            appendDecimal(va_arg(args, int));
        } else if (*p == L'%') {
            pending_line::appendNarrow("%", 1);
        } else {  // "ls"
            ++p;
            const wchar_t* argument = va_arg(args, const wchar_t*);
            if (argument)
                pending_line::appendWide(argument, wcslen(argument));
            else
                pending_line::appendNarrow("(null)", 6);  // as the C library prints it
        }
        text = p + 1;
    }
}

// vswprintf tells only that the buffer was too small, and -1 is also its answer to text it
// cannot format: grow until it fits, and give up only on an error that growing cannot cure.
void appendThroughVswprintf(const wchar_t* format, va_list args)
{
    try {
        std::vector<wchar_t> buffer(512);
        for (;;) {
            va_list attempt;
            va_copy(attempt, args);
            errno = 0;
            const int length = vswprintf(buffer.data(), buffer.size(), format, attempt);
            va_end(attempt);
            if (length >= 0 && static_cast<size_t>(length) < buffer.size()) {
                pending_line::appendWide(buffer.data(), static_cast<size_t>(length));
                return;
            }
            if ((length < 0 && (errno == EILSEQ || errno == EOVERFLOW || errno == EINVAL)) ||
                buffer.size() > static_cast<size_t>(INT_MAX))
                break;
            // Some C libraries answer with the length the text needs.
            buffer.resize(length > 0 && static_cast<size_t>(length) >= buffer.size()
                              ? static_cast<size_t>(length) + 1
                              : buffer.size() * 2);
        }
    } catch (const std::bad_alloc&) {
    }
    pending_line::markLost();
}

}  // namespace

void appendFormatted(const wchar_t* format, va_list args)
{
    if (isPlainFormat(format))
        appendPlain(format, args);
    else
        appendThroughVswprintf(format, args);
}

}  // namespace quillet
