#include "makeframes/core/lostletters.h"

#include "common/core/codepage.h"
#include "common/core/numbertext.h"

#include <algorithm>

namespace {

// The code pages in the order they are offered when several keep a corpus.
const int codePagesOffered[] = {1252, 1250, 1251, 1253, 1254, 1257};

// Greek and Cyrillic by their blocks; a Latin letter by the first code page
// that has it, Western European first.
const char* scriptOf(uint32_t letter)
{
    if (letter >= 0x370 && letter < 0x400)
        return "Greek";
    if (letter >= 0x400)
        return "Cyrillic";
    for (int number : {1252, 1250, 1254, 1257})
        if (encodeCharacter(codePage(number), letter) >= 0)
            return codePageScript(number);
    return "Latin";
}

bool keepsAll(const CodePage& page, const std::vector<uint64_t>& lettersRead)
{
    for (uint32_t letter = 0; letter < lettersRead.size(); ++letter)
        if (lettersRead[letter] > 0 && encodeCharacter(page, letter) < 0)
            return false;
    return true;
}

} // namespace

const char* codePageScript(int codePage)
{
    switch (codePage) {
    case 1250: return "Central European Latin";
    case 1251: return "Cyrillic";
    case 1252: return "Western European Latin";
    case 1253: return "Greek";
    case 1254: return "Turkish";
    case 1257: return "Baltic";
    default: return "";
    }
}

LostLetters lostLetters(const std::vector<uint64_t>& lettersRead, int number)
{
    LostLetters lost;
    lost.codePage = number;
    const CodePage& page = codePage(number);
    for (uint32_t letter = 0; letter < lettersRead.size(); ++letter) {
        if (lettersRead[letter] == 0 || encodeCharacter(page, letter) >= 0)
            continue;
        lost.letters += lettersRead[letter];
        const char* script = scriptOf(letter);
        auto found = std::find_if(lost.scripts.begin(), lost.scripts.end(),
                                  [script](const ScriptLetters& s) { return std::string(s.script) == script; });
        if (found == lost.scripts.end())
            lost.scripts.push_back({script, lettersRead[letter]});
        else
            found->letters += lettersRead[letter];
    }
    if (lost.letters == 0)
        return lost;
    std::stable_sort(lost.scripts.begin(), lost.scripts.end(),
                     [](const ScriptLetters& a, const ScriptLetters& b) { return a.letters > b.letters; });
    for (int offered : codePagesOffered)
        if (keepsAll(codePage(offered), lettersRead)) {
            lost.keepingCodePage = offered;
            break;
        }
    return lost;
}

std::string lostLettersFact(const LostLetters& lost)
{
    std::string scripts;
    if (lost.scripts.size() == 1) {
        scripts = lost.scripts.front().script;
    } else {
        for (const ScriptLetters& s : lost.scripts)
            scripts += (scripts.empty() ? "" : ", ") + formatThousands(static_cast<int64_t>(s.letters)) + " " +
                       s.script;
    }
    const bool one = lost.letters == 1;
    return formatThousands(static_cast<int64_t>(lost.letters)) + (one ? " letter" : " letters") +
           " of the corpus (" + scripts + (one ? ") has" : ") have") + " no form in code page " +
           std::to_string(lost.codePage);
}

std::string lostLettersRefusal(const LostLetters& lost)
{
    std::string use = "-codepage utf8";
    if (lost.keepingCodePage != 0)
        use = "-codepage " + std::to_string(lost.keepingCodePage) + " (" + codePageScript(lost.keepingCodePage) +
              ") or " + use;
    return lostLettersFact(lost) + ": nothing was written. Use " + use + ".";
}
