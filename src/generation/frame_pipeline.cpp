#include "generation/frame_pipeline.h"

#include "gif/lzw_encoder.h"

#include <algorithm>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace pestrolik {

namespace {

// Drawing has no way out but its callbacks: this unwinds it when the file is dropped.
struct Cancelled {};

// A new thread starts with its creator's vector registers. When the window's thread
// had last run wide code that left their upper halves in use, every plain SSE
// instruction of the worker paid for it for good: frames took ten times as long to
// draw. Clearing them once is enough; nothing the workers call leaves them in use.
void startWithCleanVectorRegisters() {
#if defined(__x86_64__) && defined(__GNUC__)
    if (__builtin_cpu_supports("avx")) []() __attribute__((target("avx"))) { _mm256_zeroupper(); }();
#endif
}

}  // namespace

FramePipeline::FramePipeline(const PictureParams& params, const FrameSpec& file, int workers, FrameCoding coding,
                             SmallFrameLook look, const AnimationEncoder* animation)
    : params_(params),
      file_(file),
      lookahead_(lookahead(workers)),
      coding_(coding),
      look_(look),
      animation_(animation),
      still_(file.frameCount + 1),
      rowsBegun_(file.frameCount + 1) {
    // More workers than frames would only wait.
    for (int i = 0; i < std::min(workers, file.frameCount); ++i) threads_.emplace_back([this] { work(); });
}

FramePipeline::~FramePipeline() {
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
        handedOut_.notify_all();
        gridDrawn_.notify_all();
    }
    for (std::thread& thread : threads_) thread.join();
}

bool FramePipeline::wantsFrame() {
    std::lock_guard lock(mutex_);
    return handedOutCount_ < file_.frameCount && handedOutCount_ < taken_ + lookahead_;
}

void FramePipeline::handOut(bool stillBackground) {
    std::lock_guard lock(mutex_);
    still_[++handedOutCount_] = stillBackground;
    handedOut_.notify_one();
}

std::optional<std::vector<uint8_t>> FramePipeline::take(int frameNo, std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    if (!finished_.wait_for(lock, wait, [&] { return ready_.count(frameNo) > 0; })) return std::nullopt;
    std::optional<std::vector<uint8_t>> bytes = std::move(ready_[frameNo]);
    ready_.erase(frameNo);
    taken_ = frameNo;
    return bytes;
}

void FramePipeline::work() {
    startWithCleanVectorRegisters();
    LzwEncoder encoder;
    SmallFrameEncoder small;
    for (;;) {
        int frameNo{};
        bool still{};
        {
            std::unique_lock lock(mutex_);
            handedOut_.wait(lock, [&] { return cancelled_ || nextToStart_ <= handedOutCount_; });
            if (cancelled_) return;
            frameNo = nextToStart_++;
            still = still_[frameNo];
        }
        auto grid = std::make_shared<PixelGrid>();
        try {
            FrameSpec frame = file_;
            frame.frameNo = frameNo;
            frame.stillBackground = still;
            drawFrame(*grid, params_, frame, [this] {
                if (cancelled_.load(std::memory_order_relaxed)) throw Cancelled{};
            });
        } catch (const Cancelled&) {
            return;
        }
        std::vector<uint8_t> bytes;
        if (!encode(frameNo, grid, bytes, encoder, small)) return;
        std::lock_guard lock(mutex_);
        ready_.emplace(frameNo, std::move(bytes));
        finished_.notify_one();  // one writer
    }
}

bool FramePipeline::encode(int frameNo, const std::shared_ptr<const PixelGrid>& grid, std::vector<uint8_t>& bytes,
                           LzwEncoder& encoder, SmallFrameEncoder& small) {
    const RowGate keepGoing = [this, frameNo](int row) {
        rowsBegun_[frameNo].store(std::min(row, file_.pictureSize), std::memory_order_relaxed);
        return !cancelled_.load(std::memory_order_relaxed);
    };
    switch (coding_) {
    case FrameCoding::PlainGif: return encoder.encode(*grid, bytes, keepGoing);
    case FrameCoding::Animation:
        for (int row = 1; row <= file_.pictureSize + 1; ++row)
            if (!keepGoing(row)) return false;
        bytes = animation_->encodeFrame({grid->row(1), static_cast<size_t>(grid->size()) * grid->size()},
                                        [this] { return !cancelled_.load(std::memory_order_relaxed); });
        return !cancelled_.load(std::memory_order_relaxed);
    case FrameCoding::SmallGif: break;
    }
    // Published before waiting for the one before it, so no worker waits in a circle.
    {
        std::lock_guard lock(mutex_);
        drawn_[frameNo] = grid;
        gridDrawn_.notify_all();
    }
    const std::shared_ptr<const PixelGrid> previous = frameNo > 1 ? drawnGrid(frameNo - 1) : nullptr;
    if ((frameNo > 1 && !previous) || !small.encode(previous.get(), *grid, look_, bytes, keepGoing)) return false;
    std::lock_guard lock(mutex_);
    drawn_.erase(frameNo - 1);  // only this frame needed it
    return true;
}

std::shared_ptr<const PixelGrid> FramePipeline::drawnGrid(int frameNo) {
    std::unique_lock lock(mutex_);
    gridDrawn_.wait(lock, [&] { return cancelled_ || drawn_.count(frameNo) > 0; });
    return cancelled_ ? nullptr : drawn_[frameNo];
}

}  // namespace pestrolik
