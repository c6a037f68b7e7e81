#include "generation/frame_pipeline.h"

#include "core_test.h"

// A STOP drops the pipeline while its workers are inside big frames, or have some
// finished and waiting: they leave mid-frame and are joined, whatever the moment.
TEST(FramePipelineTest, DroppedAtAnyMomentOfItsFrames) {
    PictureParams params;
    params.refSize = 1000;
    for (int waitMs : {0, 3, 10, 40}) {
        FramePipeline pipeline(params, {1000, 8, 1, false}, 3);
        while (pipeline.wantsFrame()) pipeline.handOut(waitMs % 2 == 1);
        const auto first = pipeline.take(1, std::chrono::milliseconds(waitMs));
        EXPECT_TRUE(!first || first->size() > 1000u);
    }
}
