#include "gif_judge.h"

#include <webp/demux.h>

namespace pestrolik::testing {

ShownAnimation showWebp(const std::vector<uint8_t>& bytes) {
    ShownAnimation shown;
    const WebPData data{bytes.data(), bytes.size()};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
    WebPAnimInfo info;
    if (!decoder || !WebPAnimDecoderGetInfo(decoder, &info)) {
        shown.error = "not an animated WebP libwebp reads";
        if (decoder) WebPAnimDecoderDelete(decoder);
        return shown;
    }
    shown.ok = true;
    shown.width = static_cast<int>(info.canvas_width);
    shown.height = static_cast<int>(info.canvas_height);
    shown.loopCount = static_cast<int>(info.loop_count);
    int previousMs = 0;
    while (WebPAnimDecoderHasMoreFrames(decoder)) {
        uint8_t* rgba = nullptr;
        int timestampMs = 0;
        if (!WebPAnimDecoderGetNext(decoder, &rgba, &timestampMs)) {
            shown.ok = false, shown.error = "a frame does not decode";
            break;
        }
        std::vector<uint32_t> frame(static_cast<size_t>(shown.width) * shown.height);
        for (size_t i = 0; i < frame.size(); ++i) {
            const uint8_t* p = rgba + 4 * i;
            frame[i] = p[3] == 0 ? background : uint32_t{p[3]} << 24 | p[0] << 16 | p[1] << 8 | p[2];
        }
        shown.frames.push_back(std::move(frame));
        shown.delays.push_back((timestampMs - previousMs) / 10);  // the end of the frame, less its start
        previousMs = timestampMs;
    }
    WebPAnimDecoderDelete(decoder);
    return shown;
}

}  // namespace pestrolik::testing
