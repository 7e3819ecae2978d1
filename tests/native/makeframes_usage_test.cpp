// makeframes' own words about its command line: the help, and the option a
// mistyped one is taken for.
#include "makeframes/core/usage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

TEST(MakeframesUsage, AMistypedOptionGetsTheNearestName)
{
    const struct {
        const char* typed;
        const char* meant; // "" when none is near enough
    } cases[] = {
        {"-ngram", "-ngrams"},   {"--ngrams", "-ngrams"},   {"-NGRAMS", "-ngrams"}, {"-mni", "-min"},
        {"-minvr", "-minvar"},   {"-minrnge", "-minrange"}, {"-codpage", "-codepage"},
        {"-kepcase", "-keepcase"}, {"-stat", "-stats"},     {"-help", "--help"},    {"-N", "-n"},
        {"-x", ""},              {"-frobnicate", ""},       {"-slot-inner", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nearestName(c.typed, makeFramesOptions), c.meant) << c.typed;
}

TEST(MakeframesUsage, TheHelpNamesEveryOptionAndTheProgramShowsItWhenAsked)
{
    const std::string help = makeFramesHelp();
    // Each at the start of its line ("  -q ", "  -h, --help ").
    for (const std::string& option : makeFramesOptions)
        EXPECT_TRUE(help.find("\n  " + option + " ") != std::string::npos ||
                    help.find("\n  " + option + ",") != std::string::npos ||
                    help.find(", " + option + " ") != std::string::npos)
            << option;
    for (const char* asked : {" -h", " --help"}) {
        std::FILE* tool = popen((std::string(CORVALE_MAKEFRAMES_EXE) + asked + " 2>&1").c_str(), "r");
        ASSERT_NE(tool, nullptr);
        std::string said;
        char buffer[4096];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, tool)) > 0;)
            said.append(buffer, got);
        const int status = pclose(tool);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << asked;
        EXPECT_EQ(said, help) << asked;
    }
}
