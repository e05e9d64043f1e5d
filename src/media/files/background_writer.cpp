#include "media/files/background_writer.h"

#include <algorithm>
#include <utility>

#include "media/files/writes_under_way.h"

BackgroundWriter::~BackgroundWriter() {
    {
        std::lock_guard guard(lock);
        stopping = true;
    }
    changed.notify_all();
    if (worker.joinable()) worker.join();
}

void BackgroundWriter::queue(const std::string& path, std::vector<uint8_t> bytes, const WriteCalls& calls) {
    if (mode == Mode::Inline) {
        std::string failure = replaceFileWith(path, bytes, calls);
        std::lock_guard guard(lock);
        outcomes.push_back(WriteOutcome{path, std::move(failure)});
        return;
    }
    {
        std::lock_guard guard(lock);
        const auto waiting = std::find_if(jobs.begin(), jobs.end(), [&](const Job& job) { return job.path == path; });
        if (waiting != jobs.end()) {
            waiting->bytes = std::move(bytes);
            waiting->calls = calls;
        } else {
            // Under way from now on: an end of the program waits for the queue as for a write.
            beginWriteUnderWay();
            jobs.push_back(Job{path, std::move(bytes), calls});
        }
        if (!worker.joinable()) worker = std::thread([this] { run(); });
    }
    changed.notify_all();
}

void BackgroundWriter::drain() {
    std::unique_lock guard(lock);
    changed.wait(guard, [this] { return jobs.empty() && !writing; });
}

std::vector<WriteOutcome> BackgroundWriter::takeOutcomes() {
    std::lock_guard guard(lock);
    return std::exchange(outcomes, {});
}

// Runs until stopped with nothing left to write.
void BackgroundWriter::run() {
    std::unique_lock guard(lock);
    for (;;) {
        changed.wait(guard, [this] { return stopping || !jobs.empty(); });
        if (jobs.empty()) return;
        Job job = std::move(jobs.front());
        jobs.pop_front();
        writing = true;
        guard.unlock();
        std::string failure = replaceFileWith(job.path, job.bytes, job.calls);
        endWriteUnderWay();
        guard.lock();
        writing = false;
        outcomes.push_back(WriteOutcome{job.path, std::move(failure)});
        changed.notify_all();
    }
}
