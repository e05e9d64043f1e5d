#pragma once
// The one Vorbis encoder set-up of the tests' Ogg writers: made and torn down in one place,
// with the three headers handed in, then samples or ready packets in and pages out.

#include <vorbis/vorbisenc.h>

#include <functional>

class VorbisEncoder {
public:
    using PageSink = std::function<void(const ogg_page&)>;

    VorbisEncoder(int channels, int rate, float quality, int serial) {
        vorbis_info_init(&info);
        vorbis_encode_init_vbr(&info, channels, rate, quality);
        vorbis_comment_init(&comment);
        vorbis_analysis_init(&dsp, &info);
        vorbis_block_init(&dsp, &block);
        ogg_stream_init(&stream, serial);
        ogg_packet head, comm, code;
        vorbis_analysis_headerout(&dsp, &comment, &head, &comm, &code);
        ogg_stream_packetin(&stream, &head);
        ogg_stream_packetin(&stream, &comm);
        ogg_stream_packetin(&stream, &code);
    }
    ~VorbisEncoder() {
        ogg_stream_clear(&stream);
        vorbis_block_clear(&block);
        vorbis_dsp_clear(&dsp);
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
    VorbisEncoder(const VorbisEncoder&) = delete;
    VorbisEncoder& operator=(const VorbisEncoder&) = delete;

    // The pages of what has been handed in; flush also ends a page that is not full.
    void takePages(const PageSink& sink, bool flush) {
        ogg_page page;
        while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) sink(page);
    }

    // Encodes frames of sample(frame, channel); the stream ends with the last call (atEnd).
    // Packets are handed to packetSink, or paged straight into the stream without one.
    void encode(int frames, int channels, const std::function<float(int, int)>& sample, bool atEnd,
                const std::function<void(const ogg_packet&)>& packetSink = {}) {
        float** buffer = vorbis_analysis_buffer(&dsp, frames);
        for (int i = 0; i < frames; ++i)
            for (int c = 0; c < channels; ++c) buffer[c][i] = sample(i, c);
        vorbis_analysis_wrote(&dsp, frames);
        if (atEnd) vorbis_analysis_wrote(&dsp, 0);
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                if (packetSink)
                    packetSink(packet);
                else
                    ogg_stream_packetin(&stream, &packet);
            }
        }
    }

    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
};
