#include "window_test_support.h"

#include "window/start_button.h"
#include "window/window_run.h"

#include <cstdlib>

namespace pestrolik::test {

namespace {

QString text(std::string_view view) { return QString::fromUtf8(view.data(), qsizetype(view.size())); }

}  // namespace

void RecordingMessages::show(MessageIcon icon, const QString& title, const QString& text) {
    shown.append({icon, title, text});
    log_ << QStringLiteral("message ") + title;
    if (whileShown) whileShown();
}

bool RecordingShell::open(const QString& target) {
    opened << target;
    log_ << QStringLiteral("open ") + target;
    return true;
}

std::string RecordingSettings::get(std::string_view section, std::string_view key, std::string_view defaultValue) {
    log_ << QStringLiteral("get ") + text(section) + u'/' + text(key);
    return backing_ ? backing_->get(section, key, defaultValue) : memory_.get(section, key, defaultValue);
}

void RecordingSettings::save(std::string_view section, std::string_view key, std::string_view value) {
    if (onSave) onSave();
    log_ << QStringLiteral("save ") + text(section) + u'/' + text(key) + u'=' + text(value);
    (backing_ ? *backing_ : static_cast<SettingsStore&>(memory_)).save(section, key, value);
}

TestWindow::TestWindow(SettingsStore* settings, QStringList extraVolumes,
                       const std::function<void(WindowServices&)>& adjust)
    : settings_(settings), volumes_(QStringList{QStringLiteral("/")} + extraVolumes) {
    restart(adjust);
}

TestWindow::~TestWindow() = default;

void TestWindow::restart(const std::function<void(WindowServices&)>& adjust) {
    form_.reset();
    form_ = std::make_unique<Form1>(services(adjust));
    form_->run().setTurnIntervalMs(0);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

WindowServices TestWindow::services(const std::function<void(WindowServices&)>& adjust) {
    WindowServices made{
        .settings = settings_ ? *settings_ : static_cast<SettingsStore&>(memorySettings),
        .messages = messages,
        .shell = shell,
        .clock = clock,
        .random = random,
        .midi = midi,
        .programFolder = dir_.path(),
        .volumeRoots = volumes_,
        .endProgram =
            [this] {
                ++endProgramCalls;
                log << QStringLiteral("end program");
            },
    };
    if (adjust) adjust(made);
    return made;
}

QStringList TestWindow::folderEntries() const {
    return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void TestWindow::start(const QString& count, const QString& size) {
    c().text1->setText(count);
    c().text2->setText(size);
    clickStart();
}

void TestWindow::clickStart() { QTest::mouseClick(c().command1, Qt::LeftButton); }

pestrolik::testing::DecodedGif decodeGif(const QString& path) {
    return pestrolik::testing::decodeGif(pestrolik::testing::readFileBytes(QFile::encodeName(path).toStdString()));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::NewOnly));
    file.write(bytes);
}

QStringList listedFiles(const Controls& c) {
    QStringList names;
    const QAbstractItemModel* model = c.file1->model();
    const QModelIndex root = c.file1->rootIndex();
    for (int row = 0; row < model->rowCount(root); ++row) names << model->index(row, 0, root).data().toString();
    return names;
}

void isolateFromUser() {
    // Outlives the tests and is removed at exit; Qt's runtime folder goes there too,
    // so nothing is left behind in the temporary folder.
    static QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace pestrolik::test
