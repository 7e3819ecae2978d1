// makeframes' frame files against a plain model that keeps every frame's
// text in a map. Byte 0: the length (2 to 5); byte 1: bits 0-1 the minimum
// frequency, bits 2-3 the minimum variants, bits 4-5 the minimum range (each
// less one), bit 6 inner slots only. The rest is the corpus, its files
// separated by byte 1. Both files come out byte for byte as the model writes
// them, with memory to spare and with the smallest bound (which sends all but
// the smallest corpora to sorted runs on disk). The n-gram list is checked
// the same way.
#include "makeframes/core/wordstream.h"
#include "makeframes/core/framebuild.h"

#include "fuzzcheck.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

struct ModelFrame {
    uint64_t frequency = 0;
    std::map<std::string, uint64_t> variants;
    std::set<uint32_t> files;
};

struct Model {
    std::string alpha;
    std::string freq;
    std::string ngramList;
    uint64_t ngrams = 0;
    uint64_t frames = 0;
    uint64_t variants = 0;
};

std::string record(const std::string& frame, const ModelFrame& f,
                   const std::vector<std::pair<std::string, uint64_t>>& variants)
{
    std::string text = frame + "\t" + std::to_string(f.frequency) + "\t" + std::to_string(variants.size()) + "\r\n";
    for (const auto& v : variants)
        text += v.first + "\t" + std::to_string(v.second) + "\r\n";
    return text;
}

Model model(const CorpusReader& corpus, const WordStream& corpusWords, const FrameSettings& settings)
{
    const int n = settings.length;
    std::map<std::string, ModelFrame> frames;
    std::map<std::string, uint64_t> phrases;
    Model out;
    std::vector<std::string> sentence;
    uint32_t file = 0;
    const auto countSentence = [&]() {
        for (size_t start = 0; start + n <= sentence.size(); ++start) {
            ++out.ngrams;
            std::string phrase;
            for (int i = 0; i < n; ++i)
                phrase += (i ? " " : "") + sentence[start + i];
            ++phrases[phrase];
            for (int slot = settings.innerSlotsOnly ? 1 : 0; slot < (settings.innerSlotsOnly ? n - 1 : n); ++slot) {
                std::string frame;
                for (int i = 0; i < n; ++i)
                    frame += (i ? " " : "") + (i == slot ? std::string("*") : sentence[start + i]);
                ModelFrame& f = frames[frame];
                ++f.frequency;
                ++f.variants[phrase];
                f.files.insert(file);
            }
        }
        sentence.clear();
    };
    WordStreamReader reader(corpusWords);
    uint32_t id;
    while (reader.next(id)) {
        if (id == fileStartId || id == sentenceEndId) {
            countSentence();
            file += id == fileStartId;
        } else {
            sentence.push_back(corpus.wordText(id));
        }
    }
    countSentence();

    struct Kept {
        const std::string* frame;
        const ModelFrame* f;
    };
    std::vector<Kept> kept;
    for (const auto& [frame, f] : frames)
        if (f.frequency >= settings.minFrequency && f.variants.size() >= settings.minVariants &&
            f.files.size() >= settings.minRange)
            kept.push_back({&frame, &f});
    for (const Kept& k : kept) {
        out.alpha += (out.frames++ ? "\r\n" : "") +
                     record(*k.frame, *k.f, {k.f->variants.begin(), k.f->variants.end()});
        out.variants += k.f->variants.size();
    }
    std::vector<std::pair<std::string, uint64_t>> listed;
    for (const auto& phrase : phrases)
        if (phrase.second >= settings.minFrequency)
            listed.push_back(phrase);
    std::stable_sort(listed.begin(), listed.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    for (const auto& phrase : listed)
        out.ngramList += phrase.first + "\t" + std::to_string(phrase.second) + "\r\n";
    std::stable_sort(kept.begin(), kept.end(),
                     [](const Kept& a, const Kept& b) { return a.f->frequency > b.f->frequency; });
    for (size_t k = 0; k < kept.size(); ++k) {
        std::vector<std::pair<std::string, uint64_t>> variants(kept[k].f->variants.begin(),
                                                               kept[k].f->variants.end());
        std::stable_sort(variants.begin(), variants.end(),
                         [](const auto& a, const auto& b) { return a.second > b.second; });
        out.freq += (k ? "\r\n" : "") + record(*kept[k].frame, *kept[k].f, variants);
    }
    return out;
}

std::string readAll(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::string& scratchFolder()
{
    static const std::string folder = [] {
        char name[] = "/tmp/fuzz_framebuild_XXXXXX";
        FUZZ_CHECK(mkdtemp(name) != nullptr);
        return std::string(name);
    }();
    static const bool removedAtExit = std::atexit([] { rmdir(scratchFolder().c_str()); }) == 0;
    (void)removedAtExit;
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    FrameSettings settings;
    settings.length = 2 + input.byte() % 4;
    const uint8_t limits = input.byte();
    settings.minFrequency = 1 + (limits & 3);
    settings.minVariants = 1 + ((limits >> 2) & 3);
    settings.minRange = 1 + ((limits >> 4) & 3);
    settings.innerSlotsOnly = (limits & 0x40) != 0;
    settings.scratchFolder = scratchFolder();

    CorpusReader corpus;
    WordStream corpusWords;
    sendIdsTo(corpus, corpusWords);
    while (input.size > 0) {
        const std::string text = input.takeUntil('\x01');
        const TextKind kind = classifyText(text.data(), text.size(), true);
        if (kind == textBinary)
            continue; // skipped, as the tool skips it
        corpus.beginFile(kind);
        corpus.addBytes(text.data(), text.size());
        corpus.endFile();
    }
    corpusWords.finish();
    const RankedWords ranked = rankWords(corpus);
    const Model expected = model(corpus, corpusWords, settings);

    const std::string alphaName = (settings.scratchFolder / "alpha").string();
    const std::string freqName = (settings.scratchFolder / "freq").string();
    const std::string ngramsName = (settings.scratchFolder / "ngrams").string();
    FrameFileNames names;
    names.alpha = alphaName;
    names.freq = freqName;
    names.ngrams = ngramsName;
    // 16 MiB of the bound are set aside for the program itself.
    for (uint64_t memory : {uint64_t(17) << 20, uint64_t(1)}) {
        settings.memoryBytes = memory;
        const FrameCounts counts = writeFrameFiles(corpus, corpusWords, ranked, settings, names);
        FUZZ_CHECK(readAll(alphaName) == expected.alpha);
        FUZZ_CHECK(readAll(ngramsName) == expected.ngramList);
        FUZZ_CHECK(readAll(freqName) == expected.freq);
        FUZZ_CHECK(counts.ngrams == expected.ngrams);
        FUZZ_CHECK(counts.frames == expected.frames);
        FUZZ_CHECK(counts.variants == expected.variants);
    }
    std::remove(alphaName.c_str());
    std::remove(freqName.c_str());
    std::remove(ngramsName.c_str());
    return 0;
}
