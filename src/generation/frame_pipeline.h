#pragma once
// Draws and encodes the frames of one file ahead of the writer on worker threads.
// Every frame's bytes depend on its own pixels only (a small frame's also on the
// picture before it, which the workers share), so the bytes are the ones a single
// thread would write; they are handed out strictly in frame order.
//
// The writer's thread hands the frames out one by one, each with its still-background
// choice, so nothing but this class is touched by the workers. Memory is bounded by
// lookahead(workers) frames, whatever the frame count.

#include "generation/animation_encoder.h"
#include "generation/frame_drawing.h"
#include "generation/picture_params.h"
#include "gif/lzw_encoder.h"
#include "gif/small_frame.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace pestrolik {

// What a frame's bytes are.
enum class FrameCoding {
    PlainGif,  // the image data that follows the plain frame head
    SmallGif,  // a whole small frame
    Animation, // a frame of another format, as its AnimationEncoder makes it
};

class FramePipeline {
public:
    // How many frames may be handed out and not yet taken.
    static constexpr int lookahead(int workers) { return workers + 1; }

    // `workers` threads for the frames of `file` (its frameNo and still flag are ignored);
    // `look` serves SmallGif only, `animation` (which must outlive the pipeline) Animation only.
    FramePipeline(const PictureParams& params, const FrameSpec& file, int workers,
                  FrameCoding coding = FrameCoding::PlainGif, SmallFrameLook look = {},
                  const AnimationEncoder* animation = nullptr);
    // Cancels: a worker leaves its frame within one row or ring, then all are joined.
    ~FramePipeline();

    FramePipeline(const FramePipeline&) = delete;
    FramePipeline& operator=(const FramePipeline&) = delete;

    // True while another frame may be handed out: frames are left and fewer than
    // lookahead are out.
    bool wantsFrame();
    // Hands the next frame (1, 2, ...) to the workers, drawn with `stillBackground`;
    // only while wantsFrame().
    void handOut(bool stillBackground);

    // The image data of frame `frameNo`, or nothing if it is not ready within `wait`.
    // Frames are taken in order, each after it was handed out.
    std::optional<std::vector<uint8_t>> take(int frameNo, std::chrono::milliseconds wait);
    // The last row of frame `frameNo` whose encoding has begun (0: none yet), so the
    // writer can show how far the frame it waits for has come.
    int rowsBegun(int frameNo) const { return rowsBegun_[frameNo].load(std::memory_order_relaxed); }

private:
    void work();
    // The frame's bytes as `coding_` asks; false when cancelled.
    bool encode(int frameNo, const std::shared_ptr<const PixelGrid>& grid, std::vector<uint8_t>& bytes,
                LzwEncoder& encoder, SmallFrameEncoder& small);
    // The picture of `frameNo` once drawn, or null when cancelled first.
    std::shared_ptr<const PixelGrid> drawnGrid(int frameNo);

    const PictureParams params_;
    const FrameSpec file_;
    const int lookahead_;
    const FrameCoding coding_;
    const SmallFrameLook look_;
    const AnimationEncoder* const animation_;

    // Everything below is guarded by the mutex, and every notification is made while it
    // is held: at a few per frame that costs nothing, and no notify can race the
    // destructor.
    std::mutex mutex_;
    std::condition_variable handedOut_;  // to the workers: a frame is out, or cancelled
    std::condition_variable finished_;   // to the writer: a frame is ready
    std::vector<bool> still_;            // per frame, as handed out; index 0 unused
    int handedOutCount_ = 0;
    int nextToStart_ = 1;
    int taken_ = 0;
    std::map<int, std::vector<uint8_t>> ready_;
    // SmallGif: the pictures drawn whose next frame has not been encoded yet.
    std::map<int, std::shared_ptr<const PixelGrid>> drawn_;
    std::condition_variable gridDrawn_;
    std::atomic<bool> cancelled_{false};  // also read without the lock, at every row and ring
    std::vector<std::atomic<int>> rowsBegun_;  // per frame; progress only, read without the lock
    std::vector<std::thread> threads_;
};

}  // namespace pestrolik
