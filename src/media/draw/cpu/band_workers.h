#pragma once
// Threads that compose the bands of a frame together: the calling thread and one waiting
// thread per further band take the bands in turn, so a band whose thread has not woken yet
// (the machine is busy) is taken by a thread that is already running, and the caller never
// sleeps waiting for a worker to start. Nothing is allocated per frame. Each band's CPU time
// is counted, on the thread that ran it: what the compose costs, whatever the threads waited.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

// CPU time the calling thread has used, in nanoseconds.
int64_t threadCpuNanos();

class BandWorkers {
public:
    using Job = void (*)(void* context, int band);

    explicit BandWorkers(int bands);
    ~BandWorkers();
    BandWorkers(const BandWorkers&) = delete;
    BandWorkers& operator=(const BandWorkers&) = delete;

    int bands() const { return bandCount; }
    // Runs job(context, band) for every band, each on one thread; returns when all have ended.
    void run(Job job, void* context);
    // CPU time of the jobs run since the last call, in milliseconds, all bands together.
    double takeCpuMs();

private:
    struct Task {
        Job job = nullptr;
        void* context = nullptr;
        int band = -1;  // -1: no band left in that round
    };
    // The next band of the round `round` not taken yet.
    Task take(uint64_t round);
    void runMeasured(const Task& task);
    void finished();
    void work();

    int bandCount;
    std::mutex lock;
    std::condition_variable started, ended;
    Job currentJob = nullptr;
    void* currentContext = nullptr;
    uint64_t round = 0;  // one more for every run
    int nextBand = 0;    // of this round
    int unfinished = 0;
    bool stopping = false;
    std::atomic<int64_t> cpuNanos{0};
    std::vector<std::thread> threads;
};
