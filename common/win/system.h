// What the programs ask of the system in more than one place: the
// executable's folder, the sentence for an error code, the memory free, and
// a whole file read into memory.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

// The folder of the running executable with its final backslash, in the ANSI
// code page (empty when the system gives no path). A folder named with
// characters outside that code page comes back with '?' in their place: code
// that must open files there uses exeFolderWide.
std::string exeFolder();
std::wstring exeFolderWide();

// The system's text for an error code exactly as the system gives it (it
// usually ends in CR LF); empty when the system has none.
std::string systemMessage(DWORD error);

// The same as a sentence for a message box: without its line end, and
// "Error N." when the system has no text.
std::string systemErrorText(DWORD error);

// Physical memory free now. The 32-bit programs see at most 4 GB - 1 (all
// they can address); the 64-bit build sees the true figure.
uint64_t availablePhysicalMemory();

// The largest block of text this process may still allocate: the smallest of
// a string's own bound, the free address space and the free commit charge.
uint64_t allocatableMemory();

// Reads size bytes of an open file into content, in pieces a single ReadFile
// can take. Throws std::length_error when size is more than a string can hold
// on this build, std::bad_alloc when memory runs out. Returns the error code
// of a failed read (content then empty), 0 when none; a file that became
// shorter since its size was taken gives what it still has.
DWORD readWholeFile(HANDLE file, uint64_t size, std::string& content);
