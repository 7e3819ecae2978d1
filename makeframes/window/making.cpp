// One run of the core from the window: the checks before it, the worker
// thread, and what the window shows while and after it runs. The worker
// never touches a control: it posts messages, and the window reads what the
// worker left in runState.
#include "makeframes/window/window.h"

#include "common/win/filehandle.h"
#include "common/win/prompts.h"
#include "common/win/widetext.h"
#include "common/win/system.h"
#include "makeframes/core/run.h"
#include "makeframes/core/timeleft.h"
#include "makeframes/window/core/makeform.h"

#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <new>
#include <thread>

namespace fs = std::filesystem;

namespace {

enum class RunEnd { finished, failed, cancelled };

struct RunState {
    std::thread worker;
    std::atomic<bool> cancel{false};
    // The latest progress, and whether a message about it is on its way.
    std::mutex progressLock;
    std::string phase;
    double fraction = 0;
    std::atomic<bool> progressPosted{false};
    // Written by the worker, read by the window after the worker has ended.
    RunEnd end = RunEnd::finished;
    MakeOptions options;
    MakeResult result;
    std::string failure;
    LostLetters lost; // a refused code page: letters > 0
    std::vector<std::string> warnings;
};
RunState runState;

void tell(HWND window, const std::wstring& text, UINT icon)
{
    showMessageBoxWide(window, text, makeProgramName, MB_OK | icon);
}

MakeForm readForm(HWND window)
{
    MakeForm form;
    form.inputs = corpusNames();
    form.lengths = narrowText(controlText(GetDlgItem(window, lengthsEditId)), CP_UTF8);
    form.minFrequency = narrowText(controlText(GetDlgItem(window, minFrequencyEditId)), CP_UTF8);
    form.minVariants = narrowText(controlText(GetDlgItem(window, minVariantsEditId)), CP_UTF8);
    form.minRange = narrowText(controlText(GetDlgItem(window, minRangeEditId)), CP_UTF8);
    form.innerSlotsOnly = IsDlgButtonChecked(window, innerSlotsCheckId) == BST_CHECKED;
    form.keepCase = IsDlgButtonChecked(window, keepCaseCheckId) == BST_CHECKED;
    form.joinHyphens = IsDlgButtonChecked(window, joinHyphensCheckId) == BST_CHECKED;
    form.ngrams = IsDlgButtonChecked(window, ngramsCheckId) == BST_CHECKED;
    form.stats = IsDlgButtonChecked(window, statsCheckId) == BST_CHECKED;
    LRESULT index = SendDlgItemMessageW(window, codePageComboId, CB_GETCURSEL, 0, 0);
    const LRESULT offered = sizeof outputCodePages / sizeof outputCodePages[0];
    form.codePage = index >= 0 && index < offered ? outputCodePages[index].codePage : 1252;
    form.codePageChosen = makeCodePageChosen;
    form.systemCodePage = defaultCodePage(GetACP());
    // The files' full names are what the window reports.
    std::wstring folder = controlText(GetDlgItem(window, outputFolderEditId));
    if (!folder.empty()) {
        std::wstring full(32768, L'\0');
        DWORD length = GetFullPathNameW(folder.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
        if (length > 0 && length < full.size())
            folder.assign(full, 0, length);
    }
    form.outputFolder = folder;
    form.outputName = controlText(GetDlgItem(window, outputNameEditId));
    return form;
}

// A file can be made in the folder: tried with a file that goes when closed.
bool folderTakesFiles(HWND window, const fs::path& folder)
{
    DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        tell(window, L"The output folder\r\n" + folder.native() + L"\r\ndoes not exist. Choose another one.",
             MB_ICONEXCLAMATION);
        return false;
    }
    const fs::path probe =
        folder / (L".CorvaleMakeFrames-" + std::to_wstring(GetCurrentProcessId()) + L".tmp");
    FileHandle file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!file.isOpen()) {
        tell(window, L"Cannot write in the output folder\r\n" + folder.native() + L"\r\n" +
                         wideFromUtf8(systemErrorText(GetLastError())) + L"\r\nChoose another folder.",
             MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

// Files of an earlier run are replaced, or removed when the run writes no
// file of their kind, only when the user says so.
bool mayReplaceOutputs(HWND window, const MakeOptions& options)
{
    std::vector<fs::path> names = outputNames(options);
    const std::vector<fs::path> companions = companionNames(options);
    names.insert(names.end(), companions.begin(), companions.end());
    std::vector<fs::path> existing;
    for (const fs::path& name : names)
        if (GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES)
            existing.push_back(name);
    if (existing.empty())
        return true;
    return showMessageBoxWide(window, wideFromUtf8(replaceQuestion(existing)), makeProgramName,
                              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void runWorker(HWND window, MakeOptions options)
{
    MakeEvents events;
    const auto started = std::chrono::steady_clock::now();
    PhaseClock phaseClock;
    events.progress = [window, started, &phaseClock](const std::string& phase, double fraction) {
        const std::string left = timeLeftText(
            phaseClock, phase, fraction, std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
        {
            std::lock_guard<std::mutex> hold(runState.progressLock);
            runState.phase = left.empty() ? phase : phase + ", " + left;
            runState.fraction = fraction;
        }
        // One message at a time on the queue, however often the core calls.
        if (!runState.progressPosted.exchange(true))
            PostMessageW(window, runProgressMessage, 0, 0);
    };
    events.warning = [](const std::string& line) { runState.warnings.push_back(line); };
    try {
        runState.result = runMakeFrames(options, events, runState.cancel);
        runState.end = RunEnd::finished;
    } catch (const MakeCancelled&) {
        runState.end = RunEnd::cancelled;
    } catch (const LettersLost& refused) {
        runState.end = RunEnd::failed;
        runState.lost = refused.lost;
        runState.failure = lostLettersFact(refused.lost);
    } catch (const std::bad_alloc&) {
        runState.end = RunEnd::failed;
        runState.failure = "There was not enough memory for this corpus. Close other programs, or make fewer "
                           "lengths at a time, and try again.";
    } catch (const std::exception& error) {
        runState.end = RunEnd::failed;
        runState.failure = error.what();
    }
    PostMessageW(window, runEndedMessage, 0, 0);
}

// The corpus holds letters the code page the user did not choose lacks: the
// user picks the code page that keeps them, or UTF-8, and the run goes again
// with it; true when it does.
bool runAgainInCodePageChosen(HWND window)
{
    const LostLetters& lost = runState.lost;
    const int answer = showMessageBoxWide(window, wideFromUtf8(codePageQuestion(lost)), makeProgramName,
                                          (lost.keepingCodePage != 0 ? MB_YESNOCANCEL : MB_YESNO) | MB_ICONQUESTION);
    int chosen = 0;
    if (answer == IDYES)
        chosen = lost.keepingCodePage != 0 ? lost.keepingCodePage : utf8CodePage;
    else if (answer == IDNO && lost.keepingCodePage != 0)
        chosen = utf8CodePage;
    if (chosen == 0)
        return false;
    selectCodePage(window, chosen);
    makeCodePageChosen = true;
    MakeOptions options = runState.options;
    options.utf8 = chosen == utf8CodePage;
    if (!options.utf8)
        options.codePage = chosen;
    options.refuseLostLetters = false;
    launchRun(window, options);
    return true;
}

void showPhase(HWND window, const std::wstring& phase, double fraction)
{
    SetDlgItemTextW(window, phaseLabelId, phase.c_str());
    if (fraction < 0)
        fraction = 0;
    if (fraction > 1)
        fraction = 1;
    SendDlgItemMessageW(window, progressBarId, PBM_SETPOS, static_cast<WPARAM>(fraction * 1000 + 0.5), 0);
}

} // namespace

bool makeRunning()
{
    return runState.worker.joinable();
}

void startMakeRun(HWND window)
{
    MakeOptions options;
    const MakeForm form = readForm(window);
    const std::string problem = readMakeForm(form, options);
    if (!problem.empty()) {
        tell(window, wideFromUtf8(problem), MB_ICONEXCLAMATION);
        return;
    }
    if (!folderTakesFiles(window, form.outputFolder) || !mayReplaceOutputs(window, options))
        return;
    saveMakeSettings(window);
    launchRun(window, options);
}

void launchRun(HWND window, const MakeOptions& options)
{
    enableFields(window, false);
    SetDlgItemTextW(window, resultTextId, L"");
    showPhase(window, L"Starting...", 0);
    runState.cancel = false;
    runState.progressPosted = false;
    runState.result = MakeResult();
    runState.failure.clear();
    runState.lost = LostLetters();
    runState.warnings.clear();
    runState.options = options;
    runState.worker = std::thread(runWorker, window, options);
}

void cancelMakeRun()
{
    if (!makeRunning())
        return;
    runState.cancel = true;
    SetDlgItemTextW(makeWindow, phaseLabelId, L"Cancelling...");
}

void endMakeRunNow()
{
    if (!makeRunning())
        return;
    runState.cancel = true;
    runState.worker.join();
}

void onRunProgress(HWND window)
{
    std::string phase;
    double fraction = 0;
    {
        std::lock_guard<std::mutex> hold(runState.progressLock);
        phase = runState.phase;
        fraction = runState.fraction;
    }
    runState.progressPosted = false;
    // A cancel already asked for stays said until the worker stops.
    if (makeRunning() && !runState.cancel)
        showPhase(window, wideFromUtf8(phase), fraction);
}

void onRunEnded(HWND window)
{
    if (!makeRunning())
        return;
    runState.worker.join();
    enableFields(window, true);
    if (runState.end == RunEnd::failed && runState.lost.letters > 0 && runAgainInCodePageChosen(window))
        return;
    switch (runState.end) {
    case RunEnd::finished:
        showPhase(window, L"Finished.", 1);
        SetDlgItemTextW(window, resultTextId, wideFromUtf8(resultText(runState.result, runState.warnings)).c_str());
        break;
    case RunEnd::cancelled:
        showPhase(window, L"Cancelled: no file was written.", 0);
        break;
    case RunEnd::failed: {
        std::string failure = runState.failure;
        if (!failure.empty() && failure.back() != '.')
            failure += '.';
        const std::wstring said = L"Nothing was written: " + wideFromUtf8(failure);
        showPhase(window, L"Stopped: no file was written.", 0);
        SetDlgItemTextW(window, resultTextId, said.c_str());
        if (runState.lost.letters == 0) // else the user has just answered about them
            tell(window, said, MB_ICONEXCLAMATION);
        break;
    }
    }
}
