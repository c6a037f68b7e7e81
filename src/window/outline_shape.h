#pragma once
// A drawn outline (a rectangle, square-cornered or rounded) that frames a group of
// controls without taking clicks or focus.

#include <QColor>
#include <QWidget>

namespace pestrolik {

class OutlineShape : public QWidget {
public:
    enum class Corners { Square, Rounded };
    OutlineShape(Corners corners, QColor colour, QWidget* parent = nullptr);

    Corners corners() const { return corners_; }
    QColor colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Corners corners_;
    QColor colour_;
};

}  // namespace pestrolik
