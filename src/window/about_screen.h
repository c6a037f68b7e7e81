#pragma once
// The window's about mode: the working controls step aside, the about text is
// printed on the window, the contact links and the way back appear, and the song
// plays. A run in progress goes on underneath.

#include <QStringList>

#include <functional>

class QPainter;
class QWidget;

namespace pestrolik {

struct Controls;
class WindowMusic;

class AboutScreen {
public:
    // `runActive` tells whether a run is in progress (it keeps its whole-file strip).
    AboutScreen(QWidget& form, const Controls& controls, WindowMusic& music, std::function<bool()> runActive);

    void open();   // Command3
    void close();  // Command7
    // At the end of a run: the whole-file strip, kept while it ran, goes too.
    void runEnded();
    bool shown() const { return shown_; }

    // Prints the about text while the screen is shown; the window calls it when painting.
    void paint(QPainter& painter) const;

    // The printed lines, top to bottom.
    static QStringList lines();

private:
    void showControls(bool aboutMode);

    QWidget& form_;
    const Controls& c_;
    WindowMusic& music_;
    std::function<bool()> runActive_;
    bool shown_ = false;
};

}  // namespace pestrolik
