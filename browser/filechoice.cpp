#include "browser/filechoice.h"

#include "browser/core/filekind.h"
#include "browser/loader.h"
#include "browser/main.h"
#include "browser/state.h"
#include "common/core/cmdline.h"
#include "common/win/prompts.h"
#include "common/win/system.h"

#include <vector>

namespace {

// Copies text into a zero-terminated buffer of size characters, cut to fit.
template <class Char>
std::vector<Char> boundedCopy(const std::basic_string<Char>& text, size_t size)
{
    std::vector<Char> buffer(size, Char());
    text.copy(buffer.data(), size - 1);
    return buffer;
}

} // namespace

std::wstring settingsPath()
{
    return exeFolderWide() + L"Corvale.cfg";
}

// The settings file is reached by its wide name, so that a program folder
// named outside the ANSI code page still keeps it; keys and values stay
// ANSI text as they always were.
std::string readSetting(const std::string& key, const std::string& section)
{
    const std::wstring sectionName = wideText(boundedCopy(section, 60).data());
    const std::wstring keyName = wideText(boundedCopy(key, 60).data());
    wchar_t value[1024] = {};
    DWORD length = GetPrivateProfileStringW(sectionName.c_str(), keyName.c_str(), L"", value, 1024,
                                            settingsPath().c_str());
    return std::string(trimBlanks(narrowText(std::wstring(value, length))));
}

Setting settingToWrite(const std::string& key, const std::string& section, const std::string& value)
{
    return {wideText(boundedCopy(section, 60).data()), wideText(boundedCopy(key, 60).data()),
            wideText(boundedCopy(value, 1024).data()), settingsPath()};
}

void writeSetting(const Setting& setting)
{
    WritePrivateProfileStringW(setting.section.c_str(), setting.key.c_str(), setting.value.c_str(),
                               setting.file.c_str());
}

int32_t openFileDialog(HWND owner, const std::string& caption, std::wstring& file,
                       const std::string& initialFolder, const std::string& filter,
                       const std::string& defaultExtension, uint32_t& flags)
{
    std::wstring filterList = wideText(filter);
    for (wchar_t& c : filterList)
        if (c == L'|')
            c = L'\0';
    filterList.append(2, L'\0');

    std::wstring folder = wideText(initialFolder);
    if (folder.empty()) {
        wchar_t current[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, current);
        folder = current;
    }
    std::vector<wchar_t> folderBuffer = boundedCopy(folder, 260);
    std::vector<wchar_t> fileBuffer = boundedCopy(file, 260);
    std::vector<wchar_t> captionBuffer = boundedCopy(wideText(caption), 260);
    std::vector<wchar_t> extensionBuffer = boundedCopy(wideText(defaultExtension), 256);
    std::vector<wchar_t> titleBuffer(260, L'\0');

    OPENFILENAMEW ofn = {};
    // The size every Windows version takes (76 bytes in the 32-bit program);
    // a literal 76 fails the dialog in a 64-bit build.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filterList.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = fileBuffer.data();
    ofn.nMaxFile = 260;
    ofn.lpstrFileTitle = titleBuffer.data();
    ofn.nMaxFileTitle = 260;
    ofn.lpstrInitialDir = folderBuffer.data();
    ofn.lpstrTitle = caption.empty() ? nullptr : captionBuffer.data();
    ofn.Flags = flags;
    ofn.lpstrDefExt = extensionBuffer.data();

    BOOL result = showOpenFileDialogWide(&ofn);
    file = fileBuffer.data();
    flags = ofn.Flags;
    return result;
}

namespace {

// What a file's name told about the order of the data shown.
struct Classification {
    std::string sortDescription;
    int32_t fileIsFreqOrder;
    LRESULT alphaCheck;
    LRESULT freqCheck;
};

Classification currentClassification()
{
    return {sortDescription, fileIsFreqOrder,
            SendDlgItemMessageA(mainWindow, alphaButtonId, BM_GETCHECK, 0, 0),
            SendDlgItemMessageA(mainWindow, freqButtonId, BM_GETCHECK, 0, 0)};
}

// The folder as the settings keep it, in ANSI. A folder named outside the
// ANSI code page is kept by its short name where the system made one (plain
// ASCII), so that the next dialog can start in it.
std::string keptFolder(const std::wstring& folder)
{
    const std::string ansi = narrowText(folder);
    if (wideText(ansi) == folder)
        return ansi;
    wchar_t shortName[MAX_PATH] = {};
    const DWORD length = GetShortPathNameW(folder.c_str(), shortName, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return ansi;
    const std::wstring shortFolder(shortName, length);
    const std::string shortAnsi = narrowText(shortFolder);
    return wideText(shortAnsi) == shortFolder ? shortAnsi : ansi;
}

void applyClassification(Classification& classification)
{
    sortDescription.swap(classification.sortDescription);
    fileIsFreqOrder = classification.fileIsFreqOrder;
    SendDlgItemMessageA(mainWindow, alphaButtonId, BM_SETCHECK, classification.alphaCheck, 0);
    SendDlgItemMessageA(mainWindow, freqButtonId, BM_SETCHECK, classification.freqCheck, 0);
}

// Classifies a chosen file by its name's ending; a name with neither ending
// leaves everything as it is.
void classifyChosenFile(const std::string& name)
{
    FileKind kind = classifyFileName(name);
    if (kind == fileKindUnknown)
        return;
    bool alpha = kind == fileKindAlpha;
    Classification chosen = {sortDescriptionFor(kind), alpha ? 0 : 1, alpha ? BST_CHECKED : BST_UNCHECKED,
                             alpha ? BST_UNCHECKED : BST_CHECKED};
    applyClassification(chosen);
}

} // namespace

bool loadClassifiedFile(const std::wstring& fullName)
{
    // Classified before the load, so that the list's sort state and the first
    // display of the pane see the new file's order. The name is kept in ANSI.
    const std::string ansiName = narrowText(fullName);
    std::string name = ansiName.substr(folderOfChoice(ansiName).size());
    Classification previous = currentClassification();
    classifyChosenFile(name);
    bool loaded = false;
    try {
        loaded = loadPhraseFrameFile(fullName);
    } catch (...) {
        // Out of memory before the load could tell: the caller reports it.
        applyClassification(previous);
        throw;
    }
    if (loaded)
        loadedFileName.swap(name);
    else
        applyClassification(previous);
    return loaded;
}

void openFileCommand()
{
    if (lastPath.empty())
        lastPath = readSetting("lastpath", "Runtime");

    std::wstring chosen;
    uint32_t flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;
    if (!openFileDialog(mainWindow, "Select Phrase Frame file to display . . .", chosen, lastPath,
                        "Phrase Frames Files|*phraseframes.txt|All Files|*.*", "BAS", flags))
        return;

    // The next dialog of this run starts in the chosen folder; the settings
    // keep it for the next run only once a file from it has loaded.
    lastPath = keptFolder(chosen.substr(0, chosen.find_last_of(L"\\/") + 1));
    const Setting keptFolderSetting = settingToWrite("lastpath", "Runtime", lastPath);
    shownIndex = 0;
    if (loadClassifiedFile(chosen))
        writeSetting(keptFolderSetting);
}
