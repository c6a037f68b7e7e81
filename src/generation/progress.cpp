#include "generation/progress.h"

#include "generation/whole_part.h"

namespace pestrolik {

namespace {

// Share of the file done when row `row` of frame `frameNo` begins.
double fileShare(int frameNo, int row, int pictureSize, int frameCount) {
    return (static_cast<double>(frameNo - 1) * pictureSize + row) / (static_cast<double>(frameCount) * pictureSize);
}

}  // namespace

int frameStripStep(int row, int pictureSize) {
    return wholePart(static_cast<double>(row) / pictureSize * stripSteps);
}

int percentDone(int frameNo, int row, int pictureSize, int frameCount) {
    return wholePart(fileShare(frameNo, row, pictureSize, frameCount) * 100);
}

int totalStripStep(int frameNo, int row, int pictureSize, int frameCount) {
    return wholePart(fileShare(frameNo, row, pictureSize, frameCount) * stripSteps);
}

}  // namespace pestrolik
