#include "common/core/corpusformat.h"

#include "common/core/text.h"

#include <initializer_list>

namespace {

const char signature[] = "makeframes corpus";
const char layoutVersion[] = "1";

// A field as written: the bytes that would end it or its line become "?".
std::string field(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c == '\t' || c == '\r' || c == '\n')
            c = '?';
    return out;
}

void appendLine(std::string& text, std::initializer_list<std::string> fields)
{
    bool first = true;
    for (const std::string& f : fields) {
        if (!first)
            text += '\t';
        text += f;
        first = false;
    }
    text += "\r\n";
}

bool readCount(std::string_view digits, uint64_t& value)
{
    int64_t read = 0;
    if (!readDecimalDigits(digits, read))
        return false;
    value = static_cast<uint64_t>(read);
    return true;
}

std::vector<std::string_view> splitTabs(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

std::string lineProblem(size_t line, const std::string& what)
{
    return "it is not a corpus record as makeframes writes it: line " + std::to_string(line) + " " + what;
}

} // namespace

std::string writeCorpusText(const CorpusRecord& record)
{
    std::string text;
    appendLine(text, {signature, layoutVersion});
    appendLine(text, {"code page", std::to_string(record.codePage)});
    for (const CorpusOption& option : record.options)
        appendLine(text, {"option", field(option.name), field(option.value)});
    for (const CorpusInput& input : record.inputs)
        appendLine(text, {"file", std::to_string(input.words), std::to_string(input.sentences), field(input.fullPath),
                          field(input.givenName)});
    appendLine(text, {"total", std::to_string(record.inputs.size()), std::to_string(record.words),
                      std::to_string(record.sentences)});
    return text;
}

std::string readCorpusText(std::string_view text, CorpusRecord& record)
{
    record = CorpusRecord();
    const std::string header = std::string(signature) + '\t';
    if (text.substr(0, header.size()) != header) {
        if (std::string_view(header).substr(0, text.size()) == text)
            return "it is cut short: it ends within its first line";
        return "it is not a corpus record as makeframes writes it: its first line is not \"" +
               std::string(signature) + "\", a TAB and the version of its layout";
    }
    bool codePageSeen = false;
    bool totalSeen = false;
    uint64_t words = 0;
    uint64_t sentences = 0;
    size_t line = 0;
    for (size_t at = 0; at < text.size();) {
        ++line;
        const size_t end = text.find("\r\n", at);
        if (end == std::string_view::npos)
            return "it is cut short: its line " + std::to_string(line) + " has no line end";
        const std::string_view lineText = text.substr(at, end - at);
        at = end + 2;
        if (lineText.find_first_of("\r\n") != std::string_view::npos)
            return lineProblem(line, "holds a lone CR or LF");
        const std::vector<std::string_view> fields = splitTabs(lineText);
        const std::string_view kind = fields[0];
        if (totalSeen)
            return lineProblem(line, "follows the total line");
        if (line == 1) {
            if (fields.size() != 2 || fields[1] != layoutVersion)
                return "it was written by another version of makeframes (layout \"" +
                       std::string(lineText.substr(header.size())) + "\"; this one reads layout " + layoutVersion +
                       ")";
            continue;
        }
        if (kind == "code page") {
            uint64_t page = 0;
            if (codePageSeen || fields.size() != 2 || !readCount(fields[1], page) || page > 65535)
                return lineProblem(line, "is not the one code page line (\"code page\", a TAB, a number)");
            record.codePage = static_cast<int>(page);
            codePageSeen = true;
        } else if (kind == "option") {
            if (fields.size() != 3)
                return lineProblem(line, "has " + std::to_string(fields.size()) + " fields instead of 3");
            record.options.push_back({std::string(fields[1]), std::string(fields[2])});
        } else if (kind == "file") {
            CorpusInput input;
            if (fields.size() != 5)
                return lineProblem(line, "has " + std::to_string(fields.size()) + " fields instead of 5");
            if (!readCount(fields[1], input.words) || !readCount(fields[2], input.sentences))
                return lineProblem(line, "does not give the file's words and sentences as numbers");
            input.fullPath = fields[3];
            input.givenName = fields[4];
            words += input.words;
            sentences += input.sentences;
            record.inputs.push_back(std::move(input));
        } else if (kind == "total") {
            uint64_t files = 0;
            if (fields.size() != 4 || !readCount(fields[1], files) || !readCount(fields[2], record.words) ||
                !readCount(fields[3], record.sentences))
                return lineProblem(line, "is not a total line (\"total\" and three numbers)");
            if (files != record.inputs.size() || record.words != words || record.sentences != sentences)
                return lineProblem(line, "gives totals that are not those of the file lines");
            totalSeen = true;
        } else {
            return lineProblem(line, "begins with \"" + std::string(kind) +
                                         "\", which is none of code page, option, file and total");
        }
    }
    if (!totalSeen)
        return "it is cut short: it has no total line";
    if (!codePageSeen)
        return "it is not a corpus record as makeframes writes it: it has no code page line";
    return std::string();
}
