#include "media/desktop/pictures_soon.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <utility>

PicturesSoon::PicturesSoon(std::vector<std::string> paths, Load load)
    : thread([this, paths = std::move(paths), load = std::move(load)] {
          // The frames, and the rest of the machine, come first.
          setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 19);
          for (const std::string& path : paths) {
              std::unique_ptr<Image> picture = load(path);
              std::lock_guard<std::mutex> guard(lock);
              if (stopping) return;
              if (picture) loaded.push_back(std::move(picture));
          }
      }) {}

PicturesSoon::~PicturesSoon() {
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    thread.join();
}

std::vector<std::unique_ptr<Image>> PicturesSoon::takeLoaded() {
    std::lock_guard<std::mutex> guard(lock);
    return std::exchange(loaded, {});
}
