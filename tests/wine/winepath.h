// Paths the build passes to the Wine-side tests are Unix paths; Wine maps the
// root to drive Z:.
#pragma once

#include <string>

inline std::string windowsPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}
