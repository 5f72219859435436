#include "python/py_text.h"

namespace quillet {

namespace {

typedef unsigned long CodeUnit;

CodeUnit unitAt(const wchar_t* text, size_t index)
{
    // wchar_t is signed on some platforms; code units are not.
    return sizeof(wchar_t) == 2 ? static_cast<CodeUnit>(static_cast<unsigned short>(text[index]))
                                : static_cast<CodeUnit>(static_cast<unsigned int>(text[index]));
}

bool isHighSurrogate(CodeUnit unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(CodeUnit unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

void wideToPyUnicode(const wchar_t* text, size_t length, PyTextUnit* out, size_t capacity)
{
    size_t used = 0;
    for (size_t i = 0; i < length && text[i] != L'\0'; ++i) {
        CodeUnit unit = unitAt(text, i);
        if (sizeof(PyTextUnit) < sizeof(wchar_t) && unit > 0xFFFF) {
            if (used + 2 >= capacity)
                break;
            unit -= 0x10000;
            out[used++] = static_cast<PyTextUnit>(0xD800 + (unit >> 10));
            out[used++] = static_cast<PyTextUnit>(0xDC00 + (unit & 0x3FF));
            continue;
        }
        if (sizeof(PyTextUnit) > sizeof(wchar_t) && isHighSurrogate(unit) && i + 1 < length &&
            isLowSurrogate(unitAt(text, i + 1))) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(text, i + 1) - 0xDC00);
            ++i;
        }
        if (used + 1 >= capacity)
            break;
        out[used++] = static_cast<PyTextUnit>(unit);
    }
    out[used] = 0;
}

}  // namespace quillet
