// UTF-8 to and from wide text, and the plain-ASCII form of text for messages: one codec for the
// stand-in (call log, configuration, MOF files), the capture program (which writes the MOF files
// the stand-in reads) and the tests that read wide console output back. wchar_t holds a code
// point on Linux and a UTF-16 unit on Windows, where surrogate pairs are joined and split here.
// Needs nothing but the standard library, so that it builds for every target.
#ifndef QUILLET_UTF8_UTF8_H
#define QUILLET_UTF8_UTF8_H

#include <cstddef>
#include <string>
#include <string_view>

namespace unicode {

constexpr char32_t kReplacementCharacter = 0xFFFD;

inline bool isSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

// The character at text[pos], pos moved past it. Where wchar_t has 16 bits a surrogate pair is
// one character; a lone surrogate comes back as it is, for the caller to replace or escape.
char32_t nextCodePoint(std::wstring_view text, size_t& pos);

// Appends one code point as UTF-8; surrogates and values above U+10FFFF become U+FFFD.
void appendUtf8(std::string& out, char32_t codePoint);

// UTF-8 of wide text; lone surrogates become U+FFFD.
std::string toUtf8(std::wstring_view text);
inline std::string toUtf8(const wchar_t* text, size_t length)
{
    return toUtf8(std::wstring_view(text, length));
}

// UTF-8 of wide text that arrives one wchar_t at a time (a stream buffer's overflow): a high
// surrogate waits for the unit after it, so that a pair split across two calls is still joined.
class Utf8Writer
{
public:
    explicit Utf8Writer(std::string& out) : m_out(out) {}
    void put(wchar_t unit);

private:
    std::string& m_out;
    char32_t m_pendingHigh = 0;
};

// Decodes the sequence at text[pos] (pos < text.size()) and moves pos past it. A malformed one
// (a stray continuation byte, a truncated sequence, an overlong form, a surrogate, a value above
// U+10FFFF) gives false and U+FFFD, with pos moved past its longest valid beginning (one byte
// at least), so that each malformed sequence counts once.
bool decodeUtf8(std::string_view text, size_t& pos, char32_t& codePoint);

// Where the first malformed sequence starts, or npos when there is none.
size_t findInvalidUtf8(std::string_view text);

// Appends one code point, as a surrogate pair where wchar_t has 16 bits.
void appendWide(std::wstring& out, char32_t codePoint);

// Wide text of UTF-8; each malformed sequence becomes one U+FFFD.
std::wstring fromUtf8(std::string_view utf8);

// Text for a message that must stay plain ASCII: printable ASCII as it is, any other character
// as one '?'.
std::string printableAscii(std::wstring_view text);
std::string printableAscii(std::string_view utf8);

}  // namespace unicode

#endif
