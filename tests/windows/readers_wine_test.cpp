// The readers on real objects of Wine's ROOT\CIMV2, for the CIM types Wine's ROOT\WMI does not
// show: uint8 as VT_UI1, boolean as VT_BOOL, uint16 and uint32 as VT_I4, string and uint64 as
// VT_BSTR. Values are the machine's; the tests check the trace's form and the released objects.
#include <windows.h>
#include <wbemidl.h>

#include <gtest/gtest.h>

#include <iostream>
#include <regex>
#include <string>

#include "captured_output.h"
#include "wmi_session.h"
#include "wmiobject/wmiobject.h"

namespace {

class CimV2Readers : public ::testing::Test
{
protected:
    void SetUp()
    {
        ASSERT_EQ(S_OK, m_session.connect(L"ROOT\\CIMV2"));
        // As after the engine's first connection.
        std::cout << std::hex;
    }
    void TearDown() { std::cout << std::dec; }

    // Attaches the first instance of the class to `record` and checks that the record keeps
    // exactly one reference, released when it is destroyed.
    IWbemClassObject* instanceOf(const wchar_t* className)
    {
        IWbemClassObject* pInstance = NULL;
        ULONG count = 0;
        EXPECT_EQ(S_OK, m_session.firstInstance(className, &pInstance, &count));
        EXPECT_LE(1u, count);
        return pInstance;
    }

    static void expectOnlyOurReference(IWbemClassObject* pInstance)
    {
        EXPECT_EQ(2u, pInstance->AddRef());
        EXPECT_EQ(1u, pInstance->Release());
    }

    WmiSession m_session;
};

void expectTrace(const std::string& pattern, const std::string& trace)
{
    EXPECT_TRUE(std::regex_match(trace, std::regex(pattern))) << "trace: " << trace;
}

}  // namespace

TEST_F(CimV2Readers, ByteAndBooleanAndIntegers)
{
    IWbemClassObject* pBios = instanceOf(L"Win32_BIOS");
    IWbemClassObject* pSystem = instanceOf(L"Win32_OperatingSystem");
    ASSERT_TRUE(pBios != NULL && pSystem != NULL);
    {
        WMIObject bios, system;
        bios.attach(pBios);
        system.attach(pSystem);
        std::string trace;
        {
            CapturedOutput capture;
            bios.getByte(L"SystemBiosMajorVersion");
            trace = capture.text();
        }
        expectTrace("SystemBiosMajorVersion = [0-9]+ type = 11\n", trace);
        {
            CapturedOutput capture;
            const bool primary = system.getBool(L"Primary");
            trace = capture.text();
            expectTrace(primary ? "Primary = -1 type = b\n" : "Primary = 0 type = b\n", trace);
        }
        {
            CapturedOutput capture;
            system.getLong(L"ProductType");
            system.getShort(L"ServicePackMajorVersion");
            trace = capture.text();
        }
        expectTrace("ProductType = [0-9]+ type = 3\nServicePackMajorVersion = [0-9]+ type = 3\n",
                    trace);
    }
    expectOnlyOurReference(pBios);
    expectOnlyOurReference(pSystem);
    pBios->Release();
    pSystem->Release();
}

TEST_F(CimV2Readers, StringsAndDecimalTextOf64BitIntegers)
{
    IWbemClassObject* pSystem = instanceOf(L"Win32_OperatingSystem");
    ASSERT_TRUE(pSystem != NULL);
    {
        WMIObject system;
        system.attach(pSystem);
        wchar_t caption[WMIObject::STRING_BUFFER_SIZE] = L"";
        wchar_t memory[WMIObject::UINT64_BUFFER_SIZE] = L"";
        std::string trace;
        {
            CapturedOutput capture;
            EXPECT_TRUE(system.getString(L"Caption", caption));
            EXPECT_TRUE(system.getUInt64String(L"TotalVisibleMemorySize", memory));
            EXPECT_FALSE(system.getString(L"NoSuchProperty", caption));
            trace = capture.text();
        }
        expectTrace("Caption = [^\n]+ type = 8\nTotalVisibleMemorySize = [0-9]+ type = 8\n", trace);
        EXPECT_NE(L'\0', caption[0]);
        EXPECT_TRUE(std::regex_match(std::wstring(memory), std::wregex(L"[0-9]{1,20}")));
    }
    expectOnlyOurReference(pSystem);
    pSystem->Release();
}
