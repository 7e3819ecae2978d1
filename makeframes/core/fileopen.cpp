#include "makeframes/core/fileopen.h"

#include <cerrno>
#include <cstring>

std::string writeFailure(const std::filesystem::path& name, int error, uint64_t wanted)
{
    if (error == ENOSPC || freeSpaceBelow(name, wanted))
        return "the disk is full";
    return std::strerror(error);
}
