// WideText<N>: one text property as the WMIObject string readers fill it, N wide characters with
// the terminator. Records keep their texts in this form while they read with the interpreter
// lock released; PyText (python/py_text.h) turns them into the interpreter's characters afterwards.
#ifndef QUILLET_WIDE_TEXT_H
#define QUILLET_WIDE_TEXT_H

#include <cstddef>
#include "wmiobject/wmiobject.h"

template <size_t N>
struct WideText
{
    // Empty until a read fills it, so an unread property never shows stray characters.
    WideText() { text[0] = L'\0'; }

    wchar_t text[N];
};

typedef WideText<WMIObject::STRING_BUFFER_SIZE> StringText;  // getString's buffer
typedef WideText<WMIObject::UINT64_BUFFER_SIZE> UInt64Text;  // getUInt64String's buffer

#endif
