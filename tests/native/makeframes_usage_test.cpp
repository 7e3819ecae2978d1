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

TEST(MakeframesUsage, TheDefaultMemoryBoundIsHalfTheMachineButAtLeast1GAnd1GIn32Bits)
{
    const uint64_t gigabyte = uint64_t(1) << 30;
    const struct {
        uint64_t physical;
        size_t pointerBytes;
        uint64_t bound;
    } cases[] = {
        {0, 8, gigabyte},              // the system did not say
        {gigabyte, 8, gigabyte},       // half would be less than the old default
        {3 * gigabyte, 8, gigabyte + gigabyte / 2},
        {24 * gigabyte, 8, 12 * gigabyte},
        {24 * gigabyte, 4, gigabyte},  // a 32-bit program's address space
    };
    for (const auto& c : cases)
        EXPECT_EQ(defaultMemoryBytes(c.physical, c.pointerBytes), c.bound) << c.physical << " " << c.pointerBytes;
}
