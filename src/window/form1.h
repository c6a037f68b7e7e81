#pragma once
// The program's one window. It owns every control and the window-level state; the
// run, the folder browser and the mobile-size box are its helpers.

#include "window/controls.h"
#include "window/run_window.h"
#include "window/window_services.h"

#include <QWidget>

#include <memory>

namespace pestrolik {

class AboutScreen;
class FolderBrowser;
class MobileSize;
class WindowMusic;
class WindowRun;

class Form1 : public QWidget, private RunWindow {
public:
    // Runs the start-up sequence: the window comes back as it was left.
    explicit Form1(WindowServices services, QWidget* parent = nullptr);
    ~Form1() override;

    // Shows the help text.
    void info();
    // Shows the completion message for the file just written.
    void got() override;
    // Hands `target` (a file, a web or "mailto:" address) to the desktop; true when
    // it was accepted.
    bool ShellProgramm(const QString& target);
    // Proposes the next free file name in the save folder, in Text3.
    void NextFileName() override;
    // Lists the save folder's files again.
    void refreshFileList() override;

    WindowState windowState() const override { return state_; }
    // Closes as the close box does, but asks nobody anything: nobody may be there.
    void closeBySignal();
    bool aboutMode() const;
    const Controls& controls() const { return c_; }
    WindowRun& run() { return *run_; }
    FolderBrowser& folderBrowser() { return *browser_; }
    const WindowMusic& music() const { return *music_; }
    float savedSize() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // RunWindow
    void setCaption(const QString& caption) override { setWindowTitle(caption); }
    void runEnded() override;

    void setUpWindow();
    void connectEvents();
    void startUp();
    void shutDown();
    void placeWindow(float leftTwips, float topTwips);

    WindowServices services_;
    Controls c_;
    FolderBrowser* browser_;
    MobileSize* mobile_;
    WindowRun* run_;
    std::unique_ptr<WindowMusic> music_;
    std::unique_ptr<AboutScreen> about_;

    WindowState state_ = WindowState::ClosedByPerson;  // until start-up has run
    // The position as read, written back unchanged when the window did not move, so
    // that whole twips never drift to the pixel grid.
    QPointF placedTwips_;
    QPoint placedAt_;
};

}  // namespace pestrolik
