// The window's settings in "CorvaleMakeFrames.cfg" beside the program, an
// INI file kept in UTF-16 so that folders named outside the ANSI code page
// survive.
#include "makeframes/window/window.h"

#include "common/win/filehandle.h"
#include "common/win/system.h"
#include "makeframes/window/core/makeform.h"

#include <string>

namespace {

const wchar_t section[] = L"Settings";

struct TextSetting {
    const wchar_t* key;
    int editId;
    const wchar_t* fallback;
};
const TextSetting textSettings[] = {
    {L"n", lengthsEditId, L"4"},
    {L"minfrequency", minFrequencyEditId, L"2"},
    {L"minvariants", minVariantsEditId, L"2"},
    {L"minrange", minRangeEditId, L"1"},
};

struct CheckSetting {
    const wchar_t* key;
    int checkId;
};
const CheckSetting checkSettings[] = {
    {L"innerslots", innerSlotsCheckId},
    {L"keepcase", keepCaseCheckId},
    {L"joinhyphens", joinHyphensCheckId},
    {L"ngrams", ngramsCheckId},
    {L"stats", statsCheckId},
};

std::wstring readSetting(const wchar_t* key, const std::wstring& fallback)
{
    std::wstring value(32768, L'\0');
    value.resize(GetPrivateProfileStringW(section, key, fallback.c_str(), &value[0],
                                          static_cast<DWORD>(value.size()), makeSettingsPath().c_str()));
    return value;
}

// The profile functions write a new file in the ANSI code page; one that
// starts with the UTF-16 byte-order mark stays UTF-16.
void writeSetting(const wchar_t* key, const std::wstring& value)
{
    const std::wstring path = makeSettingsPath();
    FileHandle created(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                   nullptr));
    if (created.isOpen()) {
        const unsigned char byteOrderMark[2] = {0xFF, 0xFE};
        DWORD written = 0;
        WriteFile(created.handle, byteOrderMark, sizeof byteOrderMark, &written, nullptr);
        created.close();
    }
    WritePrivateProfileStringW(section, key, value.c_str(), path.c_str());
}

int codePageIndex(int codePage)
{
    for (int i = 0; i < static_cast<int>(sizeof outputCodePages / sizeof outputCodePages[0]); ++i)
        if (outputCodePages[i].codePage == codePage)
            return i;
    return -1;
}

} // namespace

std::wstring makeSettingsPath()
{
    return exeFolderWide() + L"CorvaleMakeFrames.cfg";
}

void loadMakeSettings(HWND window)
{
    for (const TextSetting& setting : textSettings)
        SetDlgItemTextW(window, setting.editId, readSetting(setting.key, setting.fallback).c_str());
    for (const CheckSetting& setting : checkSettings)
        CheckDlgButton(window, setting.checkId,
                       readSetting(setting.key, L"0") == L"1" ? BST_CHECKED : BST_UNCHECKED);
    selectCodePage(window, _wtoi(readSetting(L"codepage", L"").c_str()));
}

void selectCodePage(HWND window, int codePage)
{
    int index = codePageIndex(codePage);
    if (index < 0)
        index = codePageIndex(defaultCodePage(GetACP()));
    SendDlgItemMessageW(window, codePageComboId, CB_SETCURSEL, index, 0);
}

void saveMakeSettings(HWND window)
{
    for (const TextSetting& setting : textSettings)
        writeSetting(setting.key, controlText(GetDlgItem(window, setting.editId)));
    for (const CheckSetting& setting : checkSettings)
        writeSetting(setting.key, IsDlgButtonChecked(window, setting.checkId) == BST_CHECKED ? L"1" : L"0");
    LRESULT index = SendDlgItemMessageW(window, codePageComboId, CB_GETCURSEL, 0, 0);
    if (index >= 0 && index < static_cast<LRESULT>(sizeof outputCodePages / sizeof outputCodePages[0]))
        writeSetting(L"codepage", std::to_wstring(outputCodePages[index].codePage));
}

std::wstring lastChosenFolder()
{
    return readSetting(L"lastfolder", L"");
}

void rememberChosenFolder(const std::wstring& folder)
{
    writeSetting(L"lastfolder", folder);
}
