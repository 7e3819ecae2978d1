#include "makeframes/core/fileopen.h"

#include <climits>
#include <string>

std::FILE* openFile(const std::filesystem::path& name, const char* mode)
{
#ifdef _WIN32
    // Windows' fopen takes names in the ANSI code page only.
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(name.c_str(), wideMode.c_str());
#else
    return std::fopen(name.c_str(), mode);
#endif
}

bool seekFile(std::FILE* file, uint64_t offset)
{
#ifdef _WIN32
    return _fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
#else
    if (offset > static_cast<uint64_t>(LONG_MAX))
        return false;
    return std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0;
#endif
}
