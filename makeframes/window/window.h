// CorvaleMakeFrames: the window that makes phrase-frame files (and n-gram
// lists and statistics) from a corpus, for people who do not use a command
// prompt. One dialog built in memory; the run itself goes on a worker thread.
#pragma once
#include <windows.h>

#include "makeframes/core/run.h"

#include <filesystem>
#include <string>
#include <vector>

// Control identifiers.
enum {
    corpusLabelId = 200,
    corpusListId,
    addFilesButtonId,
    addFolderButtonId,
    removeButtonId,
    lengthsLabelId,
    lengthsEditId,
    lengthsHintId,
    minFrequencyLabelId,
    minFrequencyEditId,
    minVariantsLabelId,
    minVariantsEditId,
    minRangeLabelId,
    minRangeEditId,
    innerSlotsCheckId,
    keepCaseCheckId,
    joinHyphensCheckId,
    ngramsCheckId,
    statsCheckId,
    codePageLabelId,
    codePageComboId,
    outputFolderLabelId,
    outputFolderEditId,
    browseButtonId,
    outputNameLabelId,
    outputNameEditId,
    progressBarId,
    phaseLabelId,
    makeButtonId,
    cancelButtonId,
    resultTextId,
};

// Messages the worker posts to the window.
enum {
    runProgressMessage = WM_APP + 1, // a new phase text or fraction is waiting
    runEndedMessage = WM_APP + 2,    // the worker has finished; join it
};

const char makeWindowCaption[] = "CorvaleMakeFrames - phrase frames from your corpus";
const wchar_t makeProgramName[] = L"CorvaleMakeFrames";

extern HWND makeWindow;

// The hidden window with its controls, its settings read from the INI file.
HWND createMakeWindow();
// Hands the window to makeWindowCallback (WM_INITDIALOG reads the command
// line) and shows it; returns at once.
void startMakeWindow(HWND window);
INT_PTR makeWindowCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The names the program was started with (dropped on its icon); tests set
// makeCommandLineForTests to stand in for GetCommandLineW.
std::vector<std::wstring> commandLineNames();
extern const wchar_t* makeCommandLineForTests;

// The corpus: adds names not yet listed (files and folders alike), in order.
void addToCorpus(const std::vector<std::filesystem::path>& names);
const std::vector<std::filesystem::path>& corpusNames();

// True while a run's worker thread is alive.
bool makeRunning();

// The settings file beside the program, and its values.
std::wstring makeSettingsPath();
void loadMakeSettings(HWND window);
void saveMakeSettings(HWND window);
// The code page list: selects one (the system's when it is not listed).
void selectCodePage(HWND window, int codePage);
// The user chose the code page since the corpus last changed; until then
// the system's is offered, and a corpus it cannot write raises a question.
extern bool makeCodePageChosen;
std::wstring lastChosenFolder();
void rememberChosenFolder(const std::wstring& folder);

// The run: started from the window's fields (after the checks), and what
// the window does with the worker's messages.
void startMakeRun(HWND window);
// Starts the worker on options already checked and agreed to.
void launchRun(HWND window, const MakeOptions& options);
void cancelMakeRun();
// Cancels a run and waits for its worker: for a window that goes without
// being closed (the worker must not outlive it).
void endMakeRunNow();
void onRunProgress(HWND window);
void onRunEnded(HWND window);

// Helpers shared by the window's files.
std::wstring controlText(HWND control);
std::wstring wideFromUtf8(const std::string& text);
// Turns the controls a run must not see changed on or off.
void enableFields(HWND window, bool enable);
