#pragma once
// Files replaced off the caller's thread. Syncing a small file to the disk takes about a
// millisecond on a quiet disk but can take a hundred or more while the disk is busy: more
// than a frame. The writer takes the bytes at once and writes them safely (safe_replace.h)
// on a thread of its own; what became of each write is collected for the caller.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "media/files/file_types.h"
#include "media/files/safe_replace.h"

class BackgroundWriter {
public:
    // Inline writes at once on the caller's thread (tests that want every frame alike).
    enum class Mode { OwnThread, Inline };
    explicit BackgroundWriter(Mode mode = Mode::OwnThread) : mode(mode) {}
    // Finishes every queued write first.
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // Only before the first write.
    void setMode(Mode newMode) { mode = newMode; }
    // Writes of one path land in the order queued; a write still waiting for its turn is
    // replaced by a newer one of the same path, which holds the newer bytes.
    void queue(const std::string& path, std::vector<uint8_t> bytes, const WriteCalls& calls);
    // Returns once every queued write has ended.
    void drain();
    // The writes that have ended since the last call, in the order they ended.
    std::vector<WriteOutcome> takeOutcomes();

private:
    struct Job {
        std::string path;
        std::vector<uint8_t> bytes;
        WriteCalls calls;
    };
    void run();

    Mode mode;
    std::mutex lock;
    std::condition_variable changed;
    std::deque<Job> jobs;
    bool writing = false;
    bool stopping = false;
    std::vector<WriteOutcome> outcomes;
    std::thread worker;  // started with the first queued write
};
