// PyText<N>: a text read into a WideText<N>, as the interpreter's Py_UNICODE characters for
// Py_BuildValue's "u" code. Py_UNICODE is not wchar_t (32 bits on this Linux build, 16 bits on
// Windows builds), so the text is converted, never reinterpreted. Make it where the value is
// built: PyText(values.name).unicode() lives until the end of the full expression.
#ifndef QUILLET_PY_TEXT_H
#define QUILLET_PY_TEXT_H

#include <Python.h>
#include <cstddef>
#include <string>
#include "records/wide_text.h"

// Copies zero-terminated wide text, of which at most `length` units are read, into `out` as
// UTF-16 or UTF-32 to suit Py_UNICODE; stops short rather than overrun `capacity` units
// (terminator included, capacity > 0).
void wideToPyUnicode(const wchar_t* text, size_t length, Py_UNICODE* out, size_t capacity);

template <size_t N>
class PyText
{
public:
    explicit PyText(const WideText<N>& wide) { wideToPyUnicode(wide.text, N, m_unicode, CAPACITY); }
    // Text of fewer than N units, as a reader's buffer delivered it.
    explicit PyText(const std::wstring& wide)
    {
        wideToPyUnicode(wide.c_str(), N, m_unicode, CAPACITY);
    }

    Py_UNICODE* unicode() { return m_unicode; }

private:
    // A 16-bit Py_UNICODE may need a surrogate pair for one 32-bit wchar_t.
    static const size_t CAPACITY = sizeof(Py_UNICODE) < sizeof(wchar_t) ? 2 * N : N;

    Py_UNICODE m_unicode[CAPACITY];
};

#endif
