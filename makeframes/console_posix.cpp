// The console program's system layer on Linux.
#include "makeframes/console.h"

#include "makeframes/core/run.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

std::atomic<bool>* cancelFlag = nullptr;

void onSignal(int)
{
    if (cancelFlag != nullptr)
        cancelFlag->store(true);
}

} // namespace

std::vector<std::string> commandLineArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

bool standardErrorIsConsole()
{
    return isatty(2) != 0;
}

void writeText(std::FILE* stream, const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

void watchForInterrupts(std::atomic<bool>& cancel)
{
    static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");
    cancelFlag = &cancel;
    // The first signal stops the run at the next check and cleans up; a
    // second one ends the process at once.
    struct sigaction action {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signalNumber, &action, nullptr);
    // A file size limit then fails the write like a full disk instead of
    // killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
}

void interruptHandled() {}

size_t readStandardInput(char* buffer, size_t size, const std::atomic<bool>& cancel)
{
    for (;;) {
        // A signal that comes just before read() starts must not leave it
        // waiting for a pipe: wait in short steps, looking at the flag.
        pollfd ready{0, POLLIN, 0};
        while (!cancel.load() && ::poll(&ready, 1, 200) == 0)
            ;
        if (cancel.load())
            throw MakeCancelled();
        const ssize_t n = ::read(0, buffer, size);
        if (n >= 0)
            return static_cast<size_t>(n);
        if (errno == EINTR && !cancel.load())
            continue;
        if (cancel.load())
            throw MakeCancelled();
        throw MakeError(std::string("cannot read standard input: ") + std::strerror(errno));
    }
}

int defaultCodePage()
{
    return 1252;
}

uint64_t physicalMemoryBytes()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? uint64_t(pages) * uint64_t(pageSize) : 0;
}

// The sorts' arrays run to gigabytes: backed by huge pages they take a
// fraction of the page faults and of the address-translation misses, which
// were a third of a large run's time. Linux gives them only where asked for.
// Deleting is freeing, said here too so that no other library's delete
// meets this new.
static void* allocate(std::size_t size) noexcept
{
    void* block = std::malloc(size == 0 ? 1 : size);
    const std::size_t hugePage = std::size_t(2) << 20;
    if (block != nullptr && size >= 16 * hugePage) {
        const std::uintptr_t start = (reinterpret_cast<std::uintptr_t>(block) + hugePage - 1) & ~(hugePage - 1);
        const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(block) + size) & ~(hugePage - 1);
        madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    }
    return block;
}

void* operator new(std::size_t size)
{
    void* block = allocate(size);
    if (block == nullptr)
        throw std::bad_alloc();
    return block;
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}
