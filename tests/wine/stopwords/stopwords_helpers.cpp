#include "stopwords_helpers.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <cstdlib>
#include <fstream>
#include <winioctl.h>

namespace {

// COM for the test process's thread, as the program has it for its own.
struct ComEnvironment : testing::Environment {
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }
};
testing::Environment* const comEnvironment = testing::AddGlobalTestEnvironment(new ComEnvironment);

void removeTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(path + "\\");
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

TempFolder::TempFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int serial = 0;
    for (;;) {
        path = std::string(temp) + "corvale-sw-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(++serial) + "\\";
        if (CreateDirectoryA(path.c_str(), nullptr))
            break;
    }
}

TempFolder::~TempFolder()
{
    removeTree(path);
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size()) << path;
}

std::string readBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

bool fileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

std::string windowsPathOf(const char* builtPath)
{
    // Under Wine the Unix file system is drive Z:.
    std::string path = builtPath;
    if (!path.empty() && path[0] == '/') {
        for (char& c : path)
            if (c == '/')
                c = '\\';
        path = "Z:" + path;
    }
    return path;
}

// The environment's value when set and not empty, so a run can point the
// tests at another build or tree (an older one, to see a test fail before a
// mend); otherwise the built-in one.
const char* chosenPath(const char* variable, const char* builtIn)
{
    const char* chosen = std::getenv(variable);
    return chosen && *chosen ? chosen : builtIn;
}

} // namespace

std::string stopwordsExePath()
{
    return windowsPathOf(chosenPath("CORVALE_TEST_STOPWORDS_EXE", CORVALE_STOPWORDS_EXE));
}

std::string stopwordsWithFaultsExePath()
{
    return windowsPathOf(CORVALE_STOPWORDS_FAULTS_EXE);
}

std::string sourceFilePath(const std::string& relativePath)
{
    const std::string tree = chosenPath("CORVALE_TEST_SOURCE_DIR", CORVALE_SOURCE_DIR);
    return windowsPathOf((tree + "/" + relativePath).c_str());
}

void makeHugeFile(const std::string& path, uint64_t size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD returned = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    bool sized = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    ASSERT_TRUE(sized) << path << " " << size;
}

uint64_t sizeBeyondMemory()
{
    // The program holds text up to the smallest of these (as they are free
    // at the time, so never more than in total).
    MEMORYSTATUSEX status;
    status.dwLength = sizeof status;
    GlobalMemoryStatusEx(&status);
    uint64_t least = std::string().max_size();
    if (status.ullTotalVirtual < least)
        least = status.ullTotalVirtual;
    if (status.ullTotalPageFile < least)
        least = status.ullTotalPageFile;
    return least + (uint64_t(1) << 30);
}

std::wstring widePath(const std::string& folder, const std::wstring& name)
{
    wchar_t wide[MAX_PATH];
    int length = MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide, MAX_PATH);
    return std::wstring(wide, length > 0 ? length - 1 : 0) + name;
}

CurrentFolder::CurrentFolder(const std::string& folder)
{
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    previous = current;
    SetCurrentDirectoryA(folder.c_str());
}

CurrentFolder::~CurrentFolder()
{
    SetCurrentDirectoryA(previous.c_str());
}
