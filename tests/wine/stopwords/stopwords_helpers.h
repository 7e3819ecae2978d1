// Files and folders for the stopword filter's tests under Wine.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// A fresh empty folder, removed with everything in it at the end.
struct TempFolder {
    std::string path; // ends in a backslash
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string operator/(const std::string& name) const { return path + name; }
};

void writeBytes(const std::string& path, const std::string& bytes);
// The file's bytes, or "<missing>" when it cannot be read.
std::string readBytes(const std::string& path);
bool fileExists(const std::string& path);

// The built program as a Windows path; CORVALE_TEST_STOPWORDS_EXE, when set,
// names another build to run instead.
std::string stopwordsExePath();
// The fault-test build of the same program.
std::string stopwordsWithFaultsExePath();
// A file of the source tree (a sample, the bundled stopword list);
// CORVALE_TEST_SOURCE_DIR, when set, names another tree instead.
std::string sourceFilePath(const std::string& relativePath);

// A file of that many zero bytes that takes no disk space (a sparse file),
// for sizes no memory can hold.
void makeHugeFile(const std::string& path, uint64_t size);

// More bytes than this process, or the program, could hold in memory.
uint64_t sizeBeyondMemory();

// A UTF-16 name in a folder given in ANSI.
std::wstring widePath(const std::string& folder, const std::wstring& name);

// Makes the folder the current one while in scope.
struct CurrentFolder {
    std::string previous;
    explicit CurrentFolder(const std::string& folder);
    ~CurrentFolder();
};
