// VARIANTs as the readers and the engine use them: initialised, read through the value union
// whatever the type, and cleared on every path, which must release whatever they hold.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "counted_unknown.h"

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
