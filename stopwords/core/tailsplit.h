// Turning the filter's command tail into the list of file names to filter:
// splitting at blanks (with double quotes around names that hold blanks) and
// expanding the wildcards * and ? against the file system.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Stands for a character of a name that has no exact form in the ANSI code
// page. It is no blank, quote, backslash or wildcard, so the splitting rules
// below treat it as any letter, and no file name can hold it.
const char unhandledCharacterMark = '\x01';

// Converts one character (one UTF-16 unit, or a surrogate pair) to its exact
// ANSI bytes; false when it has none.
typedef std::function<bool(std::u16string_view character, std::string* ansi)> AnsiCharacterConverter;

// The ANSI text of a UTF-16 text, character by character, with the mark in
// place of every character that has no exact ANSI form (and of U+0001).
std::string markedAnsiText(std::u16string_view wide, const AnsiCharacterConverter& convert);

bool hasUnhandledCharacter(const std::string& name);

// The name as a user can read it: '?' in place of each mark.
std::string displayName(const std::string& name);

// Splits the command tail into names. With a double quote in the tail, a
// blank followed by a double quote separates two names and every other
// double quote is dropped; without one, every blank separates two names.
// When the names hold a drive folder ("C:\dir\"), the folder of the last
// name also starts a new name wherever it follows a blank, so dropped files
// whose folder has blanks in it come apart as the file manager meant them.
// Doubled, leading or trailing blanks give empty names.
std::vector<std::string> splitTailIntoNames(const std::string& tail);

// One entry of a directory listing.
struct DirectoryEntry {
    std::string name; // the name alone, without its folder
    bool isDirectory = false;
    bool isHidden = false;
    bool isSystem = false;
};

// Lists the entries matching a search pattern ("C:\dir\*.txt"), in the order
// the file system returns them.
typedef std::function<std::vector<DirectoryEntry>(const std::string& pattern)> DirectoryLister;

// True for an entry that names a plain file: not a directory, not hidden,
// not a system file, and not "." or "..".
bool isOrdinaryFile(const DirectoryEntry& entry);

bool hasWildcard(const std::string& name);

// The pattern actually searched for a name: a name ending in ':' or '\'
// stands for every file of that folder.
std::string searchPatternFor(const std::string& name);

// Expands every name holding * or ? into the plain files it matches, each
// prefixed with the name's folder. The first match takes the name's place;
// further matches go to the end of the list, in directory order. A name
// that matches nothing stays as it is. Names added at the end are not
// expanded again. A name holding the mark is never expanded: its '?' may be
// a character the system could not pass on, not a wildcard.
std::vector<std::string> expandWildcards(const std::vector<std::string>& names,
                                         const DirectoryLister& listDirectory);
