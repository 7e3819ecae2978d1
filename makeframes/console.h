// What the makeframes console program asks of the system: its arguments, the
// console, interruptions and standard input. console_posix.cpp and
// console_win.cpp hold the two versions.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The command-line arguments after the program's name, as UTF-8 on Windows
// (from the wide command line, so no name is lost) and as given on Linux.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Whether standard error is a terminal or console (progress is rewritten in
// place there).
bool standardErrorIsConsole();

// Writes UTF-8 text on standard output or standard error so that a console
// shows every character.
void writeText(std::FILE* stream, const std::string& text);

// From now on an interruption (Ctrl-C, a termination signal, the console
// closed) sets `cancel`; a second Ctrl-C ends the process at once.
void watchForInterrupts(std::atomic<bool>& cancel);

// Called when the run has cleaned up, so that a console being closed may go.
void interruptHandled();

// Reads standard input for the input "-"; see MakeEvents::readStandardInput.
size_t readStandardInput(char* buffer, size_t size, const std::atomic<bool>& cancel);

// The code page the output is in unless -codepage says otherwise.
int defaultCodePage();

// The machine's physical memory in bytes; 0 when the system does not say.
uint64_t physicalMemoryBytes();
