#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>
#include <utility>

#include "wmi/mof_parser.h"
#include "wmi/repository.h"
#include "wmi_test_support.h"

using namespace winsim::wmi;

namespace {

struct BadMof
{
    const char* text;
    int line;
    const char* message;  // part of the message
};

std::string errorOf(const std::string& text, int* line)
{
    try {
        parseMof(text);
    } catch (const MofError& error) {
        *line = error.line;
        return error.what();
    }
    *line = 0;
    return "no error";
}

}  // namespace

TEST(MofParser, ReadsTheFixtureWithEveryLiteralForm)
{
    MofContent content = parseMof(readText(fixturePath("all_types.mof")));
    ASSERT_EQ(3u, content.classes.size());
    ASSERT_EQ(3u, content.instances.size());

    const Instance& first = *content.instances[0];
    auto value = [&](const wchar_t* name) -> const CimValue& {
        return first.values[first.cls->find(name)];
    };
    EXPECT_EQ(L"ROOT\\ISCSIPRT\\0000_0", value(L"InstanceName").text);
    EXPECT_EQ(L"say \"hi\"\tand\\ \u263A joined",
              value(L"text").text);  // names are case-insensitive
    EXPECT_EQ(0xC0A80101, value(L"Address").object->values[1].integer);
    const CimValue& addresses = value(L"Addresses");
    ASSERT_EQ(3u, addresses.elements.size());
    EXPECT_TRUE(addresses.elements[1].isNull());
    EXPECT_EQ(4, addresses.elements[2].object->values[0].integer);
    EXPECT_TRUE(value(L"Unset").isNull());
    EXPECT_TRUE(value(L"Names").elements.size() == 2 &&
                value(L"Names").elements[1].text == L"b\\c");

    // The derived class inherits every property at the same position and adds its own.
    const Instance& derived = *content.instances[2];
    EXPECT_EQ(first.cls->properties.size() + 1, derived.cls->properties.size());
    EXPECT_EQ(first.cls->find(L"Text"), derived.cls->find(L"Text"));
    EXPECT_TRUE(derived.cls->isA(*first.cls));
    EXPECT_EQ(L"it's derived", derived.values[0].text);
}

TEST(MofParser, KeepsIntegerLimitsAndOddBooleans)
{
    MofContent content = parseMof(
        "class C { uint8 A; sint8 B; sint32 C; uint64 D; sint64 E; boolean F; char16 G; real32 H; };\n"
        "instance of C { A = 0xff; B = -128; C = -2147483648; D = 0xFFFFFFFFFFFFFFFF;\n"
        "                E = -9223372036854775808; F = 65535; G = 0x263A; H = 3; };");
    const std::vector<CimValue>& v = content.instances[0]->values;
    EXPECT_EQ(255, v[0].integer);
    EXPECT_EQ(-128, v[1].integer);
    EXPECT_EQ(INT32_MIN, v[2].integer);
    EXPECT_EQ(UINT64_MAX, v[3].unsignedValue());
    EXPECT_EQ(INT64_MIN, v[4].integer);
    EXPECT_EQ(-1, v[5].integer);  // the 16-bit pattern 0xFFFF
    EXPECT_EQ(0x263A, v[6].integer);
    EXPECT_DOUBLE_EQ(3.0, v[7].real);
}

TEST(MofParser, ReadsEveryRealIncludingInfinitiesAndNan)
{
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<const char*, double> cases[] = {
        {"inf", inf},
        {"-inf", -inf},
        {"+INF", inf},
        {"- Inf", -inf},
        {"NaN", std::numeric_limits<double>::quiet_NaN()},
        {"-0", -0.0},
        {"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
        {"1.7976931348623157e+308", std::numeric_limits<double>::max()},
    };
    std::string values;
    for (const auto& c : cases)
        values += (values.empty() ? "" : ", ") + std::string(c.first);
    MofContent content = parseMof("class C { real64 D[]; real32 F; };\ninstance of C { D = { " +
                                  values + " }; F = -inf; };");
    const std::vector<CimValue>& read = content.instances[0]->values[0].elements;
    ASSERT_EQ(std::size(cases), read.size());
    for (size_t i = 0; i < read.size(); ++i)  // bit for bit: the sign of zero and NaN count
        EXPECT_EQ(0, std::memcmp(&cases[i].second, &read[i].real, sizeof(double)))
            << cases[i].first;
    EXPECT_EQ(-inf, content.instances[0]->values[1].real);
}

TEST(MofParser, ReportsTheLineAndWhatWasExpected)
{
    const BadMof cases[] = {
        {"class A {\n uint32 Type\n};", 3,
         "expected ';' after the property declaration, found '}'"},
        {"class A { uint32 Type; }", 1,
         "expected ';' after the class declaration, found end of file"},
        {"class A { uint32 Type; };\ninstance A { };", 2, "expected 'of' after 'instance'"},
        {"class A { foo Type; };", 1, "unknown type 'foo'"},
        {"class A { uint32 T; uint32 t; };", 1, "declared twice"},
        {"class A { };\nclass a { };", 2, "class 'a' is already declared"},
        {"instance of Missing { };", 1, "class 'Missing' is not declared"},
        {"class A { uint32 T; };\ninstance of A {\n  Nope = 1; };", 3,
         "class 'A' has no property 'Nope'"},
        {"class A { uint32 T; };\ninstance of A { T = 1; T = 2; };", 2, "set twice"},
        {"class A { uint32 T; };\ninstance of A { T = \"x\"; };", 2,
         "expected a value of type uint32, found a string"},
        {"class A { string S; };\ninstance of A { S = \"open\n\"; };", 2, "unterminated string"},
        {"class A { string S; };\ninstance of A { S = \"\\q\"; };", 2,
         "unknown escape sequence '\\q'"},
        {"/* never\nclosed", 1, "unterminated comment"},
        {"class A { uint32 T[]; };\ninstance of A { T = {1, NULL}; };", 2,
         "expected a value of type uint32"},
        {"class A { uint32 T[]; };\ninstance of A { T = {1 2}; };", 2,
         "expected ',' or '}' in the array value"},
        {"class A { uint32 T; };\nclass B { A Emb; };\nclass C { uint32 X; };\n"
         "instance of B { Emb = instance of C { X = 1; }; };",
         4, "expected an instance of 'A', found one of 'C'"},
        {"class A { uint32 T; };\n\ninstance of A { T = 1; }", 3,
         "expected ';' after the instance"},
        {"class A { uint32 T; };\ninstance of A { T = 1x; };", 2, "malformed number"},
        {"\n\n@", 3, "unexpected character '@'"},
        {"class A { uint32 T; };\ninstance of A { T = 99999999999999999999; };", 2,
         "integer too large"},
        // The words of the non-finite reals: for reals only, and a sign only before `inf`.
        {"class A { uint32 T; };\ninstance of A { T = inf; };", 2,
         "expected a value of type uint32, found 'inf'"},
        {"class A { real64 R; };\ninstance of A { R = -nan; };", 2,
         "expected a value of type real64, found 'nan'"},
        {"class A { real64 R; };\ninstance of A { R = infinity; };", 2,
         "expected a value of type real64, found 'infinity'"},
        {"class A { real64 R[]; };\ninstance of A { R = { 1, NULL }; };", 2,
         "expected a value of type real64"},
    };
    for (const BadMof& bad : cases) {
        int line = 0;
        std::string message = errorOf(bad.text, &line);
        EXPECT_EQ(bad.line, line) << bad.text;
        EXPECT_NE(std::string::npos, message.find(bad.message))
            << bad.text << "\n  gave: " << message;
    }
}

TEST(MofParser, RefusesRunawayNestingWithoutOverflowingTheStack)
{
    std::string text = "class N { object Inner; };\ninstance of N { Inner = ";
    for (int i = 0; i < 100000; ++i)
        text += "instance of N { Inner = ";
    int line = 0;
    EXPECT_NE(std::string::npos, errorOf(text, &line).find("nested more than 100 deep"));
    EXPECT_EQ(2, line);
}

TEST(MofParser, RefusesIntegersOutsideTheirType)
{
    const char* cases[][2] = {
        {"uint8", "256"},          {"uint8", "-1"},
        {"sint8", "-129"},         {"sint8", "128"},
        {"uint16", "65536"},       {"sint16", "32768"},
        {"uint32", "0x100000000"}, {"uint32", "-1"},
        {"sint32", "2147483648"},  {"sint64", "9223372036854775808"},
        {"uint64", "-1"},          {"boolean", "65536"},
        {"boolean", "-32769"},     {"char16", "0x10000"},
    };
    for (const auto& c : cases) {
        std::string text =
            std::string("class A { ") + c[0] + " V; };\ninstance of A { V = " + c[1] + "; };";
        int line = 0;
        std::string message = errorOf(text, &line);
        EXPECT_EQ(2, line) << text;
        EXPECT_NE(std::string::npos, message.find(std::string("out of range for ") + c[0]))
            << text << "\n  gave: " << message;
    }
}

TEST(MofParser, LoadingNamesTheFileOnStandardError)
{
    TempFile bad("class A {\n  uint32 Type\n};\n");
    std::shared_ptr<Repository> repository;
    testing::internal::CaptureStderr();
    HRESULT hr = loadRepository(bad.path(), &repository);
    std::string stderrText = testing::internal::GetCapturedStderr();
    EXPECT_EQ(HRESULT(WBEM_E_INVALID_SYNTAX), hr);
    EXPECT_FALSE(repository);
    EXPECT_EQ("wmisim: " + bad.path() +
                  ":3: expected ';' after the property declaration, found '}'\n",
              stderrText);

    testing::internal::CaptureStderr();
    hr = loadRepository("/nonexistent/repository.mof", &repository);
    stderrText = testing::internal::GetCapturedStderr();
    EXPECT_EQ(HRESULT(WBEM_E_FAILED), hr);
    EXPECT_NE(std::string::npos, stderrText.find("/nonexistent/repository.mof")) << stderrText;
    EXPECT_EQ(1, std::count(stderrText.begin(), stderrText.end(), '\n'));
}

TEST(MofParser, RefusesBrokenUtf8WithItsLine)
{
    int line = 0;
    std::string message =
        errorOf("class A { string S; };\ninstance of A { S = \"\xC3\x28\"; };", &line);
    EXPECT_EQ(2, line);
    EXPECT_NE(std::string::npos, message.find("invalid UTF-8"));
}
