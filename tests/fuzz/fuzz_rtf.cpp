// The search-result document of the variant pane. Byte 0: bit 0 match case;
// byte 1: the search's length; then the search, then the text. Braces
// balance, every bold run is closed, and removing the control words gives
// back the text with its NULs as blanks; the bold runs are the matches,
// leftmost first.
#include "browser/core/panetext.h"
#include "browser/core/rtf.h"

#include "fuzzcheck.h"

#include <cstring>
#include <vector>

namespace {

const char documentEnd[] = "\\par }";

// Braces nest properly, ignoring escaped ones.
bool bracesBalanced(const std::string& rtf)
{
    int depth = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
            continue;
        }
        if (rtf[i] == '{')
            ++depth;
        if (rtf[i] == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

struct ReadBack {
    std::string text;               // the body with "\par " read as CR LF
    std::vector<std::string> bold;  // each bold run, "\par " read as CR
};

// Reads the document's body: only the three control words and the three
// escapes may appear, and bold runs must not nest and must all be closed.
ReadBack readBody(const std::string& body)
{
    ReadBack back;
    bool inBold = false;
    for (size_t i = 0; i < body.size();) {
        if (body[i] != '\\') {
            back.text += body[i];
            if (inBold)
                back.bold.back() += body[i];
            ++i;
            continue;
        }
        FUZZ_CHECK(i + 1 < body.size());
        const char next = body[i + 1];
        if (next == '\\' || next == '{' || next == '}') {
            back.text += next;
            if (inBold)
                back.bold.back() += next;
            i += 2;
        } else if (body.compare(i, 5, "\\par ") == 0) {
            back.text += "\r\n";
            if (inBold)
                back.bold.back() += '\r';
            i += 5;
        } else if (body.compare(i, 4, "\\b0 ") == 0) {
            FUZZ_CHECK(inBold);
            inBold = false;
            i += 4;
        } else if (body.compare(i, 3, "\\b ") == 0) {
            FUZZ_CHECK(!inBold);
            inBold = true;
            back.bold.emplace_back();
            i += 3;
        } else {
            FUZZ_CHECK(!"unknown control word in the body");
        }
    }
    FUZZ_CHECK(!inBold);
    return back;
}

// The text as a bold run reads back: the LF of each CR LF pair of the whole
// text is written with its CR, so it is left out.
std::string asBoldReadsBack(const std::string& shown, size_t from, size_t length)
{
    std::string out;
    for (size_t i = from; i < from + length; ++i)
        if (!(shown[i] == '\n' && i > 0 && shown[i - 1] == '\r'))
            out += shown[i];
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    const bool matchCase = (input.byte() & 1) != 0;
    const std::string search = input.take(input.byte());
    const std::string text = input.rest();

    const std::string folded = upperCase(text);
    FUZZ_CHECK(folded.size() == text.size());
    FUZZ_CHECK(upperCase(folded) == folded);

    // Escaped text reads back as the text, NULs as blanks as the pane shows them.
    std::string blanked = text;
    blankNuls(blanked);
    FUZZ_CHECK(readBody(escapeRtf(text)).text == blanked);

    const std::string document = matchesRtf(text, search, matchCase);
    const std::string header = rtfHeader;
    FUZZ_CHECK(document.size() >= header.size() + std::strlen(documentEnd));
    FUZZ_CHECK(document.compare(0, header.size(), header) == 0);
    FUZZ_CHECK(document.compare(document.size() - std::strlen(documentEnd), std::string::npos, documentEnd) == 0);
    FUZZ_CHECK(bracesBalanced(document));

    const std::string body =
        document.substr(header.size(), document.size() - header.size() - std::strlen(documentEnd));
    const ReadBack back = readBody(body);
    std::string shown = text;
    blankNuls(shown);
    FUZZ_CHECK(back.text == shown);

    // The matches, found on the text's own bytes the plain way.
    std::vector<size_t> matches;
    if (!search.empty()) {
        const std::string work = matchCase ? text : upperCase(text);
        const std::string wanted = matchCase ? search : upperCase(search);
        for (size_t at = 0; at + wanted.size() <= work.size();) {
            if (work.compare(at, wanted.size(), wanted) == 0) {
                matches.push_back(at);
                at += wanted.size();
            } else {
                ++at;
            }
        }
    }
    FUZZ_CHECK(back.bold.size() == matches.size());
    for (size_t m = 0; m < matches.size(); ++m)
        FUZZ_CHECK(back.bold[m] == asBoldReadsBack(shown, matches[m], search.size()));
    return 0;
}
