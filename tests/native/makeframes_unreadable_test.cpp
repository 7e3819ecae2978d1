// Files that go or fail while a run goes on: skipped and named like files that
// are not text, and the library's own failures told in the user's words.
#include "makeframes/core/run.h"
#include "tests/support/scratchfolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

TEST(MakeframesUnreadable, AFileThatGoesWhileTheRunReadsIsSkippedAndNamed)
{
    ScratchFolder scratch;
    const fs::path corpus = scratch.path / "corpus";
    fs::create_directory(corpus);
    for (const char* name : {"a.txt", "b.txt"})
        std::ofstream(corpus / name) << "At the end of the day. At the end of the week.\n";
    MakeOptions options;
    options.inputs = {corpus};
    options.prefix = scratch.path / "out";
    std::vector<std::string> warnings;
    MakeEvents events;
    // b.txt is listed, then removed while a.txt is read.
    events.progress = [&](const std::string&, double) { fs::remove(corpus / "b.txt"); };
    events.warning = [&](const std::string& line) { warnings.push_back(line); };
    const std::atomic<bool> cancel{false};
    const MakeResult result = runMakeFrames(options, events, cancel);
    EXPECT_EQ(result.filesRead, 1u);
    EXPECT_EQ(result.filesSkipped, 1u);
    EXPECT_EQ(warnings, std::vector<std::string>{"skipping " + (corpus / "b.txt").u8string() +
                                                 ": cannot read it (No such file or directory)"});
}

TEST(MakeframesUnreadable, FilesystemFailuresSayWhatToDo)
{
    const struct {
        std::errc code;
        const char* said;
    } cases[] = {
        {std::errc::no_such_file_or_directory,
         "cannot use x/out.partial: No such file or directory; another program removed it while the files were "
         "made: make them again"},
        {std::errc::read_only_file_system,
         "cannot use x/out.partial: Read-only file system; choose an output folder you may write in"},
        {std::errc::permission_denied,
         "cannot use x/out.partial: Permission denied; choose an output folder you may write in"},
        {std::errc::no_space_on_device,
         "cannot use x/out.partial: No space left on device; free some space on the disk, or choose an output "
         "folder on another disk"},
        {std::errc::io_error,
         "cannot use x/out.partial: Input/output error; make the files again, and if it fails again choose "
         "another output folder"},
    };
    for (const auto& c : cases) {
        const fs::filesystem_error error("cannot get file size", "x/out.partial", std::make_error_code(c.code));
        EXPECT_EQ(filesystemFailureText(error), c.said);
    }
}
