// The long Ogg Vorbis maker: encode a short stretch, repeat its packets.

#include "support/long_track.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "support/vorbis_encoder.h"

namespace {

constexpr int EncodedSeconds = 6;

struct Packet {
    std::vector<unsigned char> bytes;
    long blockSize = 0;
};

// A chord whose loudness breathes slowly; never silent.
float chord(int frame, int channel, int rate, float gain) {
    const float t = static_cast<float>(frame) / rate;
    const float swell = 0.6f + 0.3f * std::sin(6.2831853f * 0.25f * t);
    return gain * swell *
           (0.3f * std::sin(6.2831853f * 220.0f * t + channel) + 0.2f * std::sin(6.2831853f * 277.2f * t) +
            0.15f * std::sin(6.2831853f * 329.6f * t));
}

// The audio packets of a few seconds of the chord (no end of stream: the encoder keeps
// its tail, so every packet is a steady one).
std::vector<Packet> encodeStretch(VorbisEncoder& encoder, int channels, int rate, float gain) {
    std::vector<Packet> packets;
    encoder.encode(
        EncodedSeconds * rate, channels, [&](int i, int c) { return chord(i, c, rate, gain); }, false,
        [&](const ogg_packet& packet) {
            packets.push_back({std::vector<unsigned char>(packet.packet, packet.packet + packet.bytes),
                               vorbis_packet_blocksize(&encoder.info, const_cast<ogg_packet*>(&packet))});
        });
    return packets;
}

}  // namespace

bool writeLongOgg(const std::string& path, int channels, int rate, double seconds, float gain) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    VorbisEncoder encoder(channels, rate, 0.1f, 4321);
    const auto write = [file](const ogg_page& page) {
        std::fwrite(page.header, 1, page.header_len, file);
        std::fwrite(page.body, 1, page.body_len, file);
    };
    encoder.takePages(write, true);

    const std::vector<Packet> packets = encodeStretch(encoder, channels, rate, gain);
    // The first two packets once, then the steady ones over and over.
    const auto wanted = static_cast<ogg_int64_t>(seconds * rate);
    ogg_int64_t granule = 0;
    long previousBlock = 0;
    ogg_int64_t number = 3;
    for (size_t i = 0; granule < wanted && packets.size() > 3; ++i) {
        const Packet& p = packets[i < packets.size() ? i : 2 + (i - 2) % (packets.size() - 2)];
        if (previousBlock > 0) granule += previousBlock / 4 + p.blockSize / 4;
        previousBlock = p.blockSize;
        ogg_packet out{};
        out.packet = const_cast<unsigned char*>(p.bytes.data());
        out.bytes = static_cast<long>(p.bytes.size());
        out.granulepos = granule;
        out.packetno = number++;
        out.e_o_s = granule >= wanted ? 1 : 0;
        ogg_stream_packetin(&encoder.stream, &out);
        encoder.takePages(write, false);
    }
    encoder.takePages(write, true);
    return std::fclose(file) == 0 && granule >= wanted;
}
