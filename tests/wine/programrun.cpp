#include "programrun.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct WindowSearch {
    DWORD processId;
    const char* caption;
    HWND found;
};

BOOL CALLBACK findCaption(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char caption[128] = {};
    GetWindowTextA(window, caption, sizeof caption);
    if (owner == search->processId && IsWindowVisible(window) &&
        std::strncmp(caption, search->caption, std::strlen(search->caption)) == 0) {
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

HWND findWindow(DWORD processId, const char* caption)
{
    WindowSearch search = {processId, caption, nullptr};
    EnumWindows(findCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForWindow(const PROCESS_INFORMATION& process, const char* caption)
{
    HWND found = nullptr;
    for (int waited = 0; !found && waited < 60000; waited += 100) {
        if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0)
            break;
        found = findWindow(process.dwProcessId, caption);
    }
    return found;
}

bool startProgram(const std::string& exe, std::string commandLine, PROCESS_INFORMATION& process)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process) != FALSE;
}

ProgramRun runBrowserProgram(const std::string& exe, std::string commandLine)
{
    ProgramRun run;
    PROCESS_INFORMATION process = {};
    if (!startProgram(exe, commandLine, process)) {
        ADD_FAILURE() << "CreateProcessA failed: " << GetLastError();
        return run;
    }

    if (HWND mainWindow = waitForWindow(process, browserCaption)) {
        run.windowFound = true;
        run.status = textOf(GetDlgItem(mainWindow, 145));
        run.frameInfo = textOf(GetDlgItem(mainWindow, 144));
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    }
    run.endedInTime = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    if (!run.endedInTime)
        TerminateProcess(process.hProcess, 1);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}
