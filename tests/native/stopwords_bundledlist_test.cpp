// The stopword list the release ships, read as the program reads it.
#include "stopwords/core/textlines.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

namespace {

std::set<std::string> bundledStopwords()
{
    std::ifstream file(std::string(CORVALE_SOURCE_DIR) + "/release/stopwords", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    std::vector<std::string> entries = stopwordEntries(text.str());
    return std::set<std::string>(entries.begin(), entries.end());
}

} // namespace

// makeframes writes lower case by default, so every word the list has with
// capitals is there in lower case too; the capitalised forms stay.
TEST(StopwordsBundledList, EveryWordIsThereInLowerCase)
{
    const std::set<std::string> words = bundledStopwords();
    ASSERT_GT(words.size(), 400u);
    EXPECT_TRUE(words.count("I"));
    EXPECT_TRUE(words.count("The"));
    for (const std::string& word : words) {
        std::string lower = word;
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        EXPECT_TRUE(words.count(lower)) << word << " has no lower-case form " << lower;
    }
    const StopwordTest isStopword = [&words](std::string_view word) { return words.count(std::string(word)) > 0; };
    EXPECT_TRUE(lineIsRemoved("i think i\t12", isStopword));
    EXPECT_TRUE(lineIsRemoved("I think\t3", isStopword));
    EXPECT_FALSE(lineIsRemoved("think twice\t3", isStopword));
}
