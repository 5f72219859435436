// Values as Get hands them out, and the lifetime of the objects behind them.
#include <gtest/gtest.h>

#include "sim/sim.h"
#include "wmi_test_support.h"

namespace {

class ClassObjectTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_comBefore = winsim::liveCount(winsim::Resource::Com);
        *m_services.out() = servicesOver(repositoryFromMof(readText(fixturePath("all_types.mof"))));
        m_object = first(
            L"SELECT * FROM Sample_AllTypes WHERE InstanceName = 'ROOT\\\\ISCSIPRT\\\\0000_0'");
        ASSERT_NE(nullptr, m_object);
    }

    void TearDown() override
    {
        if (m_object)
            m_object->Release();
        m_services.reset();
        EXPECT_EQ(m_comBefore, winsim::liveCount(winsim::Resource::Com)) << "COM objects leaked";
    }

    // The first object a query yields (caller releases), or null.
    IWbemClassObject* first(const wchar_t* text)
    {
        Ref<IEnumWbemClassObject> enumerator;
        if (FAILED(query(m_services.get(), text, enumerator.out())))
            return nullptr;
        IWbemClassObject* object = nullptr;
        ULONG returned = 0;
        enumerator->Next(WBEM_INFINITE, 1, &object, &returned);
        return returned == 1 ? object : nullptr;
    }

    long m_comBefore = 0;
    Ref<IWbemServices> m_services;
    IWbemClassObject* m_object = nullptr;
};

TEST_F(ClassObjectTest, EachCimTypeComesInTheVariantTypeWmiUses)
{
    struct Expected
    {
        const wchar_t* name;
        VARTYPE vt;
        CIMTYPE cim;
    } cases[] = {
        {L"Active", VT_BOOL, CIM_BOOLEAN},
        {L"U8", VT_UI1, CIM_UINT8},
        {L"S8", VT_I2, CIM_SINT8},
        {L"U16", VT_I4, CIM_UINT16},
        {L"S16", VT_I2, CIM_SINT16},
        {L"U32", VT_I4, CIM_UINT32},
        {L"S32", VT_I4, CIM_SINT32},
        {L"U64", VT_BSTR, CIM_UINT64},
        {L"S64", VT_BSTR, CIM_SINT64},
        {L"R32", VT_R4, CIM_REAL32},
        {L"R64", VT_R8, CIM_REAL64},
        {L"C16", VT_I2, CIM_CHAR16},
        {L"When", VT_BSTR, CIM_DATETIME},
        {L"Text", VT_BSTR, CIM_STRING},
        {L"Address", VT_UNKNOWN, CIM_OBJECT},
        {L"Anything", VT_UNKNOWN, CIM_OBJECT},
        {L"Unset", VT_NULL, CIM_STRING},
        {L"Bytes", VT_ARRAY | VT_UI1, CIM_UINT8 | CIM_FLAG_ARRAY},
        {L"Names", VT_ARRAY | VT_BSTR, CIM_STRING | CIM_FLAG_ARRAY},
        {L"Flags", VT_ARRAY | VT_BOOL, CIM_BOOLEAN | CIM_FLAG_ARRAY},
        {L"Bigs", VT_ARRAY | VT_BSTR, CIM_SINT64 | CIM_FLAG_ARRAY},
        {L"Addresses", VT_ARRAY | VT_UNKNOWN, CIM_OBJECT | CIM_FLAG_ARRAY},
    };
    for (const Expected& e : cases) {
        Variant value;
        CIMTYPE cim = -1;
        ASSERT_EQ(S_OK, m_object->Get(e.name, 0, &value, &cim, nullptr)) << e.name;
        EXPECT_EQ(e.vt, value->vt) << e.name;
        EXPECT_EQ(e.cim, cim) << e.name;
    }
}

TEST_F(ClassObjectTest, ScalarValuesKeepTheirBits)
{
    Variant v;
    auto get = [&](const wchar_t* name) -> VARIANT* {
        EXPECT_EQ(S_OK, m_object->Get(name, 0, v.out(), nullptr, nullptr)) << name;
        return &v;
    };
    EXPECT_EQ(VARIANT_TRUE, get(L"Active")->boolVal);
    EXPECT_EQ(1, get(L"OddBool")->boolVal);  // stored as given, not made VARIANT_TRUE
    EXPECT_EQ(255, get(L"U8")->bVal);
    EXPECT_EQ(-128, get(L"S8")->iVal);
    EXPECT_EQ(65535, get(L"U16")->lVal);
    EXPECT_EQ(-32768, get(L"S16")->iVal);
    EXPECT_EQ(3232235777u, static_cast<ULONG>(get(L"U32")->lVal));
    EXPECT_EQ(INT32_MIN, get(L"S32")->lVal);
    EXPECT_STREQ(L"18446744073709551615", get(L"U64")->bstrVal);
    EXPECT_STREQ(L"-9223372036854775808", get(L"S64")->bstrVal);
    EXPECT_FLOAT_EQ(1.5f, get(L"R32")->fltVal);
    EXPECT_DOUBLE_EQ(-2250.0, get(L"R64")->dblVal);
    EXPECT_EQ(L'A', get(L"C16")->iVal);
    EXPECT_STREQ(L"say \"hi\"\tand\\ \u263A joined", get(L"Text")->bstrVal);
    EXPECT_EQ(SysStringLen(v->bstrVal), wcslen(v->bstrVal));
    EXPECT_STREQ(L"Sample_AllTypes", get(L"__CLASS")->bstrVal);
}

TEST_F(ClassObjectTest, ArraysAreZeroBasedSafeArraysOfTheElementType)
{
    Variant bytes;
    ASSERT_EQ(S_OK, m_object->Get(L"Bytes", 0, &bytes, nullptr, nullptr));
    LONG lower = -1, upper = -1;
    EXPECT_EQ(1u, SafeArrayGetDim(bytes->parray));
    ASSERT_EQ(S_OK, SafeArrayGetLBound(bytes->parray, 1, &lower));
    ASSERT_EQ(S_OK, SafeArrayGetUBound(bytes->parray, 1, &upper));
    EXPECT_EQ(0, lower);
    EXPECT_EQ(4, upper);
    void* data = nullptr;
    ASSERT_EQ(S_OK, SafeArrayAccessData(bytes->parray, &data));
    EXPECT_EQ(0, memcmp("\x01\x02\x03\x10\xff", data, 5));
    SafeArrayUnaccessData(bytes->parray);

    Variant bigs;
    ASSERT_EQ(S_OK, m_object->Get(L"Bigs", 0, &bigs, nullptr, nullptr));
    BSTR text = nullptr;
    LONG index = 1;
    ASSERT_EQ(S_OK, SafeArrayGetElement(bigs->parray, &index, &text));
    EXPECT_STREQ(L"9223372036854775807", text);
    SysFreeString(text);

    IWbemClassObject* second =
        first(L"SELECT * FROM Sample_AllTypes WHERE InstanceName = 'second'");
    ASSERT_NE(nullptr, second);
    Variant empty;
    ASSERT_EQ(S_OK, second->Get(L"Addresses", 0, &empty, nullptr, nullptr));
    EXPECT_EQ(VT_ARRAY | VT_UNKNOWN, empty->vt);
    ASSERT_EQ(S_OK, SafeArrayGetUBound(empty->parray, 1, &upper));
    EXPECT_EQ(-1, upper);
    Variant unset;  // an instance that leaves a property out has it NULL
    ASSERT_EQ(S_OK, second->Get(L"Text", 0, &unset, nullptr, nullptr));
    EXPECT_EQ(VT_NULL, unset->vt);
    second->Release();
}

TEST_F(ClassObjectTest, MissingPropertiesAreNotFoundAndLeaveTheVariantAlone)
{
    Variant value;
    CIMTYPE cim = 12345;
    EXPECT_EQ(HRESULT(WBEM_E_NOT_FOUND),
              m_object->Get(L"NoSuchProperty", 0, &value, &cim, nullptr));
    EXPECT_EQ(VT_EMPTY, value->vt);
    EXPECT_EQ(12345, cim);
    EXPECT_EQ(HRESULT(WBEM_E_INVALID_PARAMETER),
              m_object->Get(nullptr, 0, &value, nullptr, nullptr));
    // The type alone may be asked for, and names are case-insensitive.
    EXPECT_EQ(S_OK, m_object->Get(L"instancename", 0, nullptr, &cim, nullptr));
    EXPECT_EQ(CIM_STRING, cim);
}

TEST_F(ClassObjectTest, EmbeddedObjectsAreCountedAndOwnedByTheVariant)
{
    long before = winsim::liveCount(winsim::Resource::Com);
    IWbemClassObject* kept = nullptr;
    {
        Variant value;
        ASSERT_EQ(S_OK, m_object->Get(L"Address", 0, &value, nullptr, nullptr));
        EXPECT_EQ(1u, referenceCount(value->punkVal));
        EXPECT_EQ(before + 1, winsim::liveCount(winsim::Resource::Com));
        // The pointer serves as the class object itself, as callers use it without QueryInterface.
        kept = static_cast<IWbemClassObject*>(value->punkVal);
        kept->AddRef();
        Variant type;
        ASSERT_EQ(S_OK, kept->Get(L"Type", 0, &type, nullptr, nullptr));
        EXPECT_EQ(1, type->lVal);
        Variant again;  // each Get hands out an object of its own
        ASSERT_EQ(S_OK, m_object->Get(L"Address", 0, &again, nullptr, nullptr));
        EXPECT_NE(value->punkVal, again->punkVal);
    }
    EXPECT_EQ(1u, referenceCount(kept));  // VariantClear dropped only the VARIANT's reference
    EXPECT_EQ(before + 1, winsim::liveCount(winsim::Resource::Com));
    kept->Release();
    EXPECT_EQ(before, winsim::liveCount(winsim::Resource::Com));
}

TEST_F(ClassObjectTest, ObjectArraysHoldOneReferencePerElementAndNullGaps)
{
    long before = winsim::liveCount(winsim::Resource::Com);
    Variant value;
    ASSERT_EQ(S_OK, m_object->Get(L"Addresses", 0, &value, nullptr, nullptr));
    EXPECT_EQ(before + 2, winsim::liveCount(winsim::Resource::Com));
    IUnknown* element = nullptr;
    LONG index = 1;
    ASSERT_EQ(S_OK, SafeArrayGetElement(value->parray, &index, &element));
    EXPECT_EQ(nullptr, element);
    index = 2;
    ASSERT_EQ(S_OK, SafeArrayGetElement(value->parray, &index, &element));
    EXPECT_EQ(2u, referenceCount(element));  // the array's and ours
    Variant type;
    ASSERT_EQ(S_OK,
              static_cast<IWbemClassObject*>(element)->Get(L"Type", 0, &type, nullptr, nullptr));
    EXPECT_EQ(4, type->lVal);
    element->Release();
    VariantClear(&value);
    EXPECT_EQ(before, winsim::liveCount(winsim::Resource::Com));
}

TEST_F(ClassObjectTest, AQueryOnABaseClassYieldsDerivedInstancesNamingTheirSuperclass)
{
    IWbemClassObject* derived =
        first(L"SELECT * FROM Sample_AllTypes WHERE InstanceName = \"it's derived\"");
    ASSERT_NE(nullptr, derived);
    Variant className, superclass, root;
    CIMTYPE type = 0;
    EXPECT_EQ(S_OK, derived->Get(L"__CLASS", 0, &className, nullptr, nullptr));
    EXPECT_EQ(S_OK, derived->Get(L"__superclass", 0, &superclass, &type, nullptr));
    derived->Release();
    EXPECT_STREQ(L"Sample_Derived", className->bstrVal);
    EXPECT_STREQ(L"Sample_AllTypes",
                 superclass->vt == VT_BSTR ? superclass->bstrVal : L"(not a string)");
    EXPECT_EQ(CIM_STRING, type);
    EXPECT_EQ(S_OK,
              m_object->Get(L"__SUPERCLASS", 0, &root, nullptr, nullptr));  // at the root: NULL
    EXPECT_EQ(VT_NULL, root->vt);
    EXPECT_EQ(HRESULT(WBEM_E_READ_ONLY), m_object->Put(L"__SUPERCLASS", 0, nullptr, 0));
}

}  // namespace
