#include "window/form1.h"

#include "window/about_screen.h"
#include "common/contact.h"
#include "messages/run_messages.h"
#include "window/folder_browser.h"
#include "window/help_text.h"
#include "window/link_label.h"
#include "window/mobile_size.h"
#include "window/program_icon.h"
#include "window/progress_strip.h"
#include "window/save_folder_choice.h"
#include "window/start_button.h"
#include "window/utf8_text.h"
#include "window/window_place.h"
#include "window/window_run.h"
#include "window/window_music.h"
#include "window/window_settings.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace pestrolik {

namespace {

constexpr QSize clientArea{537, 255};

}  // namespace

Form1::Form1(WindowServices services, QWidget* parent) : QWidget(parent), services_(std::move(services)) {
    setUpWindow();
    c_ = createControls(this);
    arrangeFocusOrder(c_);
    browser_ = new FolderBrowser(c_, services_.shell, services_.volumeRoots, this);
    mobile_ = new MobileSize(c_.check2, c_.text2, this);
    run_ = new WindowRun(*this, c_, services_, this);
    music_ = std::make_unique<WindowMusic>(c_.timer3, services_.midi, services_.settings);
    about_ = std::make_unique<AboutScreen>(*this, c_, *music_, [this] { return run_->active(); });
    connectEvents();
    startUp();
}

Form1::~Form1() = default;

void Form1::setUpWindow() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(windowCaption));
    // A fixed border: it can be moved and minimised, never resized.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(clientArea);
    setWindowIcon(programIcon());
    setFont(windowFont());
}

void Form1::connectEvents() {
    connect(c_.command1, &QPushButton::clicked, run_, [this] { run_->click(); });
    connect(c_.command2, &QPushButton::clicked, this, &Form1::info);
    connect(c_.command3, &QPushButton::clicked, this, [this] { about_->open(); });
    connect(c_.command7, &QPushButton::clicked, this, [this] { about_->close(); });
    connect(c_.command4, &QPushButton::clicked, this, &QWidget::close);
    connect(c_.timer1, &QTimer::timeout, c_.command1, &StartButton::blink);
    connect(c_.label10, &LinkLabel::clicked, this, [this] { ShellProgramm(fromUtf8(webAddress)); });
    connect(c_.label15, &LinkLabel::clicked, this,
            [this] { ShellProgramm(QStringLiteral("mailto:") + fromUtf8(mailAddress)); });
}

void Form1::startUp() {
    windowOpen_ = true;
    const WindowSettings stored = readWindowSettings(services_.settings, QString());
    const QString folder = saveFolderAtStart(stored.folder, services_.programFolder);  // also when it is gone
    browser_->goToFolder(folder);
    browser_->setSaveFolder(folder);
    c_.text1->setText(stored.countText);
    c_.text2->setText(stored.sizeText);
    c_.check2->setChecked(stored.mobile);  // may show "128"
    c_.check3->setChecked(stored.still);
    placeWindow(stored.leftTwips, stored.topTwips);
    c_.check5->setChecked(stored.openAtEnd);
    mobile_->takeSizeFromText();  // after the mobile box: a ticked box keeps 128
    NextFileName();
    c_.picture1->showStep(0);
    c_.picture2->showStep(0);
    music_->BuildSong();  // moves the stored voice counters on
    c_.timer3->stop();
}

void Form1::shutDown() {
    windowOpen_ = false;  // a run still going notices this at its next row
    WindowSettings current;
    current.folder = browser_->saveFolder();
    current.countText = c_.text1->text();
    current.sizeText = c_.text2->text();
    current.mobile = c_.check2->isChecked();
    current.still = c_.check3->isChecked();
    // An unmoved window keeps the twips it was placed from, so they never drift to
    // the pixel grid.
    const bool moved = pos() != placedAt_;
    current.leftTwips = moved ? float(pos().x()) * twipsPerPixel : float(placedTwips_.x());
    current.topTwips = moved ? float(pos().y()) * twipsPerPixel : float(placedTwips_.y());
    current.openAtEnd = c_.check5->isChecked();
    writeWindowSettings(services_.settings, current);
    if (!services_.settings.flush())
        services_.messages.show(MessageIcon::Exclamation, QStringLiteral("Ошибка"),
                                QStringLiteral("Не удалось сохранить настройки в файл :\r\n") +
                                    fromUtf8(services_.settings.location()) + u'.');
    music_->StopMusic();  // closes the MIDI output
}

void Form1::closeEvent(QCloseEvent* event) {
    if (windowOpen_) shutDown();
    event->accept();
    // A run on the stack ends the program itself, after deleting its file.
    if (!run_->onStack()) services_.endProgram();
}

void Form1::placeWindow(float leftTwips, float topTwips) {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens << screen->availableGeometry();
    placedAt_ = windowPlace(leftTwips, topTwips, size(), screens);
    const WindowSettings defaults;
    const bool kept = placedAt_ == pixelsFromTwips(leftTwips, topTwips);
    placedTwips_ = kept ? QPointF(leftTwips, topTwips) : QPointF(defaults.leftTwips, defaults.topTwips);
    move(placedAt_);
}

void Form1::info() { services_.messages.show(MessageIcon::Information, helpTitle(), helpText()); }

void Form1::got() {
    const QFileInfo written(run_->outputPath());
    QString location = browser_->saveFolder();
    // A path typed into Text3 can name another folder: tell where the file really is.
    if (QDir(written.absolutePath()) != QDir(location)) location = QDir::toNativeSeparators(written.absolutePath());
    showRunMessage(services_.messages, MessageIcon::None,
                   runMessage({RunOutcome::Completed, run_->outputPath().toStdString()}, location.toStdString()));
}

bool Form1::ShellProgramm(const QString& target) { return services_.shell.open(target); }

void Form1::NextFileName() { browser_->NextFileName(); }

void Form1::refreshFileList() { browser_->refreshFileList(); }

bool Form1::aboutMode() const { return about_->shown(); }

void Form1::runEnded() { about_->runEnded(); }

void Form1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    about_->paint(painter);
}

float Form1::savedSize() const { return mobile_->savedSize(); }

}  // namespace pestrolik
