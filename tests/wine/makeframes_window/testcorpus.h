// Corpora for the window's tests: sentences drawn from a small vocabulary
// of content words and stopwords, the same for the same seed, so that many
// frames come back with several variants.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::string corpusText(uint32_t seed, size_t bytes)
{
    static const char* const words[] = {
        "the",   "of",    "and",    "a",     "in",     "harbour", "boats",  "came",  "back",   "early",
        "tide",  "wind",  "gulls",  "grey",  "light",  "morning", "nets",   "were",  "mended", "on",
        "quay",  "cold",  "storm",  "fish",  "market", "sold",    "mackerel", "late", "autumn", "sea"};
    const uint32_t count = sizeof words / sizeof words[0];
    std::string text;
    uint32_t state = seed * 2654435761u + 12345u;
    auto next = [&state](uint32_t bound) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    };
    while (text.size() < bytes) {
        const uint32_t length = 6 + next(8);
        for (uint32_t w = 0; w < length; ++w) {
            // A third of the slots from the first eight words: frames repeat.
            const uint32_t word = next(3) == 0 ? next(8) : next(count);
            text += (w == 0 ? "" : " ");
            text += words[word];
        }
        text += ".\r\n";
    }
    return text;
}

// A folder of `files` texts of about `bytes` each; returns the folder.
inline std::filesystem::path writeCorpus(const std::filesystem::path& folder, int files, size_t bytes)
{
    std::filesystem::create_directories(folder);
    for (int i = 0; i < files; ++i) {
        std::ofstream out(folder / ("text" + std::to_string(100 + i) + ".txt"), std::ios::binary);
        out << corpusText(static_cast<uint32_t>(i + 1), bytes);
    }
    return folder;
}

inline std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return "<missing>";
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The names in a folder, sorted.
inline std::vector<std::wstring> folderListing(const std::filesystem::path& folder)
{
    std::vector<std::wstring> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

// A new empty folder under the system's temporary folder.
inline std::filesystem::path newTempFolder(const wchar_t* stem)
{
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    for (unsigned n = GetTickCount();; ++n) {
        std::filesystem::path folder = std::filesystem::path(temp) / (stem + std::to_wstring(n));
        if (CreateDirectoryW(folder.c_str(), nullptr))
            return folder;
    }
}
