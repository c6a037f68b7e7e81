// The window's behaviours as the user meets them, written as scenarios in scripts/:
// each "== name" starts a fresh window, each line below it is one step or, after
// "expect", one observation. The words are listed in scripts/README.md.

#include "window_test_support.h"

namespace {

using Words = std::function<void(const QString&)>;

// Each scenario's name and steps, each step after its "file.txt:line" and a tab.
QList<std::pair<QString, QStringList>> readScenarios() {
    QList<std::pair<QString, QStringList>> scenarios;
    for (const QFileInfo& script : QDir(TEST_SCRIPTS_DIR).entryInfoList({"*.txt"}, QDir::Files, QDir::Name)) {
        int number = 0;
        for (const std::string& line : pestrolik::testing::readDataLines(script.filePath().toStdString())) {
            const QString text = QString::fromStdString(line), place = script.fileName() + ':' + QString::number(++number);
            if (text.startsWith("== ")) scenarios.append({script.baseName() + ": " + text.mid(3), {}});
            else if (!text.isEmpty() && !text.startsWith('#')) scenarios.last().second << place + '\t' + text;
        }
    }
    return scenarios;
}

// The first word, and the words after the first space as written (runs of spaces kept).
QString first(const QString& text) { return text.section(u' ', 0, 0); }
QString after(const QString& text) { return text.section(u' ', 1); }

class ScriptRunner {
public:
    ScriptRunner() {
        words_ = {
            {"during", [this](const QString& a) { during_ << a; }},
            {"mkdir", [this](const QString& a) { QVERIFY(QDir().mkpath(path(a))); }},
            {"write", [this](const QString& a) { for (const QString& name : first(a).split(',')) writeFile(path(name), after(a).isEmpty() ? "x" : after(a).toUtf8()); }},
            {"setting", [this](const QString& a) { w_->memorySettings.save(section(a), key(a), filled(after(a)).toStdString()); }},
            {"restart", [this](const QString&) { w_->restart(); }},
            {"volume", [this](const QString&) {
                 w_ = std::make_unique<TestWindow>(nullptr, QStringList{"/", (volume_ = std::make_unique<QTemporaryDir>())->path(), "/no/such/volume"});
             }},
            {"set", [this](const QString& a) { QVERIFY(object(first(a))->setProperty(qPrintable(first(after(a))), filled(after(after(a))))); }},
            {"click", [this](const QString& a) { QTest::mouseClick(qobject_cast<QWidget*>(object(a)), Qt::LeftButton); }},
            {"start", [this](const QString& a) { start(first(a), after(a)); }},
            {"call", [this](const QString& a) { QVERIFY(QMetaObject::invokeMethod(object(first(a)), qPrintable(after(a)))); }},
            {"signal", [this](const QString&) { w_->form().closeBySignal(); }},  // as a caught ending signal does
            {"move", [this](const QString& a) { w_->form().move(first(a).toInt(), after(a).toInt()); }},
            {"choose", [this](const QString& a) { chooseInTree(path(a)); }},
            {"drive", [this](const QString& a) { w_->c().drive1->setCurrentIndex(w_->c().drive1->findText(filled(a))); }},
            {"click-listed", [this](const QString& a) { clickListed(a, false); }},
            {"dclick-listed", [this](const QString& a) { clickListed(a, true); }},
            {"keys", [this](const QString& a) {  // into the active window, so that focus moves as for a person
                 QApplication::setActiveWindow(&w_->form());
                 QVERIFY(QTest::qWaitForWindowActive(&w_->form()));
                 QTest::keyClicks(qobject_cast<QWidget*>(object(first(a))), after(a));
             }},
            {"clear-log", [this](const QString&) { w_->log.clear(); }},
            {"forget-midi", [this](const QString&) { w_->midi.forget(); }},

            {"expect message", [this](const QString& a) { nextMessage(filled(a)); }},
            {"expect entries", [this](const QString& a) { QTRY_COMPARE(QDir(w_->folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).join(','), a); }},
            {"expect listed", [this](const QString& a) { QTRY_COMPARE(listedFiles().join(','), a); }},
            {"expect opened", [this](const QString& a) { QCOMPARE(w_->shell.opened.join(','), filled(a)); }},
            {"expect ended", [this](const QString& a) { QCOMPARE(w_->endProgramCalls, a.toInt()); }},
            {"expect look", [this](const QString& a) {  // the observations listed under that name in data/looks.txt
                 for (const auto& row : readDataTable(TEST_DATA_DIR "/looks.txt")) if (row[0] == a.toStdString()) run("expect " + QString::fromStdString(row[1]));
             }},
            {"expect idle", [this](const QString&) {  // as after a run; the run's end arrives queued
                 run("expect look idle");
                 QTRY_VERIFY(w_->c().command1->background() == QColor(idleColour) && !w_->form().run().active() &&
                         w_->c().picture1->step() == 0 && w_->c().picture2->step() == 0 && w_->c().label7->text().isEmpty());
             }},
            {"expect whole", [this](const QString& a) { QVERIFY2(decodeGif(path(a)).ok, qPrintable(a)); }},
            {"expect controls", [this](const QString& a) {  // each frame's control byte
                 QStringList bytes;
                 for (int control : decodeGif(path(first(a))).controlBytes) bytes << QString::number(control);
                 QCOMPARE(bytes.join(','), after(a));
             }},
            {"expect bytes", [this](const QString& a) { QCOMPARE(contents(path(first(a))), after(a).toUtf8()); }},
            {"expect same", [this](const QString& a) { QCOMPARE(contents(path(first(a))) == contents(path(first(after(a)))), after(after(a)) == "1"); }},
            {"expect setting", [this](const QString& a) {
                 QCOMPARE(QString::fromStdString(w_->memorySettings.get(section(a), key(a), "<missing>")), filled(after(a)));
             }},
            {"expect saved", [this](const QString& a) { QCOMPARE(w_->log.filter(QRegularExpression("^save ")).join(','), filled(a)); }},
            {"expect order", [this](const QString& a) {  // log entries starting so, the first before the second
                 const int earlier = w_->log.indexOf(QRegularExpression(a.section(" < ", 0, 0) + ".*"));
                 const int later = w_->log.indexOf(QRegularExpression(a.section(" < ", 1) + ".*"));
                 QVERIFY2(earlier >= 0 && earlier < later, qPrintable(w_->log.join('\n')));
             }},
            {"expect drawn", [this](const QString& a) {
                 const QColor wanted = a == "tooltip" ? toolTipColour() : QColor(a);
                 const QImage drawn = w_->c().command1->grab().toImage();  // the face to its edge, and the palette the style shades
                 QVERIFY(drawn.pixelColor(40, 20) == wanted && drawn.pixelColor(40, drawn.height() - 3) == wanted);
                 QCOMPARE(w_->c().command1->palette().color(QPalette::Button), wanted);
             }},
            {"expect folder", [this](const QString& a) { folder(path(first(a)), after(a).toInt()); }},
            {"expect tree", [this](const QString& a) { tree(path(a)); }},
            {"expect tree-children", [this](const QString& a) { QTRY_COMPARE(rows(w_->c().dir1, w_->c().dir1->currentIndex()), a); }},
            {"expect tree-top", [this](const QString& a) { QTRY_COMPARE(rows(w_->c().dir1, w_->c().dir1->rootIndex(), QFileSystemModel::FilePathRole), path(a)); }},
            {"expect listed-path", [this](const QString& a) { QCOMPARE(w_->form().folderBrowser().listedFilePath(), path(a)); }},
            {"expect midi-silent", [this](const QString&) { QVERIFY(w_->midi.events().empty()); }},
            {"expect midi-closed", [this](const QString&) { QCOMPARE(w_->midi.events().back().call, RecordingMidiOutput::Call::Close); }},
            {"expect sent", [this](const QString& a) {  // the first messages, packed, in hex; sent once opened
                 QTRY_VERIFY_WITH_TIMEOUT(qsizetype(w_->midi.sent().size()) > a.count(','), 5000);
                 QCOMPARE(w_->midi.events().front().call, RecordingMidiOutput::Call::Open);
                 QStringList heard;
                 for (uint32_t message : w_->midi.sent()) heard << QString::number(message, 16);
                 QCOMPARE(heard.mid(0, a.count(',') + 1).join(','), a);
             }},
            {"expect screen", [this](const QString& a) { screen(a == "about"); }},
            {"expect refsize", [this](const QString& a) { QCOMPARE(w_->form().run().params().refSize, a.toDouble()); }},
        };
    }

    // "expect CONTROL PROPERTY VALUE" reads any property of a control, the window or a timer.
    void run(const QString& step) {
        const bool expectation = first(step) == "expect";
        const QString rest = expectation ? after(step) : step, word = (expectation ? "expect " : "") + first(rest);
        if (words_.count(word)) return words_[word](after(rest));
        QVERIFY2(expectation && rest[0].isUpper(), qPrintable("unknown words: " + step));
        const QVariant value = object(first(rest))->property(qPrintable(first(after(rest))));
        QVERIFY2(value.isValid(), qPrintable("no such property: " + step));  // a misspelt one would read as ""
        // Progress arrives queued from the run's thread: wait for it, within a limit.
        QTRY_COMPARE_WITH_TIMEOUT(object(first(rest))->property(qPrintable(first(after(rest)))).toString(),
                                  filled(after(after(rest))), 5000);
    }

    // Every message shown was expected.
    void finish() { QCOMPARE(w_->messages.shown.size(), qsizetype(messagesSeen_)); }

private:
    QString filled(QString text) const {
        text.replace("{f}", w_->folder()).replace("{start}", startCaption).replace("\\r\\n", "\r\n");
        if (volume_) text.replace("{v}", volume_->path());
        // "{file:help.txt}": the lines of that data file, joined as a message joins them.
        const QRegularExpressionMatch file = QRegularExpression("\\{file:(.+)\\}").match(text);
        QFile data(TEST_DATA_DIR "/" + file.captured(1));
        if (!file.hasMatch() || !data.open(QIODevice::ReadOnly | QIODevice::Text)) return text;
        return text.replace(file.captured(0), QString::fromUtf8(data.readAll()).chopped(1).replace('\n', "\r\n"));
    }
    // A path in the window's folder unless it starts at the root; "." is that folder.
    QString path(const QString& text) const {
        const QString full = filled(text);
        return full.startsWith('/') ? full : full == "." ? w_->folder() : w_->folder() + '/' + full;
    }
    // "tem2/px 300": the section and the key.
    static std::string section(const QString& text) { return first(text).section('/', 0, 0).toStdString(); }
    static std::string key(const QString& text) { return first(text).section('/', 1).toStdString(); }

    QObject* object(const QString& name) const {
        QObject* found = name == w_->form().objectName() ? &w_->form() : w_->form().findChild<QObject*>(name);
        if (!found) QTest::qFail(qPrintable("no control " + name), __FILE__, __LINE__);
        return found ? found : &nowhere_;  // the scenario fails, and the next one runs
    }

    // Fills count and size, presses START, takes the "during" steps, and returns when the run has ended.
    void start(const QString& count, const QString& size) {
        w_->c().text1->setText(count);
        w_->c().text2->setText(size);
        QTest::mouseClick(w_->c().command1, Qt::LeftButton);
        for (const QString& step : std::exchange(during_, {})) if (!QTest::currentTestFailed()) run(step);
        QTRY_VERIFY_WITH_TIMEOUT(!w_->form().run().busy(), 20000);
    }

    void nextMessage(const QString& expected) {
        QTRY_VERIFY2(messagesSeen_ < w_->messages.shown.size(), qPrintable("no message: " + expected));
        const ShownMessage& shown = w_->messages.shown[messagesSeen_++];
        const QString icon = QStringList{"none", "information", "exclamation"}[int(shown.icon)];
        QCOMPARE(icon + '|' + shown.title + '|' + shown.text, expected);
    }

    void chooseInTree(const QString& folder) {
        auto* proxy = qobject_cast<QSortFilterProxyModel*>(w_->c().dir1->model());
        const QModelIndex index = proxy->mapFromSource(qobject_cast<QFileSystemModel*>(proxy->sourceModel())->index(folder));
        QVERIFY2(index.isValid(), qPrintable(folder));
        w_->c().dir1->setCurrentIndex(index);
    }
    static QString rows(const QAbstractItemView* view, const QModelIndex& parent, int role = Qt::DisplayRole) {
        QStringList rows;
        for (int row = 0; row < view->model()->rowCount(parent); ++row) rows << view->model()->index(row, 0, parent).data(role).toString();
        return rows.join(',');
    }
    // Selected, opened with everything above it, and in view, once the folders listed so far allow.
    void tree(const QString& folder) {
        QTreeView* dir1 = w_->c().dir1;
        QTRY_COMPARE(dir1->currentIndex().data(QFileSystemModel::FilePathRole).toString(), folder);
        for (QModelIndex up = dir1->currentIndex(); up.isValid(); up = up.parent())
            QTRY_VERIFY2(dir1->isExpanded(up), qPrintable(up.data().toString()));
        QTRY_VERIFY(dir1->visualRect(dir1->currentIndex()).intersects(dir1->viewport()->rect()));
    }
    // The save folder, the tree, the file list and the proposal all agree.
    void folder(const QString& folder, int proposal) {
        FolderBrowser& browser = w_->form().folderBrowser();
        QCOMPARE(browser.saveFolder() + '|' + browser.treePath() + '|' + browser.fileListFolder(), folder + '|' + folder + '|' + folder);
        QCOMPARE(w_->c().text3->text(), folder + "/Kaleidrix_" + QString::number(proposal) + ".GIF");
        QCOMPARE(browser.fileNumber(), proposal);
    }

    void clickListed(const QString& name, bool twice) {
        QListView* file1 = w_->c().file1;
        QTRY_VERIFY(listedFiles().contains(name));
        const QPoint cell = file1->visualRect(file1->model()->index(int(listedFiles().indexOf(name)), 0, file1->rootIndex())).center();
        twice ? QTest::mouseDClick(file1->viewport(), Qt::LeftButton, {}, cell) : QTest::mouseClick(file1->viewport(), Qt::LeftButton, {}, cell);
    }

    // Every control shown or hidden as the layout table says for that screen.
    void screen(bool about) {
        for (const auto& row : readDataTable(TEST_DATA_DIR "/controls.txt"))
            QVERIFY2(qobject_cast<QWidget*>(object(row[0].c_str()))->isVisible() == (row[about ? 6 : 3] == "1"), row[0].c_str());
    }

    QStringList listedFiles() const { return rows(w_->c().file1, w_->c().file1->rootIndex()).split(',', Qt::SkipEmptyParts); }
    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : "<unreadable>";
    }
    static DecodedGif decodeGif(const QString& path) { return testing::decodeGif(readFileBytes(QFile::encodeName(path).toStdString())); }

    mutable QWidget nowhere_;  // what a misspelt control name finds
    std::unique_ptr<QTemporaryDir> volume_;
    std::unique_ptr<TestWindow> w_ = std::make_unique<TestWindow>();
    std::map<QString, Words> words_;
    QStringList during_;
    int messagesSeen_ = 0;
};

}  // namespace

class WindowScriptsTest : public QObject {
    Q_OBJECT

private slots:
    void scenarios_data() {
        QTest::addColumn<QStringList>("steps");
        for (const auto& [name, steps] : readScenarios()) QTest::newRow(qPrintable(name)) << steps;
    }

    void scenarios() {
        QFETCH(QStringList, steps);
        ScriptRunner runner;
        for (const QString& step : steps) {
            runner.run(step.section('\t', 1));
            if (QTest::currentTestFailed()) QFAIL(qPrintable("at " + QString(step).replace('\t', ": ")));
        }
        runner.finish();
    }
};

PESTROLIK_WINDOW_TEST_MAIN(WindowScriptsTest)
#include "window_scripts_test.moc"
