#include "makeframes/core/wordstream.h"

#include "makeframes/core/fileopen.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

// A write of `wanted` bytes failed (at least one when only the open or the
// closing flush failed).
[[noreturn]] void failWrite(const std::filesystem::path& name, uint64_t wanted = 1)
{
    const int error = errno;
    throw std::runtime_error("cannot write temporary file " + name.u8string() + ": " +
                             writeFailure(name, error, wanted));
}

} // namespace

void sendToWordStream(void* stream, uint32_t id, uint64_t, uint64_t)
{
    static_cast<WordStream*>(stream)->add(id);
}

WordStream::~WordStream()
{
    release();
}

void WordStream::add(uint32_t id)
{
    held.push_back(id);
    if (held.size() < memoryLimit || memoryLimit == 0)
        return;
    if (spill == nullptr) {
        spill = openFile(spillName, "wb");
        if (spill == nullptr)
            failWrite(spillName);
    }
    if (std::fwrite(held.data(), sizeof(uint32_t), held.size(), spill) != held.size())
        failWrite(spillName, held.size() * sizeof(uint32_t));
    spilledIds += held.size();
    held.clear();
}

void WordStream::finish()
{
    if (spill == nullptr)
        return;
    if (!held.empty() && std::fwrite(held.data(), sizeof(uint32_t), held.size(), spill) != held.size())
        failWrite(spillName, held.size() * sizeof(uint32_t));
    spilledIds += held.size();
    std::vector<uint32_t>().swap(held);
    if (std::fclose(spill) != 0) {
        spill = nullptr;
        failWrite(spillName);
    }
    spill = nullptr;
}

void WordStream::release()
{
    if (spill != nullptr)
        std::fclose(spill);
    spill = nullptr;
    if (spilledIds > 0) {
        std::error_code ignored;
        std::filesystem::remove(spillName, ignored);
    }
    spilledIds = 0;
    std::vector<uint32_t>().swap(held);
}

WordStreamReader::WordStreamReader(const WordStream& s) : stream(s)
{
    fileIdsLeft = stream.spilledIds;
    if (fileIdsLeft > 0) {
        file = openFile(stream.spillName, "rb");
        if (file == nullptr)
            throw std::runtime_error("cannot read temporary file " + stream.spillName.u8string() + ": " + std::strerror(errno));
    }
}

WordStreamReader::~WordStreamReader()
{
    if (file != nullptr)
        std::fclose(file);
}

bool WordStreamReader::next(uint32_t& id)
{
    if (position < buffer.size()) {
        id = buffer[position++];
        return true;
    }
    if (fileIdsLeft > 0) {
        const size_t want = fileIdsLeft < 65536 ? static_cast<size_t>(fileIdsLeft) : 65536;
        buffer.resize(want);
        if (std::fread(buffer.data(), sizeof(uint32_t), want, file) != want)
            throw std::runtime_error("cannot read temporary file " + stream.spillName.u8string());
        fileIdsLeft -= want;
        position = 1;
        id = buffer[0];
        return true;
    }
    if (heldPosition < stream.held.size()) {
        id = stream.held[heldPosition++];
        return true;
    }
    return false;
}
