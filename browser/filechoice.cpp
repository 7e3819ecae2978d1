#include "browser/filechoice.h"

#include "browser/core/filekind.h"
#include "browser/loader.h"
#include "browser/main.h"
#include "browser/core/state.h"
#include "common/core/cmdline.h"
#include "common/win/prompts.h"
#include "common/win/system.h"

#include <vector>

namespace {

// Copies text into a zero-terminated buffer of size bytes, cut to fit.
std::vector<char> boundedCopy(const std::string& text, size_t size)
{
    std::vector<char> buffer(size, '\0');
    text.copy(buffer.data(), size - 1);
    return buffer;
}

} // namespace

std::string settingsPath()
{
    return (exeFolder() + "Corvale.cfg").substr(0, 1023);
}

std::string readSetting(const std::string& key, const std::string& section)
{
    std::vector<char> sectionBuffer = boundedCopy(section, 60);
    std::vector<char> keyBuffer = boundedCopy(key, 60);
    char value[1024] = {};
    DWORD length = GetPrivateProfileStringA(sectionBuffer.data(), keyBuffer.data(), "", value, sizeof value,
                                            settingsPath().c_str());
    return std::string(trimBlanks(std::string_view(value, length)));
}

void writeSetting(const std::string& key, const std::string& section, const std::string& value)
{
    std::vector<char> sectionBuffer = boundedCopy(section, 60);
    std::vector<char> keyBuffer = boundedCopy(key, 60);
    std::vector<char> valueBuffer = boundedCopy(value, 1024);
    WritePrivateProfileStringA(sectionBuffer.data(), keyBuffer.data(), valueBuffer.data(), settingsPath().c_str());
}

int32_t openFileDialog(HWND owner, const std::string& caption, std::string& file,
                       const std::string& initialFolder, const std::string& filter,
                       const std::string& defaultExtension, uint32_t& flags)
{
    std::string filterList = filter;
    for (char& c : filterList)
        if (c == '|')
            c = '\0';
    filterList.append(2, '\0');

    std::string folder = initialFolder;
    if (folder.empty()) {
        char current[MAX_PATH] = {};
        GetCurrentDirectoryA(sizeof current, current);
        folder = current;
    }
    std::vector<char> folderBuffer = boundedCopy(folder, 260);
    std::vector<char> fileBuffer = boundedCopy(file, 260);
    std::vector<char> captionBuffer = boundedCopy(caption, 260);
    std::vector<char> extensionBuffer = boundedCopy(defaultExtension, 256);
    std::vector<char> titleBuffer(260, '\0');

    OPENFILENAMEA ofn = {};
    // The size every Windows version takes (76 bytes in the 32-bit program);
    // a literal 76 fails the dialog in a 64-bit build.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
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

    BOOL result = showOpenFileDialog(&ofn);
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

void openFileCommand()
{
    if (lastPath.empty())
        lastPath = readSetting("lastpath", "Runtime");

    std::string chosen;
    uint32_t flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;
    if (!openFileDialog(mainWindow, "Select Phrase Frame file to display . . .", chosen, lastPath,
                        "Phrase Frames Files|*phraseframes.txt|All Files|*.*", "BAS", flags))
        return;

    std::string folder = folderOfChoice(chosen);
    std::string name = chosen.substr(folder.size());
    Classification previous = currentClassification();
    lastPath.swap(folder);
    writeSetting("lastpath", "Runtime", lastPath);
    shownIndex = 0;

    // Classified before the load, so that the list's sort state and the first
    // display of the pane see the new file's order. A load that did not
    // replace the data leaves the shown file's name and classification.
    classifyChosenFile(name);
    if (loadPhraseFrameFile(chosen))
        loadedFileName.swap(name);
    else
        applyClassification(previous);
}
