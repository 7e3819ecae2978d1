#include "makeframes/window/core/makeform.h"

#include "common/core/numbertext.h"

#include <cstdint>
#include <cstdio>
#include <type_traits>

namespace fs = std::filesystem;

namespace {

const int shortestLength = 2;
const int longestLength = 10;

std::string withoutBlanks(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Digits only, at most `maximum`.
bool readDecimal(const std::string& text, uint64_t maximum, uint64_t& value)
{
    const std::string digits = withoutBlanks(text);
    if (digits.empty() || digits.size() > 12)
        return false;
    uint64_t read = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
        read = read * 10 + static_cast<uint64_t>(c - '0');
    }
    if (read > maximum)
        return false;
    value = read;
    return true;
}

bool readLength(const std::string& text, int& length)
{
    uint64_t value = 0;
    if (!readDecimal(text, longestLength, value) || value < shortestLength)
        return false;
    length = static_cast<int>(value);
    return true;
}

// Below blank; the bytes of UTF-8 (Linux paths) are not.
template <typename Char> bool isControlCharacter(Char c)
{
    return static_cast<typename std::make_unsigned<Char>::type>(c) < 32;
}

// Characters a Windows file name cannot hold, and the separators.
bool isGoodFileName(const fs::path& name)
{
    if (name.empty() || name == "." || name == ".." || name.filename() != name)
        return false;
    for (auto c : name.native())
        if (isControlCharacter(c) || c == '<' || c == '>' || c == ':' || c == '"' || c == '/' || c == '\\' || c == '|' ||
            c == '?' || c == '*')
            return false;
    return true;
}

std::string counted(uint64_t count, const char* one, const char* many)
{
    return formatThousands(static_cast<int64_t>(count)) + " " + (count == 1 ? one : many);
}

} // namespace

const CodePageChoice outputCodePages[7] = {
    {1250, "1250 Central European"}, {1251, "1251 Cyrillic"}, {1252, "1252 Western"},
    {1253, "1253 Greek"},            {1254, "1254 Turkish"},  {1257, "1257 Baltic"},
    {utf8CodePage, "UTF-8 (any script)"},
};

bool readLengthRange(const std::string& text, int& low, int& high)
{
    const size_t dash = text.find('-');
    int first = 0;
    int last = 0;
    if (dash == std::string::npos) {
        if (!readLength(text, first))
            return false;
        last = first;
    } else if (!readLength(text.substr(0, dash), first) || !readLength(text.substr(dash + 1), last) ||
               last < first) {
        return false;
    }
    low = first;
    high = last;
    return true;
}

bool readMinimum(const std::string& text, uint64_t& value)
{
    uint64_t read = 0;
    if (!readDecimal(text, UINT32_MAX, read) || read == 0)
        return false;
    value = read;
    return true;
}

std::string readMakeForm(const MakeForm& form, MakeOptions& options)
{
    if (form.inputs.empty())
        return "Nothing to read yet: add the corpus first (its text files or the folders that hold them).";
    MakeOptions read;
    read.inputs = form.inputs;
    if (!readLengthRange(form.lengths, read.minLength, read.maxLength))
        return "The n-gram length \"" + form.lengths +
               "\" is not one length from 2 to 10 or a range such as 3-5.";
    struct Minimum {
        const std::string& text;
        uint64_t& value;
        const char* what;
    } minimums[] = {{form.minFrequency, read.minFrequency, "minimum frame frequency"},
                    {form.minVariants, read.minVariants, "minimum number of variants"},
                    {form.minRange, read.minRange, "minimum range"}};
    for (const Minimum& minimum : minimums)
        if (!readMinimum(minimum.text, minimum.value))
            return std::string("The ") + minimum.what + " \"" + minimum.text +
                   "\" is not a whole number from 1 to 4,294,967,295.";
    read.innerSlotsOnly = form.innerSlotsOnly;
    if (read.innerSlotsOnly && read.minLength < 3)
        return "Inner slots only needs n-grams of at least 3 words: a 2-word n-gram has no inner slot.";
    read.keepCase = form.keepCase;
    read.joinHyphens = form.joinHyphens;
    read.ngrams = form.ngrams;
    read.stats = form.stats;
    read.utf8 = form.codePage == utf8CodePage;
    read.codePage = read.utf8 ? form.systemCodePage : form.codePage;
    read.refuseLostLetters = !form.codePageChosen;
    if (form.outputFolder.empty())
        return "Choose the output folder.";
    if (!isGoodFileName(form.outputName))
        return "The output name \"" + form.outputName.u8string() +
               "\" cannot be a file name: give a name without \\ / : * ? \" < > |.";
    read.prefix = form.outputFolder / form.outputName;
    options = read;
    return std::string();
}

void suggestOutput(const fs::path& firstInput, bool isFolder, fs::path& folder, fs::path& name)
{
    // "C:\corpus\" names the same folder as "C:\corpus".
    fs::path input = firstInput;
    if (!input.has_filename() && input.has_relative_path())
        input = input.parent_path();
    if (!input.has_relative_path()) {
        folder = input;
        name = "corpus";
        return;
    }
    folder = input.parent_path();
    name = isFolder ? input.filename() : input.stem();
    if (name.empty() || name == ".")
        name = input.filename();
}

std::string resultText(const MakeResult& result, const std::vector<std::string>& warnings)
{
    std::string text = "Read " + counted(result.filesRead, "file", "files");
    if (result.filesSkipped > 0)
        text += " (" + formatThousands(static_cast<int64_t>(result.filesSkipped)) + " skipped)";
    text += ": " + counted(result.words, "word", "words") + " in " +
            counted(result.sentences, "sentence", "sentences") + ".\r\n";
    if (result.unmapped > 0)
        text += counted(result.unmapped, "character", "characters") +
                " had no form in the output code page (written as ?).\r\n";
    text += "Kept " + counted(result.frames, "frame", "frames") + " with " +
            counted(result.variants, "variant", "variants") + ".\r\nWrote:\r\n";
    for (const fs::path& file : result.written)
        text += "  " + file.u8string() + "\r\n";
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", result.seconds);
    text += std::string("Done in ") + seconds + " s.";
    for (const std::string& warning : warnings)
        text += "\r\n" + warning;
    return text;
}

std::string codePageQuestion(const LostLetters& lost)
{
    const std::string text = lostLettersFact(lost) + ": they would be written as ?.\r\n\r\n";
    if (lost.keepingCodePage == 0)
        return text + "Yes: write the files in UTF-8 (any script).\r\nNo: write nothing.";
    return text + "Yes: write the files in code page " + std::to_string(lost.keepingCodePage) + " (" +
           codePageScript(lost.keepingCodePage) + ").\r\nNo: write them in UTF-8 (any script).\r\n"
           "Cancel: write nothing.";
}

std::string replaceQuestion(const std::vector<fs::path>& existing)
{
    std::string text = existing.size() == 1 ? "This file is there already:\r\n"
                                             : "These files are there already:\r\n";
    for (const fs::path& file : existing)
        text += file.u8string() + "\r\n";
    return text + "\r\nReplace " + (existing.size() == 1 ? "it?" : "them?");
}
