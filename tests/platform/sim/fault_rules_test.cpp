#include <gtest/gtest.h>
#include <wbemidl.h>
#include "sim/fault_rules.h"

using winsim::FaultSelector;
using winsim::parseFaults;

namespace {

FaultSelector selectorFor(const std::string& text)
{
    winsim::ParsedFaults parsed = parseFaults(text);
    EXPECT_TRUE(parsed.errors.empty()) << parsed.errors.front();
    return FaultSelector(parsed.rules);
}

TEST(FaultRules, ParsesSiteSelectorCountAndResult)
{
    winsim::ParsedFaults parsed = parseFaults(
        " ExecQuery:MSiSCSI_NICConfig#2=0x80041001 , Get=WBEM_E_NOT_FOUND,,Delay:Next#3=50");
    ASSERT_TRUE(parsed.errors.empty());
    ASSERT_EQ(3u, parsed.rules.size());
    EXPECT_EQ("ExecQuery", parsed.rules[0].site);
    EXPECT_TRUE(parsed.rules[0].hasSelector);
    EXPECT_EQ(L"MSiSCSI_NICConfig", parsed.rules[0].selector);
    EXPECT_EQ(2u, parsed.rules[0].nth);
    EXPECT_EQ(static_cast<HRESULT>(WBEM_E_FAILED), parsed.rules[0].result);
    EXPECT_FALSE(parsed.rules[1].hasSelector);
    EXPECT_EQ(0u, parsed.rules[1].nth);
    EXPECT_EQ(static_cast<HRESULT>(WBEM_E_NOT_FOUND), parsed.rules[1].result);
    EXPECT_TRUE(parsed.rules[2].isDelay);
    EXPECT_EQ("Next", parsed.rules[2].site);
    EXPECT_EQ(3u, parsed.rules[2].nth);
    EXPECT_EQ(50u, parsed.rules[2].milliseconds);
}

TEST(FaultRules, SelectorsMayHoldBackslashesColonsAndNonAscii)
{
    winsim::ParsedFaults parsed =
        parseFaults("PutInstance:ROOT\\ISCSIPRT\\0000_0:x \xc3\xa9=S_FALSE");
    ASSERT_EQ(1u, parsed.rules.size());
    EXPECT_EQ(L"ROOT\\ISCSIPRT\\0000_0:x \u00e9", parsed.rules[0].selector);
    EXPECT_EQ(S_FALSE, parsed.rules[0].result);
}

TEST(FaultRules, RejectsBadEntriesOneByOneAndKeepsTheRest)
{
    winsim::ParsedFaults parsed = parseFaults(
        "Bogus=0x1,Get=NOT_A_CODE,Next#0=S_OK,Next#x=S_OK,Put,Delay:Get=soon,Delay=5,ExecQuery=0x123456789,Get=E_FAIL");
    ASSERT_EQ(1u, parsed.rules.size());
    EXPECT_EQ(E_FAIL, parsed.rules[0].result);
    ASSERT_EQ(8u, parsed.errors.size());
    EXPECT_NE(std::string::npos, parsed.errors[0].find("'Bogus=0x1'"));
    EXPECT_NE(std::string::npos, parsed.errors[0].find("unknown site 'Bogus'"));
    EXPECT_NE(std::string::npos, parsed.errors[1].find("'NOT_A_CODE' is not an HRESULT"));
    EXPECT_NE(std::string::npos, parsed.errors[2].find("not a call number"));
    EXPECT_NE(std::string::npos, parsed.errors[4].find("missing '=Result'"));
    EXPECT_NE(std::string::npos, parsed.errors[5].find("milliseconds"));
    EXPECT_NE(std::string::npos, parsed.errors[6].find("Delay needs the site"));
}

TEST(FaultRules, ResultsByHexOrName)
{
    HRESULT value = 0;
    EXPECT_TRUE(winsim::parseHresult("0x80041001", &value));
    EXPECT_EQ(static_cast<HRESULT>(WBEM_E_FAILED), value);
    EXPECT_TRUE(winsim::parseHresult("0X1", &value));
    EXPECT_EQ(S_FALSE, value);
    EXPECT_TRUE(winsim::parseHresult("RPC_E_CHANGED_MODE", &value));
    EXPECT_EQ(RPC_E_CHANGED_MODE, value);
    EXPECT_TRUE(winsim::parseHresult("E_OUTOFMEMORY", &value));
    EXPECT_EQ(E_OUTOFMEMORY, value);
    EXPECT_FALSE(winsim::parseHresult("0x", &value));
    EXPECT_FALSE(winsim::parseHresult("0xfg", &value));
    EXPECT_FALSE(winsim::parseHresult("e_outofmemory", &value));
}

TEST(FaultSelection, BySiteAndSelectorIgnoringCase)
{
    FaultSelector selector = selectorFor("Get:Active=WBEM_E_TYPE_MISMATCH");
    HRESULT result = S_OK;
    EXPECT_FALSE(selector.fault("Get", L"InstanceName", &result));
    EXPECT_FALSE(selector.fault("Put", L"Active", &result));
    EXPECT_FALSE(selector.fault("Get", L"", &result));
    EXPECT_TRUE(selector.fault("Get", L"ACTIVE", &result));
    EXPECT_EQ(static_cast<HRESULT>(WBEM_E_TYPE_MISMATCH), result);
    EXPECT_TRUE(selector.fault("Get", L"active", &result));
}

TEST(FaultSelection, OnlyTheNthMatchingCallFails)
{
    FaultSelector selector = selectorFor("Next:MSiSCSI_NICConfig#2=WBEM_E_FAILED");
    HRESULT result = S_OK;
    EXPECT_FALSE(selector.fault("Next", L"MSiSCSI_NICConfig", &result));
    EXPECT_FALSE(selector.fault("Next", L"OtherClass", &result));  // not counted
    EXPECT_TRUE(selector.fault("Next", L"MSiSCSI_NICConfig", &result));
    EXPECT_FALSE(selector.fault("Next", L"MSiSCSI_NICConfig", &result));
}

TEST(FaultSelection, EveryMatchingRuleCountsTheCallAndTheFirstFiringWins)
{
    FaultSelector selector = selectorFor("Get#2=E_FAIL,Get:Active=WBEM_E_NOT_FOUND,Get#3=E_ABORT");
    HRESULT result = S_OK;
    EXPECT_FALSE(selector.fault("Get", L"InstanceName", &result));
    EXPECT_TRUE(selector.fault("Get", L"Active", &result));
    EXPECT_EQ(E_FAIL, result);
    EXPECT_TRUE(selector.fault("Get", L"InstanceName", &result));
    EXPECT_EQ(E_ABORT, result);
    EXPECT_TRUE(selector.fault("Get", L"Active", &result));
    EXPECT_EQ(static_cast<HRESULT>(WBEM_E_NOT_FOUND), result);
}

TEST(FaultSelection, DelaysAreSeparateFromFaults)
{
    FaultSelector selector = selectorFor("Delay:ExecQuery#2=40,ExecQuery#1=E_FAIL");
    HRESULT result = S_OK;
    EXPECT_EQ(0u, selector.delay("ExecQuery"));
    EXPECT_TRUE(selector.fault("ExecQuery", L"", &result));
    EXPECT_EQ(40u, selector.delay("ExecQuery"));
    EXPECT_FALSE(selector.fault("ExecQuery", L"", &result));
    EXPECT_EQ(0u, selector.delay("Next"));
}

}  // namespace
