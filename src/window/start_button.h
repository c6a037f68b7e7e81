#pragma once
// The START/STOP button: a push button whose caption wraps within it and whose
// background shows a colour, either a fixed one or the system tool-tip colour
// (followed when the system changes it), so that it can blink during a run.

#include <QColor>
#include <QPushButton>

class QPainter;

namespace pestrolik {

inline constexpr QRgb blinkColour = 0xFFBBFFFF;  // RGB(187, 255, 255)
inline constexpr QRgb idleColour = 0xFFFFFFEE;   // RGB(255, 255, 238)

class StartButton : public QPushButton {
public:
    explicit StartButton(QWidget* parent = nullptr);

    void showToolTipColour();
    void showColour(QColor colour);
    bool showsToolTipColour() const { return followsToolTip_; }
    QColor background() const;

    // One tick of the blinking: the tool-tip colour gives way to the blink colour, any
    // other colour to the tool-tip colour.
    void blink();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The caption in lines centred as they stand, in `area`.
    void drawCaption(QPainter& painter, const QRect& area) const;
    void applyBackground();

    bool followsToolTip_ = true;
    QColor colour_;
};

// The system tool-tip background colour as it is now.
QColor toolTipColour();

}  // namespace pestrolik
