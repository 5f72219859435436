#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include "com/bstr.h"
#include "sim/sim.h"

using winsim::liveCount;
using winsim::Resource;

namespace {

TEST(Bstr, CarriesItsByteLengthBeforeTheCharactersAndANulAfter)
{
    BSTR text = SysAllocString(L"abc");
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(3u, SysStringLen(text));
    EXPECT_EQ(3u * sizeof(OLECHAR), SysStringByteLen(text));
    EXPECT_EQ(3u * sizeof(OLECHAR), reinterpret_cast<const UINT*>(text)[-1]);
    EXPECT_EQ(L'\0', text[3]);
    EXPECT_STREQ(L"abc", text);
    SysFreeString(text);
}

TEST(Bstr, KeepsEmbeddedNulsThroughCopies)
{
    const OLECHAR raw[] = {L'a', L'\0', L'b'};
    BSTR text = SysAllocStringLen(raw, 3);
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(3u, SysStringLen(text));
    EXPECT_EQ(0, std::memcmp(raw, text, sizeof raw));

    BSTR copy = winsim::copyBstr(text);
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(3u, SysStringLen(copy));
    EXPECT_EQ(0, std::memcmp(raw, copy, sizeof raw));
    SysFreeString(copy);
    SysFreeString(text);
}

TEST(Bstr, ByteLengthsNeedNotBeWholeCharacters)
{
    BSTR bytes = SysAllocStringByteLen("xyz", 3);
    ASSERT_NE(nullptr, bytes);
    EXPECT_EQ(3u, SysStringByteLen(bytes));
    EXPECT_EQ(0u, SysStringLen(bytes));
    EXPECT_EQ(0, std::memcmp("xyz", bytes, 3));
    SysFreeString(bytes);
}

TEST(Bstr, NullAndEmptyStrings)
{
    EXPECT_EQ(nullptr, SysAllocString(nullptr));
    EXPECT_EQ(0u, SysStringLen(nullptr));
    SysFreeString(nullptr);

    BSTR empty = SysAllocString(L"");
    ASSERT_NE(nullptr, empty);
    EXPECT_EQ(0u, SysStringLen(empty));
    SysFreeString(empty);

    BSTR zeroed = SysAllocStringLen(nullptr, 2);
    ASSERT_NE(nullptr, zeroed);
    EXPECT_EQ(2u, SysStringLen(zeroed));
    EXPECT_EQ(L'\0', zeroed[0]);
    SysFreeString(zeroed);
}

TEST(Bstr, ReallocationReplacesTheStringAndKeepsTheCount)
{
    long before = liveCount(Resource::Bstr);
    BSTR text = SysAllocString(L"short");
    ASSERT_TRUE(SysReAllocString(&text, L"a longer text"));
    EXPECT_STREQ(L"a longer text", text);
    // Reallocating from the string's own characters is allowed.
    ASSERT_TRUE(SysReAllocStringLen(&text, text + 2, 6));
    EXPECT_STREQ(L"longer", text);
    EXPECT_EQ(before + 1, liveCount(Resource::Bstr));
    SysFreeString(text);
    EXPECT_EQ(before, liveCount(Resource::Bstr));
}

}  // namespace
