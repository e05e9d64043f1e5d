#include "support/test_support.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>

ScratchFolder::ScratchFolder(const std::string& name) {
    static std::atomic<int> counter{0};
    root = std::filesystem::temp_directory_path() /
           ("cw-" + name + "-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

WorkingFolder::WorkingFolder(const std::filesystem::path& folder) : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
}

WorkingFolder::~WorkingFolder() { std::filesystem::current_path(previous); }

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    const auto parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::filesystem::path gameFolder() {
    const char* folder = std::getenv("GAME_DIR");
    return folder ? std::filesystem::path(folder) : std::filesystem::path("game");
}
