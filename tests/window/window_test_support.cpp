#include "window_test_support.h"

#include "window/window_run.h"

namespace pestrolik::test {

TestWindow::TestWindow(SettingsStore* settings, QStringList volumes) : settings_(settings), volumes_(volumes) {
    restart();
}

void TestWindow::restart() {
    form_.reset();
    form_ = std::make_unique<Form1>(WindowServices{
        .settings = settings_ ? *settings_ : static_cast<SettingsStore&>(memorySettings),
        .messages = messages,
        .shell = shell,
        .clock = chance,
        .random = chance,
        .midi = midi,
        .programFolder = dir_.path(),
        .volumeRoots = volumes_,
        .endProgram = [this] { ++endProgramCalls, log << "end program"; },
    });
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void TestWindow::start(const QString& count, const QString& size, const std::function<void()>& during) {
    c().text1->setText(count);
    c().text2->setText(size);
    QTest::mouseClick(c().command1, Qt::LeftButton);
    if (during) during();
    QTRY_VERIFY_WITH_TIMEOUT(!form_->run().busy(), 20000);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::NewOnly));
    file.write(bytes);
}

QStringList listedFiles(const Controls& c) {
    QStringList names;
    const QModelIndex root = c.file1->rootIndex();
    for (int row = 0; row < c.file1->model()->rowCount(root); ++row) names << c.file1->model()->index(row, 0, root).data().toString();
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
