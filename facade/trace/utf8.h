// Wide text to UTF-8 without intermediate strings: the caller reserves the worst case and the
// encoder writes straight into it.
#ifndef QUILLET_TRACE_UTF8_H
#define QUILLET_TRACE_UTF8_H

#include <cstddef>

namespace quillet {

// Most bytes one wide character can need: a UTF-16 unit (Windows) at most 3 (a surrogate pair
// takes 4 for two units), a UTF-32 code point (Linux) at most 4.
const size_t kUtf8BytesPerWide = sizeof(wchar_t) == 2 ? 3 : 4;

// Writes the UTF-8 form of text[0, length) to out, which has room for
// length * kUtf8BytesPerWide bytes, and returns the bytes written. A UTF-16 surrogate pair
// becomes its code point; a lone surrogate or a value beyond U+10FFFF becomes U+FFFD.
size_t encodeUtf8(const wchar_t* text, size_t length, char* out);

}  // namespace quillet

#endif
