// What a run asks of the system to keep its output safe, on Linux.
#include "makeframes/outputsafety.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

LockOutcome takeOutputLock(const std::filesystem::path& name, const std::string& holder, OutputLock& lock,
                           std::string& text)
{
    for (;;) {
        const int descriptor = open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (descriptor < 0) {
            text = std::strerror(errno);
            return LockOutcome::failed;
        }
        if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            text.clear();
            if (error == EWOULDBLOCK) {
                char buffer[256];
                const ssize_t got = read(descriptor, buffer, sizeof buffer);
                if (got > 0)
                    text.assign(buffer, static_cast<size_t>(got));
            } else {
                text = std::strerror(error);
            }
            close(descriptor);
            return error == EWOULDBLOCK ? LockOutcome::held : LockOutcome::failed;
        }
        // The holder removes the file as it lets go: a lock on a file no
        // longer under the name holds nothing, so try the name again.
        struct stat locked, named;
        if (fstat(descriptor, &locked) != 0 || stat(name.c_str(), &named) != 0 || locked.st_dev != named.st_dev ||
            locked.st_ino != named.st_ino) {
            close(descriptor);
            continue;
        }
        if (ftruncate(descriptor, 0) != 0 || write(descriptor, holder.data(), holder.size()) != ssize_t(holder.size())) {
            text = std::strerror(errno);
            unlink(name.c_str());
            close(descriptor);
            return LockOutcome::failed;
        }
        lock.handle = descriptor;
        lock.name = name;
        return LockOutcome::taken;
    }
}

void releaseOutputLock(OutputLock& lock)
{
    if (lock.handle < 0)
        return;
    unlink(lock.name.c_str());
    close(static_cast<int>(lock.handle));
    lock.handle = -1;
}

unsigned long currentProcessId()
{
    return static_cast<unsigned long>(getpid());
}

bool flushToDisk(const std::filesystem::path& name)
{
    const int descriptor = open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool flushed = fsync(descriptor) == 0;
    close(descriptor);
    return flushed;
}
