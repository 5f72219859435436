// The stand-in's own accounting behind the leak line: what OLE Automation allocates and frees
// moves the live counts by exactly what it owns. (What the calls do is checked on the stand-in
// and on Wine alike, in tests/conformance.)
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include "com/bstr.h"
#include "sim/sim.h"
#include "test_object.h"

using winsim::liveCount;
using winsim::Resource;

namespace {

struct LiveCounts
{
    long com = liveCount(Resource::Com);
    long bstr = liveCount(Resource::Bstr);
    long arrays = liveCount(Resource::SafeArray);

    void expectUnchanged() const
    {
        EXPECT_EQ(com, liveCount(Resource::Com));
        EXPECT_EQ(bstr, liveCount(Resource::Bstr));
        EXPECT_EQ(arrays, liveCount(Resource::SafeArray));
    }
};

TEST(LiveCount, StringsCountOnceThroughReallocationAndCopies)
{
    LiveCounts before;
    BSTR text = SysAllocString(L"short");
    ASSERT_TRUE(SysReAllocString(&text, L"a longer text"));
    EXPECT_EQ(before.bstr + 1, liveCount(Resource::Bstr));

    const OLECHAR raw[] = {L'a', L'\0', L'b'};
    BSTR withNuls = SysAllocStringLen(raw, 3);
    BSTR copy = winsim::copyBstr(withNuls);
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(3u, SysStringLen(copy));
    EXPECT_EQ(0, std::memcmp(raw, copy, sizeof raw));
    EXPECT_EQ(before.bstr + 3, liveCount(Resource::Bstr));
    SysFreeString(copy);
    SysFreeString(withNuls);
    SysFreeString(text);
    before.expectUnchanged();
}

TEST(LiveCount, VariantsAndArraysGiveBackWhatTheyHold)
{
    LiveCounts before;
    IUnknown* object = new TestObject;

    SAFEARRAY* strings = SafeArrayCreateVector(VT_BSTR, 0, 2);
    LONG index = 0;
    BSTR text = SysAllocString(L"element");
    ASSERT_EQ(S_OK, SafeArrayPutElement(strings, &index, text));
    SysFreeString(text);
    BSTR fetched = nullptr;
    ASSERT_EQ(S_OK, SafeArrayGetElement(strings, &index, &fetched));
    SysFreeString(fetched);
    VARIANT holder;
    V_VT(&holder) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&holder) = strings;
    EXPECT_EQ(S_OK, VariantClear(&holder));

    SAFEARRAY* variants = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    V_VT(&holder) = VT_BSTR;
    V_BSTR(&holder) = SysAllocString(L"inside");
    ASSERT_EQ(S_OK, SafeArrayPutElement(variants, &index, &holder));
    VariantClear(&holder);
    ASSERT_EQ(S_OK, SafeArrayGetElement(variants, &index, &holder));
    VariantClear(&holder);
    SafeArrayDestroy(variants);

    VARIANT source, target;
    VariantInit(&target);
    V_VT(&source) = VT_ARRAY | VT_UNKNOWN;
    V_ARRAY(&source) = SafeArrayCreateVector(VT_UNKNOWN, 0, 3);
    for (index = 0; index < 3; ++index)
        ASSERT_EQ(S_OK, SafeArrayPutElement(V_ARRAY(&source), &index, object));
    ASSERT_EQ(S_OK, VariantCopy(&target, &source));
    VariantClear(&source);
    VariantClear(&target);
    EXPECT_EQ(1u, referenceCount(object));
    object->Release();
    before.expectUnchanged();
}

}  // namespace
