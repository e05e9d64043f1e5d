// The PNG decoder on arbitrary bytes: it must refuse or decode, never crash, leak or hang.

#include "media/pictures/picture_decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (auto picture = decodePng(std::span<const uint8_t>(data, size))) applyMask(picture->pixels);
    return 0;
}
