#pragma once
// The large pictures loaded so far, by the file they came from: a picture loaded again from
// the same bytes (a level's background, read at every level start) is the picture it was,
// sharing the file kept for it, without being decoded again, so whatever a drawing path made
// of that file is found again. Loads may come from several threads at once.

#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <utility>

#include "media/pictures/image.h"

class KeptPictureFiles {
public:
    // The picture loaded before from that file with those flags, if its bytes are these.
    std::unique_ptr<Image> find(const std::string& file, int flags, std::span<const uint8_t> bytes);
    // A picture just loaded from that file that is kept as its file.
    void remember(const std::string& file, int flags, const Image& image);

private:
    std::mutex lock;
    std::map<std::pair<std::string, int>, Image> pictures;
};
