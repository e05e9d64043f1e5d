#pragma once
// What a drawing path makes of each picture it draws (textures, prepared pixels), made the
// first time the picture is drawn and kept by the path, never by the picture: the path frees
// it with its own resources, in its own order. A picture destroyed since is never mistaken
// for a new one that happens to live at the same address, and what was made for it is only
// retired, because draws still waiting in a batch may use it.

#include <memory>
#include <unordered_map>
#include <vector>

#include "media/pictures/image.h"

template <typename Prepared>
class PictureCache {
public:
    // The prepared form of a picture; make(image) returns a unique_ptr<Prepared> the first time.
    template <typename Make>
    Prepared& of(const Image& image, Make&& make) {
        Slot& slot = slots[&image];
        if (!slot.prepared || !image.identity.is(slot.identity)) {
            if (slot.prepared) retired.push_back(std::move(slot.prepared));
            slot.prepared = make(image);
            slot.identity = image.identity.token();
            // A picture made anew often replaces one gone (a level's background): what was
            // made for that one is retired now, not kept until the end of the run.
            sweep();
        }
        return *slot.prepared;
    }

    // Visits what is made for each picture, retired or not.
    template <typename Visit>
    void forEach(Visit&& visit) const {
        for (const auto& [image, slot] : slots) visit(*slot.prepared);
        for (const auto& prepared : retired) visit(*prepared);
    }
    // Frees what was made for pictures that are gone; once no waiting draw can use it.
    void releaseRetired() { retired.clear(); }
    // The same, with salvage(prepared) called on each first.
    template <typename Salvage>
    void releaseRetired(Salvage&& salvage) {
        for (const auto& prepared : retired) salvage(*prepared);
        retired.clear();
    }
    // Retires what was made for pictures that no longer exist.
    void sweep() {
        for (auto entry = slots.begin(); entry != slots.end();) {
            if (!entry->second.identity.expired()) {
                ++entry;
                continue;
            }
            retired.push_back(std::move(entry->second.prepared));
            entry = slots.erase(entry);
        }
    }
    // Retires what was made for every picture: each is made again when next drawn.
    void retireAll() {
        for (auto& [image, slot] : slots) retired.push_back(std::move(slot.prepared));
        slots.clear();
    }

private:
    struct Slot {
        std::weak_ptr<const void> identity;
        std::unique_ptr<Prepared> prepared;
    };
    std::unordered_map<const Image*, Slot> slots;
    std::vector<std::unique_ptr<Prepared>> retired;
};
