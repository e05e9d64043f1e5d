// WAV files in the layouts the game's reader accepts.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "audio_writers.h"

namespace {

void putU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void putU32(std::vector<uint8_t>& out, uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

void putTag(std::vector<uint8_t>& out, const std::string& tag) { out.insert(out.end(), tag.begin(), tag.begin() + 4); }

void putFmtChunk(std::vector<uint8_t>& out, const WavLayout& layout) {
    const uint32_t blockAlign = layout.channels * layout.bits / 8;
    putTag(out, "fmt ");
    putU32(out, layout.longFormat ? 18 : 16);
    putU16(out, 1);
    putU16(out, layout.channels);
    putU32(out, AudioRate);
    putU32(out, AudioRate * blockAlign);
    putU16(out, blockAlign);
    putU16(out, layout.bits);
    if (layout.longFormat) putU16(out, 0);  // no extension bytes follow
}

void putSample(std::vector<uint8_t>& out, float value, int bits) {
    const float clipped = std::clamp(value, -1.0f, 1.0f);
    if (bits == 8)
        out.push_back(static_cast<uint8_t>(std::lround(clipped * 127.0f) + 128));
    else
        putU16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(clipped * 32767.0f))));
}

std::vector<uint8_t> sampleBytes(const AudioBuffer& buffer, const WavLayout& layout) {
    std::vector<uint8_t> data;
    for (size_t i = 0; i < buffer.frames(); ++i) {
        if (layout.channels == 1) {
            putSample(data, (buffer.left[i] + buffer.right[i]) * 0.5f, layout.bits);
            continue;
        }
        putSample(data, buffer.left[i], layout.bits);
        putSample(data, buffer.right[i], layout.bits);
    }
    return data;
}

}  // namespace

std::vector<uint8_t> encodeWav(const AudioBuffer& buffer, const WavLayout& layout) {
    const std::vector<uint8_t> data = sampleBytes(buffer, layout);
    std::vector<uint8_t> out;
    putTag(out, "RIFF");
    putU32(out, 0);  // filled in below
    putTag(out, "WAVE");
    putFmtChunk(out, layout);
    if (!layout.extraTag.empty()) {
        putTag(out, layout.extraTag);
        putU32(out, static_cast<uint32_t>(layout.extraBody.size()));
        out.insert(out.end(), layout.extraBody.begin(), layout.extraBody.end());
    }
    putTag(out, "data");
    putU32(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    const uint32_t riffSize = static_cast<uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<uint8_t>(riffSize >> (8 * i));
    return out;
}

bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path target(path);
    std::error_code error;
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}
