#include "browser/finddialog.h"

#include "browser/core/casefold.h"
#include "browser/core/framefile.h"
#include "browser/core/findscan.h"
#include "browser/loader.h"
#include "browser/main.h"
#include "browser/memoryguard.h"
#include "browser/panerefill.h"
#include "browser/state.h"
#include "browser/variantpane.h"
#include "browser/widedisplay.h"
#include "common/win/dialogs.h"
#include "common/win/prompts.h"


static WNDPROC savedEditProc;

static const uint32_t matchCaseBit = 8;

static HWND findTextBox()
{
    return GetDlgItem(findWindow, findTextBoxId);
}

static void focusFindText()
{
    HWND box = findTextBox();
    SendMessageA(box, EM_SETSEL, 0, -1);
    SetFocus(box);
}

static void closeFindWindow()
{
    SendMessageA(findWindow, WM_CLOSE, 0, 0);
    DestroyWindow(findWindow);
}

void findNext()
{
    findText = controlFileBytes(findTextBox());
    findText = normaliseFindText(findText);
    if (findText.empty()) {
        showMessageBox(nullptr, "Please enter a string to search for.", "CorvalePhraseFrames", MB_OK | MB_ICONHAND);
        return;
    }
    bool matchCase = (findOptions & matchCaseBit) != 0;
    int32_t start = findStartIndex(selectedIndex, selectionFoundBySearch());
    std::string search = matchCase ? findText : upperCase(findText);
    int32_t found = findFrame(frames, frameCount, start, search, matchCase);
    if (found == 0) {
        const std::string shown = fileShownWide() ? narrowText(shownWide(findText)) : findText;
        showMessageBox(nullptr, notFoundText(shown).c_str(), "CorvalePhraseFrames", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    selectedIndex = found;
    searchFillsPane = true;
    selectRow(found);
    searchFillsPane = false;
    if (letMessageThroughBeforeSearchResult(found)) {
        const std::string& record = frames[found];
        std::string lines = variantLines(record);
        fillPaneWithFrame(found, lines, search, matchCase);
        if (matchLiesBeyondShownPart(record, search, matchCase))
            setFileText(frameInfoLabelId, frameSummary(record) + matchBeyondNote);
    }
    focusFindText();
}

static INT_PTR onFindButton(HWND, UINT, WPARAM, LPARAM)
{
    runWithMemoryGuard(noMemoryToSearch, findNext);
    return 0;
}

static INT_PTR onCloseButton(HWND, UINT, WPARAM, LPARAM)
{
    closeFindWindow();
    return 0;
}

static INT_PTR onFramesOnly(HWND, UINT, WPARAM, LPARAM)
{
    findOptions &= ~3u;
    focusFindText();
    return 0;
}

static INT_PTR onVariantsOnly(HWND, UINT, WPARAM, LPARAM)
{
    findOptions = (findOptions & ~2u) | 1u;
    focusFindText();
    return 0;
}

static INT_PTR onEither(HWND, UINT, WPARAM, LPARAM)
{
    findOptions = (findOptions & ~1u) | 2u;
    focusFindText();
    return 0;
}

static INT_PTR onSubstrings(HWND, UINT, WPARAM, LPARAM)
{
    findOptions ^= 4u;
    focusFindText();
    return 0;
}

static INT_PTR onMatchCase(HWND, UINT, WPARAM, LPARAM)
{
    findOptions ^= matchCaseBit;
    focusFindText();
    return 0;
}

static void createFindControls(HWND window)
{
    const DWORD child = WS_CHILD | WS_VISIBLE;
    addControl(window, searchLabelId, "STATIC", "Search for word or phrase", 6, 2, 188, 10, child | SS_LEFT);
    // A wide box for a file shown wide, so it holds any letter pasted in.
    const DWORD boxStyle = child | ES_AUTOHSCROLL | WS_TABSTOP;
    HWND box = fileShownWide()
                   ? addWideControl(window, findTextBoxId, L"EDIT", shownWide(findText), 6, 12, 154, 12, boxStyle,
                                    WS_EX_CLIENTEDGE)
                   : addControl(window, findTextBoxId, "EDIT", findText.c_str(), 6, 12, 154, 12, boxStyle,
                                WS_EX_CLIENTEDGE);
    SendMessageA(box, EM_SETSEL, 0, -1);
    addControl(window, findButtonId, "BUTTON", "&Find", 126, 68, 35, 11, child | BS_PUSHBUTTON | WS_TABSTOP);
    addControl(window, closeButtonId, "BUTTON", "&Close", 126, 82, 35, 11, child | BS_PUSHBUTTON | WS_TABSTOP);
    addControl(window, searchInLabelId, "STATIC", "Search in...", 8, 28, 160, 10, child | SS_LEFT);
    addControl(window, framesOnlyOptionId, "BUTTON", "&Phrase Frames only", 15, 40, 90, 11,
               child | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP | WS_DISABLED);
    addControl(window, variantsOnlyOptionId, "BUTTON", "&Variant Phrases only", 15, 50, 90, 11,
               child | BS_AUTORADIOBUTTON | WS_DISABLED);
    addControl(window, eitherOptionId, "BUTTON", "&Either", 15, 60, 62, 10, child | BS_AUTORADIOBUTTON | WS_TABSTOP);
    addControl(window, substringsCheckId, "BUTTON", "Match &Substrings", 15, 75, 90, 11,
               child | BS_AUTOCHECKBOX | WS_DISABLED);
    addControl(window, matchCaseCheckId, "BUTTON", "Match C&ase", 15, 85, 90, 11,
               child | BS_AUTOCHECKBOX | WS_TABSTOP);

    SendDlgItemMessageA(window, eitherOptionId, BM_SETCHECK, 1, 0);
    SendDlgItemMessageA(window, substringsCheckId, BM_SETCHECK, 1, 0);
    if (findOptions & matchCaseBit)
        SendDlgItemMessageA(window, matchCaseCheckId, BM_SETCHECK, 1, 0);
    for (int id = searchInLabelId; id <= matchCaseCheckId; ++id)
        setControlBackground(window, id, bgColor);

    attachCommand(window, findButtonId, onFindButton);
    attachCommand(window, closeButtonId, onCloseButton);
    attachCommand(window, framesOnlyOptionId, onFramesOnly);
    attachCommand(window, variantsOnlyOptionId, onVariantsOnly);
    attachCommand(window, eitherOptionId, onEither);
    attachCommand(window, substringsCheckId, onSubstrings);
    attachCommand(window, matchCaseCheckId, onMatchCase);
}

void openFindDialog(HWND owner)
{
    // One Find window at a time: a second one would leave the first acting
    // on a window that no longer exists.
    if (findWindow && IsWindow(findWindow)) {
        ShowWindow(findWindow, SW_SHOW);
        SetActiveWindow(findWindow);
        focusFindText();
        return;
    }
    const DWORD style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK | DS_NOFAILCREATE;
    findWindow = createDialogWindow(owner, "Find Text", 220, -24, 165, 98, style, 0);
    if (!findWindow)
        return;
    setDialogBackground(findWindow, bgColor);
    setDialogFont("Arial", 10);
    createFindControls(findWindow);
    showModelessDialog(findWindow, findDialogCallback);
}

INT_PTR findDialogCallback(HWND window, UINT message, WPARAM, LPARAM)
{
    HWND box = GetDlgItem(window, findTextBoxId);
    if (message == WM_INITDIALOG) {
        // A wide box stays wide: subclassed through the wide call.
        const auto setProc = IsWindowUnicode(box) ? SetWindowLongPtrW : SetWindowLongPtrA;
        savedEditProc = reinterpret_cast<WNDPROC>(setProc(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(findTextBoxProc)));
    } else if (message == WM_DESTROY) {
        findText = controlFileBytes(box);
        (IsWindowUnicode(box) ? SetWindowLongPtrW : SetWindowLongPtrA)(box, GWLP_WNDPROC,
                                                                       reinterpret_cast<LONG_PTR>(savedEditProc));
    }
    return 0;
}

LRESULT CALLBACK findTextBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETDLGCODE)
        return DLGC_WANTALLKEYS;
    if (message == WM_CHAR && wParam == 13) {
        runWithMemoryGuard(noMemoryToSearch, findNext);
        return 0;
    }
    if (message == WM_CHAR && wParam == 27) {
        closeFindWindow();
        return 0;
    }
    if (IsWindowUnicode(window))
        return CallWindowProcW(savedEditProc, window, message, wParam, lParam);
    return CallWindowProcA(savedEditProc, window, message, wParam, lParam);
}
