// Ogg Vorbis through libvorbisenc, reproducible byte for byte.

#include <vorbis/vorbisenc.h>

#include <algorithm>

#include "audio_writers.h"

namespace {

// The libvorbis and libogg encoder state of one stream, released together.
struct VorbisEncoder {
    vorbis_info info{};
    vorbis_comment comment{};
    vorbis_dsp_state dsp{};
    vorbis_block block{};
    ogg_stream_state stream{};
    bool started = false;

    ~VorbisEncoder() {
        if (started) {
            ogg_stream_clear(&stream);
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
};

void appendPage(const ogg_page& page, std::vector<uint8_t>& bytes) {
    bytes.insert(bytes.end(), page.header, page.header + page.header_len);
    bytes.insert(bytes.end(), page.body, page.body + page.body_len);
}

void writeHeaders(VorbisEncoder& enc, std::vector<uint8_t>& bytes) {
    ogg_packet header, commentPacket, codebooks;
    vorbis_analysis_headerout(&enc.dsp, &enc.comment, &header, &commentPacket, &codebooks);
    ogg_stream_packetin(&enc.stream, &header);
    ogg_stream_packetin(&enc.stream, &commentPacket);
    ogg_stream_packetin(&enc.stream, &codebooks);
    ogg_page page;
    // The audio starts on a fresh page, as players expect.
    while (ogg_stream_flush(&enc.stream, &page) != 0) appendPage(page, bytes);
}

// Takes every finished block out of the analysis and every full page out of the stream.
void drainEncoder(VorbisEncoder& enc, std::vector<uint8_t>& bytes) {
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&enc.dsp, &enc.block) == 1) {
        vorbis_analysis(&enc.block, nullptr);
        vorbis_bitrate_addblock(&enc.block);
        while (vorbis_bitrate_flushpacket(&enc.dsp, &packet)) {
            ogg_stream_packetin(&enc.stream, &packet);
            while (ogg_stream_pageout(&enc.stream, &page) != 0) appendPage(page, bytes);
        }
    }
}

void feedSamples(VorbisEncoder& enc, const AudioBuffer& buffer, std::vector<uint8_t>& bytes) {
    constexpr size_t Block = 1024;
    for (size_t start = 0; start < buffer.frames(); start += Block) {
        const size_t count = std::min(Block, buffer.frames() - start);
        float** target = vorbis_analysis_buffer(&enc.dsp, static_cast<int>(count));
        for (size_t i = 0; i < count; ++i) {
            target[0][i] = buffer.left[start + i];
            target[1][i] = buffer.right[start + i];
        }
        vorbis_analysis_wrote(&enc.dsp, static_cast<int>(count));
        drainEncoder(enc, bytes);
    }
    vorbis_analysis_wrote(&enc.dsp, 0);  // end of stream
    drainEncoder(enc, bytes);
    ogg_page page;
    while (ogg_stream_flush(&enc.stream, &page) != 0) appendPage(page, bytes);
}

}  // namespace

bool encodeOgg(const AudioBuffer& buffer, float quality, int serial, std::vector<uint8_t>& bytes) {
    VorbisEncoder enc;
    vorbis_info_init(&enc.info);
    vorbis_comment_init(&enc.comment);
    if (vorbis_encode_init_vbr(&enc.info, 2, AudioRate, quality) != 0) return false;
    vorbis_comment_add_tag(&enc.comment, "TITLE", "Cablewright");
    vorbis_analysis_init(&enc.dsp, &enc.info);
    vorbis_block_init(&enc.dsp, &enc.block);
    ogg_stream_init(&enc.stream, serial);
    enc.started = true;
    bytes.clear();
    writeHeaders(enc, bytes);
    feedSamples(enc, buffer, bytes);
    return true;
}
