// Times the browser's concordance of one variant over text files, read as the
// concordance window's worker reads them (1 MB pieces through the core), and
// prints the lines found, the processor seconds taken (on a shared machine
// the clock on the wall says more about the others) and those taken until the
// first line was handed over (-1 without lines).
//
// usage: concordance_bench <frame, slot as *> <slot word> <file>...

#include "browser/core/concordance.h"

#include <cstdio>
#include <ctime>
#include <sstream>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: concordance_bench <frame, slot as *> <slot word> <file>...\n");
        return 2;
    }
    ConcordanceTarget target;
    std::istringstream frame(argv[1]);
    for (std::string word; frame >> word;) {
        if (word == "*")
            target.slot = target.words.size();
        target.words.push_back(word);
    }
    target.slotWords = {argv[2]};
    CorpusRecord record;
    for (int k = 3; k < argc; ++k)
        record.inputs.push_back({argv[k], argv[k], 0, 0});
    const std::clock_t start = std::clock();
    double firstLine = -1;
    ConcordanceScan scan;
    scan.readAroundWords = true;
    startConcordance(scan, record, target);
    for (size_t k = 0; k < record.inputs.size(); ++k) {
        std::FILE* file = std::fopen(record.inputs[k].fullPath.c_str(), "rb");
        if (!file)
            return 1;
        scanConcordanceFile(
            scan, k, [file](char* into, size_t size) { return std::fread(into, 1, size, file); },
            [&] {
                if (firstLine < 0 && scan.found > 0)
                    firstLine = double(std::clock() - start) / CLOCKS_PER_SEC;
                scan.lines.clear(); // as the window takes them
                return false;
            });
        std::fclose(file);
    }
    const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
    std::printf("%llu %.3f %.3f\n", static_cast<unsigned long long>(scan.found), seconds, firstLine);
    return 0;
}
