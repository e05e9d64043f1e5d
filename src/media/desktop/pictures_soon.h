#pragma once
// Pictures the game will draw soon, loaded on a thread of their own at the lowest priority
// and handed over between frames, so that the drawing path can prepare them ahead.

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "media/pictures/image.h"

class PicturesSoon {
public:
    using Load = std::function<std::unique_ptr<Image>(const std::string& path)>;

    // Starts loading the pictures one after the other with `load`.
    PicturesSoon(std::vector<std::string> paths, Load load);
    // Waits for the picture being loaded, leaves the rest.
    ~PicturesSoon();
    PicturesSoon(const PicturesSoon&) = delete;
    PicturesSoon& operator=(const PicturesSoon&) = delete;

    // The pictures loaded since the last call (one that could not be loaded is left out).
    std::vector<std::unique_ptr<Image>> takeLoaded();

private:
    std::mutex lock;
    std::vector<std::unique_ptr<Image>> loaded;
    bool stopping = false;
    std::thread thread;
};
