// The console program's system layer on Windows: arguments from the wide
// command line, UTF-16 on the console, console control events.
#include "makeframes/console.h"

#include "common/win/system.h"
#include "common/win/widetext.h"
#include "common/core/codepage.h"
#include "makeframes/core/run.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

namespace {

std::atomic<bool>* cancelFlag = nullptr;
HANDLE cleanedUp = nullptr; // set once the run has removed its files

bool isConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode) != 0;
}

BOOL WINAPI onConsoleControl(DWORD event)
{
    if (cancelFlag == nullptr)
        return FALSE;
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        // A second Ctrl-C goes to the default handler, which ends the process.
        return cancelFlag->exchange(true) ? FALSE : TRUE;
    }
    // The console is closing (or the user logging off): the process ends
    // when this returns, so wait for the run to remove its files, within the
    // few seconds the system allows.
    cancelFlag->store(true);
    WaitForSingleObject(cleanedUp, 4000);
    return TRUE;
}

} // namespace

std::vector<std::string> commandLineArguments(int, char**)
{
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr)
        return args;
    for (int k = 1; k < count; ++k)
        args.push_back(narrowText(wide[k], CP_UTF8));
    LocalFree(wide);
    return args;
}

bool standardErrorIsConsole()
{
    return isConsole(GetStdHandle(STD_ERROR_HANDLE));
}

void writeText(std::FILE* stream, const std::string& text)
{
    const HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (!isConsole(handle)) {
        // Redirected: the UTF-8 bytes as they are.
        std::fwrite(text.data(), 1, text.size(), stream);
        std::fflush(stream);
        return;
    }
    std::fflush(stream);
    const std::wstring wide = wideText(text, CP_UTF8);
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

void watchForInterrupts(std::atomic<bool>& cancel)
{
    cancelFlag = &cancel;
    cleanedUp = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

void interruptHandled()
{
    if (cleanedUp != nullptr)
        SetEvent(cleanedUp);
}

size_t readStandardInput(char* buffer, size_t size, const std::atomic<bool>& cancel)
{
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    const DWORD want = static_cast<DWORD>(std::min<size_t>(size, 1 << 20));
    // A pipe is waited on in short steps, looking at the flag, so that an
    // interruption is not stuck behind a read that never returns.
    if (GetFileType(input) == FILE_TYPE_PIPE) {
        for (;;) {
            if (cancel.load())
                throw MakeCancelled();
            DWORD available = 0;
            if (!PeekNamedPipe(input, nullptr, 0, nullptr, &available, nullptr)) {
                if (GetLastError() == ERROR_BROKEN_PIPE)
                    return 0;
                break; // not a pipe one can peek at: read it plainly
            }
            if (available > 0)
                break;
            Sleep(20);
        }
    }
    DWORD got = 0;
    if (!ReadFile(input, buffer, want, &got, nullptr)) {
        const DWORD error = GetLastError();
        if (cancel.load())
            throw MakeCancelled();
        if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF)
            return 0;
        throw MakeError("cannot read standard input: " + systemErrorText(error));
    }
    if (cancel.load())
        throw MakeCancelled();
    return got;
}

int defaultCodePage()
{
    return defaultCodePage(GetACP());
}

uint64_t physicalMemoryBytes()
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    return GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : 0;
}
