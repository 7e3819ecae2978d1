#include "stopwords/stopwordset.h"

#include "common/win/prompts.h"
#include "stopwords_helpers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Box {
    std::string text, caption;
    UINT style;
};

// A set on the real dictionary object, with message boxes recorded instead of shown.
class StopwordSet : public testing::Test {
protected:
    std::vector<Box> boxes;
    void SetUp() override
    {
        setMessageBoxAnswerer([this](const char* text, const char* caption, UINT style) {
            boxes.push_back({text, caption, style});
            return IDOK;
        });
        ASSERT_TRUE(dictInit());
        ASSERT_NE(dictObject, nullptr);
    }
    void TearDown() override
    {
        dictRelease();
        setMessageBoxAnswerer(nullptr);
    }
};

VARIANT bstrKey(const wchar_t* text)
{
    VARIANT key;
    VariantInit(&key);
    key.vt = VT_BSTR;
    key.bstrVal = SysAllocString(text);
    return key;
}

std::string errorText(DWORD status)
{
    BSTR text = DICOBJERROR(status);
    std::string result(reinterpret_cast<const char*>(text), SysStringByteLen(text));
    SysFreeString(text);
    return result;
}

} // namespace

TEST_F(StopwordSet, KeysAreCaseSensitiveAndExact)
{
    dictAddL("the", 1);
    dictAddL("of the", 1);
    EXPECT_TRUE(dictExists("the"));
    EXPECT_TRUE(dictExists("of the"));
    EXPECT_FALSE(dictExists("The"));
    EXPECT_FALSE(dictExists("the "));
    EXPECT_FALSE(dictExists("th"));
    EXPECT_FALSE(dictExists("of"));
    dictAddL("\xe9t\xe9", 1); // 8-bit text goes through the ANSI code page
    EXPECT_TRUE(dictExists("\xe9t\xe9"));
    EXPECT_FALSE(dictExists("\xc9T\xc9"));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(StopwordSet, ExportsCallTheDictionary)
{
    VARIANT key = bstrKey(L"Key");
    VARIANT other = bstrKey(L"key");
    VARIANT item;
    VariantInit(&item);
    item.vt = VT_R8;
    item.dblVal = 2.5;

    EXPECT_EQ(IDICTIONARY_EXISTS(dictObject, key), 0);
    EXPECT_EQ(dictResult, 0);
    IDICTIONARY_ADD(dictObject, key, item);
    EXPECT_EQ(dictResult, 0);
    EXPECT_EQ(IDICTIONARY_EXISTS(dictObject, key), -1);
    EXPECT_EQ(IDICTIONARY_EXISTS(dictObject, other), 0);

    // Adding a present key fails with a status; putting an item replaces it.
    IDICTIONARY_ADD(dictObject, key, item);
    EXPECT_NE(dictResult, 0);
    item.dblVal = 4.0;
    IDICTIONARY_PUTITEM(dictObject, key, item);
    EXPECT_EQ(dictResult, 0);
    VARIANT read;
    VariantInit(&read);
    IDICTIONARY_GETITEM(dictObject, key, &read);
    EXPECT_EQ(dictResult, 0);
    EXPECT_EQ(read.vt, VT_R8);
    EXPECT_EQ(read.dblVal, 4.0);

    // dictAddL leaves a present word alone, keeping its first item, and
    // raises no error.
    dictAddL("Key", 7);
    EXPECT_EQ(dictResult, 0);
    IDICTIONARY_GETITEM(dictObject, key, &read);
    EXPECT_EQ(read.dblVal, 4.0);
    EXPECT_TRUE(boxes.empty());

    VariantClear(&key);
    VariantClear(&other);
}

TEST(StopwordSetErrors, ErrorTexts)
{
    EXPECT_EQ(errorText(0), "");

    char* system = nullptr;
    DWORD length = FormatMessageA(0x1300, nullptr, 0x80070002, 0x400, reinterpret_cast<char*>(&system), 0, nullptr);
    ASSERT_GT(length, 0u);
    std::string systemText(system, length);
    LocalFree(system);
    EXPECT_EQ(errorText(0x80070002), "Error 2147942402 [&H80070002] " + systemText);

    EXPECT_EQ(errorText(0x2001ABCD), "Error 536980429 [&H2001ABCD]");
    EXPECT_EQ(dicObjErrorText(0x2001ABCD), "Error 536980429 [&H2001ABCD]");
}

namespace {

// A stand-in for the dictionary whose Exists and Add fail, so the error
// boxes of the set can be seen.
HRESULT __stdcall failingExists(IDispatch*, VARIANT*, VARIANT_BOOL* exists)
{
    *exists = 0;
    return E_FAIL;
}

HRESULT __stdcall failingAdd(IDispatch*, VARIANT*, VARIANT*)
{
    return 0x800A01C9;
}

struct FailingDictionary {
    void** table;
};

} // namespace

TEST(StopwordSetErrors, FailingCallsShowTheirStatus)
{
    std::vector<Box> boxes;
    setMessageBoxAnswerer([&boxes](const char* text, const char* caption, UINT style) {
        boxes.push_back({text, caption, style});
        return IDOK;
    });
    void* table[13] = {};
    table[10] = reinterpret_cast<void*>(failingAdd);
    table[12] = reinterpret_cast<void*>(failingExists);
    FailingDictionary failing = {table};
    dictObject = reinterpret_cast<IDispatch*>(&failing);

    EXPECT_FALSE(dictExists("word"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error in dictExists()");
    EXPECT_EQ(boxes[0].text, dicObjErrorText(static_cast<DWORD>(E_FAIL)));
    EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_OK));

    // A failing Exists inside dictAddL shows two boxes, the second about the
    // Add that followed.
    boxes.clear();
    dictAddL("word", 1);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "Error in dictExists()");
    EXPECT_EQ(boxes[1].caption, "Error in dictAddL()");
    EXPECT_EQ(boxes[1].text, dicObjErrorText(0x800A01C9));

    dictObject = nullptr;
    dictResult = 0;
    setMessageBoxAnswerer(nullptr);
}

TEST_F(StopwordSet, LoaderCountsEntriesAndKeepsDistinctKeys)
{
    TempFolder folder;
    writeBytes(folder / "stopwords", "the\r\nThe\r\nthe | again\r\n\r\n  | comment only\r\n");
    LONG entries = -1;
    DWORD error = 1;
    ASSERT_EQ(loadStopwordList(widePath(folder.path, L"stopwords"), &entries, &error), StopwordListLoad::loaded);
    EXPECT_EQ(entries, 3);
    EXPECT_EQ(error, 0u);
    EXPECT_TRUE(dictExists("the"));
    EXPECT_TRUE(dictExists("The"));
    EXPECT_FALSE(dictExists("again"));
    EXPECT_TRUE(boxes.empty());

    // A TAB after a word stays in the entry.
    writeBytes(folder / "tabbed", "of\t\r\n");
    ASSERT_EQ(loadStopwordList(widePath(folder.path, L"tabbed"), &entries, &error), StopwordListLoad::loaded);
    EXPECT_EQ(entries, 1);
    EXPECT_FALSE(dictExists("of"));
    EXPECT_TRUE(dictExists("of\t"));
}

TEST_F(StopwordSet, LoaderReportsAListThatCannotBeOpened)
{
    TempFolder folder;
    LONG entries = -1;
    DWORD error = 0;
    EXPECT_EQ(loadStopwordList(widePath(folder.path, L"stopwords"), &entries, &error), StopwordListLoad::unreadable);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(fileExists(folder / "stopwords"));

    writeBytes(folder / "stopwords", "the\r\n");
    HANDLE held = CreateFileA((folder / "stopwords").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(loadStopwordList(widePath(folder.path, L"stopwords"), &entries, &error), StopwordListLoad::unreadable);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(held);
}

TEST_F(StopwordSet, NulBytesAreKeptInKeys)
{
    // The dictionary compares keys as C strings; the set must not.
    dictAddL("the", 1);
    dictAddL(std::string("n\0ul", 4), 1);
    EXPECT_FALSE(dictExists(std::string("the\0cat", 7)));
    EXPECT_FALSE(dictExists("n"));
    EXPECT_TRUE(dictExists(std::string("n\0ul", 4)));
    EXPECT_FALSE(dictExists(std::string("n\0", 2)));
    EXPECT_TRUE(dictExists("the"));
    EXPECT_FALSE(dictExists(std::string(1, '\0')));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(StopwordSet, LoaderTakesLfEndsAndAByteOrderMark)
{
    TempFolder folder;
    LONG entries = -1;
    DWORD error = 1;
    writeBytes(folder / "lf", "the\nof\nand | conj\n  a  \n");
    ASSERT_EQ(loadStopwordList(widePath(folder.path, L"lf"), &entries, &error), StopwordListLoad::loaded);
    EXPECT_EQ(entries, 4);
    for (const char* word : {"the", "of", "and", "a"})
        EXPECT_TRUE(dictExists(word)) << word;
    dictRelease();
    ASSERT_TRUE(dictInit());
    writeBytes(folder / "bom", "\xEF\xBB\xBFthe\r\nof\r\n");
    ASSERT_EQ(loadStopwordList(widePath(folder.path, L"bom"), &entries, &error), StopwordListLoad::loaded);
    EXPECT_EQ(entries, 2);
    EXPECT_TRUE(dictExists("the"));
    EXPECT_FALSE(dictExists("\xEF\xBB\xBFthe"));
}

TEST_F(StopwordSet, LoaderRefusesAListTooLargeForMemory)
{
    TempFolder folder;
    makeHugeFile(folder / "stopwords", sizeBeyondMemory());
    LONG entries = -1;
    DWORD error = 0;
    EXPECT_EQ(loadStopwordList(widePath(folder.path, L"stopwords"), &entries, &error), StopwordListLoad::unreadable);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(entries, 0);
}
