#include "media/kept_picture_files.h"

#include <algorithm>

std::unique_ptr<Image> KeptPictureFiles::find(const std::string& file, int flags, std::span<const uint8_t> bytes) {
    std::lock_guard<std::mutex> guard(lock);
    const auto found = pictures.find({file, flags});
    if (found == pictures.end()) return nullptr;
    const std::vector<uint8_t>& kept = found->second.file->bytes;
    if (!std::equal(kept.begin(), kept.end(), bytes.begin(), bytes.end())) return nullptr;
    return std::make_unique<Image>(found->second);
}

void KeptPictureFiles::remember(const std::string& file, int flags, const Image& image) {
    if (!image.file) return;
    std::lock_guard<std::mutex> guard(lock);
    pictures.insert_or_assign({file, flags}, image);
}
