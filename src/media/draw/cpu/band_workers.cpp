#include "media/draw/cpu/band_workers.h"

BandWorkers::BandWorkers(int bands) : bandCount(bands < 1 ? 1 : bands) {
    for (int band = 1; band < bandCount; ++band) threads.emplace_back([this, band] { work(band); });
}

BandWorkers::~BandWorkers() {
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    started.notify_all();
    for (std::thread& thread : threads) thread.join();
}

void BandWorkers::run(Job job, void* context) {
    if (bandCount > 1) {
        std::lock_guard<std::mutex> guard(lock);
        currentJob = job, currentContext = context;
        unfinished = bandCount - 1;
        round += 1;
    }
    started.notify_all();
    job(context, 0);
    if (bandCount == 1) return;
    std::unique_lock<std::mutex> guard(lock);
    ended.wait(guard, [this] { return unfinished == 0; });
}

void BandWorkers::work(int band) {
    uint64_t seen = 0;
    for (;;) {
        Job job;
        void* context;
        {
            std::unique_lock<std::mutex> guard(lock);
            started.wait(guard, [&] { return stopping || round != seen; });
            if (stopping) return;
            seen = round;
            job = currentJob, context = currentContext;
        }
        job(context, band);
        std::lock_guard<std::mutex> guard(lock);
        if (--unfinished == 0) ended.notify_one();
    }
}
