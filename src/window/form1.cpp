#include "window/form1.h"

#include "window/about_screen.h"
#include "common/contact.h"
#include "window/folder_browser.h"
#include "window/help_text.h"
#include "window/link_label.h"
#include "window/mobile_size.h"
#include "window/progress_strip.h"
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
#include <QIcon>
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
    setWindowIcon(QIcon(QStringLiteral(":/pestrolik/pestrolik_icon.png")));
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
    SettingsStore& store = services_.settings;
    windowOpen_ = true;
    const QString stored = readText(store, key::windowSection, key::folder, services_.programFolder);
    // A folder that is gone, or on a drive that is not ready, cannot be shown.
    const QString folder = QFileInfo(stored).isDir() ? stored : services_.programFolder;
    browser_->goToFolder(folder);
    browser_->setSaveFolder(folder);
    c_.text1->setText(readText(store, key::windowSection, key::count, QStringLiteral("3")));
    c_.text2->setText(readText(store, key::windowSection, key::size, QStringLiteral("200")));
    c_.check2->setChecked(readBox(store, key::windowSection, key::mobile, false));  // may show "128"
    c_.check3->setChecked(readBox(store, key::windowSection, key::still, false));
    readPlace();
    c_.check5->setChecked(readBox(store, key::musicSection, key::openAtEnd, true));
    mobile_->takeSizeFromText();  // after the mobile box: a ticked box keeps 128
    c_.timer1->stop();
    NextFileName();
    c_.picture1->showStep(0);
    c_.picture2->showStep(0);
    music_->BuildSong();  // moves the stored voice counters on
    c_.timer3->stop();
}

void Form1::shutDown() {
    SettingsStore& store = services_.settings;
    windowOpen_ = false;  // a run still going notices this at its next row
    writeText(store, key::windowSection, key::folder, browser_->saveFolder());
    writeText(store, key::windowSection, key::count, c_.text1->text());
    writeText(store, key::windowSection, key::size, c_.text2->text());
    writeBox(store, key::windowSection, key::mobile, c_.check2->isChecked());
    writeBox(store, key::windowSection, key::still, c_.check3->isChecked());
    writePlace();
    writeBox(store, key::musicSection, key::openAtEnd, c_.check5->isChecked());
    music_->StopMusic();  // closes the MIDI output
}

void Form1::closeEvent(QCloseEvent* event) {
    if (windowOpen_) shutDown();
    event->accept();
    // A run on the stack ends the program itself, after deleting its file.
    if (!run_->onStack()) services_.endProgram();
}

void Form1::readPlace() {
    leftTwips_ = readTwips(services_.settings, key::left, defaultLeftTwips);
    topTwips_ = readTwips(services_.settings, key::top, defaultTopTwips);
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens << screen->availableGeometry();
    placedAt_ = windowPlace(leftTwips_, topTwips_, size(), screens);
    if (placedAt_ != pixelsFromTwips(leftTwips_, topTwips_)) {
        leftTwips_ = defaultLeftTwips;
        topTwips_ = defaultTopTwips;
    }
    move(placedAt_);
}

void Form1::writePlace() {
    if (pos() != placedAt_) {
        leftTwips_ = float(pos().x()) * twipsPerPixel;
        topTwips_ = float(pos().y()) * twipsPerPixel;
    }
    writeTwips(services_.settings, key::left, leftTwips_);
    writeTwips(services_.settings, key::top, topTwips_);
}

void Form1::info() { services_.messages.show(MessageIcon::Information, helpTitle(), helpText()); }

void Form1::got() {
    const QFileInfo written(run_->outputPath());
    QString location = browser_->saveFolder();
    // A path typed into Text3 can name another folder: tell where the file really is.
    if (QDir(written.absolutePath()) != QDir(location)) location = QDir::toNativeSeparators(written.absolutePath());
    services_.messages.show(MessageIcon::None, QString::fromUtf8(windowCaption) + QStringLiteral(" - Ура!"),
                            QStringLiteral("Файл  готов!  Его  имя:   \"") + written.fileName() +
                                QStringLiteral("\"\r\nМестонахождение:   ") + location);
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
