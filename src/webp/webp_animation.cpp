#include "webp/webp_animation.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <array>

namespace pestrolik {

namespace {

// Lossless; method and effort chosen for size within a few times the GIF's time. Our
// pictures change almost everywhere between frames, so every frame whole (a key frame)
// came out smaller than the encoder's sub-frame choices, and spares it trying them.
constexpr int losslessMethod = 3;
constexpr float losslessEffort = 30;
constexpr int keyframeMin = 0, keyframeMax = 1;

class WebpAnimation : public AnimationEncoder {
public:
    explicit WebpAnimation(const FileHead& head) : size_(head.pictureSize), delayMs_(head.delayCentiseconds * 10) {
        for (size_t i = 0; i < head.colours.size(); ++i) {
            const Rgb& c = head.colours[i];
            argb_[i] = 0xFF000000u | uint32_t{c.red} << 16 | uint32_t{c.green} << 8 | c.blue;
        }
        if (head.transparentZero) argb_[0] = 0;  // wholly transparent, as the GIF shows it
        WebPAnimEncoderOptions options;
        WebPAnimEncoderOptionsInit(&options);
        options.anim_params.loop_count = 0;  // for ever
        options.anim_params.bgcolor = 0;
        options.kmin = keyframeMin, options.kmax = keyframeMax;
        encoder_ = WebPAnimEncoderNew(size_, size_, &options);
        WebPConfigInit(&config_);
        config_.lossless = 1;
        config_.method = losslessMethod;
        config_.quality = losslessEffort;
        config_.thread_level = 1;
        WebPPictureInit(&picture_);
        picture_.use_argb = 1;
        picture_.width = picture_.height = size_;
        ready_ = encoder_ && WebPValidateConfig(&config_) && WebPPictureAlloc(&picture_);
    }

    ~WebpAnimation() override {
        WebPPictureFree(&picture_);
        if (encoder_) WebPAnimEncoderDelete(encoder_);
    }

    bool ready() const { return ready_; }

    bool add(std::span<const uint8_t> cells) override {
        if (!ready_ || cells.size() != static_cast<size_t>(size_) * size_) return ready_ = false;
        for (int y = 0; y < size_; ++y) {
            uint32_t* pixel = picture_.argb + static_cast<size_t>(y) * picture_.argb_stride;
            const uint8_t* cell = cells.data() + static_cast<size_t>(y) * size_;
            for (int x = 0; x < size_; ++x) pixel[x] = argb_[cell[x] & 0x7F];
        }
        ready_ = WebPAnimEncoderAdd(encoder_, &picture_, timestampMs_, &config_) != 0;
        timestampMs_ += delayMs_;
        return ready_;
    }

    std::vector<uint8_t> finish() override {
        WebPData data;
        WebPDataInit(&data);
        std::vector<uint8_t> bytes;
        // A last call without a picture gives the last frame its duration.
        if (ready_ && WebPAnimEncoderAdd(encoder_, nullptr, timestampMs_, nullptr) &&
            WebPAnimEncoderAssemble(encoder_, &data))
            bytes.assign(data.bytes, data.bytes + data.size);
        WebPDataClear(&data);
        return bytes;
    }

private:
    const int size_;
    const int delayMs_;
    std::array<uint32_t, 128> argb_{};
    WebPAnimEncoder* encoder_ = nullptr;
    WebPConfig config_;
    WebPPicture picture_;
    int timestampMs_ = 0;
    bool ready_ = false;
};

}  // namespace

std::unique_ptr<AnimationEncoder> webpAnimation(const FileHead& head) {
    auto animation = std::make_unique<WebpAnimation>(head);
    if (!animation->ready()) return nullptr;
    return animation;
}

}  // namespace pestrolik
