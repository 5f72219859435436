// SAFEARRAYs as WMI delivers them: byte arrays copied under SafeArrayAccessData, arrays of
// embedded objects fetched element by element within their bounds.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "counted_unknown.h"

#include <cstring>
#include <cwchar>

namespace {

SAFEARRAY* createBytes(const BYTE* bytes, ULONG count)
{
    SAFEARRAY* psa = SafeArrayCreateVector(VT_UI1, 0, count);
    for (LONG i = 0; psa != NULL && i < static_cast<LONG>(count); ++i) {
        BYTE value = bytes[i];
        if (FAILED(SafeArrayPutElement(psa, &i, &value))) {
            SafeArrayDestroy(psa);
            return NULL;
        }
    }
    return psa;
}

}  // namespace

TEST(SafeArrayConformance, ByteVectorIsOneContiguousDimension)
{
    const BYTE bytes[] = {0x5f, 0x53, 0x4d, 0x5f, 0x00, 0xff};
    SAFEARRAY* psa = createBytes(bytes, sizeof(bytes));
    ASSERT_TRUE(psa != NULL);
    EXPECT_EQ(1u, SafeArrayGetDim(psa));
    EXPECT_EQ(1u, SafeArrayGetElemsize(psa));
    LONG lower = -1, upper = -1;
    EXPECT_EQ(S_OK, SafeArrayGetLBound(psa, 1, &lower));
    EXPECT_EQ(S_OK, SafeArrayGetUBound(psa, 1, &upper));
    EXPECT_EQ(0, lower);
    EXPECT_EQ(5, upper);

    void* pData = NULL;
    ASSERT_EQ(S_OK, SafeArrayAccessData(psa, &pData));
    ASSERT_TRUE(pData != NULL);
    EXPECT_EQ(0, memcmp(bytes, pData, sizeof(bytes)));
    EXPECT_EQ(S_OK, SafeArrayUnaccessData(psa));
    EXPECT_EQ(S_OK, SafeArrayDestroy(psa));
}

TEST(SafeArrayConformance, AccessedArrayCannotBeDestroyedUntilUnaccessed)
{
    const BYTE bytes[] = {1, 2, 3};
    SAFEARRAY* psa = createBytes(bytes, sizeof(bytes));
    ASSERT_TRUE(psa != NULL);
    void* pData = NULL;
    ASSERT_EQ(S_OK, SafeArrayAccessData(psa, &pData));
    EXPECT_EQ(DISP_E_ARRAYISLOCKED, SafeArrayDestroy(psa));
    EXPECT_EQ(S_OK, SafeArrayUnaccessData(psa));
    EXPECT_EQ(S_OK, SafeArrayDestroy(psa));
}

TEST(SafeArrayConformance, EmptyVectorHasUpperBoundBelowLower)
{
    // The array reader loops from the lower to the upper bound: no turn for an empty array.
    SAFEARRAY* psa = SafeArrayCreateVector(VT_UNKNOWN, 0, 0);
    ASSERT_TRUE(psa != NULL);
    LONG lower = 7, upper = 7;
    EXPECT_EQ(S_OK, SafeArrayGetLBound(psa, 1, &lower));
    EXPECT_EQ(S_OK, SafeArrayGetUBound(psa, 1, &upper));
    EXPECT_EQ(0, lower);
    EXPECT_EQ(-1, upper);
    EXPECT_EQ(S_OK, SafeArrayDestroy(psa));
}

TEST(SafeArrayConformance, ElementsAreAddressedFromTheLowerBound)
{
    SAFEARRAYBOUND bound;
    bound.lLbound = 1;
    bound.cElements = 2;
    SAFEARRAY* psa = SafeArrayCreate(VT_I4, 1, &bound);
    ASSERT_TRUE(psa != NULL);
    LONG lower = 0, upper = 0;
    EXPECT_EQ(S_OK, SafeArrayGetLBound(psa, 1, &lower));
    EXPECT_EQ(S_OK, SafeArrayGetUBound(psa, 1, &upper));
    EXPECT_EQ(1, lower);
    EXPECT_EQ(2, upper);

    LONG value = 42;
    LONG index = 2;
    EXPECT_EQ(S_OK, SafeArrayPutElement(psa, &index, &value));
    value = 0;
    EXPECT_EQ(S_OK, SafeArrayGetElement(psa, &index, &value));
    EXPECT_EQ(42, value);
    for (LONG outside = 0; outside <= 3; outside += 3) {
        value = 5;
        EXPECT_EQ(DISP_E_BADINDEX, SafeArrayGetElement(psa, &outside, &value)) << outside;
        EXPECT_EQ(5, value) << "a refused fetch must not write";
    }
    EXPECT_EQ(S_OK, SafeArrayDestroy(psa));
}

TEST(SafeArrayConformance, InterfaceElementsAreCountedOnPutGetAndDestroy)
{
    CountedUnknown object;
    SAFEARRAY* psa = SafeArrayCreateVector(VT_UNKNOWN, 0, 2);
    ASSERT_TRUE(psa != NULL);
    EXPECT_EQ(sizeof(IUnknown*), SafeArrayGetElemsize(psa));
    LONG index = 0;
    ASSERT_EQ(S_OK, SafeArrayPutElement(psa, &index, static_cast<IUnknown*>(&object)));
    EXPECT_EQ(2u, object.references()) << "the array holds its own reference";

    // The fetched element is the caller's reference: the reader attaches, then releases it.
    IUnknown* pFetched = NULL;
    ASSERT_EQ(S_OK, SafeArrayGetElement(psa, &index, &pFetched));
    EXPECT_EQ(static_cast<IUnknown*>(&object), pFetched);
    EXPECT_EQ(3u, object.references());
    pFetched->Release();

    // An element never set is a null object, fetched without error.
    index = 1;
    pFetched = &object;
    ASSERT_EQ(S_OK, SafeArrayGetElement(psa, &index, &pFetched));
    EXPECT_TRUE(pFetched == NULL);

    EXPECT_EQ(S_OK, SafeArrayDestroy(psa));
    EXPECT_EQ(1u, object.references());
}

TEST(SafeArrayConformance, StringElementsAreFetchedAsCopies)
{
    SAFEARRAY* psa = SafeArrayCreateVector(VT_BSTR, 0, 1);
    ASSERT_TRUE(psa != NULL);
    BSTR original = SysAllocString(L"iqn.1991-05.com.example:target");
    LONG index = 0;
    ASSERT_EQ(S_OK, SafeArrayPutElement(psa, &index, original));
    BSTR fetched = NULL;
    ASSERT_EQ(S_OK, SafeArrayGetElement(psa, &index, &fetched));
    EXPECT_NE(original, fetched);
    EXPECT_EQ(0, wcscmp(original, fetched));
    SysFreeString(fetched);
    SysFreeString(original);
    EXPECT_EQ(S_OK, SafeArrayDestroy(psa));
}

TEST(SafeArrayConformance, DimensionsAreCountedFromOneAndStoredLastFirst)
{
    SAFEARRAYBOUND bounds[2] = {{3, -1}, {2, 10}};  // [-1..1][10..11]
    SAFEARRAY* psa = SafeArrayCreate(VT_I4, 2, bounds);
    ASSERT_TRUE(psa != NULL);
    EXPECT_EQ(2u, SafeArrayGetDim(psa));
    EXPECT_EQ(4u, SafeArrayGetElemsize(psa));
    LONG lower = 0, upper = 0;
    EXPECT_EQ(S_OK, SafeArrayGetLBound(psa, 1, &lower));
    EXPECT_EQ(S_OK, SafeArrayGetUBound(psa, 1, &upper));
    EXPECT_EQ(-1, lower);
    EXPECT_EQ(1, upper);
    EXPECT_EQ(S_OK, SafeArrayGetLBound(psa, 2, &lower));
    EXPECT_EQ(S_OK, SafeArrayGetUBound(psa, 2, &upper));
    EXPECT_EQ(10, lower);
    EXPECT_EQ(11, upper);
    EXPECT_EQ(10, psa->rgsabound[0].lLbound);
    EXPECT_EQ(-1, psa->rgsabound[1].lLbound);
    EXPECT_EQ(DISP_E_BADINDEX, SafeArrayGetLBound(psa, 0, &lower));
    EXPECT_EQ(DISP_E_BADINDEX, SafeArrayGetUBound(psa, 3, &upper));
    VARTYPE type = VT_EMPTY;
    EXPECT_EQ(S_OK, SafeArrayGetVartype(psa, &type));
    EXPECT_EQ(VT_I4, type);
    EXPECT_EQ(S_OK, SafeArrayDestroy(psa));
}

TEST(SafeArrayConformance, FirstIndexVariesFastestInTheData)
{
    SAFEARRAYBOUND bounds[2] = {{2, 1}, {3, 0}};
    SAFEARRAY* psa = SafeArrayCreate(VT_I2, 2, bounds);
    ASSERT_TRUE(psa != NULL);
    for (LONG j = 0; j < 3; ++j) {
        for (LONG i = 1; i <= 2; ++i) {
            LONG indices[2] = {i, j};
            SHORT value = static_cast<SHORT>(i * 10 + j);
            ASSERT_EQ(S_OK, SafeArrayPutElement(psa, indices, &value));
        }
    }
    SHORT* data = NULL;
    ASSERT_EQ(S_OK, SafeArrayAccessData(psa, reinterpret_cast<void**>(&data)));
    const SHORT expected[] = {10, 20, 11, 21, 12, 22};
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(expected[k], data[k]) << "cell " << k;
    ASSERT_EQ(S_OK, SafeArrayUnaccessData(psa));
    EXPECT_EQ(E_UNEXPECTED, SafeArrayUnaccessData(psa)) << "no access left to end";

    LONG inside[2] = {2, 1};
    SHORT value = 0;
    ASSERT_EQ(S_OK, SafeArrayGetElement(psa, inside, &value));
    EXPECT_EQ(21, value);
    EXPECT_EQ(S_OK, SafeArrayDestroy(psa));
}

TEST(SafeArrayConformance, ElementsOwnWhatTheyHold)
{
    // Replacing an interface element releases the one it held.
    CountedUnknown object;
    SAFEARRAY* objects = SafeArrayCreateVector(VT_UNKNOWN, 1, 1);
    ASSERT_TRUE(objects != NULL);
    LONG index = 1;
    ASSERT_EQ(S_OK, SafeArrayPutElement(objects, &index, static_cast<IUnknown*>(&object)));
    ASSERT_EQ(S_OK, SafeArrayPutElement(objects, &index, NULL));
    EXPECT_EQ(1u, object.references());
    EXPECT_EQ(S_OK, SafeArrayDestroy(objects));

    // An unset string element reads as null.
    SAFEARRAY* strings = SafeArrayCreateVector(VT_BSTR, 0, 1);
    ASSERT_TRUE(strings != NULL);
    index = 0;
    BSTR fetched = SysAllocString(L"overwritten");
    BSTR before = fetched;
    ASSERT_EQ(S_OK, SafeArrayGetElement(strings, &index, &fetched));
    EXPECT_TRUE(fetched == NULL);
    SysFreeString(before);
    EXPECT_EQ(S_OK, SafeArrayDestroy(strings));

    // VARIANT elements are copied in and out.
    SAFEARRAY* variants = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    ASSERT_TRUE(variants != NULL);
    VARIANT value;
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = SysAllocString(L"inside");
    ASSERT_EQ(S_OK, SafeArrayPutElement(variants, &index, &value));
    VariantClear(&value);
    ASSERT_EQ(S_OK, SafeArrayGetElement(variants, &index, &value));
    EXPECT_EQ(VT_BSTR, V_VT(&value));
    EXPECT_EQ(0, wcscmp(L"inside", V_BSTR(&value)));
    VariantClear(&value);
    EXPECT_EQ(S_OK, SafeArrayDestroy(variants));
}

TEST(SafeArrayConformance, RefusesTypesAndShapesItCannotHold)
{
    EXPECT_TRUE(SafeArrayCreateVector(VT_EMPTY, 0, 1) == NULL);
    EXPECT_TRUE(SafeArrayCreateVector(VT_NULL, 0, 1) == NULL);
    SAFEARRAYBOUND bound = {1, 0};
    EXPECT_TRUE(SafeArrayCreate(VT_I4, 0, &bound) == NULL);
    EXPECT_EQ(S_OK, SafeArrayDestroy(NULL));
}
