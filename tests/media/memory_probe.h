#pragma once
// How much memory a piece of work takes at its peak, measured in a child process so that
// what earlier tests took does not hide it.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>

inline long residentKb() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Peak resident memory of the work minus what the process held before it, in KB.
inline long peakGrowthKb(const std::function<void()>& work) {
    const long before = residentKb();
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return usage.ru_maxrss - before;
}
