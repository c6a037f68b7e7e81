#include "webp/webp_animation.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <array>
#include <malloc.h>

namespace pestrolik {

namespace {

// Lossless, with less effort as pictures grow, to stay within about four times the
// GIF's time. Effort above 75 lets matches reach back over the whole picture, which the
// repeated rows of the background reward, but its cost grows with the picture: 3.5 times
// the GIF's time at 400 x 400, 5 at 640, 10 at 1000. Method 1 takes 3 to 3.5 at 640 and
// method 0 about 3 at 1000, for files about a third larger.
struct LosslessSettings {
    int method;
    float effort;
};

LosslessSettings settingsFor(int side) {
    if (side <= 512) return {3, 76};
    if (side <= 800) return {1, 25};
    return {0, 0};
}

// Our pictures change almost everywhere between frames: every frame whole came out
// smaller than sub-frames blended over the one before, so each frame is a picture of its
// own, encoded alone on a worker, and the frames only replace one another.
class WebpAnimation : public AnimationEncoder {
public:
    explicit WebpAnimation(const FileHead& head)
        : size_(head.pictureSize), delayMs_(head.delayCentiseconds * 10), mux_(WebPMuxNew()) {
        for (size_t i = 0; i < head.colours.size(); ++i) {
            const Rgb& c = head.colours[i];
            argb_[i] = 0xFF000000u | uint32_t{c.red} << 16 | uint32_t{c.green} << 8 | c.blue;
        }
        if (head.transparentZero) argb_[0] = 0;  // wholly transparent, as the GIF shows it
        WebPConfigInit(&config_);
        config_.lossless = 1;
        const LosslessSettings settings = settingsFor(size_);
        config_.method = settings.method;
        config_.quality = settings.effort;
        const WebPMuxAnimParams animation{0, 0};  // background transparent black, loop for ever
        ready_ = mux_ && WebPValidateConfig(&config_) && WebPMuxSetCanvasSize(mux_, size_, size_) == WEBP_MUX_OK &&
                 WebPMuxSetAnimationParams(mux_, &animation) == WEBP_MUX_OK;
    }

    ~WebpAnimation() override {
        if (mux_) WebPMuxDelete(mux_);
    }

    bool ready() const { return ready_; }

    std::vector<uint8_t> encodeFrame(std::span<const uint8_t> cells, const std::function<bool()>& goOn) const override {
        std::vector<uint8_t> bytes;
        if (cells.size() != static_cast<size_t>(size_) * size_) return bytes;
        WebPPicture picture;
        if (!WebPPictureInit(&picture)) return bytes;
        picture.use_argb = 1;
        picture.width = picture.height = size_;
        if (!WebPPictureAlloc(&picture)) return bytes;
        for (int y = 0; y < size_; ++y) {
            uint32_t* pixel = picture.argb + static_cast<size_t>(y) * picture.argb_stride;
            const uint8_t* cell = cells.data() + static_cast<size_t>(y) * size_;
            for (int x = 0; x < size_; ++x) pixel[x] = argb_[cell[x] & 0x7F];
        }
        WebPMemoryWriter writer;
        WebPMemoryWriterInit(&writer);
        picture.writer = WebPMemoryWrite;
        picture.custom_ptr = &writer;
        if (goOn) {
            picture.user_data = const_cast<std::function<bool()>*>(&goOn);
            picture.progress_hook = [](int, const WebPPicture* p) {
                return (*static_cast<const std::function<bool()>*>(p->user_data))() ? 1 : 0;
            };
        }
        if (WebPEncode(&config_, &picture)) bytes.assign(writer.mem, writer.mem + writer.size);
        WebPMemoryWriterClear(&writer);
        WebPPictureFree(&picture);
        return bytes;
    }

    bool add(std::span<const uint8_t> frame) override {
        WebPMuxFrameInfo info{};
        info.bitstream = {frame.data(), frame.size()};
        info.duration = delayMs_;
        info.id = WEBP_CHUNK_ANMF;
        info.dispose_method = WEBP_MUX_DISPOSE_NONE;
        info.blend_method = WEBP_MUX_NO_BLEND;  // whole frames replace, transparent pixels included
        ready_ = ready_ && !frame.empty() && WebPMuxPushFrame(mux_, &info, 1) == WEBP_MUX_OK;
        return ready_;
    }

    std::vector<uint8_t> finish() override {
        WebPData data;
        WebPDataInit(&data);
        std::vector<uint8_t> bytes;
        if (ready_ && WebPMuxAssemble(mux_, &data) == WEBP_MUX_OK) bytes.assign(data.bytes, data.bytes + data.size);
        WebPDataClear(&data);
        return bytes;
    }

private:
    const int size_;
    const int delayMs_;
    std::array<uint32_t, 128> argb_{};
    WebPConfig config_;
    WebPMux* mux_;
    bool ready_ = false;
};

}  // namespace

std::unique_ptr<AnimationEncoder> webpAnimation(const FileHead& head) {
    // libwebp takes and gives back tens of megabytes a frame. Mapped afresh each time, as
    // malloc does for blocks this large, their pages cost the kernel about as much time
    // as the encoding: kept in the heap, a run at 1000 x 1000 takes about half the time.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    auto animation = std::make_unique<WebpAnimation>(head);
    if (!animation->ready()) return nullptr;
    return animation;
}

}  // namespace pestrolik
