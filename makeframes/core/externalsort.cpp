#include "makeframes/core/externalsort.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <thread>

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

void runTogether(const std::vector<std::function<void()>>& jobs, std::atomic<bool>& failed)
{
    std::mutex guard;
    std::exception_ptr first;
    const auto run = [&](const std::function<void()>& job) {
        try {
            job();
        } catch (const JobsStopped&) {
            // Another job failed; its exception is the one to tell.
        } catch (...) {
            const std::lock_guard<std::mutex> lock(guard);
            if (!first)
                first = std::current_exception();
            failed = true;
        }
    };
    std::vector<std::thread> threads;
    size_t started = 1;
    try {
        for (; started < jobs.size(); ++started)
            threads.emplace_back(run, std::cref(jobs[started]));
    } catch (const std::system_error&) {
    }
    if (!jobs.empty())
        run(jobs[0]);
    for (size_t k = started; k < jobs.size(); ++k)
        run(jobs[k]);
    for (std::thread& thread : threads)
        thread.join();
    if (first)
        std::rethrow_exception(first);
}
