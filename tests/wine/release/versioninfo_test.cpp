// What Explorer shows of the programs: the version resource, read the way
// Properties > Details reads it, and the first icon group.
#include <windows.h>
#include <gtest/gtest.h>

#include "../winepath.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "corvale_version.h"

namespace {

std::vector<char> versionData(const std::string& exe)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoA(exe.c_str(), 0, size, data.data()))
        data.clear();
    return data;
}

// One string of the first translation the resource lists.
std::string versionString(std::vector<char>& data, const char* name)
{
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof *translation)
        return "<no translation>";
    char path[128];
    std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation->language, translation->codePage,
                  name);
    char* value = nullptr;
    if (!VerQueryValueA(data.data(), path, reinterpret_cast<void**>(&value), &length))
        return "<missing>";
    return value;
}

struct Program {
    const char* exe;
    const char* fileName;
    const char* description;
};

const Program programs[] = {
    {CORVALE_BROWSER_EXE, "CorvalePhraseFrames.exe", "Corvale phrase-frame browser"},
    {CORVALE_STOPWORDS_EXE, "CorvaleStopwords.exe", "Corvale stopword line filter"},
    {CORVALE_MAKEFRAMES_WINDOW_EXE, "CorvaleMakeFrames.exe", "Corvale phrase-frame maker"},
    {CORVALE_MAKEFRAMES_EXE, "makeframes.exe", "Corvale phrase-frame maker (command line)"},
};

BOOL CALLBACK takeFirstName(HMODULE, LPCSTR, LPSTR found, LONG_PTR param)
{
    *reinterpret_cast<std::string*>(param) = IS_INTRESOURCE(found) ? "#" : found;
    return FALSE;
}

// The bytes of the 32 x 32 image of the program's first icon group.
std::string firstGroupLargeIcon(const std::string& exe, std::string* groupName)
{
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return "<cannot load>";
    std::string name;
    EnumResourceNamesA(module, RT_GROUP_ICON, takeFirstName, reinterpret_cast<LONG_PTR>(&name));
    *groupName = name;
    std::string bytes = "<no icon>";
    HRSRC group = name.empty() || name == "#" ? nullptr : FindResourceA(module, name.c_str(), RT_GROUP_ICON);
    if (group) {
        auto* directory = static_cast<BYTE*>(LockResource(LoadResource(module, group)));
        int id = LookupIconIdFromDirectoryEx(directory, TRUE, 32, 32, 0);
        HRSRC icon = FindResourceA(module, MAKEINTRESOURCEA(id), RT_ICON);
        if (icon)
            bytes.assign(static_cast<const char*>(LockResource(LoadResource(module, icon))),
                         SizeofResource(module, icon));
    }
    FreeLibrary(module);
    return bytes;
}

// The 32 x 32 image of an .ico file as drawn by makeicon (second entry).
std::string largeImageOfIconFile(const std::string& path)
{
    std::ifstream file(windowsPath(path), std::ios::binary);
    std::string ico((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (ico.size() < 6 + 2 * 16)
        return "<no icon file>";
    auto dword = [&ico](size_t at) {
        return static_cast<size_t>(static_cast<unsigned char>(ico[at])) |
               static_cast<size_t>(static_cast<unsigned char>(ico[at + 1])) << 8 |
               static_cast<size_t>(static_cast<unsigned char>(ico[at + 2])) << 16 |
               static_cast<size_t>(static_cast<unsigned char>(ico[at + 3])) << 24;
    };
    const size_t entry = 6 + 16;
    return ico.substr(dword(entry + 12), dword(entry + 8));
}

} // namespace

TEST(ProgramResources, VersionStringsOfEveryProgram)
{
    for (const Program& program : programs) {
        std::vector<char> data = versionData(windowsPath(program.exe));
        ASSERT_FALSE(data.empty()) << program.fileName << " has no version resource";
        EXPECT_EQ(versionString(data, "CompanyName"), "Corvale project") << program.fileName;
        EXPECT_EQ(versionString(data, "FileDescription"), program.description);
        EXPECT_EQ(versionString(data, "FileVersion"), CORVALE_VERSION) << program.fileName;
        EXPECT_EQ(versionString(data, "ProductName"), "Corvale") << program.fileName;
        EXPECT_EQ(versionString(data, "ProductVersion"), CORVALE_VERSION) << program.fileName;
        EXPECT_EQ(versionString(data, "LegalCopyright"), "Copyright (C) 2026 the Corvale project team")
            << program.fileName;
        EXPECT_EQ(versionString(data, "OriginalFilename"), program.fileName);

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(CORVALE_VERSION_MINOR, CORVALE_VERSION_MAJOR)));
        EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), CORVALE_VERSION_PATCH) << program.fileName;
    }
}

TEST(ProgramResources, EachProgramShowsItsOwnIcon)
{
    std::string browserGroup, filterGroup;
    std::string browserIcon = firstGroupLargeIcon(windowsPath(CORVALE_BROWSER_EXE), &browserGroup);
    std::string filterIcon = firstGroupLargeIcon(windowsPath(CORVALE_STOPWORDS_EXE), &filterGroup);
    EXPECT_EQ(browserGroup, "PROGRAM");
    EXPECT_EQ(filterGroup, "PROGRAM");
    EXPECT_EQ(browserIcon, largeImageOfIconFile(CORVALE_SOURCE_DIR "/browser/program.ico"));
    EXPECT_EQ(filterIcon, largeImageOfIconFile(CORVALE_SOURCE_DIR "/stopwords/program.ico"));
    EXPECT_NE(browserIcon, filterIcon);

    std::string makerGroup;
    std::string makerIcon = firstGroupLargeIcon(windowsPath(CORVALE_MAKEFRAMES_WINDOW_EXE), &makerGroup);
    EXPECT_EQ(makerGroup, "PROGRAM");
    EXPECT_EQ(makerIcon, largeImageOfIconFile(CORVALE_SOURCE_DIR "/makeframes/window/program.ico"));
    EXPECT_NE(makerIcon, browserIcon);
    EXPECT_NE(makerIcon, filterIcon);

    // The command-line maker shows the window's icon: one program in two forms.
    std::string consoleGroup;
    EXPECT_EQ(firstGroupLargeIcon(windowsPath(CORVALE_MAKEFRAMES_EXE), &consoleGroup), makerIcon);
    EXPECT_EQ(consoleGroup, "PROGRAM");
}
