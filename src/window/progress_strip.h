#pragma once
// The progress strips: 33 images of 285 x 13 pixels, drawn once, image k showing k of
// 32 blocks, each shown in a picture box with a 2-pixel sunken frame (289 x 17 in all).

#include <QImage>
#include <QLabel>

namespace pestrolik {

inline constexpr int progressImageCount = 33;  // images 0..32
inline constexpr QSize progressImageSize{285, 13};
inline constexpr QRgb progressBackground = 0xFFE0DFE3;  // RGB(224, 223, 227)
inline constexpr QRgb progressBlock = 0xFFB2B4BF;       // RGB(178, 180, 191)

// Image `step` (0..32): blocks 7 pixels wide with 2-pixel gaps, inside a 1-pixel margin.
QImage progressImage(int step);

class ProgressStrip : public QLabel {
public:
    explicit ProgressStrip(QWidget* parent = nullptr);

    void showStep(int step);  // 0..32
    int step() const { return step_; }

private:
    int step_ = -1;
};

}  // namespace pestrolik
