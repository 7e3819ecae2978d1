// A temporary folder of a native test's own, removed with all it holds, and
// a whole file read back as bytes.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

struct ScratchFolder {
    std::filesystem::path path;
    ScratchFolder()
    {
        std::string name = (std::filesystem::temp_directory_path() / "corvale_test_XXXXXX").string();
        path = mkdtemp(&name[0]);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    // The full name of a file in the folder.
    std::string operator/(const std::string& name) const { return (path / name).string(); }
};

inline std::string readAll(const std::filesystem::path& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
