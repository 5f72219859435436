// The readers on MSSMBios_RawSMBiosTables: built for Windows, this runs against Wine's WMI;
// built for Linux, against the stand-in with a repository describing what Wine delivers
// (fixtures/raw_smbios_tables.mof). Both must give the same traces apart from data and
// pointer values.
#include <windows.h>
#include <wbemidl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <string>

#include "captured_output.h"
#include "wmi_session.h"
#include "wmiobject/wmiobject.h"

namespace {

// The pointer after " V_BYREF = " differs between runs and runtimes.
// (By hand: GCC 12's <regex> warns of itself under the sanitizers.)
std::string withoutPointers(const std::string& text)
{
    static const char kLabel[] = " V_BYREF = ";
    const char* const kDigits = "0123456789abcdefABCDEFx";
    std::string result = text;
    for (size_t at = result.find(kLabel); at != std::string::npos;
         at = result.find(kLabel, at + 1)) {
        const size_t start = at + std::strlen(kLabel);
        const size_t end = result.find_first_not_of(kDigits, start);
        if (end != start && end != std::string::npos && result[end] == '\n')
            result.replace(start, end - start, "<pointer>");
    }
    return result;
}

}  // namespace

TEST(RawSMBiosTablesReaders, TraceAsWineDeliversTheTables)
{
    WmiSession session;
    ASSERT_EQ(S_OK, session.connect(L"ROOT\\WMI"));
    IWbemClassObject* pInstance = NULL;
    ULONG count = 0;
    ASSERT_EQ(S_OK, session.firstInstance(L"MSSMBios_RawSMBiosTables", &pInstance, &count));
    ASSERT_EQ(1u, count);

    // As after the engine's first connection: the narrow numbers come out in hexadecimal.
    std::cout << std::hex;
    std::string trace;
    {
        WMIObject record;
        record.attach(pInstance);
        CapturedOutput capture;
        BYTE data[16] = {0};
        EXPECT_TRUE(record.getByteArray(L"SMBiosData", data, sizeof(data)));

        // Windows has these; Wine does not: each read fails without a trace line.
        wchar_t name[WMIObject::STRING_BUFFER_SIZE] = L"untouched";
        EXPECT_FALSE(record.getString(L"InstanceName", name));
        EXPECT_EQ(std::wstring(L"untouched"), name);
        EXPECT_EQ(0, record.getByte(L"SmbiosMajorVersion"));
        EXPECT_EQ(0, record.getLong(L"Size"));
        EXPECT_FALSE(record.getBool(L"Used20CallingMethod"));
        trace = capture.text();
    }
    std::cout << std::dec;

    const std::string nullData = " type = 1\n V_ISARRAY = 0\n V_BYREF = <pointer>\n";
    const std::string byteArray = " type = 2011\n V_ISARRAY = 2000\n V_BYREF = <pointer>\n";
    const std::string normalised = withoutPointers(trace);
    EXPECT_TRUE(normalised == nullData || normalised == byteArray) << trace;

    // The record released its reference: ours is the only one left.
    EXPECT_EQ(2u, pInstance->AddRef());
    EXPECT_EQ(1u, pInstance->Release());
    pInstance->Release();
}
