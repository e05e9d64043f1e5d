#pragma once
// Shared helpers for the tests: scratch folders and byte files.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A fresh empty folder under the system temp folder, removed when the object dies.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    const std::filesystem::path& path() const { return root; }
    std::string file(const std::string& relative) const { return (root / relative).string(); }

private:
    std::filesystem::path root;
};

// Makes the given folder the working folder for the life of the object.
class WorkingFolder {
public:
    explicit WorkingFolder(const std::filesystem::path& folder);
    ~WorkingFolder();

private:
    std::filesystem::path previous;
};

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readBytes(const std::string& path);
// The built game folder (with generated assets), from the GAME_DIR environment variable.
std::filesystem::path gameFolder();
