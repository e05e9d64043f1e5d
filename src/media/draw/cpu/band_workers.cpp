#include "media/draw/cpu/band_workers.h"

#include <time.h>

int64_t threadCpuNanos() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

BandWorkers::BandWorkers(int bands) : bandCount(bands < 1 ? 1 : bands) {
    for (int band = 1; band < bandCount; ++band) threads.emplace_back([this] { work(); });
}

BandWorkers::~BandWorkers() {
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    started.notify_all();
    for (std::thread& thread : threads) thread.join();
}

double BandWorkers::takeCpuMs() { return static_cast<double>(cpuNanos.exchange(0)) / 1e6; }

void BandWorkers::runMeasured(const Task& task) {
    const int64_t begun = threadCpuNanos();
    task.job(task.context, task.band);
    cpuNanos.fetch_add(threadCpuNanos() - begun, std::memory_order_relaxed);
}

BandWorkers::Task BandWorkers::take(uint64_t inRound) {
    std::lock_guard<std::mutex> guard(lock);
    if (round != inRound || nextBand >= bandCount) return Task{};
    return Task{currentJob, currentContext, nextBand++};
}

void BandWorkers::finished() {
    std::lock_guard<std::mutex> guard(lock);
    if (--unfinished == 0) ended.notify_one();
}

void BandWorkers::run(Job job, void* context) {
    if (bandCount == 1) return runMeasured(Task{job, context, 0});
    uint64_t thisRound;
    {
        std::lock_guard<std::mutex> guard(lock);
        currentJob = job, currentContext = context;
        nextBand = 0;
        unfinished = bandCount;
        thisRound = ++round;
    }
    started.notify_all();
    for (Task task = take(thisRound); task.band >= 0; task = take(thisRound)) {
        runMeasured(task);
        finished();
    }
    // Only bands already running are left: their threads are awake.
    std::unique_lock<std::mutex> guard(lock);
    ended.wait(guard, [this] { return unfinished == 0; });
}

void BandWorkers::work() {
    uint64_t seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> guard(lock);
            started.wait(guard, [&] { return stopping || round != seen; });
            if (stopping) return;
            seen = round;
        }
        for (Task task = take(seen); task.band >= 0; task = take(seen)) {
            runMeasured(task);
            finished();
        }
    }
}
