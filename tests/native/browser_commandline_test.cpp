#include "common/core/cmdline.h"

#include <gtest/gtest.h>

TEST(BrowserFileArgument, OnePairOfSurroundingQuotesIsRemoved)
{
    const struct {
        const char* line;
        const char* file;
    } cases[] = {
        // As Explorer and "Open with" start the program for a path with a blank.
        {"\"C:\\Tools\\CorvalePhraseFrames.exe\" \"C:\\Users\\Ann Lee\\corpus-Freq-phraseFrames.txt\"",
         "C:\\Users\\Ann Lee\\corpus-Freq-phraseFrames.txt"},
        {"prog.exe   \"C:\\a b\\f.txt\"   ", "C:\\a b\\f.txt"},
        {"prog.exe C:\\plain\\f.txt  ", "C:\\plain\\f.txt"},
        // Blanks inside the quotes belong to the name.
        {"prog.exe \" f.txt \"", " f.txt "},
        // Only one pair, and only when the text both begins and ends with one.
        {"prog.exe \"\"f.txt\"\"", "\"f.txt\""},
        {"prog.exe \"C:\\a b\\f.txt", "\"C:\\a b\\f.txt"},
        {"prog.exe C:\\a b\\f.txt\"", "C:\\a b\\f.txt\""},
        {"prog.exe \"a\" \"b\"", "a\" \"b"},
        {"prog.exe \"", "\""},
        // An empty quoted argument names no file.
        {"prog.exe \"\"", ""},
        {"prog.exe    ", ""},
        {"prog.exe", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(browserFileArgument(c.line), c.file) << c.line;
}

TEST(BrowserFileArgument, StripSurroundingQuotesLeavesOtherTextAlone)
{
    EXPECT_EQ(stripSurroundingQuotes("\"x\""), "x");
    EXPECT_EQ(stripSurroundingQuotes("x"), "x");
    EXPECT_EQ(stripSurroundingQuotes(""), "");
    EXPECT_EQ(stripSurroundingQuotes(" \"x\" "), " \"x\" ");
}
