#include "programrun.h"

#include <gtest/gtest.h>

namespace {

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findProgramWindow(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof caption);
    if (owner == search->processId && IsWindowVisible(window) &&
        lstrcmpA(caption, "CorvalePhraseFrames Browser beta 13 Oct 06") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::string textOf(HWND window)
{
    char text[512] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

} // namespace

ProgramRun runBrowserProgram(const std::string& exe, std::string commandLine)
{
    ProgramRun run;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        ADD_FAILURE() << "CreateProcessA failed: " << GetLastError();
        return run;
    }

    WindowSearch search = {process.dwProcessId, nullptr};
    for (int waited = 0; !search.found && waited < 60000; waited += 100) {
        if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0)
            break;
        EnumWindows(findProgramWindow, reinterpret_cast<LPARAM>(&search));
    }
    if (search.found) {
        run.windowFound = true;
        run.status = textOf(GetDlgItem(search.found, 145));
        run.frameInfo = textOf(GetDlgItem(search.found, 144));
        PostMessageA(search.found, WM_CLOSE, 0, 0);
    }
    run.endedInTime = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    if (!run.endedInTime)
        TerminateProcess(process.hProcess, 1);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}
