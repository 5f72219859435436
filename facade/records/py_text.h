// PyText<N>: the text buffer of one string property, N wide characters with the terminator, as
// the WMIObject string readers fill it, and the same text in the units of Py_BuildValue's "u"
// code. On 2.x those are Py_UNICODE, which is not wchar_t (32 bits on the Linux builds, 16 bits
// on Windows builds), so the text is converted, never reinterpreted.
#ifndef QUILLET_PY_TEXT_H
#define QUILLET_PY_TEXT_H

#include <Python.h>
#include "module/py_compat.h"
#include <cstddef>

// Copies zero-terminated wide text, of which at most `length` units are read, into `out` as
// UTF-16 or UTF-32 to suit PyTextUnit; stops short rather than overrun `capacity` units
// (terminator included, capacity > 0).
void wideToPyUnicode(const wchar_t* text, size_t length, PyTextUnit* out, size_t capacity);

template <size_t N>
class PyText
{
public:
    // Empty text until a read fills it, so an unread property never shows stray characters.
    PyText() { m_wide[0] = L'\0'; }

    // The readers' buffer of N wide characters.
    wchar_t* wide() { return m_wide; }
    const wchar_t* wide() const { return m_wide; }

    // The current text as PyTextUnit, valid while this object lives.
    PyTextUnit* unicode()
    {
        wideToPyUnicode(m_wide, N, m_unicode, CAPACITY);
        return m_unicode;
    }

private:
    // A 16-bit PyTextUnit may need a surrogate pair for one 32-bit wchar_t.
    static const size_t CAPACITY = sizeof(PyTextUnit) < sizeof(wchar_t) ? 2 * N : N;

    wchar_t m_wide[N];
    PyTextUnit m_unicode[CAPACITY];
};

#endif
