// Files made by makeframes from a corpus, opened in the real browser: it
// shows the counts the tool reported. tests/scripts/make_generated_pairs.sh
// runs the tool and writes, for each file, one line of what it reported and
// the file's first header line.
#include <windows.h>
#include <gtest/gtest.h>

#include "../programrun.h"
#include "../winepath.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct MadeFile {
    std::string path; // Unix path
    std::string frames;
    std::string variants;
    std::string topFrame; // the first record's header fields
    std::string topFrequency;
    std::string topVariants;
};

std::vector<MadeFile> madeFiles()
{
    std::vector<MadeFile> files;
    std::ifstream list(windowsPath(CORVALE_GENERATED_PAIRS));
    std::string line;
    while (std::getline(list, line)) {
        std::istringstream fields(line);
        MadeFile file;
        std::getline(fields, file.path, '\t');
        std::getline(fields, file.frames, '\t');
        std::getline(fields, file.variants, '\t');
        std::getline(fields, file.topFrame, '\t');
        std::getline(fields, file.topFrequency, '\t');
        std::getline(fields, file.topVariants, '\t');
        files.push_back(file);
    }
    return files;
}

} // namespace

TEST(GeneratedPairs, TheBrowserShowsTheCountsMakeframesReported)
{
    const std::vector<MadeFile> files = madeFiles();
    // Lengths 3 and 4, an Alpha and a Freq file each.
    ASSERT_EQ(files.size(), 4u) << "no list of made files in " << CORVALE_GENERATED_PAIRS;
    const std::string exe = windowsPath(CORVALE_BROWSER_EXE);
    for (const MadeFile& file : files) {
        SCOPED_TRACE(file.path);
        ProgramRun run = runBrowserProgram(exe, "\"" + exe + "\" " + windowsPath(file.path));
        ASSERT_TRUE(run.windowFound) << "the main window did not appear";
        const std::string name = file.path.substr(file.path.rfind('/') + 1);
        const std::string status = file.frames + " phrase-frames with " + file.variants + " variants in " + name + ".";
        EXPECT_EQ(run.status.substr(0, status.size()), status);
        // The first row is shown at once: the first record of either file.
        EXPECT_EQ(run.frameInfo,
                  file.topFrame + ":  rank 1, frequency " + file.topFrequency + ", variants " + file.topVariants);
        EXPECT_TRUE(run.endedInTime);
        EXPECT_EQ(run.exitCode, 0u);
    }
}
