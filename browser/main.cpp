#include "browser/main.h"

#include "browser/clipboard.h"
#include "browser/concordancewindow.h"
#include "browser/core/casefold.h"
#include "browser/filechoice.h"
#include "browser/finddialog.h"
#include "browser/framelist.h"
#include "browser/core/layout.h"
#include "browser/loader.h"
#include "browser/memoryguard.h"
#include "browser/core/panetext.h"
#include "browser/richtext.h"
#include "browser/state.h"
#include "browser/variantpane.h"
#include "browser/widedisplay.h"
#include "common/core/cmdline.h"
#include "common/win/dialogs.h"
#include "common/win/prompts.h"

#include <commctrl.h>
#include <richedit.h>

const char* browserCommandLineForTests;

static const char mainCaption[] = "CorvalePhraseFrames Browser beta 13 Oct 06";

static int32_t clampColor(int32_t value)
{
    return value < 0 ? 0 : value > 255 ? 255 : value;
}

static COLORREF composeColor(int32_t red, int32_t green, int32_t blue)
{
    return RGB(clampColor(red), clampColor(green), clampColor(blue));
}

// Pixels per horizontal dialog unit of the default dialog font.
static float measureUnitScaleX()
{
    HWND probe = createDialogWindow(nullptr, "", 0, 0, 300, 200, WS_POPUP, 0, "MS Sans Serif", 8);
    if (!probe)
        return 1.5f;
    RECT rect = dialogUnitsToPixels(probe, 0, 0, 300, 200);
    DestroyWindow(probe);
    return static_cast<float>((10000.0f * rect.right / 300) / 10000);
}

static void finishFrameList()
{
    LPARAM extended = SendMessageA(frameList, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    extended |= LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
    SendMessageA(frameList, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended);

    setListColumns(shownColumnCount(frameMeasures));
}

// The callbacks below start user actions; running out of memory ends the
// action with a box, never the program.
static INT_PTR onHelp(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    runWithMemoryGuard(noMemoryForHelp, [&] { showHelp(window, message, wParam, lParam); });
    return 0;
}

static INT_PTR onOptionButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    runWithMemoryGuard(noMemoryToReorder, [&] { reorderPane(window, message, wParam, lParam); });
    return 0;
}

static void openFile()
{
    runWithMemoryGuard(noMemoryToOpen, openFileCommand);
}

static void buildMenuBar(HWND window)
{
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_STRING, openCommandId, "&Open File");
    AppendMenuA(menu, MF_STRING, exitCommandId, "  &Exit  ");
    AppendMenuA(menu, MF_STRING, findCommandId, "    &Find  ");
    AppendMenuA(menu, MF_STRING, freqsLeftCommandId, " < Freqs &Left ");
    AppendMenuA(menu, MF_STRING, freqsRightCommandId, "  Freqs &Right > ");
    AppendMenuA(menu, MF_STRING, helpCommandId, "  &Help");
    attachCommand(window, exitCommandId, confirmExit);
    attachCommand(window, helpCommandId, onHelp);
    SetMenu(window, menu);
}

// A control of the main window at the place the layout gives its id.
static HWND addPlacedControl(HWND window, int id, const char* className, const char* text, DWORD style,
                             DWORD exStyle = 0)
{
    ControlBox box = mainControlBox(id, unitScaleX, unitScaleY);
    return addControl(window, id, className, text, box.x, box.y, box.width, box.height, style, exStyle);
}

static void createControls(HWND window)
{
    const DWORD child = WS_CHILD | WS_VISIBLE;
    const DWORD optionStyle = child | BS_AUTORADIOBUTTON | BS_PUSHLIKE;
    const DWORD copyStyle = child | WS_TABSTOP | BS_PUSHBUTTON;

    addPlacedControl(window, statusLabelId, "STATIC", "Click \"Open File\" to select a file to display",
                     child | SS_LEFT);
    variantPane = addPlacedControl(window, variantPaneId, "RichEdit", "", variantPaneStyle, variantPaneExStyle);
    // The pane's text is replaced wholesale at every selection; an undo record
    // of thousands of variant lines makes each replacement slow.
    SendMessageA(variantPane, EM_SETUNDOLIMIT, 0, 0);
    // Streamed RTF (search results) is cut at the text limit, 32,767
    // characters unless raised; the pane is handed up to paneTextBound.
    SendMessageA(variantPane, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(paneTextBound));
    // Mouse events come as EN_MSGFILTER: a double-click on a variant line
    // opens its concordance.
    SendMessageA(variantPane, EM_SETEVENTMASK, 0, ENM_MOUSEEVENTS);
    addPlacedControl(window, frameInfoLabelId, "STATIC", "", child | SS_LEFT);
    addPlacedControl(window, alphaButtonId, "BUTTON", "&Alpha", optionStyle);
    addPlacedControl(window, freqButtonId, "BUTTON", "&Freq", optionStyle);
    addPlacedControl(window, copyFrameButtonId, "BUTTON", "&Copy p-frame + vars", copyStyle);
    addPlacedControl(window, copyAllButtonId, "BUTTON", "Copy all as &sorted", copyStyle);
    addPlacedControl(window, concordanceButtonId, "BUTTON", "Co&ncordance", copyStyle);
    frameList = addPlacedControl(window, frameListId, WC_LISTVIEWA, "",
                                 child | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA,
                                 WS_EX_CLIENTEDGE);

    for (int id : {statusLabelId, variantPaneId, frameInfoLabelId, copyFrameButtonId, copyAllButtonId,
                   concordanceButtonId, frameListId})
        setControlBackground(window, id, bgColor);

    attachCommand(window, alphaButtonId, onOptionButton);
    attachCommand(window, freqButtonId, onOptionButton);
    attachCommand(window, copyFrameButtonId, copyFrameWithVariants);
    attachCommand(window, copyAllButtonId, copyAllSorted);
    attachCommand(window, concordanceButtonId, concordanceCommand);
}

HWND createMainWindow()
{
    for (int32_t& flag : sortState)
        flag = 0;
    tabStop = initialTabStop;
    // Find folds letters as the files' bytes are shown: in the ANSI code page.
    useCaseFoldOf(GetACP());
    LoadLibraryA("riched32.dll");
    INITCOMMONCONTROLSEX controls = {8, 0xFF};
    InitCommonControlsEx(&controls);
    bgColor = composeColor(219, 219, 222);
    unitScaleX = measureUnitScaleX();
    unitScaleY = unitScaleYFor(unitScaleX);

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_CENTER |
                        DS_SETFONT | DS_3DLOOK | DS_NOFAILCREATE;
    ControlBox box = mainControlBox(0, unitScaleX, unitScaleY);
    HWND window = createDialogWindow(nullptr, mainCaption, box.x, box.y, box.width, box.height, style, 0,
                                     "MS Sans Serif", 8);
    mainWindow = window;
    setDialogBackground(window, bgColor);
    setDialogFont("Arial", 9);
    createControls(window);
    finishFrameList();
    buildMenuBar(window);
    SetFocus(frameList);
    return window;
}

void startMainWindow(HWND window)
{
    showModelessDialog(window, mainWindowCallback);
}

void buildMainWindow()
{
    runModalDialog(createMainWindow(), mainWindowCallback);
}

std::wstring browserCommandLine()
{
    // The wide command line: the ANSI one has '?' for every character of a
    // dropped file's name that the code page lacks. It is read as UTF-8,
    // whose bytes for blanks and quotes are those of ASCII.
    const std::wstring line = browserCommandLineForTests ? wideText(browserCommandLineForTests) : GetCommandLineW();
    return wideText(browserFileArgument(narrowText(line, CP_UTF8)), CP_UTF8);
}

static void showProgramIcon(HWND window)
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    HANDLE big = LoadImageA(module, "PROGRAM", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                            GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR);
    HANDLE small = LoadImageA(module, "PROGRAM", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                              GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
    if (big)
        SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (small)
        SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

static INT_PTR onInitDialog(HWND window)
{
    runWithMemoryGuard(noMemoryToOpen, [] {
        std::wstring fileName = browserCommandLine();
        if (fileName.empty())
            openFileCommand();
        else
            loadClassifiedFile(fileName);
    });
    showProgramIcon(window);
    findOptions = initialFindOptions;
    return 1;
}

// A double-click on a variant line (after the pane has put its caret there)
// or on a frame row opens the concordance; the high word says which.
static void onDoubleClick(HWND window, bool frameRow)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(concordanceButtonId, frameRow ? 1 : 0), 0);
}

static INT_PTR onNotify(HWND window, LPARAM lParam)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom == variantPaneId && header->code == EN_MSGFILTER &&
        reinterpret_cast<const MSGFILTER*>(lParam)->msg == WM_LBUTTONDBLCLK)
        onDoubleClick(window, false);
    if (header->idFrom != frameListId)
        return 0;
    switch (header->code) {
    case LVN_GETDISPINFOA:
        onGetDispInfo(reinterpret_cast<NMLVDISPINFOA*>(lParam));
        return 0;
    case LVN_GETDISPINFOW:
        onGetDispInfoW(reinterpret_cast<NMLVDISPINFOW*>(lParam));
        return 0;
    case LVN_COLUMNCLICK:
        onColumnClick(reinterpret_cast<const NMLISTVIEW*>(lParam));
        return 0;
    case LVN_ITEMCHANGED:
        onItemChanged(reinterpret_cast<const NMLISTVIEW*>(lParam));
        return 1;
    case NM_DBLCLK:
        onDoubleClick(window, true);
        return 0;
    default:
        return 0;
    }
}

static INT_PTR onCommand(HWND window, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case openCommandId:
        openFile();
        return 1;
    case freqsLeftCommandId:
        stepTabStop(false);
        return 1;
    case freqsRightCommandId:
        stepTabStop(true);
        return 1;
    case findCommandId:
        openFindDialog(window);
        return 1;
    default:
        // Exit has been handled by confirmExit; Esc (IDCANCEL) does nothing.
        return 0;
    }
}

// Hidden first, so the window goes the moment the user closes it: under
// Wine, destroying it (and the X window behind it) can take seconds more.
static void closeMainWindow(HWND window)
{
    ShowWindow(window, SW_HIDE);
    DestroyWindow(window);
}

INT_PTR mainWindowCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog(window);
    case WM_NOTIFY:
        return onNotify(window, lParam);
    case WM_NOTIFYFORMAT:
        return answerNotifyFormat(window);
    case WM_COMMAND:
        return onCommand(window, wParam);
    case WM_CLOSE:
        closeMainWindow(window);
        return 1;
    default:
        return 0;
    }
}

INT_PTR confirmExit(HWND window, UINT, WPARAM, LPARAM)
{
    if (showMessageBox(nullptr, "Are you sure?", "Exit Program?", MB_YESNO | MB_ICONQUESTION) == IDYES)
        closeMainWindow(window);
    return 0;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    buildMainWindow();
    return 0;
}
