#include "media/draw/cpu/cpu_pictures_ahead.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>

namespace {

// The looks a screen that opens draws a large picture with: blended with the fade colour, and
// black (its shadow) at the first frame of a fade from black, which an opaque picture makes
// from one pixel on the spot.
std::vector<FrameLook> looksAhead(bool opaque) {
    if (opaque) return {FrameLook::AsLoaded};
    return {FrameLook::AsLoaded, FrameLook::Shadow};
}

// Whatever else wants a core comes first: the frames, and the rest of the machine.
void yieldToEverything() { setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 19); }

}  // namespace

CpuPicturesAhead::CpuPicturesAhead() : thread([this] { work(); }) {}

CpuPicturesAhead::~CpuPicturesAhead() {
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
        jobs.clear();
    }
    asked.notify_all();
    thread.join();
}

bool CpuPicturesAhead::preparedAlready(const Image& image, float scale, FrameLook look) const {
    const auto found = packed.find(Key{image.file.get(), scale, look});
    return found != packed.end() && !found->second.file.expired();
}

void CpuPicturesAhead::prepare(const Image& image, float scale) {
    if (!image.file) return;
    {
        std::lock_guard<std::mutex> guard(lock);
        if (preparedAlready(image, scale, FrameLook::AsLoaded)) return;
        jobs.push_back(Job{image, scale});
    }
    asked.notify_one();
}

std::optional<PreparedFrame> CpuPicturesAhead::take(const Image& image, float scale, FrameLook look,
                                                    SparePixels& spares) {
    if (!image.file) return std::nullopt;
    PreparedFrame frame;
    {
        std::lock_guard<std::mutex> guard(lock);
        const auto found = packed.find(Key{image.file.get(), scale, look});
        if (found == packed.end() || found->second.file.lock() != image.file) return std::nullopt;
        const PackedFrame& kept = found->second.frame;
        frame.width = kept.width, frame.height = kept.height, frame.repeats = kept.repeats, frame.ink = kept.ink;
        // Unpacked under the lock: packed pixels are only ever added or dropped whole.
        frame.pixels = spares.take(static_cast<size_t>(kept.pixels.width) * kept.pixels.height);
        unpackPixelsInto(kept.pixels, frame.pixels);
    }
    return frame;
}

void CpuPicturesAhead::keepOnly(float scale) {
    std::lock_guard<std::mutex> guard(lock);
    std::erase_if(packed, [scale](const auto& entry) { return std::get<1>(entry.first) != scale; });
    std::erase_if(jobs, [scale](const Job& job) { return job.scale != scale; });
}

size_t CpuPicturesAhead::bytesHeld() {
    std::lock_guard<std::mutex> guard(lock);
    size_t bytes = 0;
    for (const auto& [key, kept] : packed) bytes += kept.frame.pixels.runs.size() * sizeof(uint32_t);
    return bytes;
}

void CpuPicturesAhead::finishAll() {
    std::unique_lock<std::mutex> guard(lock);
    done.wait(guard, [this] { return jobs.empty() && !busy; });
}

void CpuPicturesAhead::work() {
    yieldToEverything();
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> guard(lock);
            busy = false;
            done.notify_all();
            asked.wait(guard, [this] { return stopping || !jobs.empty(); });
            if (stopping) return;
            job = std::move(jobs.front());
            jobs.pop_front();
            busy = true;
        }
        const PixelSize size = preparedSize(job.picture, job.scale);
        const bool opaque = pictureIsOpaque(job.picture);
        for (const FrameLook look : looksAhead(opaque)) {
            Packed kept{job.picture.file, prepareFramePacked(job.picture, look, 0, size.width, size.height, opaque)};
            std::lock_guard<std::mutex> guard(lock);
            if (stopping) return;
            packed[Key{job.picture.file.get(), job.scale, look}] = std::move(kept);
        }
    }
}
