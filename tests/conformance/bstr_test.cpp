// COM strings as the product uses them: query texts, property values and their holders.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>

TEST(BstrConformance, CopiesTheTextWithLengthAndTerminator)
{
    const OLECHAR text[] = L"SELECT * FROM MPIO_TIMERS_COUNTERS";
    BSTR b = SysAllocString(text);
    ASSERT_TRUE(b != NULL);
    EXPECT_NE(text, b);
    EXPECT_EQ(wcslen(text), SysStringLen(b));
    EXPECT_EQ(SysStringLen(b) * sizeof(OLECHAR), SysStringByteLen(b));
    // The byte length is stored just before the characters.
    EXPECT_EQ(SysStringByteLen(b), reinterpret_cast<const UINT*>(b)[-1]);
    EXPECT_EQ(0, wcscmp(text, b));
    EXPECT_EQ(L'\0', b[SysStringLen(b)]);
    SysFreeString(b);

    BSTR empty = SysAllocString(L"");
    ASSERT_TRUE(empty != NULL) << "an empty text is a string, not a failure";
    EXPECT_EQ(0u, SysStringLen(empty));
    SysFreeString(empty);
}

TEST(BstrConformance, LengthCountsEmbeddedZeros)
{
    const OLECHAR text[] = {L'a', L'\0', L'b'};
    BSTR b = SysAllocStringLen(text, 3);
    ASSERT_TRUE(b != NULL);
    EXPECT_EQ(3u, SysStringLen(b));
    EXPECT_EQ(L'b', b[2]);
    EXPECT_EQ(L'\0', b[3]);
    SysFreeString(b);

    // Without a source the string is allocated and terminated, its content left open.
    BSTR room = SysAllocStringLen(NULL, 5);
    ASSERT_TRUE(room != NULL);
    EXPECT_EQ(5u, SysStringLen(room));
    EXPECT_EQ(L'\0', room[5]);
    SysFreeString(room);
}

TEST(BstrConformance, NullIsNoStringAndFreeingItIsHarmless)
{
    // The holders free unconditionally; an absent string counts as empty.
    EXPECT_TRUE(SysAllocString(NULL) == NULL);
    EXPECT_EQ(0u, SysStringLen(NULL));
    SysFreeString(NULL);
}

TEST(BstrConformance, ByteLengthsNeedNotBeWholeCharacters)
{
    BSTR bytes = SysAllocStringByteLen("xyz", 3);
    ASSERT_TRUE(bytes != NULL);
    EXPECT_EQ(3u, SysStringByteLen(bytes));
    EXPECT_EQ(3u / sizeof(OLECHAR), SysStringLen(bytes));  // whole characters only
    EXPECT_EQ(0, std::memcmp("xyz", bytes, 3));
    SysFreeString(bytes);
}

TEST(BstrConformance, ReallocationReplacesTheString)
{
    BSTR text = SysAllocString(L"short");
    ASSERT_TRUE(SysReAllocString(&text, L"a longer text"));
    EXPECT_EQ(0, wcscmp(L"a longer text", text));
    // Reallocating from the string's own characters is allowed.
    ASSERT_TRUE(SysReAllocStringLen(&text, text + 2, 6));
    EXPECT_EQ(0, wcscmp(L"longer", text));
    EXPECT_EQ(6u, SysStringLen(text));
    SysFreeString(text);
}
