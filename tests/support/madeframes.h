// makeframes' own files for a small text, for the tests of what reads them.
#pragma once
#include "makeframes/core/wordstream.h"
#include "makeframes/core/framebuild.h"
#include "tests/support/scratchfolder.h"

#include <string>

struct MadeFiles {
    std::string alpha;
    std::string freq;
    std::string stats;
};

// makeframes' bigram frames of one input text, with their statistics.
inline MadeFiles makeFrames(const std::string& text)
{
    ScratchFolder scratch;
    CorpusReader corpus;
    WordStream corpusWords;
    sendIdsTo(corpus, corpusWords);
    corpusWords.spillName = scratch.path / "words";
    corpus.beginFile(classifyText(text.data(), text.size(), true));
    corpus.addBytes(text.data(), text.size());
    corpus.endFile();
    corpusWords.finish();
    FrameSettings settings;
    settings.length = 2;
    settings.minFrequency = 1;
    settings.scratchFolder = scratch.path;
    FrameFileNames names;
    names.alpha = scratch.path / "a.txt";
    names.freq = scratch.path / "f.txt";
    names.ngrams = scratch.path / "n.txt";
    names.stats = scratch.path / "s.txt";
    writeFrameFiles(corpus, corpusWords, rankWords(corpus), settings, names);
    return {readAll(names.alpha), readAll(names.freq), readAll(names.stats)};
}

