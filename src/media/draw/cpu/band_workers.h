#pragma once
// Threads that compose the bands of a frame together: band 0 on the calling thread, each
// other band on a thread of its own that waits between frames. Nothing is allocated per frame.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

class BandWorkers {
public:
    using Job = void (*)(void* context, int band);

    explicit BandWorkers(int bands);
    ~BandWorkers();
    BandWorkers(const BandWorkers&) = delete;
    BandWorkers& operator=(const BandWorkers&) = delete;

    int bands() const { return bandCount; }
    // Runs job(context, band) for every band at once; returns when all have ended.
    void run(Job job, void* context);

private:
    void work(int band);

    int bandCount;
    std::mutex lock;
    std::condition_variable started, ended;
    Job currentJob = nullptr;
    void* currentContext = nullptr;
    uint64_t round = 0;  // one more for every run
    int unfinished = 0;
    bool stopping = false;
    std::vector<std::thread> threads;
};
