// Two processes replacing one file as fast as they can, as two copies of the game saving the
// same records would, each killed outright at a random moment, again and again. Meanwhile the
// file is read over and over. Nobody may ever read, nor be left with, a file of 0 bytes or a
// torn one: every read and the file at the end of each round hold one writer's bytes whole.
//   side_file_race [rounds (300)] [seed]
// Prints what it counted; status 1 when a read or an end was spoiled.

#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "media/files/safe_replace.h"

namespace {

constexpr size_t FileBytes = 312;  // a records file

struct Counts {
    std::atomic<long> saves{0}, failedSaves{0};
};

std::vector<uint8_t> bytesOf(uint8_t value) { return std::vector<uint8_t>(FileBytes, value); }

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One writer's whole bytes: the first value, everywhere.
bool whole(const std::vector<uint8_t>& bytes) {
    if (bytes.size() != FileBytes) return false;
    for (uint8_t byte : bytes)
        if (byte != bytes[0]) return false;
    return true;
}

[[noreturn]] void writeForEver(const std::string& path, uint8_t value, Counts& counts) {
    const std::vector<uint8_t> bytes = bytesOf(value);
    const WriteCalls calls;
    for (;;) {
        if (replaceFileWith(path, bytes, calls).empty())
            ++counts.saves;
        else
            ++counts.failedSaves;
    }
}

pid_t startWriter(const std::string& path, uint8_t value, Counts& counts) {
    const pid_t pid = fork();
    if (pid == 0) writeForEver(path, value, counts);
    return pid;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 300;
    std::mt19937 chance(argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : std::random_device{}());
    auto* counts =
        static_cast<Counts*>(mmap(nullptr, sizeof(Counts), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    new (counts) Counts;
    char name[] = "/tmp/cw-side-file-race-XXXXXX";
    const std::filesystem::path folder = mkdtemp(name);
    const std::string path = (folder / "oldgame.cws").string();
    long reads = 0, emptyReads = 0, tornReads = 0, emptyEnds = 0, tornEnds = 0;
    for (int round = 0; round < rounds; ++round) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        if (!replaceFileWith(path, bytesOf(1), WriteCalls{}).empty()) return 2;
        const pid_t writers[2] = {startWriter(path, 2, *counts), startWriter(path, 3, *counts)};
        // Each writer is killed at its own moment, 2 to 40 ms in; the file is read meanwhile.
        std::uniform_int_distribution<int> moment(2000, 40000);
        int killAt[2] = {moment(chance), moment(chance)};
        const auto start = std::chrono::steady_clock::now();
        int killed = 0;
        while (killed < 2) {
            const auto elapsed =
                std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
            for (int w = 0; w < 2; ++w)
                if (killAt[w] >= 0 && elapsed >= killAt[w]) {
                    kill(writers[w], SIGKILL);
                    killAt[w] = -1;
                    ++killed;
                }
            const std::vector<uint8_t> seen = readFile(path);
            ++reads;
            if (seen.empty())
                ++emptyReads;
            else if (!whole(seen))
                ++tornReads;
        }
        for (pid_t writer : writers) waitpid(writer, nullptr, 0);
        const std::vector<uint8_t> left = readFile(path);
        if (left.empty())
            ++emptyEnds;
        else if (!whole(left))
            ++tornEnds;
    }
    std::filesystem::remove_all(folder);
    std::printf(
        "%d rounds: %ld saves, %ld failed saves; %ld reads, %ld of 0 bytes, %ld torn; "
        "files left of 0 bytes: %ld, torn: %ld\n",
        rounds, counts->saves.load(), counts->failedSaves.load(), reads, emptyReads, tornReads, emptyEnds, tornEnds);
    return emptyReads + tornReads + emptyEnds + tornEnds == 0 ? 0 : 1;
}
