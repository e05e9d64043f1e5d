#pragma once
// Large pictures prepared for the compositor before a frame draws them: on a thread of their
// own at the lowest priority, while the game runs, and kept packed (pixel_runs.h) for the run.
// A screen that opens then unpacks its backgrounds and backdrops instead of decoding and
// resampling them on the frame's thread (at 3840 x 2160 a level's background took over 100 ms
// of it). Only pictures kept as their file (the large single pictures of the sets of scale 2
// and 3) are taken; they are found again by that file, so a picture loaded anew from the same
// file (a level's background) finds what was prepared for an earlier one. Prepared by the same
// steps as on the frame's thread, so every pixel is the same.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <tuple>

#include "media/draw/cpu/cpu_pictures.h"
#include "media/draw/cpu/pixel_runs.h"
#include "media/draw/cpu/spare_pixels.h"

class CpuPicturesAhead {
public:
    CpuPicturesAhead();
    ~CpuPicturesAhead();
    CpuPicturesAhead(const CpuPicturesAhead&) = delete;
    CpuPicturesAhead& operator=(const CpuPicturesAhead&) = delete;

    // Prepares the picture at `scale` pixels per logical pixel as a screen draws it when it
    // opens: blended, and as its shadow where it is not opaque (a screen faded in from black
    // draws it black first). Returns at once; a picture not kept as its file is left alone.
    void prepare(const Image& image, float scale);
    // The picture's frame of that look at that scale, unpacked (into a spare buffer where one
    // fits), if it was prepared ahead.
    std::optional<PreparedFrame> take(const Image& image, float scale, FrameLook look, SparePixels& spares);
    // Forgets what was prepared or asked for at any other scale.
    void keepOnly(float scale);
    // Bytes held packed (benchmarks, tests).
    size_t bytesHeld();
    // Returns once everything asked for so far is prepared (tests).
    void finishAll();

private:
    using Key = std::tuple<const KeptPictureFile*, float, FrameLook>;
    struct Packed {
        std::weak_ptr<const KeptPictureFile> file;  // a file gone frees its address for another
        PackedFrame frame;
    };
    struct Job {
        Image picture;  // shares the file
        float scale = 0;
    };
    bool preparedAlready(const Image& image, float scale, FrameLook look) const;
    void work();

    std::mutex lock;
    std::condition_variable asked, done;
    std::deque<Job> jobs;
    bool busy = false;
    bool stopping = false;
    std::map<Key, Packed> packed;
    std::thread thread;
};
