// PyText<N>: a text read into a WideText<N>, in the units of Py_BuildValue's "u" code. On 2.x
// those are Py_UNICODE, which is not wchar_t (32 bits on the Linux builds, 16 bits on Windows
// builds), so the text is converted, never reinterpreted. Make it where the value is built:
// PyText(values.name).unicode() lives until the end of the full expression.
#ifndef QUILLET_PY_TEXT_H
#define QUILLET_PY_TEXT_H

#include <Python.h>
#include "python/py_compat.h"
#include <cstddef>
#include <string>
#include "wmiobject/wide_text.h"

namespace quillet {

// Copies zero-terminated wide text, of which at most `length` units are read, into `out` as
// UTF-16 or UTF-32 to suit PyTextUnit; stops short rather than overrun `capacity` units
// (terminator included, capacity > 0).
void wideToPyUnicode(const wchar_t* text, size_t length, PyTextUnit* out, size_t capacity);

template <size_t N>
class PyText
{
public:
    explicit PyText(const WideText<N>& wide)
    {
        wideToPyUnicode(wide.text, N, m_unicode, kCapacity);
    }
    // Text of fewer than N units, as a reader's buffer delivered it.
    explicit PyText(const std::wstring& wide)
    {
        wideToPyUnicode(wide.c_str(), N, m_unicode, kCapacity);
    }

    PyTextUnit* unicode() { return m_unicode; }

private:
    // A 16-bit PyTextUnit may need a surrogate pair for one 32-bit wchar_t.
    static const size_t kCapacity = sizeof(PyTextUnit) < sizeof(wchar_t) ? 2 * N : N;

    PyTextUnit m_unicode[kCapacity];
};

}  // namespace quillet

#endif
