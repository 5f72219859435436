#include <gtest/gtest.h>
#include <windows.h>
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
};

void expectUnchanged(const LiveCounts& before)
{
    EXPECT_EQ(before.com, liveCount(Resource::Com));
    EXPECT_EQ(before.bstr, liveCount(Resource::Bstr));
    EXPECT_EQ(before.arrays, liveCount(Resource::SafeArray));
}

TEST(VariantClear, FreesStringsAndReleasesInterfaces)
{
    LiveCounts before;
    VARIANT text;
    VariantInit(&text);
    EXPECT_EQ(VT_EMPTY, V_VT(&text));
    V_VT(&text) = VT_BSTR;
    V_BSTR(&text) = SysAllocString(L"value");
    EXPECT_EQ(S_OK, VariantClear(&text));
    EXPECT_EQ(VT_EMPTY, V_VT(&text));

    IUnknown* object = new TestObject;
    object->AddRef();
    VARIANT holder;
    V_VT(&holder) = VT_UNKNOWN;
    V_UNKNOWN(&holder) = object;
    EXPECT_EQ(S_OK, VariantClear(&holder));
    EXPECT_EQ(1u, referenceCount(object));
    object->Release();

    VARIANT nothing;
    V_VT(&nothing) = VT_UNKNOWN;
    V_UNKNOWN(&nothing) = nullptr;
    EXPECT_EQ(S_OK, VariantClear(&nothing));
    expectUnchanged(before);
}

TEST(VariantClear, DestroysArraysWithWhatTheirElementsOwn)
{
    LiveCounts before;
    SAFEARRAY* strings = SafeArrayCreateVector(VT_BSTR, 0, 2);
    LONG index = 1;
    BSTR text = SysAllocString(L"element");
    ASSERT_EQ(S_OK, SafeArrayPutElement(strings, &index, text));
    SysFreeString(text);
    VARIANT stringArray;
    V_VT(&stringArray) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&stringArray) = strings;
    EXPECT_EQ(S_OK, VariantClear(&stringArray));

    IUnknown* object = new TestObject;
    SAFEARRAY* objects = SafeArrayCreateVector(VT_UNKNOWN, 0, 3);
    for (index = 0; index < 3; ++index)
        ASSERT_EQ(S_OK, SafeArrayPutElement(objects, &index, object));
    EXPECT_EQ(4u, referenceCount(object));
    VARIANT objectArray;
    V_VT(&objectArray) = VT_ARRAY | VT_UNKNOWN;
    V_ARRAY(&objectArray) = objects;
    EXPECT_EQ(S_OK, VariantClear(&objectArray));
    EXPECT_EQ(1u, referenceCount(object));
    object->Release();
    expectUnchanged(before);
}

TEST(VariantClear, LeavesReferencesAloneAndRefusesUnknownTypes)
{
    BSTR owned = SysAllocString(L"kept");
    VARIANT reference;
    V_VT(&reference) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&reference) = &owned;
    EXPECT_EQ(S_OK, VariantClear(&reference));
    EXPECT_STREQ(L"kept", owned);
    SysFreeString(owned);

    VARIANT bad;
    V_VT(&bad) = 0x0fff;
    EXPECT_EQ(DISP_E_BADVARTYPE, VariantClear(&bad));
    EXPECT_EQ(0x0fff, V_VT(&bad));
}

TEST(VariantClear, ReportsALockedArrayAndKeepsIt)
{
    SAFEARRAY* numbers = SafeArrayCreateVector(VT_I4, 0, 1);
    void* data = nullptr;
    ASSERT_EQ(S_OK, SafeArrayAccessData(numbers, &data));
    VARIANT holder;
    V_VT(&holder) = VT_ARRAY | VT_I4;
    V_ARRAY(&holder) = numbers;
    EXPECT_EQ(DISP_E_ARRAYISLOCKED, VariantClear(&holder));
    EXPECT_EQ(VT_ARRAY | VT_I4, V_VT(&holder));
    ASSERT_EQ(S_OK, SafeArrayUnaccessData(numbers));
    EXPECT_EQ(S_OK, VariantClear(&holder));
}

TEST(VariantCopy, DuplicatesWhatTheSourceOwns)
{
    LiveCounts before;
    VARIANT source, target;
    VariantInit(&target);
    V_VT(&source) = VT_BSTR;
    V_BSTR(&source) = SysAllocString(L"copied");
    ASSERT_EQ(S_OK, VariantCopy(&target, &source));
    EXPECT_NE(V_BSTR(&source), V_BSTR(&target));
    EXPECT_STREQ(L"copied", V_BSTR(&target));

    // Copying over a VARIANT clears what it held first.
    IUnknown* object = new TestObject;
    VariantClear(&source);
    V_VT(&source) = VT_UNKNOWN;
    V_UNKNOWN(&source) = object;
    ASSERT_EQ(S_OK, VariantCopy(&target, &source));
    EXPECT_EQ(2u, referenceCount(object));

    VariantClear(&source);
    V_VT(&source) = VT_ARRAY | VT_UNKNOWN;
    V_ARRAY(&source) = SafeArrayCreateVector(VT_UNKNOWN, 5, 1);
    LONG index = 5;
    SafeArrayPutElement(V_ARRAY(&source), &index, object);
    ASSERT_EQ(S_OK, VariantCopy(&target, &source));
    EXPECT_NE(V_ARRAY(&source), V_ARRAY(&target));
    // The source array and the copy hold one each; target's own reference went with its clearing.
    EXPECT_EQ(2u, referenceCount(object));
    VariantClear(&source);
    VariantClear(&target);
    expectUnchanged(before);
}

}  // namespace
