#include <gtest/gtest.h>
#include <windows.h>
#include "sim/sim.h"
#include "test_object.h"

using winsim::liveCount;
using winsim::Resource;

namespace {

TEST(SafeArray, ReportsDimensionsBoundsAndElementSize)
{
    SAFEARRAYBOUND bounds[2] = {{3, -1}, {2, 10}};  // [-1..1][10..11]
    SAFEARRAY* grid = SafeArrayCreate(VT_I4, 2, bounds);
    ASSERT_NE(nullptr, grid);
    EXPECT_EQ(2u, SafeArrayGetDim(grid));
    EXPECT_EQ(4u, SafeArrayGetElemsize(grid));
    LONG lower = 0, upper = 0;
    ASSERT_EQ(S_OK, SafeArrayGetLBound(grid, 1, &lower));
    ASSERT_EQ(S_OK, SafeArrayGetUBound(grid, 1, &upper));
    EXPECT_EQ(-1, lower);
    EXPECT_EQ(1, upper);
    ASSERT_EQ(S_OK, SafeArrayGetLBound(grid, 2, &lower));
    ASSERT_EQ(S_OK, SafeArrayGetUBound(grid, 2, &upper));
    EXPECT_EQ(10, lower);
    EXPECT_EQ(11, upper);
    // The descriptor keeps the last dimension first, as on Windows.
    EXPECT_EQ(10, grid->rgsabound[0].lLbound);
    EXPECT_EQ(-1, grid->rgsabound[1].lLbound);

    EXPECT_EQ(DISP_E_BADINDEX, SafeArrayGetLBound(grid, 0, &lower));
    EXPECT_EQ(DISP_E_BADINDEX, SafeArrayGetUBound(grid, 3, &upper));
    EXPECT_EQ(0u, SafeArrayGetDim(nullptr));
    VARTYPE type = VT_EMPTY;
    EXPECT_EQ(S_OK, SafeArrayGetVartype(grid, &type));
    EXPECT_EQ(VT_I4, type);
    EXPECT_EQ(S_OK, SafeArrayDestroy(grid));
}

TEST(SafeArray, EmptyVectorHasUpperBoundBelowLowerBound)
{
    SAFEARRAY* empty = SafeArrayCreateVector(VT_UNKNOWN, 0, 0);
    ASSERT_NE(nullptr, empty);
    LONG upper = 0;
    EXPECT_EQ(S_OK, SafeArrayGetUBound(empty, 1, &upper));
    EXPECT_EQ(-1, upper);
    LONG index = 0;
    IUnknown* element = nullptr;
    EXPECT_EQ(DISP_E_BADINDEX, SafeArrayGetElement(empty, &index, &element));
    SafeArrayDestroy(empty);
}

TEST(SafeArray, FirstIndexVariesFastestInTheData)
{
    SAFEARRAYBOUND bounds[2] = {{2, 1}, {3, 0}};
    SAFEARRAY* grid = SafeArrayCreate(VT_I2, 2, bounds);
    for (LONG j = 0; j < 3; ++j) {
        for (LONG i = 1; i <= 2; ++i) {
            LONG indices[2] = {i, j};
            SHORT value = static_cast<SHORT>(i * 10 + j);
            ASSERT_EQ(S_OK, SafeArrayPutElement(grid, indices, &value));
        }
    }
    SHORT* data = nullptr;
    ASSERT_EQ(S_OK, SafeArrayAccessData(grid, reinterpret_cast<void**>(&data)));
    const SHORT expected[] = {10, 20, 11, 21, 12, 22};
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(expected[k], data[k]) << "cell " << k;
    EXPECT_EQ(DISP_E_ARRAYISLOCKED, SafeArrayDestroy(grid));
    ASSERT_EQ(S_OK, SafeArrayUnaccessData(grid));
    EXPECT_EQ(E_UNEXPECTED, SafeArrayUnaccessData(grid));

    LONG outside[2] = {0, 0};
    SHORT value = 0;
    EXPECT_EQ(DISP_E_BADINDEX, SafeArrayGetElement(grid, outside, &value));
    LONG inside[2] = {2, 1};
    ASSERT_EQ(S_OK, SafeArrayGetElement(grid, inside, &value));
    EXPECT_EQ(21, value);
    EXPECT_EQ(S_OK, SafeArrayDestroy(grid));
}

TEST(SafeArray, GetElementAddsAReferenceToInterfaces)
{
    IUnknown* object = new TestObject;
    SAFEARRAY* objects = SafeArrayCreateVector(VT_UNKNOWN, 1, 1);
    LONG index = 1;
    ASSERT_EQ(S_OK, SafeArrayPutElement(objects, &index, object));
    EXPECT_EQ(2u, referenceCount(object));

    IUnknown* element = nullptr;
    ASSERT_EQ(S_OK, SafeArrayGetElement(objects, &index, &element));
    EXPECT_EQ(object, element);
    EXPECT_EQ(3u, referenceCount(object));
    element->Release();

    // Replacing an element releases the one it held.
    ASSERT_EQ(S_OK, SafeArrayPutElement(objects, &index, nullptr));
    EXPECT_EQ(1u, referenceCount(object));
    SafeArrayDestroy(objects);
    object->Release();
}

TEST(SafeArray, GetElementCopiesStrings)
{
    long before = liveCount(Resource::Bstr);
    SAFEARRAY* strings = SafeArrayCreateVector(VT_BSTR, 0, 2);
    LONG index = 0;
    BSTR text = SysAllocString(L"first");
    ASSERT_EQ(S_OK, SafeArrayPutElement(strings, &index, text));
    SysFreeString(text);

    BSTR element = nullptr;
    ASSERT_EQ(S_OK, SafeArrayGetElement(strings, &index, &element));
    EXPECT_STREQ(L"first", element);
    BSTR* data = nullptr;
    ASSERT_EQ(S_OK, SafeArrayAccessData(strings, reinterpret_cast<void**>(&data)));
    EXPECT_NE(data[0], element);
    EXPECT_EQ(nullptr, data[1]);
    SafeArrayUnaccessData(strings);
    SysFreeString(element);

    index = 1;  // an unset string element reads as null
    ASSERT_EQ(S_OK, SafeArrayGetElement(strings, &index, &element));
    EXPECT_EQ(nullptr, element);
    SafeArrayDestroy(strings);
    EXPECT_EQ(before, liveCount(Resource::Bstr));
}

TEST(SafeArray, VariantElementsAreCopiedAndClearedWithTheArray)
{
    long before = liveCount(Resource::Bstr);
    SAFEARRAY* variants = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    VARIANT value;
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = SysAllocString(L"inside");
    LONG index = 0;
    ASSERT_EQ(S_OK, SafeArrayPutElement(variants, &index, &value));
    VariantClear(&value);
    ASSERT_EQ(S_OK, SafeArrayGetElement(variants, &index, &value));
    EXPECT_STREQ(L"inside", V_BSTR(&value));
    VariantClear(&value);
    SafeArrayDestroy(variants);
    EXPECT_EQ(before, liveCount(Resource::Bstr));
}

TEST(SafeArray, RefusesTypesItCannotHold)
{
    EXPECT_EQ(nullptr, SafeArrayCreateVector(VT_EMPTY, 0, 1));
    EXPECT_EQ(nullptr, SafeArrayCreateVector(VT_NULL, 0, 1));
    SAFEARRAYBOUND bound = {1, 0};
    EXPECT_EQ(nullptr, SafeArrayCreate(VT_I4, 0, &bound));
    EXPECT_EQ(S_OK, SafeArrayDestroy(nullptr));
}

}  // namespace
