// The long Ogg Vorbis maker: encode a short stretch, repeat its packets.

#include "support/long_track.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int EncodedSeconds = 6;

struct Packet {
    std::vector<unsigned char> bytes;
    long blockSize = 0;
};

void writePages(ogg_stream_state& stream, std::FILE* file, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        std::fwrite(page.header, 1, page.header_len, file);
        std::fwrite(page.body, 1, page.body_len, file);
    }
}

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
std::vector<Packet> encodeStretch(vorbis_info& info, vorbis_dsp_state& dsp, vorbis_block& block, int channels, int rate,
                                  float gain) {
    const int frames = EncodedSeconds * rate;
    float** buffer = vorbis_analysis_buffer(&dsp, frames);
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) buffer[c][i] = chord(i, c, rate, gain);
    vorbis_analysis_wrote(&dsp, frames);
    std::vector<Packet> packets;
    ogg_packet packet;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            packets.push_back({std::vector<unsigned char>(packet.packet, packet.packet + packet.bytes),
                               vorbis_packet_blocksize(&info, &packet)});
        }
    }
    return packets;
}

}  // namespace

bool writeLongOgg(const std::string& path, int channels, int rate, double seconds, float gain) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    vorbis_info info;
    vorbis_info_init(&info);
    vorbis_encode_init_vbr(&info, channels, rate, 0.1f);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 4321);
    ogg_packet head, comm, code;
    vorbis_analysis_headerout(&dsp, &comment, &head, &comm, &code);
    ogg_stream_packetin(&stream, &head);
    ogg_stream_packetin(&stream, &comm);
    ogg_stream_packetin(&stream, &code);
    writePages(stream, file, true);

    const std::vector<Packet> packets = encodeStretch(info, dsp, block, channels, rate, gain);
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
        ogg_stream_packetin(&stream, &out);
        writePages(stream, file, false);
    }
    writePages(stream, file, true);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return std::fclose(file) == 0 && granule >= wanted;
}
