#pragma once
// Draws and encodes the frames of one file ahead of the writer on worker threads.
// Every frame's image data depends on its own pixels only, so the bytes are the ones
// a single thread would write; they are handed out strictly in frame order.

#include "generation/frame_drawing.h"
#include "generation/picture_params.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace pestrolik {

class FramePipeline {
public:
    // `workers` threads; at most workers + 1 finished frames wait in memory.
    FramePipeline(const PictureParams& params, const FrameSpec& file, int workers);
    ~FramePipeline();  // cancels and joins

    FramePipeline(const FramePipeline&) = delete;
    FramePipeline& operator=(const FramePipeline&) = delete;

    // The image data of frame `frameNo` (1..frameCount), waiting for it if needed.
    // Frames must be taken in order.
    std::vector<uint8_t> take(int frameNo);

private:
    void work();

    const PictureParams params_;
    const FrameSpec file_;
    const int lookahead_;

    std::mutex mutex_;
    std::condition_variable changed_;
    int nextToStart_ = 1;
    int taken_ = 0;  // frames handed to the writer
    std::map<int, std::vector<uint8_t>> ready_;
    std::atomic<bool> cancelled_{false};
    std::vector<std::thread> threads_;
};

}  // namespace pestrolik
