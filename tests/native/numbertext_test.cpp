#include "common/core/cmdline.h"
#include "common/core/numbertext.h"

#include <gtest/gtest.h>

TEST(NumberText, ThousandsMask)
{
    const struct { int64_t n; const char* text; } cases[] = {
        {0, "0"}, {12, "12"}, {999, "999"}, {1000, "1,000"}, {1234, "1,234"},
        {1234567, "1,234,567"}, {-1, "-1"}, {-1234, "-1,234"}, {-999999, "-999,999"},
        {2147483647, "2,147,483,647"}, {INT64_MIN, "-9,223,372,036,854,775,808"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatThousands(c.n), c.text) << c.n;
}

TEST(NumberText, StrHasLeadingBlankUnlessNegative)
{
    EXPECT_EQ(strNumber(412), " 412");
    EXPECT_EQ(strNumber(0), " 0");
    EXPECT_EQ(strNumber(-3), "-3");
}

TEST(CommandTail, SkipsProgramNameAndFollowingBlanks)
{
    const struct { const char* line; const char* tail; } cases[] = {
        {"prog.exe", ""},
        {"prog.exe   ", ""},
        {"prog.exe a.txt", "a.txt"},
        {"prog.exe   a.txt  ", "a.txt  "},
        {"\"C:\\My Tools\\prog.exe\" a b", "a b"},
        {"\"C:\\My Tools\\prog.exe\"a", "a"},
        {"\"unclosed name", ""},
        {"", ""},
        {"prog.exe \"C:\\x y\\f.txt\"", "\"C:\\x y\\f.txt\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(commandTail(c.line), c.tail) << c.line;
}

TEST(CommandTail, TrimBlanksOnlyTouchesBlanks)
{
    EXPECT_EQ(trimBlanks("  a b  "), "a b");
    EXPECT_EQ(trimBlanks("   "), "");
    EXPECT_EQ(trimBlanks("\ta\t"), "\ta\t");
}
