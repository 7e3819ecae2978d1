#include "makeframes/window/window.h"

#include "common/win/dialogs.h"
#include "common/win/holders.h"
#include "common/win/prompts.h"
#include "makeframes/window/core/makeform.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <utility>

namespace fs = std::filesystem;

HWND makeWindow;
const wchar_t* makeCommandLineForTests;
bool makeCodePageChosen;

namespace {

// The browser's background, so the tools look like one set.
const COLORREF bgColor = RGB(219, 219, 222);

// The corpus as listed, and the first input the output fields were last
// filled in for.
std::vector<fs::path> corpus;
fs::path outputSuggestedFor;

const DWORD child = WS_CHILD | WS_VISIBLE;

void addLabel(HWND window, int id, const char* text, int x, int y, int width)
{
    addControl(window, id, "STATIC", text, x, y + 2, width, 9, child | SS_LEFT);
}

void addNumberField(HWND window, int labelId, const char* label, int editId, int y)
{
    addLabel(window, labelId, label, 7, y, 90);
    addControl(window, editId, "EDIT", "", 100, y, 40, 12, child | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
}

void addCheckBox(HWND window, int id, const char* text, int y)
{
    addControl(window, id, "BUTTON", text, 160, y, 143, 12, child | WS_TABSTOP | BS_AUTOCHECKBOX);
}

void addButton(HWND window, int id, const char* text, int x, int y, int width, DWORD kind = BS_PUSHBUTTON)
{
    addControl(window, id, "BUTTON", text, x, y, width, 14, child | WS_TABSTOP | kind);
}

void createControls(HWND window)
{
    addLabel(window, corpusLabelId, "Corpus: the text files and folders to read (add them here, or drop them on "
                                    "this window)", 7, 4, 296);
    addWideControl(window, corpusListId, L"LISTBOX", L"", 7, 17, 234, 62,
                   child | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL |
                       LBS_NOINTEGRALHEIGHT,
                   WS_EX_CLIENTEDGE);
    addButton(window, addFilesButtonId, "Add &files...", 247, 17, 56);
    addButton(window, addFolderButtonId, "Add f&older...", 247, 34, 56);
    addButton(window, removeButtonId, "&Remove", 247, 51, 56);

    addNumberField(window, lengthsLabelId, "&n-gram length (n):", lengthsEditId, 86);
    addNumberField(window, minFrequencyLabelId, "Minimum frame fre&quency:", minFrequencyEditId, 102);
    addNumberField(window, minVariantsLabelId, "Minimum &variants:", minVariantsEditId, 118);
    addNumberField(window, minRangeLabelId, "Minimum ran&ge (files):", minRangeEditId, 134);
    addCheckBox(window, innerSlotsCheckId, "&Inner slots only", 86);
    addCheckBox(window, keepCaseCheckId, "&Keep case", 102);
    addCheckBox(window, ngramsCheckId, "Write n-gram &lists", 118);
    addCheckBox(window, statsCheckId, "Write &statistics", 134);
    addCheckBox(window, joinHyphensCheckId, "&Join hyphenated words (so-called)", 150);
    addLabel(window, lengthsHintId, "n: one length, or a range such as 3-5", 7, 148, 150);

    addLabel(window, codePageLabelId, "Output code &page:", 7, 178, 90);
    HWND codePages = addControl(window, codePageComboId, "COMBOBOX", "", 100, 178, 110, 100,
                                child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
    for (const CodePageChoice& choice : outputCodePages)
        SendMessageA(codePages, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.label));

    addLabel(window, outputFolderLabelId, "Output fol&der:", 7, 195, 90);
    addWideControl(window, outputFolderEditId, L"EDIT", L"", 100, 195, 145, 12,
                   child | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    addButton(window, browseButtonId, "&Browse...", 249, 194, 54);
    addLabel(window, outputNameLabelId, "Output n&ame:", 7, 211, 90);
    addWideControl(window, outputNameEditId, L"EDIT", L"", 100, 211, 145, 12,
                   child | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);

    addControl(window, progressBarId, PROGRESS_CLASSA, "", 7, 230, 296, 10, child);
    SendDlgItemMessageA(window, progressBarId, PBM_SETRANGE32, 0, 1000);
    addControl(window, phaseLabelId, "STATIC", "", 7, 243, 296, 9, child | SS_LEFT | SS_ENDELLIPSIS);
    addButton(window, makeButtonId, "&Make", 7, 256, 60, BS_DEFPUSHBUTTON);
    addButton(window, cancelButtonId, "Cancel", 73, 256, 60);
    EnableWindow(GetDlgItem(window, cancelButtonId), FALSE);
    addWideControl(window, resultTextId, L"EDIT", L"", 7, 275, 296, 64,
                   child | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL |
                       ES_AUTOHSCROLL,
                   WS_EX_CLIENTEDGE);

    for (int id : {corpusLabelId, lengthsLabelId, lengthsHintId, minFrequencyLabelId, minVariantsLabelId,
                   minRangeLabelId, innerSlotsCheckId, keepCaseCheckId, ngramsCheckId, statsCheckId,
                   joinHyphensCheckId, codePageLabelId, outputFolderLabelId, outputNameLabelId, phaseLabelId, resultTextId})
        setControlBackground(window, id, bgColor);
}

bool isFolder(const fs::path& name)
{
    DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The output goes beside the first input, named after it. The folder and the
// name each follow it until the user types or chooses one of their own (the
// edit control's modified flag): a folder chosen does not fix the name.
void suggestOutputForCorpus(HWND window)
{
    if (corpus.empty() || corpus.front() == outputSuggestedFor)
        return;
    fs::path folder, name;
    suggestOutput(corpus.front(), isFolder(corpus.front()), folder, name);
    const std::pair<int, const fs::path*> suggested[] = {{outputFolderEditId, &folder}, {outputNameEditId, &name}};
    for (const auto& field : suggested) {
        HWND edit = GetDlgItem(window, field.first);
        if (!SendMessageW(edit, EM_GETMODIFY, 0, 0))
            SetWindowTextW(edit, field.second->c_str());
    }
    outputSuggestedFor = corpus.front();
}

void showCorpus(HWND window)
{
    HWND list = GetDlgItem(window, corpusListId);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    WindowDC dc(list);
    SelectedObject font(dc.dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (const fs::path& name : corpus) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        SIZE size = {};
        GetTextExtentPoint32W(dc.dc, name.c_str(), static_cast<int>(name.native().size()), &size);
        widest = std::max(widest, size.cx);
    }
    // Long paths can be scrolled to.
    SendMessageW(list, LB_SETHORIZONTALEXTENT, widest + 8, 0);
    suggestOutputForCorpus(window);
}

// "Add files...": any number of files from one folder.
void addFiles(HWND window)
{
    std::vector<wchar_t> buffer(65536, L'\0');
    std::wstring startFolder = lastChosenFolder();
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = window;
    ofn.lpstrFilter = L"Text files (*.txt)\0*.txt\0All files\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size() - 1);
    ofn.lpstrInitialDir = startFolder.empty() ? nullptr : startFolder.c_str();
    ofn.lpstrTitle = L"Add text files to the corpus";
    ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_LONGNAMES;
    if (!showOpenFileDialogWide(&ofn))
        return;
    // One file: its full name. Several: the folder, then each name, each
    // ended by a NUL, the list by two.
    std::vector<fs::path> chosen;
    const wchar_t* at = buffer.data();
    fs::path folder = at;
    for (at += folder.native().size() + 1; *at; at += wcslen(at) + 1)
        chosen.push_back(folder / at);
    if (chosen.empty()) {
        chosen.push_back(folder);
        folder = folder.parent_path();
    }
    rememberChosenFolder(folder.native());
    addToCorpus(chosen);
}

void addFolder(HWND window)
{
    std::wstring folder = lastChosenFolder();
    if (!showFolderDialog(window, L"Add a folder to the corpus (its text files, and those of its folders)",
                          folder))
        return;
    rememberChosenFolder(folder);
    addToCorpus({fs::path(folder)});
}

// A code page remembered from another corpus must not hide the system's:
// a new corpus is offered the system's again.
void offerSystemCodePage(HWND window)
{
    selectCodePage(window, defaultCodePage(GetACP()));
    makeCodePageChosen = false;
}

void removeSelected(HWND window)
{
    HWND list = GetDlgItem(window, corpusListId);
    const size_t listed = corpus.size();
    for (int item = static_cast<int>(corpus.size()) - 1; item >= 0; --item)
        if (SendMessageW(list, LB_GETSEL, item, 0) > 0)
            corpus.erase(corpus.begin() + item);
    if (corpus.size() != listed)
        offerSystemCodePage(window);
    showCorpus(window);
}

void chooseOutputFolder(HWND window)
{
    std::wstring folder = controlText(GetDlgItem(window, outputFolderEditId));
    if (folder.empty())
        folder = lastChosenFolder();
    if (!showFolderDialog(window, L"The folder to write the output files in", folder))
        return;
    HWND edit = GetDlgItem(window, outputFolderEditId);
    SetWindowTextW(edit, folder.c_str());
    // A folder the user chose is theirs: later inputs do not move it.
    SendMessageW(edit, EM_SETMODIFY, TRUE, 0);
}

void showProgramIcon(HWND window)
{
    HINSTANCE module = GetModuleHandleW(nullptr);
    HANDLE big = LoadImageW(module, L"PROGRAM", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                            GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR);
    HANDLE small = LoadImageW(module, L"PROGRAM", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                              GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
    if (big)
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (small)
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

INT_PTR onInitDialog(HWND window)
{
    showProgramIcon(window);
    DragAcceptFiles(window, TRUE);
    std::vector<fs::path> names;
    for (const std::wstring& name : commandLineNames())
        names.push_back(name);
    addToCorpus(names);
    SetFocus(GetDlgItem(window, corpus.empty() ? addFilesButtonId : makeButtonId));
    return 0;
}

void onDropFiles(HWND window, HDROP drop)
{
    std::vector<fs::path> names;
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        name.resize(DragQueryFileW(drop, i, &name[0], static_cast<UINT>(name.size())));
        names.push_back(name);
    }
    DragFinish(drop);
    // A drop while a run goes on waits for the next one; the list stays as
    // the run took it.
    if (!makeRunning())
        addToCorpus(names);
    SetForegroundWindow(window);
}

INT_PTR onCommand(HWND window, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case addFilesButtonId:
        addFiles(window);
        return 1;
    case addFolderButtonId:
        addFolder(window);
        return 1;
    case removeButtonId:
        removeSelected(window);
        return 1;
    case browseButtonId:
        chooseOutputFolder(window);
        return 1;
    case codePageComboId:
        if (HIWORD(wParam) == CBN_SELCHANGE)
            makeCodePageChosen = true;
        return 1;
    case makeButtonId:
    case IDOK: // Enter
        if (!makeRunning())
            startMakeRun(window);
        return 1;
    case cancelButtonId:
    case IDCANCEL: // Esc
        cancelMakeRun();
        return 1;
    default:
        return 0;
    }
}

// Closing during a run cancels it; the window goes when the worker has
// cleaned up (the next runEndedMessage).
bool closeWhenRunEnds = false;

INT_PTR onClose(HWND window)
{
    if (makeRunning()) {
        closeWhenRunEnds = true;
        cancelMakeRun();
        return 1;
    }
    saveMakeSettings(window);
    DestroyWindow(window);
    return 1;
}

} // namespace

std::vector<std::wstring> commandLineNames()
{
    const wchar_t* line = makeCommandLineForTests ? makeCommandLineForTests : GetCommandLineW();
    std::vector<std::wstring> names;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(line, &count);
    if (!arguments)
        return names;
    for (int i = 1; i < count; ++i)
        if (arguments[i][0] != L'\0')
            names.push_back(arguments[i]);
    LocalFree(arguments);
    return names;
}

// A name typed at a command prompt may be relative to its current folder;
// the list shows, and the report names, full paths.
fs::path fullPathOf(const fs::path& name)
{
    std::wstring full(32768, L'\0');
    DWORD length = GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    if (length == 0 || length >= full.size())
        return name;
    full.resize(length);
    return full;
}

void addToCorpus(const std::vector<fs::path>& names)
{
    const size_t listed = corpus.size();
    for (const fs::path& name : names) {
        const fs::path full = fullPathOf(name);
        if (std::find(corpus.begin(), corpus.end(), full) == corpus.end())
            corpus.push_back(full);
    }
    if (!makeWindow)
        return;
    if (corpus.size() != listed)
        offerSystemCodePage(makeWindow);
    showCorpus(makeWindow);
}

const std::vector<fs::path>& corpusNames()
{
    return corpus;
}

std::wstring controlText(HWND control)
{
    std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
    text.resize(GetWindowTextW(control, &text[0], static_cast<int>(text.size())));
    return text;
}

std::wstring wideFromUtf8(const std::string& text)
{
    // Text that is not UTF-8 is taken as the ANSI code page's.
    UINT codePage = CP_UTF8;
    int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0);
    if (length == 0 && !text.empty()) {
        codePage = CP_ACP;
        length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    }
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

void enableFields(HWND window, bool enable)
{
    for (int id : {corpusListId, addFilesButtonId, addFolderButtonId, removeButtonId, lengthsEditId,
                   minFrequencyEditId, minVariantsEditId, minRangeEditId, innerSlotsCheckId, keepCaseCheckId,
                   ngramsCheckId, statsCheckId, joinHyphensCheckId, codePageComboId, outputFolderEditId, browseButtonId,
                   outputNameEditId})
        EnableWindow(GetDlgItem(window, id), enable);
    EnableWindow(GetDlgItem(window, makeButtonId), enable);
    EnableWindow(GetDlgItem(window, cancelButtonId), !enable);
}

HWND createMakeWindow()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_CENTER |
                        DS_SETFONT | DS_3DLOOK | DS_NOFAILCREATE;
    HWND window = createDialogWindow(nullptr, makeWindowCaption, 0, 0, 310, 344, style, 0, "MS Sans Serif", 8);
    makeWindow = window;
    corpus.clear();
    outputSuggestedFor.clear();
    closeWhenRunEnds = false;
    makeCodePageChosen = false;
    setDialogBackground(window, bgColor);
    createControls(window);
    loadMakeSettings(window);
    return window;
}

void startMakeWindow(HWND window)
{
    showModelessDialog(window, makeWindowCallback);
}

INT_PTR makeWindowCallback(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog(window);
    case WM_COMMAND:
        return onCommand(window, wParam);
    case WM_DROPFILES:
        onDropFiles(window, reinterpret_cast<HDROP>(wParam));
        return 1;
    case runProgressMessage:
        onRunProgress(window);
        return 1;
    case runEndedMessage:
        onRunEnded(window);
        if (closeWhenRunEnds)
            onClose(window);
        return 1;
    case WM_CLOSE:
        return onClose(window);
    case WM_DESTROY:
        endMakeRunNow();
        if (window == makeWindow)
            makeWindow = nullptr;
        return 0;
    default:
        return 0;
    }
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // The folder chooser needs COM on this thread.
    ComInitialized com;
    runModalDialog(createMakeWindow(), makeWindowCallback);
    return 0;
}
