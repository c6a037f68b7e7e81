#include "generation/frame_pipeline.h"

#include "gif/lzw_encoder.h"

namespace pestrolik {

FramePipeline::FramePipeline(const PictureParams& params, const FrameSpec& file, int workers)
    : params_(params), file_(file), lookahead_(workers + 1) {
    for (int i = 0; i < workers; ++i) threads_.emplace_back([this] { work(); });
}

FramePipeline::~FramePipeline() {
    cancelled_ = true;
    changed_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

void FramePipeline::work() {
    PixelGrid grid;
    LzwEncoder encoder;
    const RowGate keepGoing = [this](int) { return !cancelled_.load(std::memory_order_relaxed); };
    for (;;) {
        int frameNo = 0;
        {
            std::unique_lock lock(mutex_);
            // Stay at most `lookahead_` frames ahead of the writer, so memory does not
            // grow with the frame count.
            changed_.wait(lock, [&] {
                return cancelled_ || nextToStart_ > file_.frameCount || nextToStart_ <= taken_ + lookahead_;
            });
            if (cancelled_ || nextToStart_ > file_.frameCount) return;
            frameNo = nextToStart_++;
        }
        FrameSpec frame = file_;
        frame.frameNo = frameNo;
        drawFrame(grid, params_, frame);
        std::vector<uint8_t> bytes;
        if (!encoder.encode(grid, bytes, keepGoing)) return;
        {
            std::lock_guard lock(mutex_);
            ready_.emplace(frameNo, std::move(bytes));
        }
        changed_.notify_all();
    }
}

std::vector<uint8_t> FramePipeline::take(int frameNo) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return ready_.count(frameNo) > 0; });
    std::vector<uint8_t> bytes = std::move(ready_[frameNo]);
    ready_.erase(frameNo);
    taken_ = frameNo;
    lock.unlock();
    changed_.notify_all();
    return bytes;
}

}  // namespace pestrolik
