#include "stopwords_helpers.h"

#include <gtest/gtest.h>

// The program exports five functions by their plain names, with ordinals 1
// to 5 in alphabetical order and no others.
TEST(StopwordsExports, FiveFunctionsByNameWithOrdinalsOneToFive)
{
    // Loaded as an image only to look its exports up; nothing in it is run.
    HMODULE program = LoadLibraryExA(stopwordsExePath().c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(program, nullptr) << GetLastError();
    const char* names[] = {"DICOBJERROR", "IDICTIONARY_ADD", "IDICTIONARY_EXISTS", "IDICTIONARY_GETITEM",
                           "IDICTIONARY_PUTITEM"};
    for (int ordinal = 1; ordinal <= 5; ++ordinal) {
        FARPROC byName = GetProcAddress(program, names[ordinal - 1]);
        EXPECT_NE(byName, nullptr) << names[ordinal - 1];
        EXPECT_EQ(byName, GetProcAddress(program, MAKEINTRESOURCEA(ordinal))) << ordinal;
    }
    EXPECT_EQ(GetProcAddress(program, MAKEINTRESOURCEA(6)), nullptr);
    EXPECT_EQ(GetProcAddress(program, "IDICTIONARY_ADD@36"), nullptr);
    EXPECT_EQ(GetProcAddress(program, "_IDICTIONARY_ADD@36"), nullptr);
    FreeLibrary(program);
}
