// The real makeframes.exe: the same bytes as the Linux build on the same
// corpus (with Cyrillic file and folder names), its exit statuses, and what
// an interrupted run leaves behind.
#include "tests/wine/makeframes_window/unixmount.h"
#include "tests/wine/winepath.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::wstring widen(const std::string& utf8)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], size);
    return wide;
}

std::string utf8(const std::wstring& wide)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &bytes[0], size, nullptr, nullptr);
    return bytes;
}

const std::wstring exe = widen(windowsPath(CORVALE_MAKEFRAMES_EXE));
const std::wstring reference = widen(windowsPath(CORVALE_MAKEFRAMES_REFERENCE));
const std::wstring corpus = reference + L"\\Корпус";

std::string readAll(const std::wstring& name)
{
    std::ifstream in(name.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The names in a folder, without "." and "..".
std::vector<std::wstring> namesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

void removeTree(const std::wstring& folder)
{
    for (const std::wstring& name : namesIn(folder)) {
        const std::wstring path = folder + L"\\" + name;
        if (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY)
            removeTree(path);
        else
            DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(folder.c_str());
}

// A fresh, empty output folder (named in Cyrillic) for one test.
struct OutputFolder {
    std::wstring path;
    explicit OutputFolder(const std::wstring& name) : path(reference + L"\\" + name)
    {
        removeTree(path);
        CreateDirectoryW(path.c_str(), nullptr);
    }
    ~OutputFolder() { removeTree(path); }
};

struct Started {
    PROCESS_INFORMATION process{};
    std::wstring errorFile;
};

std::wstring quoted(const std::wstring& arg)
{
    return arg.find(L' ') == std::wstring::npos && !arg.empty() ? arg : L"\"" + arg + L"\"";
}

// Starts makeframes.exe with its standard error in a file beside the output.
Started start(const std::vector<std::wstring>& args, const std::wstring& errorFile, DWORD flags = 0)
{
    std::wstring commandLine = quoted(exe);
    for (const std::wstring& arg : args)
        commandLine += L" " + quoted(arg);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE error = CreateFileW(errorFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = nul;
    startup.hStdError = error;
    Started started;
    started.errorFile = errorFile;
    EXPECT_TRUE(CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, flags, nullptr, nullptr, &startup,
                               &started.process));
    CloseHandle(error);
    CloseHandle(nul);
    return started;
}

struct Finished {
    DWORD status = 259;
    std::string error;
};

Finished finish(Started& started, DWORD timeout = 120000)
{
    Finished finished;
    EXPECT_EQ(WaitForSingleObject(started.process.hProcess, timeout), WAIT_OBJECT_0);
    GetExitCodeProcess(started.process.hProcess, &finished.status);
    CloseHandle(started.process.hProcess);
    CloseHandle(started.process.hThread);
    finished.error = readAll(started.errorFile);
    DeleteFileW(started.errorFile.c_str());
    return finished;
}

Finished run(const std::vector<std::wstring>& args, const std::wstring& errorFile)
{
    Started started = start(args, errorFile);
    return finish(started);
}

const wchar_t* const kinds[] = {L"Alpha-phraseFrames", L"Freq-phraseFrames", L"Ngrams", L"Stats"};

} // namespace

TEST(MakeframesExe, SameBytesAsTheLinuxBuildWithCyrillicNames)
{
    OutputFolder output(L"Выход");
    for (const wchar_t* page : {L"1251", L"1252"}) {
        const std::wstring prefix = output.path + L"\\вывод" + page;
        const Finished finished = run({L"-q", L"-n", L"3-4", L"-ngrams", L"-stats", L"-codepage", page, corpus, prefix},
                                      reference + L"\\stderr.txt");
        ASSERT_EQ(finished.status, 0u) << finished.error;
        for (const wchar_t* length : {L"3", L"4"})
            for (const wchar_t* kind : kinds) {
                const std::wstring ending = std::wstring(L"-") + length + L"-" + kind + L".txt";
                const std::string made = readAll(prefix + ending);
                const std::string expected = readAll(reference + L"\\native\\" + page + ending);
                EXPECT_FALSE(expected.empty()) << utf8(ending);
                EXPECT_TRUE(made == expected) << utf8(page + ending) << ": " << made.size() << " bytes, "
                                              << expected.size() << " expected";
            }
    }
    // Nothing but the ten files of each code page (the Corpus files name
    // the inputs by their Windows paths, so they are not compared).
    EXPECT_EQ(namesIn(output.path).size(), 20u);
}

TEST(MakeframesExe, ExitStatusesAndMessagesWithoutOutput)
{
    OutputFolder output(L"Ошибки");
    const std::wstring prefix = output.path + L"\\вывод";
    const std::wstring missing = reference + L"\\нет такого.txt";
    const std::wstring binary = output.path + L"\\данные.bin";
    const struct {
        std::vector<std::wstring> args;
        DWORD status;
        std::string message;
    } cases[] = {
        {{L"-n", L"1", corpus, prefix}, 2, "bad value for -n: 1"},
        {{L"-codepage", L"1255", corpus, prefix}, 2, "bad value for -codepage: 1255"},
        {{L"-frobnicate", corpus, prefix}, 2, "unknown option -frobnicate"},
        {{prefix}, 2, "needs at least one input"},
        {{missing, prefix}, 1, "cannot read " + utf8(missing)},
        {{binary, prefix}, 1, "no text file among the inputs"},
        {{corpus, output.path + L"\\нет\\вывод"}, 1,
         "makeframes: the output folder " + utf8(output.path + L"\\нет") + " does not exist"},
    };
    {
        std::ofstream(binary.c_str(), std::ios::binary) << std::string("\0\1\2", 3);
    }
    for (const auto& c : cases) {
        const Finished finished = run(c.args, reference + L"\\stderr.txt");
        EXPECT_EQ(finished.status, c.status) << c.message;
        EXPECT_NE(finished.error.find(c.message), std::string::npos) << finished.error;
        const std::vector<std::wstring> left = namesIn(output.path);
        EXPECT_EQ(left, std::vector<std::wstring>{L"данные.bin"}) << c.message;
    }
}

// Waits until the run has made its scratch folder in `folder`.
bool waitForScratch(const std::wstring& folder, HANDLE process)
{
    for (int wait = 0; wait < 3000; ++wait) {
        for (const std::wstring& name : namesIn(folder))
            if (name.rfind(L".makeframes-", 0) == 0)
                return true;
        if (WaitForSingleObject(process, 10) == WAIT_OBJECT_0)
            return false;
    }
    return false;
}

// Killed outright, the run cannot clean up, but no file has its final name;
// the next run of the same output removes what it left, and says so.
TEST(MakeframesExe, AKilledRunLeavesNoFileUnderAFinalNameAndTheNextRunClearsUp)
{
    OutputFolder output(L"Убитый");
    Started started = start({L"-q", L"-n", L"3-5", L"-ngrams", L"-mem", L"64M", reference + L"\\large.txt",
                             output.path + L"\\вывод"},
                            reference + L"\\stderr.txt");
    ASSERT_TRUE(waitForScratch(output.path, started.process.hProcess));
    Sleep(1500);
    TerminateProcess(started.process.hProcess, 9);
    finish(started);
    for (const std::wstring& name : namesIn(output.path))
        EXPECT_TRUE(name.rfind(L".makeframes-", 0) == 0 || name.find(L".partial") != std::wstring::npos)
            << utf8(name);

    // What it left, and another output's scratch folder that is not the
    // next run's to remove.
    const std::vector<std::wstring> left = namesIn(output.path);
    ASSERT_FALSE(left.empty());
    const std::wstring other = output.path + L"\\.makeframes-другой-abc123";
    CreateDirectoryW(other.c_str(), nullptr);

    const Finished next = run({L"-q", L"-n", L"3-5", L"-ngrams", reference + L"\\Корпус", output.path + L"\\вывод"},
                              reference + L"\\stderr.txt");
    EXPECT_EQ(next.status, 0u) << next.error;
    EXPECT_NE(next.error.find("makeframes: removed what an unfinished earlier run left: "), std::string::npos)
        << next.error;
    for (const std::wstring& name : left)
        EXPECT_NE(next.error.find(utf8(output.path + L"\\" + name)), std::string::npos) << utf8(name);
    std::vector<std::wstring> after = namesIn(output.path);
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after.size(), 10u);
    EXPECT_EQ(after.front(), L".makeframes-другой-abc123");
    for (size_t k = 1; k < after.size(); ++k)
        EXPECT_EQ(after[k].find(L".partial"), std::wstring::npos) << utf8(after[k]);
}

TEST(MakeframesExe, AFullDiskFailsWithTheReasonAndLeavesNothing)
{
    const std::wstring folder = reference + L"\\small disk";
    UnixMount disk(folder, "size=200k");
    if (!disk.mounted())
        GTEST_SKIP() << "a 200 KB tmpfs cannot be mounted here (mounting needs root)";
    const std::string before = readAll(corpus + L"\\english.txt");
    const Finished finished = run({L"-q", L"-n", L"3-4", L"-ngrams", L"-stats", corpus, folder + L"\\вывод"},
                                  reference + L"\\stderr.txt");
    EXPECT_EQ(finished.status, 1u);
    EXPECT_NE(finished.error.find(".partial: the disk is full"), std::string::npos) << finished.error;
    EXPECT_TRUE(namesIn(folder).empty()) << utf8(namesIn(folder).front());
    EXPECT_EQ(readAll(corpus + L"\\english.txt"), before);
}

TEST(MakeframesExe, AReadOnlyFolderFailsWithTheReason)
{
    const std::wstring folder = reference + L"\\read only";
    UnixMount disk(folder, "ro,size=100k");
    if (!disk.mounted())
        GTEST_SKIP() << "a read-only tmpfs cannot be mounted here (mounting needs root)";
    const Finished finished = run({L"-q", corpus, folder + L"\\вывод"}, reference + L"\\stderr.txt");
    EXPECT_EQ(finished.status, 1u);
    // The reason the system gives, then what to do.
    EXPECT_EQ(finished.error.rfind("makeframes: cannot write in the output folder " + utf8(folder) + ": ", 0), 0u)
        << finished.error;
    const std::string advice = "; choose an output folder you may write in\r\n";
    EXPECT_EQ(finished.error.substr(finished.error.size() - std::min(finished.error.size(), advice.size())), advice)
        << finished.error;
    EXPECT_TRUE(namesIn(folder).empty());
}
