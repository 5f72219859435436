// The identifier scanner and the known-value matcher of /redact, and its time on a large capture.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "capture/mof_writer.h"
#include "capture/redaction/address_forms.h"
#include "capture/redaction/identifier_patterns.h"
#include "capture/redaction/text_matcher.h"
#include "capture/redactor.h"

using quillet::capture::AddressBytes;
using quillet::capture::Capture;
using quillet::capture::CapturedClass;
using quillet::capture::CapturedInstance;
using quillet::capture::CapturedProperty;
using quillet::capture::CapturedValue;
using quillet::capture::FoundIdentifier;
using quillet::capture::identifierAt;
using quillet::capture::ipv6Text;
using quillet::capture::redact;
using quillet::capture::TextMatcher;
using quillet::capture::writeMof;

namespace {

struct PatternCase
{
    const wchar_t* text;
    size_t start;
    FoundIdentifier::Kind kind;
    size_t length;
};

TEST(IdentifierPatterns, FindsIdentifiersByTheirFormOnly)
{
    const FoundIdentifier::Kind none = FoundIdentifier::kNothing,
                                iscsi = FoundIdentifier::kIscsiName, ipv4 = FoundIdentifier::kIpv4,
                                ipv6 = FoundIdentifier::kIpv6, mac = FoundIdentifier::kMac;
    const PatternCase cases[] = {
        {L"to iqn.2019-11.net.storvault:array1.vol-sql-data.", 3, iscsi,
         45},  // the full stop is the sentence's
        {L"IQN.1991-05.COM.EXAMPLE:HOST-7", 0, iscsi, 30},
        {L"iqn.1991-05.com.example", 0, iscsi, 23},
        {L"iqn.91-05.com.example", 0, none, 0},
        {L"xiqn.1991-05.com.example", 1, none, 0},
        {L"eui.02004567A425678D,", 0, iscsi, 20},
        {L"eui.02004567A425678DF", 0, none, 0},
        {L"naa.60A98000486E2F65746F4A6D4E6F6B31", 0, iscsi, 36},
        {L"naa.60A98000486E2F6", 0, none, 0},
        {L"(00-90-fa-3c-51-8e)", 1, mac, 17},
        {L"00:90:FA:3C:51:8E:01", 0, none, 0},
        {L"00:90-FA:3C:51:8E", 0, none, 0},
        {L"at 10.20.11.21.", 3, ipv4, 11},
        {L"1.2.3.4.5", 0, none, 0},
        {L"10.20.11.256", 0, none, 0},
        {L"v10.20.11.21", 1, none, 0},
        {L"fe80::2a0:c9ff:fe12:3456%4", 0, ipv6, 24},
        {L"::ffff:10.0.0.1", 0, ipv6, 15},
        {L"1:2:3:4:5:6:7:8", 0, ipv6, 15},
        {L"1:2:3:4:5:6:7", 0, none, 0},
        {L"::1", 0, none, 0},
        {L"12:30:45", 0, none, 0},
        {L"dead", 0, none, 0},
    };
    for (const PatternCase& c : cases) {
        FoundIdentifier found = identifierAt(c.text, c.start, true);
        EXPECT_EQ(c.kind, found.kind) << c.text;
        EXPECT_EQ(c.length, found.length) << c.text;
    }
    EXPECT_EQ(FoundIdentifier::kNothing, identifierAt(L"4.6.233.0", 0, false).kind) << "a version";
}

TEST(IdentifierPatterns, AddressesAreReadAsBytes)
{
    const unsigned char ipv6[] = {0x20, 0x01, 0x0d, 0xb8, 0,    0,    0,    0,
                                  0,    0x08, 0x08, 0,    0x20, 0x0c, 0x41, 0x7a};
    EXPECT_EQ(AddressBytes(ipv6, ipv6 + 16),
              identifierAt(L"2001:DB8::8:800:200C:417A", 0, true).bytes);
    const unsigned char mapped[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff, 10, 0, 0, 1};
    EXPECT_EQ(AddressBytes(mapped, mapped + 16), identifierAt(L"::ffff:10.0.0.1", 0, true).bytes);
    const unsigned char mac[] = {0x00, 0x90, 0xfa, 0x3c, 0x51, 0x8e};
    EXPECT_EQ(AddressBytes(mac, mac + 6), identifierAt(L"00-90-fa-3c-51-8e", 0, true).bytes);
    EXPECT_EQ(L"2001:db8::8:800:200c:417a", ipv6Text(AddressBytes(ipv6, ipv6 + 16)));
    EXPECT_EQ(L"::ffff:a00:1", ipv6Text(AddressBytes(mapped, mapped + 16)));
    EXPECT_EQ(L"::", ipv6Text(AddressBytes(16, 0)));
}

TEST(TextMatcher, FindsTheLongestKeyAtEveryStartInAnyCase)
{
    // "cd" hides in "bcd" as a key ending at the same place; "x" is too short.
    TextMatcher matcher({L"ab", L"bcd", L"cd", L"PCI\\VEN", L"pci\\ven", L"x"}, 2);
    std::vector<TextMatcher::Match> matches;
    matcher.longestAtEachStart(L"xABcd Pci\\Ven", &matches);
    ASSERT_EQ(13u, matches.size());
    const size_t lengths[] = {0, 2, 3, 2, 0, 0, 7, 0, 0, 0, 0, 0, 0};
    const int ids[] = {-1, 0, 1, 2, -1, -1, 3, -1, -1, -1, -1, -1, -1};
    for (size_t i = 0; i < matches.size(); ++i) {
        EXPECT_EQ(lengths[i], matches[i].length) << i;
        EXPECT_EQ(ids[i], matches[i].id) << i;
    }
}

CapturedValue text(const std::wstring& value)
{
    CapturedValue result;
    result.kind = CapturedValue::Text;
    result.text = value;
    return result;
}

Capture adapters(size_t count)
{
    Capture capture;
    std::unique_ptr<CapturedClass> cls(new CapturedClass);
    cls->name = L"Adapter";
    for (const wchar_t* name : {L"InstanceName", L"SerialNumber", L"Description"})
        cls->properties.push_back(CapturedProperty{name, CIM_STRING, L""});
    for (size_t i = 0; i < count; ++i) {
        std::wstring name = L"PCI\\VEN_1F3A&DEV_" + std::to_wstring(i) + L"\\4&1c3f0a2b&0&00E0_0";
        std::wstring serial = L"HN26A" + std::to_wstring(i);
        CapturedInstance instance;
        instance.cls = cls.get();
        instance.values.push_back(text(name));
        instance.values.push_back(text(serial));
        instance.values.push_back(text(L"port " + name + L", serial " + serial + L", at 10.0.0." +
                                       std::to_wstring(i % 250)));
        capture.instances.push_back(instance);
    }
    capture.declared.push_back(std::move(cls));
    return capture;
}

// Processor time, not wall time: the test machines are shared.
template <class Work>
double seconds(Work work)
{
    std::clock_t start = std::clock();
    work();
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

// One search per known value made 40,000 names take fifteen times as long as the whole capture;
// redacting must grow with the capture, as writing it does. The fastest of three runs each.
TEST(RedactionScale, GrowsWithTheCaptureAsWritingItDoes)
{
    Capture capture = adapters(20000);
    const std::vector<CapturedInstance> original = capture.instances;
    double writing = 1e9, redacting = 1e9;
    for (int run = 0; run < 3; ++run) {
        writing = std::min(writing, seconds([&] { writeMof(capture, ""); }));
        capture.instances = original;
        redacting = std::min(redacting, seconds([&] { redact(&capture); }));
    }
    EXPECT_LT(redacting, 30 * writing)
        << "redacting " << redacting << " s, writing " << writing << " s";
    EXPECT_EQ(L"port REDACTED\\INSTANCE_7, serial SERIAL-7, at 192.0.2.7",
              capture.instances[6].values[2].text);
}

}  // namespace
