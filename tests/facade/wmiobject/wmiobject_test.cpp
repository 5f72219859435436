#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "captured_output.h"
#include "fake_class_object.h"
#include "wmiobject/wmiobject.h"

namespace {

class Record : public WMIObject
{};

// The address class as a record passes it to GetObject; the reader asks only whether there is one.
const EmbeddedClass kAddressClass = {"ISCSI_IP_Address", NULL};

class WMIObjectTest : public testing::Test
{
protected:
    void SetUp() override
    {
        std::cout << std::dec;
        record.attach(&instance);
    }
    void TearDown() override { std::cout << std::dec; }

    FakeClassObject address;  // embedded in instance, so it must outlive it
    FakeClassObject instance;
    Record record;
};

TEST(WMIObjectEmpty, ReadersFailSilentlyAndLeaveBuffersAlone)
{
    Record record;
    wchar_t text[WMIObject::STRING_BUFFER_SIZE] = L"keep";
    wchar_t number[WMIObject::UINT64_BUFFER_SIZE] = L"keep";
    BYTE bytes[4] = {1, 2, 3, 4};
    std::string out = captureOutput([&] {
        EXPECT_FALSE(record.getBool(L"A"));
        EXPECT_EQ(0, record.getByte(L"A"));
        EXPECT_EQ(0, record.getShort(L"A"));
        EXPECT_EQ(0, record.getLong(L"A"));
        EXPECT_FALSE(record.getString(L"A", text));
        EXPECT_FALSE(record.getUInt64String(L"A", number));
        EXPECT_FALSE(record.getByteArray(L"A", bytes, sizeof bytes));
    });
    EXPECT_EQ("", out);
    EXPECT_STREQ(L"keep", text);
    EXPECT_STREQ(L"keep", number);
    EXPECT_EQ(4, bytes[3]);

    Record target;
    out = captureOutput(
        [&] { EXPECT_FALSE(record.GetObject(L"IpAddress", &kAddressClass, &target)); });
    EXPECT_EQ("--- GetObject -----------------------------\n"
              "*** No m_pclsObject!\n"
              "--- GetObject COMPLETED ret = -----------------------------0\n",
              out);
}

TEST(WMIObjectLifetime, AttachHoldsOneObjectAtATime)
{
    FakeClassObject first;
    FakeClassObject second;
    WMIObject* record = new Record;
    record->attach(&first);
    EXPECT_EQ(2u, first.references());
    record->attach(NULL);
    EXPECT_EQ(2u, first.references());
    record->attach(&first);  // the same object again: still one reference held
    EXPECT_EQ(2u, first.references());
    record->attach(&second);
    EXPECT_EQ(1u, first.references());
    EXPECT_EQ(2u, second.references());
    EXPECT_EQ("~WMIObject - releasing\n", captureOutput([&] { delete record; }));
    EXPECT_EQ(1u, second.references());

    record = new Record;
    EXPECT_EQ("~WMIObject\n", captureOutput([&] { delete record; }));
}

TEST_F(WMIObjectTest, NumericReadersTakeOneMemberWhateverTheType)
{
    instance.setBool(L"Yes", VARIANT_TRUE);
    instance.setBool(L"One", 1);
    instance.setByte(L"Byte", 255);
    instance.setLong(L"Wide", 70000);
    instance.setLong(L"Negative", -1);
    std::string out = captureOutput([&] {
        EXPECT_TRUE(record.getBool(L"Yes"));
        EXPECT_FALSE(record.getBool(L"One"));
        EXPECT_EQ(255, record.getByte(L"Byte"));
        EXPECT_EQ(70000 & 0xFFFF, record.getShort(L"Wide"));
        EXPECT_EQ(-1, record.getLong(L"Negative"));
    });
    EXPECT_EQ("Yes = -1 type = 11\n"
              "One = 1 type = 11\n"
              "Byte = 255 type = 17\n"
              "Wide = 4464 type = 3\n"
              "Negative = 4294967295 type = 3\n",
              out);
}

TEST_F(WMIObjectTest, MissingPropertyFailsWithoutTrace)
{
    wchar_t text[WMIObject::STRING_BUFFER_SIZE] = L"keep";
    std::string out = captureOutput([&] {
        EXPECT_EQ(0, record.getLong(L"Missing"));
        EXPECT_FALSE(record.getString(L"Missing", text));
    });
    EXPECT_EQ("", out);
    EXPECT_STREQ(L"keep", text);
}

TEST_F(WMIObjectTest, NullNumbersReadAsZero)
{
    instance.setNull(L"Nothing");
    EXPECT_EQ(0, record.getLong(L"Nothing"));
    EXPECT_FALSE(record.getBool(L"Nothing"));
}

TEST_F(WMIObjectTest, StringReaders)
{
    instance.setString(L"Name", L"R\u00e9seau \u4e2d");
    instance.setNull(L"NoName");
    instance.setString(L"Id", L"18446744073709551615");
    instance.setNull(L"NoId");
    instance.setLong(L"NotText", 5);
    wchar_t text[WMIObject::STRING_BUFFER_SIZE] = L"";
    wchar_t id[WMIObject::UINT64_BUFFER_SIZE] = L"";
    std::string out = captureOutput([&] {
        EXPECT_TRUE(record.getString(L"Name", text));
        EXPECT_STREQ(L"R\u00e9seau \u4e2d", text);
        EXPECT_TRUE(record.getString(L"NoName", text));
        EXPECT_STREQ(L"<null>", text);
        EXPECT_TRUE(record.getUInt64String(L"Id", id));
        EXPECT_STREQ(L"18446744073709551615", id);
        EXPECT_TRUE(record.getUInt64String(L"NoId", id));
        EXPECT_STREQ(L"0", id);
        EXPECT_FALSE(record.getString(L"NotText", text));
        EXPECT_STREQ(L"0", id);
    });
    EXPECT_EQ("Name = R\xc3\xa9seau \xe4\xb8\xad type = 8\n"
              "Id = 18446744073709551615 type = 8\n",
              out);
}

TEST_F(WMIObjectTest, LongStringsAreTruncatedInsideTheBuffer)
{
    instance.setString(L"Long", std::wstring(300, L'x'));
    instance.setString(L"LongId", std::wstring(30, L'9'));
    wchar_t text[WMIObject::STRING_BUFFER_SIZE + 1];
    wchar_t id[WMIObject::UINT64_BUFFER_SIZE + 1];
    text[WMIObject::STRING_BUFFER_SIZE] = L'#';
    id[WMIObject::UINT64_BUFFER_SIZE] = L'#';
    captureOutput([&] {
        EXPECT_TRUE(record.getString(L"Long", text));
        EXPECT_TRUE(record.getUInt64String(L"LongId", id));
    });
    EXPECT_EQ(std::wstring(255, L'x'), text);
    EXPECT_EQ(L'#', text[WMIObject::STRING_BUFFER_SIZE]);
    EXPECT_EQ(std::wstring(23, L'9'), id);
    EXPECT_EQ(L'#', id[WMIObject::UINT64_BUFFER_SIZE]);
}

TEST_F(WMIObjectTest, ByteArrayCopiesNoMoreThanTheArrayHolds)
{
    instance.setBytes(L"Short", {1, 2, 3, 4, 5, 6});
    std::vector<BYTE> sixteen(16);
    for (int i = 0; i < 16; ++i)
        sixteen[i] = static_cast<BYTE>(0x10 + i);
    instance.setBytes(L"Long", sixteen);

    BYTE buffer[17];
    std::memset(buffer, 0xAA, sizeof buffer);
    captureOutput([&] { EXPECT_TRUE(record.getByteArray(L"Short", buffer, 16)); });
    EXPECT_EQ(0, std::memcmp(buffer, "\x01\x02\x03\x04\x05\x06", 6));
    for (int i = 6; i < 17; ++i)
        EXPECT_EQ(0xAA, buffer[i]) << i;

    std::memset(buffer, 0, sizeof buffer);
    captureOutput([&] { EXPECT_TRUE(record.getByteArray(L"Long", buffer, 6)); });
    EXPECT_EQ(0x15, buffer[5]);
    EXPECT_EQ(0, buffer[6]);
}

TEST_F(WMIObjectTest, ByteArrayTraceAndNullProperty)
{
    instance.setNull(L"Nothing");
    instance.setBytes(L"Mac", {1, 2});
    BYTE buffer[2] = {7, 7};
    std::string out =
        captureOutput([&] { EXPECT_TRUE(record.getByteArray(L"Nothing", buffer, 2)); });
    EXPECT_EQ(" type = 1\n V_ISARRAY = 0\n V_BYREF = 0\n", out);
    EXPECT_EQ(7, buffer[0]);

    std::cout << std::hex;
    out = captureOutput([&] { EXPECT_TRUE(record.getByteArray(L"Mac", buffer, 2)); });
    EXPECT_EQ(0, out.find(" type = 2011\n V_ISARRAY = 2000\n V_BYREF = 0x")) << out;
}

TEST_F(WMIObjectTest, GetObjectAttachesOnlyAnEmbeddedAddress)
{
    instance.setObject(L"IpAddress", &address);
    instance.setNull(L"NoAddress");
    instance.setLong(L"NotAnObject", 3);
    std::cout << std::hex;

    Record target;
    std::string out = captureOutput(
        [&] { EXPECT_TRUE(record.GetObject(L"IpAddress", &kAddressClass, &target)); });
    EXPECT_EQ("--- GetObject -----------------------------\n"
              " _type = d\n type = d\n V_ISARRAY = 0\n V_ISBYREF = 0\n"
              "*** GetObject is non-NULL\n"
              "*** GetObject ok\n"
              "--- GetObject COMPLETED ret = -----------------------------1\n",
              out);
    // The VARIANT's own reference is gone; the target keeps the one it took.
    EXPECT_EQ(3u, address.references());

    Record other;
    out = captureOutput([&] { EXPECT_FALSE(record.GetObject(L"IpAddress", NULL, &other)); });
    EXPECT_NE(std::string::npos,
              out.find("*** GetObject is non-NULL\n*** GetObject failed\n--- GetObject COMPLETED"));
    EXPECT_EQ(3u, address.references());

    out = captureOutput(
        [&] { EXPECT_FALSE(record.GetObject(L"NotAnObject", &kAddressClass, &other)); });
    EXPECT_NE(std::string::npos, out.find(" _type = 3\n"));
    EXPECT_NE(std::string::npos, out.find("*** GetObject failed\n"));

    out =
        captureOutput([&] { EXPECT_TRUE(record.GetObject(L"NoAddress", &kAddressClass, &other)); });
    EXPECT_NE(
        std::string::npos,
        out.find(" _type = 1\n type = 1\n V_ISARRAY = 0\n V_ISBYREF = 0\n*** GetObject VT_NULL\n"));

    out =
        captureOutput([&] { EXPECT_FALSE(record.GetObject(L"Missing", &kAddressClass, &other)); });
    EXPECT_EQ("--- GetObject -----------------------------\n"
              "*** GetObject m_pclsObject->Get failed\n"
              "--- GetObject COMPLETED ret = -----------------------------0\n",
              out);

    // Only the first target reads from the embedded object.
    other.getLong(L"Type");
    EXPECT_EQ(0, address.gets());
    target.getLong(L"Type");
    EXPECT_EQ(1, address.gets());
}

// Values of an object or array type whose pointer is null: nothing is dereferenced or attached.
TEST_F(WMIObjectTest, ObjectAndArrayValuesWithoutPointer)
{
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = VT_UNKNOWN;
    V_UNKNOWN(&value) = NULL;
    instance.set(L"IpAddress", &value);
    V_VT(&value) = VT_ARRAY | VT_UI1;
    V_ARRAY(&value) = NULL;
    instance.set(L"MacAddress", &value);

    Record target;
    std::string out = captureOutput(
        [&] { EXPECT_TRUE(record.GetObject(L"IpAddress", &kAddressClass, &target)); });
    EXPECT_NE(std::string::npos, out.find("*** GetObject is non-NULL\n*** GetObject ok\n")) << out;
    out = captureOutput([&] { EXPECT_EQ(0, target.getLong(L"Type")); });
    EXPECT_EQ("", out);

    BYTE buffer[6] = {7, 7, 7, 7, 7, 7};
    captureOutput([&] { EXPECT_TRUE(record.getByteArray(L"MacAddress", buffer, sizeof buffer)); });
    EXPECT_EQ(7, buffer[0]);
}

}  // namespace
