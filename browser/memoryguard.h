// Running a user's action so that running out of memory ends the action, not
// the program: the action's own code leaves the state as it was before it
// (or as a finished part of it left it), and the user is told what could not
// be done.
#pragma once
#include <new>
#include <stdexcept>

// Shows text (what could not be done for lack of memory) in a box titled
// "CorvalePhraseFrames", MB_OK | MB_ICONEXCLAMATION. Needs no memory itself.
void reportNoMemory(const char* text);

// Runs action(); when it throws std::bad_alloc or std::length_error (a text
// longer than a string can be on this build), shows noMemoryText and
// returns false.
template <class Action>
bool runWithMemoryGuard(const char* noMemoryText, Action&& action)
{
    try {
        action();
        return true;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    reportNoMemory(noMemoryText);
    return false;
}

// What each action says when memory runs out.
extern const char noMemoryToOpen[];
extern const char noMemoryToShow[];
extern const char noMemoryToReorder[];
extern const char noMemoryToSort[];
extern const char noMemoryToSearch[];
extern const char noMemoryToCopy[];
extern const char noMemoryForHelp[];
