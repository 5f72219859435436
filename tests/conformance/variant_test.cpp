// VARIANTs as the readers and the engine use them: initialised, read through the value union
// whatever the type, and cleared on every path, which must release whatever they hold.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "counted_unknown.h"

#include <cwchar>

// The readers compare with these values; the stand-in's headers must agree with Windows.
TEST(VariantConformance, TypeCodesAndBooleanValues)
{
    EXPECT_EQ(1, VT_NULL);
    EXPECT_EQ(2, VT_I2);
    EXPECT_EQ(3, VT_I4);
    EXPECT_EQ(8, VT_BSTR);
    EXPECT_EQ(11, VT_BOOL);
    EXPECT_EQ(13, VT_UNKNOWN);
    EXPECT_EQ(17, VT_UI1);
    EXPECT_EQ(0x2000, VT_ARRAY);
    EXPECT_EQ(0x4000, VT_BYREF);
    EXPECT_EQ(0x0FFF, VT_TYPEMASK);
    EXPECT_EQ(2u, sizeof(VARIANT_BOOL));
    EXPECT_EQ(-1, VARIANT_TRUE);
    EXPECT_EQ(0, VARIANT_FALSE);
}

// getShort reads uiVal and getByte bVal of whatever WMI delivered: the members share storage.
TEST(VariantConformance, NarrowMembersReadTheLowBitsOfTheValue)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = 0x12345678;
    EXPECT_EQ(0x5678, v.uiVal);
    EXPECT_EQ(0x78, v.bVal);
    V_I4(&v) = 0x0001FFFF;
    EXPECT_EQ(-1, v.boolVal);
    EXPECT_EQ(S_OK, VariantClear(&v));
}

TEST(VariantConformance, InitAndClearLeaveEmpty)
{
    VARIANT v;
    V_VT(&v) = VT_I4;
    VariantInit(&v);
    EXPECT_EQ(VT_EMPTY, V_VT(&v));
    EXPECT_EQ(S_OK, VariantClear(&v));
    EXPECT_EQ(VT_EMPTY, V_VT(&v));

    V_VT(&v) = VT_NULL;
    EXPECT_EQ(S_OK, VariantClear(&v));
    EXPECT_EQ(VT_EMPTY, V_VT(&v));

    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(L"ROOT\\ISCSIPRT\\0000_0");
    EXPECT_EQ(S_OK, VariantClear(&v));
    EXPECT_EQ(VT_EMPTY, V_VT(&v));
}

TEST(VariantConformance, ClearReleasesAHeldInterfaceOnce)
{
    CountedUnknown object;
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_UNKNOWN;
    object.AddRef();
    V_UNKNOWN(&v) = &object;
    EXPECT_EQ(S_OK, VariantClear(&v));
    EXPECT_EQ(1u, object.references());
    EXPECT_EQ(VT_EMPTY, V_VT(&v));

    // A reference is not owned: clearing it leaves the object alone.
    IUnknown* pUnknown = &object;
    V_VT(&v) = VT_UNKNOWN | VT_BYREF;
    V_UNKNOWNREF(&v) = &pUnknown;
    EXPECT_EQ(S_OK, VariantClear(&v));
    EXPECT_EQ(1u, object.references());

    BSTR owned = SysAllocString(L"kept");
    V_VT(&v) = VT_BSTR | VT_BYREF;
    V_BSTRREF(&v) = &owned;
    EXPECT_EQ(S_OK, VariantClear(&v));
    EXPECT_EQ(0, wcscmp(L"kept", owned));
    SysFreeString(owned);

    V_VT(&v) = VT_UNKNOWN;
    V_UNKNOWN(&v) = NULL;
    EXPECT_EQ(S_OK, VariantClear(&v));
}

TEST(VariantConformance, ClearDestroysAHeldArrayWithItsElements)
{
    CountedUnknown first, second;
    SAFEARRAY* psa = SafeArrayCreateVector(VT_UNKNOWN, 0, 2);
    ASSERT_TRUE(psa != NULL);
    LONG index = 0;
    ASSERT_EQ(S_OK, SafeArrayPutElement(psa, &index, static_cast<IUnknown*>(&first)));
    index = 1;
    ASSERT_EQ(S_OK, SafeArrayPutElement(psa, &index, static_cast<IUnknown*>(&second)));
    EXPECT_EQ(2u, first.references());

    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_ARRAY | VT_UNKNOWN;
    V_ARRAY(&v) = psa;
    EXPECT_EQ(S_OK, VariantClear(&v));
    EXPECT_EQ(1u, first.references());
    EXPECT_EQ(1u, second.references());
}

TEST(VariantConformance, ClearDestroysAnArrayOfStrings)
{
    SAFEARRAY* psa = SafeArrayCreateVector(VT_BSTR, 0, 2);
    ASSERT_TRUE(psa != NULL);
    LONG index = 1;
    BSTR text = SysAllocString(L"element");
    ASSERT_EQ(S_OK, SafeArrayPutElement(psa, &index, text));
    SysFreeString(text);
    VARIANT v;
    V_VT(&v) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&v) = psa;
    EXPECT_EQ(S_OK, VariantClear(&v));
    EXPECT_EQ(VT_EMPTY, V_VT(&v));
}

TEST(VariantConformance, ClearRefusesAnUnknownType)
{
    VARIANT v;
    V_VT(&v) = 0x0fff;
    EXPECT_EQ(DISP_E_BADVARTYPE, VariantClear(&v));
    EXPECT_EQ(0x0fff, V_VT(&v));
}

// The array stays with whoever locked it; the VARIANT lets go of it all the same.
TEST(VariantConformance, ClearReportsALockedArrayAndLetsGoOfIt)
{
    SAFEARRAY* psa = SafeArrayCreateVector(VT_I4, 0, 1);
    ASSERT_TRUE(psa != NULL);
    void* pData = NULL;
    ASSERT_EQ(S_OK, SafeArrayAccessData(psa, &pData));
    VARIANT v;
    V_VT(&v) = VT_ARRAY | VT_I4;
    V_ARRAY(&v) = psa;
    EXPECT_EQ(DISP_E_ARRAYISLOCKED, VariantClear(&v));
    EXPECT_EQ(VT_EMPTY, V_VT(&v));
    ASSERT_EQ(S_OK, SafeArrayUnaccessData(psa));
    EXPECT_EQ(S_OK, SafeArrayDestroy(psa));
}

TEST(VariantConformance, CopyDuplicatesWhatTheSourceOwns)
{
    VARIANT source, target;
    VariantInit(&source);
    VariantInit(&target);
    V_VT(&source) = VT_BSTR;
    V_BSTR(&source) = SysAllocString(L"copied");
    ASSERT_EQ(S_OK, VariantCopy(&target, &source));
    EXPECT_NE(V_BSTR(&source), V_BSTR(&target));
    EXPECT_EQ(0, wcscmp(L"copied", V_BSTR(&target)));

    // Copying over a VARIANT clears what it held first.
    CountedUnknown object;
    VariantClear(&source);
    V_VT(&source) = VT_UNKNOWN;
    V_UNKNOWN(&source) = &object;
    object.AddRef();
    ASSERT_EQ(S_OK, VariantCopy(&target, &source));
    EXPECT_EQ(3u, object.references());

    VariantClear(&source);
    V_VT(&source) = VT_ARRAY | VT_UNKNOWN;
    V_ARRAY(&source) = SafeArrayCreateVector(VT_UNKNOWN, 5, 1);
    LONG index = 5;
    ASSERT_EQ(S_OK, SafeArrayPutElement(V_ARRAY(&source), &index, static_cast<IUnknown*>(&object)));
    ASSERT_EQ(S_OK, VariantCopy(&target, &source));
    EXPECT_NE(V_ARRAY(&source), V_ARRAY(&target));
    // The source array and the copy hold one each; target's own went with its clearing.
    EXPECT_EQ(3u, object.references());
    VariantClear(&source);
    VariantClear(&target);
    EXPECT_EQ(1u, object.references());
}
