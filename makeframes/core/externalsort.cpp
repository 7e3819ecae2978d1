#include "makeframes/core/externalsort.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace fs = std::filesystem;

void failFile(const char* what, const fs::path& name)
{
    throw std::runtime_error(std::string("cannot ") + what + " " + name.u8string() + ": " + std::strerror(errno));
}

void failWrite(const char* what, const fs::path& name, uint64_t wanted)
{
    const int error = errno;
    throw std::runtime_error(std::string("cannot ") + what + " " + name.u8string() + ": " +
                             writeFailure(name, error, wanted));
}

Scratch::~Scratch()
{
    std::error_code ignored;
    for (const fs::path& name : created)
        fs::remove(name, ignored);
}

fs::path Scratch::newName()
{
    created.push_back(folder / ("sort" + std::to_string(stem) + "-run" + std::to_string(next++)));
    return created.back();
}

unsigned Scratch::newStem()
{
    static std::atomic<unsigned> taken{0};
    return taken++;
}

OutputFile::OutputFile(const fs::path& fileName) : name(fileName)
{
    file = openFile(name, "wb");
    if (file == nullptr)
        failFile("write", name);
    buffer.reserve(1 << 20);
}

OutputFile::~OutputFile()
{
    if (file != nullptr)
        std::fclose(file);
}

void OutputFile::write(const char* data, size_t size)
{
    buffer.append(data, size);
    written += size;
    if (buffer.size() >= (1 << 20))
        flush();
}

void OutputFile::flush()
{
    if (!buffer.empty() && std::fwrite(buffer.data(), 1, buffer.size(), file) != buffer.size())
        failWrite("write", name, buffer.size());
    buffer.clear();
}

void OutputFile::close()
{
    flush();
    const bool failed = std::fflush(file) != 0 || std::ferror(file) != 0;
    const int closed = std::fclose(file);
    file = nullptr;
    if (failed || closed != 0)
        failWrite("write", name, 1);
}

RecordSource::RecordSource(const fs::path& fileName, uint64_t size, uint64_t memory) : name(fileName)
{
    file = openFile(name, "rb");
    if (file == nullptr)
        failFile("read", name);
    if (size > memory)
        return;
    whole.resize(static_cast<size_t>(size));
    const size_t got = whole.empty() ? 0 : std::fread(&whole[0], 1, whole.size(), file);
    std::fclose(file);
    file = nullptr;
    if (got != whole.size())
        failFile("read", name);
}

RecordSource::~RecordSource()
{
    if (file != nullptr)
        std::fclose(file);
}

void RecordSource::read(uint64_t offset, uint64_t length, std::string& out)
{
    if (file == nullptr) {
        out.assign(whole, static_cast<size_t>(offset), static_cast<size_t>(length));
        return;
    }
    out.resize(static_cast<size_t>(length));
    if (!out.empty() && (!seekFile(file, offset) || std::fread(&out[0], 1, out.size(), file) != out.size()))
        failFile("read", name);
}
