// The shared UTF-8 codec, here so that it runs where wchar_t holds a code point (Linux) and
// where it holds a UTF-16 unit (Windows): every expectation below holds on both.
#include "utf8/utf8.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kLoneSurrogates = {wchar_t(0xD800), L'x', wchar_t(0xDFFF)};

TEST(Utf8, EncodesEveryLengthBoundaryAndDecodesItBack)
{
    const std::wstring text = L"\x7F\x80\u07FF\u0800\uFFFF\U00010000\U0010FFFF";
    const std::string bytes = "\x7f"
                              "\xc2\x80"
                              "\xdf\xbf"
                              "\xe0\xa0\x80"
                              "\xef\xbf\xbf"
                              "\xf0\x90\x80\x80"
                              "\xf4\x8f\xbf\xbf";
    EXPECT_EQ(bytes, unicode::toUtf8(text));
    EXPECT_EQ(std::string::npos, unicode::findInvalidUtf8(bytes));
    EXPECT_EQ(text, unicode::fromUtf8(bytes));
}

TEST(Utf8, LoneSurrogatesAreWrittenAsReplacementCharacters)
{
    EXPECT_EQ("\xef\xbf\xbd"
              "x"
              "\xef\xbf\xbd",
              unicode::toUtf8(kLoneSurrogates));

    // One unit at a time, as a stream buffer hands them over: pairs are still joined.
    const std::wstring text = L"a\U0001F600" + kLoneSurrogates + L"\U0010FFFF";
    std::string streamed;
    unicode::Utf8Writer writer(streamed);
    for (wchar_t unit : text)
        writer.put(unit);
    EXPECT_EQ(unicode::toUtf8(text), streamed);
}

TEST(Utf8, EachMalformedSequenceIsFoundAndBecomesOneReplacementCharacter)
{
    struct Case
    {
        const char* bytes;
        size_t invalidAt;
        const wchar_t* decoded;
    };
    const Case cases[] = {
        {"a\x80"
         "b",
         1, L"a\uFFFDb"},                                      // stray continuation byte
        {"\xC0\x80", 0, L"\uFFFD\uFFFD"},                      // overlong NUL
        {"\xE0\x9F\xBF", 0, L"\uFFFD\uFFFD\uFFFD"},            // overlong, 3 bytes
        {"\xF0\x8F\xBF\xBF", 0, L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // overlong, 4 bytes
        {"\xED\xA0\x80", 0, L"\uFFFD\uFFFD\uFFFD"},            // a surrogate
        {"\xF4\x90\x80\x80", 0, L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
        {"\xFF", 0, L"\uFFFD"},
        {"x\xE2\x82"
         "A",
         1, L"x\uFFFDA"},                  // truncated before a character
        {"x\xF0\x9F\x98", 1, L"x\uFFFD"},  // truncated by the end
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.invalidAt, unicode::findInvalidUtf8(c.bytes)) << c.bytes;
        EXPECT_EQ(c.decoded, unicode::fromUtf8(c.bytes)) << c.bytes;
    }
}

TEST(Utf8, PrintableAsciiShowsOneQuestionMarkPerOtherCharacter)
{
    EXPECT_EQ("Caf???.", unicode::printableAscii(L"Caf\u00e9\U0001F600\t."));
    EXPECT_EQ("Caf??.", unicode::printableAscii(std::string_view("Caf\xc3\xa9\xff.")));
}

}  // namespace
