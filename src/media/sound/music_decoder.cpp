// The decoding thread: wakes when a track starts, or every few milliseconds, and keeps every
// streamed channel's feed topped up.

#include "media/sound/music_decoder.h"

#include <algorithm>
#include <chrono>

namespace {

// Frames decoded in one go: about 46 ms of sound, a fraction of a millisecond of work.
constexpr size_t BlockFrames = 2048;
// How often the thread looks again when nothing woke it: the feed holds 3 s, so this
// leaves a wide margin even for a thread that is scheduled late.
constexpr auto TopUpInterval = std::chrono::milliseconds(5);

}  // namespace

MusicDecoder::MusicDecoder(Mode mode) : block(BlockFrames * 2) {
    if (mode == Mode::OwnThread) worker = std::thread([this] { run(); });
}

MusicDecoder::~MusicDecoder() {
    {
        std::lock_guard guard(lock);
        quitting = true;
    }
    wake.notify_all();
    if (worker.joinable()) worker.join();
}

std::shared_ptr<StreamFeed> MusicDecoder::start(std::unique_ptr<TrackStream> stream) {
    auto feed = std::make_shared<StreamFeed>();
    {
        std::lock_guard guard(lock);
        incoming.push_back(Job{std::move(stream), feed});
    }
    wake.notify_all();
    return feed;
}

void MusicDecoder::run() {
    std::unique_lock guard(lock);
    while (!quitting) {
        guard.unlock();
        decodeAhead();
        guard.lock();
        if (incoming.empty() && !quitting) wake.wait_for(guard, TopUpInterval);
    }
}

void MusicDecoder::takeIncoming() {
    std::lock_guard guard(lock);
    for (Job& job : incoming) jobs.push_back(std::move(job));
    incoming.clear();
}

bool MusicDecoder::decodeBlock(Job& job) {
    if (job.feed->abandoned() || job.stream->ended()) return false;
    const size_t room = std::min(job.feed->freeFrames(), BlockFrames);
    if (room < BlockFrames / 2) return false;  // full enough: decode in sizeable blocks
    const size_t made = job.stream->produce(block.data(), room);
    job.feed->push(block.data(), made);
    if (job.stream->ended()) job.feed->markEnded();
    return made == room;
}

// Round after round of one block per stream, so a track that has just started is served
// within one block's time even while another fills, and new streams are taken in between.
void MusicDecoder::decodeAhead() {
    bool busy = true;
    while (busy) {
        takeIncoming();
        busy = false;
        for (Job& job : jobs) busy = decodeBlock(job) || busy;
        std::erase_if(jobs, [](const Job& job) { return job.feed->abandoned() || job.stream->ended(); });
    }
}

size_t MusicDecoder::streamCount() const { return jobs.size(); }
