// Runs a command and prints its wall-clock time in seconds and its peak
// resident memory in kilobytes: "<seconds> <kilobytes>".
//
// usage: filter_measure <program> [arguments...]

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <program> [arguments...]\n", argv[0]);
        return 2;
    }
    auto started = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        std::perror(argv[1]);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) < 0) {
        std::perror("filter_measure");
        return 1;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%.3f %ld\n", seconds, static_cast<long>(usage.ru_maxrss));
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
