// The stand-in's class definitions (GetObject of a class, GetNames, the CIMTYPE qualifier) as
// the capture reads them, the namespace a repository names, and the capture's string literals
// read back by the repository's parser.
#include <gtest/gtest.h>

#include "capture/capture_error.h"
#include "capture/class_definition.h"
#include "capture/mof_writer.h"
#include "sim/sim.h"
#include "wmi_test_support.h"

using quillet::capture::CapturedClass;
using quillet::capture::CaptureError;
using quillet::capture::mofString;
using quillet::capture::readClassDefinition;

namespace {

const char kSchema[] =
    "[WMI] class ISCSI_IP_Address { uint32 Type; uint8 IpV6Address[16]; };\n"
    "[WMI, Description(\"x\") : amended] class Adapter {\n"
    "  [key, read] string InstanceName;\n"
    "  [read, Values{\"Down\", \"Up\"} : amended, ValueMap{\"0\", \"1\"}] uint16 State;\n"
    "  [cpp_quote(\"// generated\\n\")] ISCSI_IP_Address Address;\n"
    "  ISCSI_IP_Address Addresses[]; object Anything; sint64 Big; datetime When;\n"
    "};\n"
    "class Special : Adapter { uint32 Extra; };\n";

class ClassDefinitionTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_comBefore = winsim::liveCount(winsim::Resource::Com);
        *m_services.out() = servicesOver(repositoryFromMof(kSchema));
    }

    void TearDown() override
    {
        m_services.reset();
        EXPECT_EQ(m_comBefore, winsim::liveCount(winsim::Resource::Com)) << "COM objects leaked";
    }

    HRESULT getClass(const wchar_t* path, IWbemClassObject** result)
    {
        Bstr name(path);
        return m_services->GetObject(name, 0, nullptr, result, nullptr);
    }

    long m_comBefore = 0;
    Ref<IWbemServices> m_services;
};

TEST_F(ClassDefinitionTest, CaptureReadsNamesTypesAndEmbeddedClassesInDeclarationOrder)
{
    Ref<IWbemClassObject> definition;
    ASSERT_EQ(S_OK, getClass(L"adapter", definition.out()));
    CapturedClass cls = readClassDefinition(definition.get(), L"Adapter");
    struct Expected
    {
        const wchar_t* name;
        CIMTYPE type;
        const wchar_t* objectClass;
    } expected[] = {
        {L"InstanceName", CIM_STRING, L""},
        {L"State", CIM_UINT16, L""},
        {L"Address", CIM_OBJECT, L"ISCSI_IP_Address"},
        {L"Addresses", CIM_OBJECT | CIM_FLAG_ARRAY, L"ISCSI_IP_Address"},
        {L"Anything", CIM_OBJECT, L""},
        {L"Big", CIM_SINT64, L""},
        {L"When", CIM_DATETIME, L""},
    };
    ASSERT_EQ(sizeof expected / sizeof expected[0], cls.properties.size());
    for (size_t i = 0; i < cls.properties.size(); ++i) {
        EXPECT_EQ(expected[i].name, cls.properties[i].name);
        EXPECT_EQ(expected[i].type, cls.properties[i].type) << i;
        EXPECT_EQ(expected[i].objectClass, cls.properties[i].objectClass) << i;
    }
    EXPECT_EQ(L"", cls.superclass);

    // A subclass names its superclass and holds the inherited properties first.
    ASSERT_EQ(S_OK, getClass(L"Special", definition.out()));
    CapturedClass special = readClassDefinition(definition.get(), L"Special");
    EXPECT_EQ(L"Adapter", special.superclass);
    ASSERT_EQ(cls.properties.size() + 1, special.properties.size());
    EXPECT_EQ(L"InstanceName", special.properties.front().name);
    EXPECT_EQ(L"Extra", special.properties.back().name);
}

TEST_F(ClassDefinitionTest, ClassObjectsAnswerAsWmiDoes)
{
    Ref<IWbemClassObject> definition;
    EXPECT_EQ(HRESULT(WBEM_E_NOT_FOUND), getClass(L"NoSuchClass", definition.out()));
    EXPECT_EQ(nullptr, definition.get());
    EXPECT_EQ(E_NOTIMPL, getClass(L"Adapter.InstanceName=\"x\"", definition.out()));
    ASSERT_EQ(S_OK, getClass(L"ISCSI_IP_Address", definition.out()));

    // Values of a class definition are NULL; the type is still there.
    Variant value;
    CIMTYPE type = 0;
    ASSERT_EQ(S_OK, definition->Get(L"IpV6Address", 0, &value, &type, nullptr));
    EXPECT_EQ(VT_NULL, value->vt);
    EXPECT_EQ(CIM_UINT8 | CIM_FLAG_ARRAY, type);

    struct NamesCase
    {
        LONG flags;
        std::vector<std::wstring> names;
    } cases[] = {
        {WBEM_FLAG_ALWAYS, {L"__CLASS", L"__SUPERCLASS", L"Type", L"IpV6Address"}},
        {WBEM_FLAG_SYSTEM_ONLY, {L"__CLASS", L"__SUPERCLASS"}},
        {WBEM_FLAG_NONSYSTEM_ONLY, {L"Type", L"IpV6Address"}},
    };
    for (const NamesCase& c : cases) {
        SAFEARRAY* names = nullptr;
        ASSERT_EQ(S_OK, definition->GetNames(nullptr, c.flags, nullptr, &names));
        std::vector<std::wstring> got;
        for (LONG i = 0; i < LONG(names->rgsabound[0].cElements); ++i)
            got.push_back(static_cast<BSTR*>(names->pvData)[i]);
        SafeArrayDestroy(names);
        EXPECT_EQ(c.names, got) << c.flags;
    }
    SAFEARRAY* names = nullptr;
    EXPECT_EQ(E_NOTIMPL, definition->GetNames(L"key", 0, nullptr, &names));

    Ref<IWbemQualifierSet> qualifiers;
    ASSERT_EQ(S_OK, definition->GetPropertyQualifierSet(L"ipv6address", qualifiers.out()));
    Variant cimType;
    ASSERT_EQ(S_OK, qualifiers->Get(L"CIMTYPE", 0, &cimType, nullptr));
    EXPECT_EQ(std::wstring(L"uint8"), cimType->bstrVal);
    EXPECT_EQ(HRESULT(WBEM_E_NOT_FOUND), qualifiers->Get(L"key", 0, cimType.out(), nullptr));
    EXPECT_EQ(HRESULT(WBEM_E_NOT_FOUND),
              definition->GetPropertyQualifierSet(L"Missing", qualifiers.out()));
    EXPECT_EQ(HRESULT(WBEM_E_SYSTEM_PROPERTY),
              definition->GetPropertyQualifierSet(L"__CLASS", qualifiers.out()));
}

TEST_F(ClassDefinitionTest, AFailedReadEndsTheCaptureWithItsResult)
{
    Ref<IWbemClassObject> definition;
    ASSERT_EQ(S_OK, getClass(L"Adapter", definition.out()));
    setenv("WMISIM_FAULTS", "Get:State=WBEM_E_ACCESS_DENIED", 1);
    try {
        readClassDefinition(definition.get(), L"Adapter");
        ADD_FAILURE() << "no error";
    } catch (const CaptureError& error) {
        EXPECT_EQ(HRESULT(WBEM_E_ACCESS_DENIED), error.result());
        EXPECT_STREQ(
            "Get failed for class Adapter, property State: 0x80041003 (WBEM_E_ACCESS_DENIED)",
            error.what());
    }
    unsetenv("WMISIM_FAULTS");
}

TEST(RepositoryNamespace, PragmaNamesTheNamespace)
{
    using winsim::wmi::parseMof;
    EXPECT_EQ(L"ROOT\\WMI", parseMof("class A { string B; };").nameSpace);
    EXPECT_EQ(L"root\\cimv2",
              parseMof("#pragma namespace(\"\\\\\\\\.\\\\root\\\\cimv2\")\nclass A { string B; };")
                  .nameSpace);
    EXPECT_EQ(
        L"ROOT\\CIMV2",
        parseMof("#pragma namespace(\"//./root/cimv2\")\n#pragma classflags(\"forceupdate\")\n"
                 "#pragma namespace(\"ROOT\\\\CIMV2\")\n")
            .nameSpace);
    const char* refused[] = {
        "#pragma namespace(\"root\\\\cimv2\")\n#pragma namespace(\"root\\\\wmi\")\n",
        "#pragma namespace(root)\n",
        "#pragma namespace(\"root\") extra\n",
    };
    for (const char* text : refused)
        EXPECT_THROW(parseMof(text), winsim::wmi::MofError) << text;
}

TEST(CaptureStrings, EveryCharacterReadsBackUnchanged)
{
    const std::wstring texts[] = {
        L"",
        L"plain",
        L"quote \" backslash \\ end",
        L"line\nfeed\ttab\rreturn",
        std::wstring(L"nul \0 inside", 12),
        L"\x7f\x01\x1f",
        L"caf\u00e9 \u4e2d \U0001F600",
        L"lone \xD800 and \xDFFF",
        L"\xFFFF\xFFFE max",
        L"\\x0041 not an escape",
    };
    for (const std::wstring& text : texts) {
        std::string literal = mofString(text);
        winsim::wmi::MofContent content = winsim::wmi::parseMof(
            "class A { string S; };\ninstance of A { S = " + literal + "; };");
        EXPECT_EQ(text, content.instances.at(0)->values.at(0).text) << literal;
    }
    EXPECT_EQ("\"a\\\"b\\\\c\\nd\\x0000e\\xD800\"",
              mofString(std::wstring(L"a\"b\\c\nd\0e\xD800", 10)));
}

}  // namespace
