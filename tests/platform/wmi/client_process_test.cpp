// The WMI client program run as its own process against a MOF fixture: the whole path from
// CoCreateInstance to the leak line at exit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "process_run.h"
#include "temp_files.h"
#include "wmi_test_support.h"

namespace {

ProcessRun runClient(const std::string& arguments, const std::string& repository,
                     const std::string& faults = "")
{
    return runProcess("WMISIM_REPOSITORY='" + repository + "' WMISIM_FAULTS='" + faults + "'",
                      WMI_CLIENT, arguments);
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(ClientProcess, ReadsEveryCimTypeAndReleasesEverything)
{
    ProcessRun run = runClient("read Sample_AllTypes", fixturePath("all_types.mof"));
    EXPECT_EQ(0, run.status) << run.out << run.err;
    EXPECT_EQ("", run.err);
    ASSERT_FALSE(run.log.empty());
    EXPECT_EQ("leaks: com=0 bstr=0 safearray=0", run.log.back());
    EXPECT_EQ(1,
              std::count(run.log.begin(), run.log.end(), "ConnectServer ROOT\\WMI = 0x00000000"));
    EXPECT_EQ(1, std::count(run.log.begin(), run.log.end(),
                            "ExecQuery WQL 0x30 SELECT * FROM Sample_AllTypes = 0x00000000"));
    // Three instances (one of a derived class), then the end.
    EXPECT_EQ(3, std::count(run.log.begin(), run.log.end(),
                            "Next Sample_AllTypes returned=1 = 0x00000000"));
    EXPECT_TRUE(contains(run.out, "  U64 vt=0x8 cim=0x15\n"));
    EXPECT_TRUE(contains(
        run.out, "  Addresses vt=0x200d cim=0x200d\n    [0] object\n      Type vt=0x3 cim=0x13\n"));
    EXPECT_TRUE(contains(run.out, "    [1] null\n"));
    EXPECT_TRUE(contains(run.out, "  Names vt=0x2008 cim=0x2008\n    [0] a\n    [1] b\\c\n"));
}

TEST(ClientProcess, ConnectsToRootWmiOnly)
{
    ProcessRun run = runClient("connect root\\\\wmi", fixturePath("all_types.mof"));
    EXPECT_EQ(0, run.status);
    run = runClient("connect //./Root/Wmi", fixturePath("all_types.mof"));
    EXPECT_EQ(0, run.status) << run.out;
    run = runClient("connect ROOT\\\\CIMV2", fixturePath("all_types.mof"));
    EXPECT_NE(0, run.status);
    EXPECT_TRUE(contains(run.out, "ConnectServer 0x8004100e")) << run.out;
    EXPECT_EQ("leaks: com=0 bstr=0 safearray=0", run.log.back());
}

TEST(ClientProcess, AMalformedRepositoryFailsTheConnectionWithOneMessage)
{
    TempFile bad("class A { uint32 Type; };\ninstance of A {\n  Type = \"one\";\n};\n");
    ProcessRun run = runClient("read A", bad.path());
    EXPECT_NE(0, run.status);
    EXPECT_TRUE(contains(run.out, "ConnectServer 0x80041021")) << run.out;
    EXPECT_EQ("wmisim: " + bad.path() + ":3: expected a value of type uint32, found a string\n",
              run.err);
    EXPECT_EQ("leaks: com=0 bstr=0 safearray=0", run.log.back());

    run = runClient("read A", "/nonexistent.mof");
    EXPECT_TRUE(contains(run.out, "ConnectServer 0x80041001")) << run.out;
    EXPECT_TRUE(contains(run.err, "/nonexistent.mof")) << run.err;
}

TEST(ClientProcess, AFaultedConnectionDoesNoWork)
{
    ProcessRun run = runClient("read Sample_AllTypes", fixturePath("all_types.mof"),
                               "ConnectServer=WBEM_E_ACCESS_DENIED");
    EXPECT_NE(0, run.status);
    EXPECT_EQ(1,
              std::count(run.log.begin(), run.log.end(), "ConnectServer ROOT\\WMI = 0x80041003"));
    EXPECT_EQ("leaks: com=0 bstr=0 safearray=0", run.log.back());
}

}  // namespace
