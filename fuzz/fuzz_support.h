#pragma once
// Shared by the fuzz targets that go through real files: a private scratch folder that
// becomes the working folder, so the game's fixed relative paths land inside it.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

inline void enterScratchFolder() {
    static std::filesystem::path folder;
    if (!folder.empty()) return;
    char name[] = "/tmp/cw-fuzz-XXXXXX";
    folder = mkdtemp(name);
    std::filesystem::current_path(folder);
    std::atexit([] { std::filesystem::remove_all(folder); });
}

// Each input goes into a new file: ext4 flushes a file that was cut to nothing and written
// again as it is closed, which made that fifty times slower than the loaders it feeds.
inline void writeFile(const std::string& path, std::span<const uint8_t> bytes) {
    const auto parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent);
    std::filesystem::remove(path);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
