// The stopword set: the system's "Scripting.Dictionary" object reached
// through its dual interface, the five functions the executable exports to
// wrap it, and the loader of the stopword list.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include "stopwords/core/textencoding.h"

#include <functional>
#include <string>
#include <string_view>

// The dictionary object; null until dictInit succeeds and after dictRelease.
extern IDispatch* dictObject;
// The status of the last IDICTIONARY_* call; 0 means success.
extern HRESULT dictResult;

// Exported by name (ordinals 1 to 5 in this alphabetical order), standard
// call convention, VARIANT arguments passed by value as the whole structure.
// Each calls one method of the dictionary's dual interface by its slot and
// stores the method's status in dictResult. None checks the object pointer.
extern "C" {
// The message text of a status code, as 8-bit text in a BSTR made with
// SysAllocStringByteLen (length by SysStringByteLen); the caller frees it
// with SysFreeString.
BSTR __stdcall DICOBJERROR(DWORD status);
void __stdcall IDICTIONARY_ADD(IDispatch* object, VARIANT key, VARIANT item);
// -1 when the key is present, 0 when it is not.
LONG __stdcall IDICTIONARY_EXISTS(IDispatch* object, VARIANT key);
void __stdcall IDICTIONARY_GETITEM(IDispatch* object, VARIANT key, VARIANT* item);
void __stdcall IDICTIONARY_PUTITEM(IDispatch* object, VARIANT key, VARIANT item);
}

// DICOBJERROR as a plain string.
std::string dicObjErrorText(DWORD status);

// Creates the dictionary object into dictObject, releasing any held before.
// Shows the reason and returns false when it cannot be created.
bool dictInit();

// Whether the word, in the encoding of the text it comes from, is in the
// set. Keys are the words converted to UTF-16 (from the ANSI code page, or
// from UTF-8 with U+FFFD for each bad byte) and compared exactly (case
// matters), so a word meets its stopword whichever encoding either is
// written in; byte 0 is kept as a character of its own, so "the<NUL>cat" is
// not "the".
bool dictExists(std::string_view word, TextEncoding encoding = TextEncoding::ansi);

// Adds the word with the value as its item unless the word is present.
void dictAddL(std::string_view word, LONG value, TextEncoding encoding = TextEncoding::ansi);

// Releases the object and clears dictObject.
void dictRelease();

// Called with the entries read so far about once a second while a list
// loads (a list of a million entries takes minutes).
typedef std::function<void(LONG entriesSoFar)> LoadProgress;

enum class StopwordListLoad {
    loaded,
    unreadable, // with the system's error code
    utf16       // UTF-16 text: nothing was added
};

// Fills the set from the stopword list file, read as UTF-8 when it starts
// with the UTF-8 mark and as ANSI text otherwise. Unreadable, with the
// system's error code, when the file cannot be opened or read, or
// (ERROR_NOT_ENOUGH_MEMORY) when it cannot be held in memory.
StopwordListLoad loadStopwordList(const std::wstring& path, LONG* entriesRead, DWORD* errorCode,
                                  const LoadProgress& progress = nullptr);
