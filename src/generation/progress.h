#pragma once
// The run's progress arithmetic: which strip image and which percentage a row shows.

namespace pestrolik {

constexpr int stripSteps = 32;  // strip images 0..32

// Step of the picture strip when row `row` (1..size) begins.
int frameStripStep(int row, int pictureSize);
// Percentage of the whole file done when row `row` of frame `frameNo` begins.
int percentDone(int frameNo, int row, int pictureSize, int frameCount);
// Step of the whole-file strip at the same moment.
int totalStripStep(int frameNo, int row, int pictureSize, int frameCount);

}  // namespace pestrolik
