#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "captured_output.h"
#include "trace/console.h"

namespace {

TEST(TraceOutput, WritersKeepTheirOrderOnOneLine)
{
    std::string out = captureOutput([] {
        std::wcout << L"Name = " << L"x";
        std::cout << " type = " << 8 << std::endl;
        traceWprintf(L"period = %d\n", -30);
        std::wcout << L" PDORemovePeriod : " << 20 << std::endl;
        std::cout << "narrow" << std::endl;
    });
    EXPECT_EQ("Name = x type = 8\nperiod = -30\n PDORemovePeriod : 20\nnarrow\n", out);
}

TEST(TraceOutput, WideTextIsUtf8)
{
    std::string out = captureOutput([] {
        std::wcout << L"\u00e9\u4e2d\U0001F600" << std::endl;
        traceWprintf(L"hbaInstName = %ls\n", L"ROOT\\\u00c9");
    });
    EXPECT_EQ("\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80\nhbaInstName = ROOT\\\xc3\x89\n", out);
}

TEST(TraceOutput, WideStreamStaysDecimalWhenNarrowIsHex)
{
    std::string out = captureOutput([] {
        std::cout << std::hex << 26 << std::endl;
        std::wcout << 26 << std::endl;
        traceWprintf(L"%d\n", 26);
    });
    std::cout << std::dec;
    EXPECT_EQ("1a\n26\n26\n", out);
}

TEST(TraceOutput, FormattedLineOfAMegabyte)
{
    std::wstring name(1 << 20, L'n');
    std::string out = captureOutput([&] { traceWprintf(L"hbsInstName = %ls\n", name.c_str()); });
    EXPECT_EQ("hbsInstName = " + std::string(1 << 20, 'n') + "\n", out);
}

}  // namespace
