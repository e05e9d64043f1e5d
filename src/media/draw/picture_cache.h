#pragma once
// What a drawing path makes of each picture it draws (textures, prepared pixels), made the
// first time the picture is drawn and kept by the path, never by the picture: the path frees
// it with its own resources, in its own order. A picture destroyed since is never mistaken
// for a new one that happens to live at the same address.

#include <memory>
#include <unordered_map>

#include "media/pictures/image.h"

template <typename Prepared>
class PictureCache {
public:
    // The prepared form of a picture; make(image) returns a unique_ptr<Prepared> the first time.
    template <typename Make>
    Prepared& of(const Image& image, Make&& make) {
        Slot& slot = slots[&image];
        if (!slot.prepared || !image.identity.is(slot.identity)) {
            slot.prepared = make(image);
            slot.identity = image.identity.token();
            if (slots.size() > sweepAbove) sweep();
        }
        return *slot.prepared;
    }

    void clear() { slots.clear(); }

private:
    struct Slot {
        std::weak_ptr<const void> identity;
        std::unique_ptr<Prepared> prepared;
    };
    // Drops what was made for pictures that no longer exist.
    void sweep() {
        std::erase_if(slots, [](const auto& entry) { return entry.second.identity.expired(); });
        sweepAbove = 2 * slots.size() + 64;
    }

    std::unordered_map<const Image*, Slot> slots;
    size_t sweepAbove = 64;
};
