#pragma once
// The mobile-size box: ticking it keeps the size text's number and shows "128";
// unticking it brings the kept number back; while it is ticked the size box returns
// to "128" whenever it loses the focus.

#include "generation/run_inputs.h"

#include <QObject>

class QCheckBox;
class QLineEdit;

namespace pestrolik {

inline constexpr const char* mobileSizeText = "128";

class MobileSize : public QObject {
public:
    // Watches `check2` and `text2` (not owned; they outlive this object).
    MobileSize(QCheckBox* check2, QLineEdit* text2, QObject* parent = nullptr);

    // Takes savedSize from the size box (start-up), keeping the old number when the
    // box does not begin with one.
    void takeSizeFromText();
    float savedSize() const { return savedSize_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onToggled(bool ticked);

    QCheckBox* check2_;
    QLineEdit* text2_;
    float savedSize_ = defaultPictureSize;  // until the box has held a number
};

}  // namespace pestrolik
