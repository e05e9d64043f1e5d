#pragma once
// How much memory a piece of work takes at its peak, measured in a child process so that
// what earlier tests took does not hide it; and how many bytes it reads from files.

#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <string>

// Resident memory of this process now, in KB.
inline long residentKb() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Bytes this process read from files (and pipes) while the work ran.
inline uint64_t bytesRead(const std::function<void()>& work) {
    const auto readSoFar = [] {
        std::ifstream io("/proc/self/io");
        std::string key;
        uint64_t value = 0;
        while (io >> key >> value)
            if (key == "rchar:") return value;
        return uint64_t{0};
    };
    const uint64_t before = readSoFar();
    work();
    return readSoFar() - before;
}

// The most this process has held resident, in KB.
inline long peakResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string field;
    long kb = 0;
    while (status >> field)
        if (field == "VmHWM:" && status >> kb) return kb;
    return 0;
}

// Peak resident memory of the work minus what was resident before it, in KB (a failed test
// when the child cannot report). Both ends are read in the child: a forked child starts without
// the parent's file-backed pages, so the parent's own figure would be the wrong base, and
// the more so the more earlier tests of the same process have loaded and freed.
inline long peakGrowthKb(const std::function<void()>& work) {
    int channel[2];
    if (pipe(channel) != 0) {
        ADD_FAILURE() << "no pipe to the measuring child";
        return -1;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        // Heap that earlier tests freed is still resident: handed out again it would not show.
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
        const long before = residentKb();
        work();
        const long growth = peakResidentKb() - before;
        const bool sent = write(channel[1], &growth, sizeof growth) == static_cast<ssize_t>(sizeof growth);
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    long growth = -1;
    if (read(channel[0], &growth, sizeof growth) != static_cast<ssize_t>(sizeof growth))
        ADD_FAILURE() << "the measuring child did not report";
    close(channel[0]);
    waitpid(child, nullptr, 0);
    return growth;
}
