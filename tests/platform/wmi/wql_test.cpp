#include <gtest/gtest.h>

#include "wmi/wql.h"

using winsim::wmi::parseWql;
using winsim::wmi::WqlQuery;

TEST(Wql, AcceptsSelectAllWithAnOptionalCondition)
{
    WqlQuery q;
    ASSERT_TRUE(parseWql(L"SELECT * FROM MSiSCSI_HBAInformation", &q));
    EXPECT_EQ(L"MSiSCSI_HBAInformation", q.className);
    EXPECT_FALSE(q.hasCondition);

    ASSERT_TRUE(parseWql(L"  select*from  Foo\twhere InstanceName='x'  ", &q));
    EXPECT_EQ(L"Foo", q.className);
    EXPECT_TRUE(q.hasCondition);
    EXPECT_EQ(L"InstanceName", q.property);
    EXPECT_EQ(L"x", q.literal);

    ASSERT_TRUE(parseWql(L"SELECT * FROM Foo WHERE InstanceName = \"\"", &q));
    EXPECT_EQ(L"", q.literal);
}

TEST(Wql, DecodesEscapedBackslashesAndQuotes)
{
    struct Case
    {
        const wchar_t* query;
        const wchar_t* literal;
    } cases[] = {
        {L"SELECT * FROM C WHERE InstanceName = \"ROOT\\\\ISCSIPRT\\\\0000_0\"",
         L"ROOT\\ISCSIPRT\\0000_0"},
        {L"SELECT * FROM C WHERE InstanceName = \"say \\\"hi\\\"\"", L"say \"hi\""},
        {L"SELECT * FROM C WHERE InstanceName = 'it\\'s'", L"it's"},
        {L"SELECT * FROM C WHERE InstanceName = 'a \"b\"'", L"a \"b\""},
        {L"SELECT * FROM C WHERE InstanceName = \"it's\"", L"it's"},
        {L"SELECT * FROM C WHERE InstanceName = \"tail\\\\\"", L"tail\\"},
        {L"SELECT * FROM C WHERE InstanceName = \"\u00e9\u263a\"", L"\u00e9\u263a"},
    };
    for (const Case& c : cases) {
        WqlQuery q;
        ASSERT_TRUE(parseWql(c.query, &q)) << c.query;
        EXPECT_EQ(c.literal, q.literal);
    }
}

TEST(Wql, RefusesEverythingElse)
{
    const wchar_t* invalid[] = {
        L"",
        L"SELECT Name FROM C",
        L"SELECT * C",
        L"SELECT * FROM",
        L"SELECT * FROM C WHERE",
        L"SELECT * FROM C WHERE InstanceName",
        L"SELECT * FROM C WHERE InstanceName = x",
        L"SELECT * FROM C WHERE InstanceName = 1",
        L"SELECT * FROM C WHERE InstanceName = \"open",
        L"SELECT * FROM C WHERE InstanceName = \"mixed'",
        L"SELECT * FROM C WHERE InstanceName = \"ROOT\\ISCSIPRT\"",  // an undoubled backslash
        L"SELECT * FROM C WHERE InstanceName = \"trailing\\",
        L"SELECT * FROM C WHERE InstanceName = \"a\" AND Active = TRUE",
        L"SELECT * FROM C extra",
        L"SELECT * FROM 1C",
    };
    for (const wchar_t* text : invalid) {
        WqlQuery q;
        EXPECT_FALSE(parseWql(text, &q)) << text;
    }
}
