// String properties on their way to a Windows Python 2.7, built with that interpreter's
// configuration (wchar_t and Py_UNICODE both UTF-16): a character outside the BMP is a
// surrogate pair in WMI's text and must reach the unicode object as the same pair.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_class_object.h"
#include "python/py_text.h"
#include "wmiobject/wide_text.h"
#include "wmiobject/wmiobject.h"

using quillet::PyText;
using quillet::PyTextUnit;

namespace {

static_assert(sizeof(PyTextUnit) == 2 && sizeof(wchar_t) == 2,
              "this test is about the UTF-16 width of Windows Python 2.7");

const wchar_t kFace[] = L"\U0001F600";  // two units here: D83D DE00

std::vector<unsigned> unitsOf(const PyTextUnit* text)
{
    std::vector<unsigned> units;
    for (; *text; ++text)
        units.push_back(*text);
    return units;
}

std::vector<unsigned> unitsOf(const std::wstring& text)
{
    return std::vector<unsigned>(text.begin(), text.end());
}

// The text of property "Name" holding value, read as the records read it.
std::vector<unsigned> readAsRecord(const std::wstring& value)
{
    FakeClassObject object;
    object.setString(L"Name", value);
    std::vector<unsigned> units;
    {
        WMIObject record;
        record.attach(&object);
        StringText text;
        EXPECT_TRUE(record.getString(L"Name", text.text));
        units = unitsOf(PyText<WMIObject::STRING_BUFFER_SIZE>(text).unicode());
    }
    EXPECT_EQ(1u, object.references());
    return units;
}

TEST(PyTextUtf16, PairsAndLoneSurrogatesPassUnchanged)
{
    ASSERT_EQ(2u, std::wstring(kFace).size());
    const std::wstring cases[] = {
        L"caf\u00e9 \u4e2d",
        std::wstring(L"a") + kFace + L"b" + kFace,
        kFace,
        // Not valid UTF-16, but the property's text all the same: no repair, no loss.
        std::wstring(L"x") + wchar_t(0xD800) + L"y" + wchar_t(0xDC00),
    };
    for (const std::wstring& value : cases) {
        WideText<16> text;
        value.copy(text.text, value.size());
        text.text[value.size()] = L'\0';
        EXPECT_EQ(unitsOf(value), unitsOf(PyText<16>(text).unicode()));
        EXPECT_EQ(unitsOf(value), readAsRecord(value));
    }
}

TEST(PyTextUtf16, PairInTheLastPlacesOfTheBufferStaysWhole)
{
    // 255 units fill the reader's buffer exactly, the pair in the last two.
    std::wstring value = std::wstring(253, L'x') + kFace;
    EXPECT_EQ(unitsOf(value), readAsRecord(value));
}

TEST(PyTextUtf16, TruncationNeverSplitsAPair)
{
    // The buffer holds 255 units: the pair would straddle the cut, so it goes whole.
    std::vector<unsigned> units = readAsRecord(std::wstring(254, L'x') + kFace + L"tail");
    ASSERT_EQ(254u, units.size());
    EXPECT_EQ(unsigned(L'x'), units.back());

    // A cut after a complete pair keeps it.
    units = readAsRecord(std::wstring(253, L'x') + kFace + L"tail");
    ASSERT_EQ(255u, units.size());
    EXPECT_EQ(0xD83Du, units[253]);
    EXPECT_EQ(0xDE00u, units[254]);
}

}  // namespace
