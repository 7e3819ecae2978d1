// What the window's fields say, read and checked without the platform: the
// options of one run, the output it suggests for a corpus, the code pages it
// offers and the text it shows when a run has ended. Texts are UTF-8.
#pragma once
#include "common/core/codepage.h"
#include "makeframes/core/run.h"

#include <filesystem>
#include <string>
#include <vector>

// The window's fields as the user left them.
struct MakeForm {
    std::vector<std::filesystem::path> inputs;
    std::string lengths = "4";      // "4" or a range "3-5"
    std::string minFrequency = "2";
    std::string minVariants = "2";
    std::string minRange = "1";
    bool innerSlotsOnly = false;
    bool keepCase = false;
    bool joinHyphens = false;
    bool ngrams = false;
    bool stats = false;
    int codePage = 1252;           // or utf8CodePage
    bool codePageChosen = false;   // by the user, since the corpus last changed
    int systemCodePage = 1252;     // reads 8-bit input when the output is UTF-8
    std::filesystem::path outputFolder;
    std::filesystem::path outputName;
};

// Fills options from the form. Returns what is wrong, for the user, or an
// empty text when the form is good. options.prefix is the folder joined with
// the name, as given (the caller makes the folder absolute first).
std::string readMakeForm(const MakeForm& form, MakeOptions& options);

// "4" gives 4..4, "3-5" gives 3..5 (blanks around the numbers allowed);
// lengths 2 to 10. False for anything else.
bool readLengthRange(const std::string& text, int& low, int& high);

// A whole decimal number from 1 to 4,294,967,295, blanks around allowed.
bool readMinimum(const std::string& text, uint64_t& value);

// The output code pages on offer, in the order of the list.
struct CodePageChoice {
    int codePage;
    const char* label;
};
// Windows' number for UTF-8, the list's "UTF-8 (any script)".
const int utf8CodePage = 65001;
extern const CodePageChoice outputCodePages[7];


// Where the output goes when the user has not said: the folder that holds
// the first input, and a name after it (a file's name without its ending, a
// folder's name; "corpus" for the root of a drive).
void suggestOutput(const std::filesystem::path& firstInput, bool isFolder, std::filesystem::path& folder,
                   std::filesystem::path& name);

// What a finished run wrote, in lines for the window: words read, frames
// kept, each file with its full name, the time; then the inputs skipped.
std::string resultText(const MakeResult& result, const std::vector<std::string>& warnings);

// The question asked when the corpus holds letters the code page the user
// did not choose lacks: Yes for the code page that keeps them and No for
// UTF-8 (with Cancel), or Yes for UTF-8 when no code page keeps them all.
std::string codePageQuestion(const LostLetters& lost);

// The question asked before files of an earlier run are replaced.
std::string replaceQuestion(const std::vector<std::filesystem::path>& existing);
