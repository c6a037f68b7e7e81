// The window's behaviours as the user meets them, written as scenarios in scripts/:
// each "== name" starts a fresh window, each line below it is one step or, after
// "expect", one observation. The words are listed in scripts/README.

#include "window_test_support.h"

namespace {

struct Scenario {
    QString name;
    QStringList steps;
};

QList<Scenario> readScenarios() {
    QList<Scenario> scenarios;
    for (const QFileInfo& script : QDir(TEST_SCRIPTS_DIR).entryInfoList({"*.txt"}, QDir::Files, QDir::Name))
        for (const std::string& line : pestrolik::testing::readDataLines(script.filePath().toStdString())) {
            const QString text = QString::fromStdString(line);
            if (text.startsWith("== ")) scenarios.append({script.baseName() + ": " + text.mid(3), {}});
            else if (!text.isEmpty() && !text.startsWith('#')) scenarios.last().steps << text;
        }
    return scenarios;
}

// The words after the first space, as written (runs of spaces kept).
QString after(const QString& text) { return text.section(u' ', 1); }
QString first(const QString& text) { return text.section(u' ', 0, 0); }

class ScriptRunner {
public:
    ScriptRunner() {
        const auto on = [this](const QString& word, std::function<void(const QString&)> step) { steps_[word] = step; };
        const auto see = [this](const QString& what, std::function<void(const QString&)> check) { checks_[what] = check; };
        on("expect", [this](const QString& a) {
            const auto found = checks_.find(first(a));
            QVERIFY2(found != checks_.end(), qPrintable("unknown expectation: " + a));
            found->second(after(a));
        });
        on("during", [this](const QString& a) { during_ << a; });
        on("mkdir", [this](const QString& a) { QVERIFY(QDir().mkpath(path(a))); });
        on("write", [this](const QString& a) { writeFile(path(first(a)), after(a).isEmpty() ? "x" : after(a).toUtf8()); });
        on("remove", [this](const QString& a) { QVERIFY(QFile::remove(path(a))); });
        on("setting", [this](const QString& a) { w_->memorySettings.save(section(a), key(a), filled(after(a)).toStdString()); });
        on("restart", [this](const QString&) { w_->restart(); });
        on("volume", [this](const QString&) { addVolume(); });
        on("set", [this](const QString& a) { qobject_cast<QLineEdit*>(widget(first(a)))->setText(filled(after(a))); });
        on("check", [this](const QString& a) { qobject_cast<QCheckBox*>(widget(first(a)))->setChecked(after(a) == "1"); });
        on("click", [this](const QString& a) { QTest::mouseClick(widget(a), Qt::LeftButton); });
        on("start", [this](const QString& a) { start(first(a), after(a)); });
        on("tick", [this](const QString&) { QMetaObject::invokeMethod(w_->c().timer1, "timeout"); });
        on("close", [this](const QString&) { w_->form().close(); });
        on("raise", [this](const QString& a) {
            closer_ = std::make_unique<CloseOnSignals>(w_->form());
            std::raise(a.toInt());
        });
        on("move", [this](const QString& a) { w_->form().move(first(a).toInt(), after(a).toInt()); });
        on("choose", [this](const QString& a) { chooseInTree(path(a)); });
        on("drive", [this](const QString& a) { chooseDrive(filled(a)); });
        on("click-listed", [this](const QString& a) { clickListed(a, false); });
        on("dclick-listed", [this](const QString& a) { clickListed(a, true); });
        on("wait", [](const QString& a) { QTest::qWait(a.toInt()); });
        on("activate", [this](const QString&) { activate(); });
        on("focus", [this](const QString& a) {
            widget(a)->setFocus();
            QTRY_VERIFY(widget(a)->hasFocus());
        });
        on("keys", [this](const QString& a) { QTest::keyClicks(widget(first(a)), after(a)); });
        on("clear-log", [this](const QString&) { w_->log.clear(); });
        on("keep-params", [this](const QString&) { kept_ = w_->form().run().params(); });

        see("text", [this](const QString& a) { QCOMPARE(textOf(first(a)), filled(after(a))); });
        see("checked", [this](const QString& a) { QCOMPARE(qobject_cast<QCheckBox*>(widget(first(a)))->isChecked(), after(a) == "1"); });
        see("enabled", [this](const QString& a) { QCOMPARE(widget(first(a))->isEnabled(), after(a) == "1"); });
        see("visible", [this](const QString& a) { QCOMPARE(widget(first(a))->isVisible(), after(a) == "1"); });
        see("blinking", [this](const QString& a) { QCOMPARE(w_->c().timer1->isActive(), a == "1"); });
        see("caption", [this](const QString& a) { QCOMPARE(w_->form().windowTitle(), filled(a)); });
        see("message", [this](const QString& a) { nextMessage(filled(a)); });
        see("entries", [this](const QString& a) { QCOMPARE(w_->folderEntries().join(','), a); });
        see("listed", [this](const QString& a) { QTRY_COMPARE(listedFiles(w_->c()).join(','), a); });
        see("opened", [this](const QString& a) { QCOMPARE(w_->shell.opened.join(','), filled(a)); });
        see("ended", [this](const QString& a) { QCOMPARE(w_->endProgramCalls, a.toInt()); });
        see("idle", [this](const QString&) { idle(); });
        see("whole", [this](const QString& a) { QVERIFY2(decodeGif(path(a)).ok, qPrintable(a)); });
        see("bytes", [this](const QString& a) { QCOMPARE(bytesOf(path(first(a))), after(a).toUtf8()); });
        see("setting", [this](const QString& a) {
            QCOMPARE(QString::fromStdString(w_->memorySettings.get(section(a), key(a), "<missing>")), filled(after(a)));
        });
        see("saved", [this](const QString& a) { QCOMPARE(w_->log.filter(QRegularExpression("^save ")).join(','), filled(a)); });
        see("order", [this](const QString& a) { order(a.section(" < ", 0, 0), a.section(" < ", 1)); });
        see("last-log", [this](const QString& a) { QCOMPARE(w_->log.last(), a); });
        see("pos", [this](const QString& a) { QCOMPARE(w_->form().pos(), QPoint(first(a).toInt(), after(a).toInt())); });
        see("shown", [this](const QString& a) { QCOMPARE(w_->form().isVisible(), a == "1"); });
        see("colour", [this](const QString& a) { QCOMPARE(w_->c().command1->palette().color(QPalette::Button), colour(a)); });
        see("drawn", [this](const QString& a) { QCOMPARE(w_->c().command1->grab().toImage().pixelColor(40, 20), colour(a)); });
        see("folder", [this](const QString& a) { folder(path(first(a)), after(a).toInt()); });
        see("drives", [this](const QString& a) { QCOMPARE(w_->c().drive1->count(), a.toInt()); });
        see("tree", [this](const QString& a) { tree(path(a)); });
        see("tree-current", [this](const QString& a) { QCOMPARE(treeCurrent(), path(a)); });
        see("tree-children", [this](const QString& a) { QTRY_COMPARE(treeChildren(w_->c().dir1->currentIndex()), a); });
        see("tree-top", [this](const QString& a) { QCOMPARE(treeChildren(w_->c().dir1->rootIndex(), true), path(a)); });
        see("listed-path", [this](const QString& a) { QCOMPARE(w_->form().folderBrowser().listedFilePath(), path(a)); });
        see("listed-editable", [this](const QString& a) {
            QCOMPARE(bool(listedIndex(first(a)).flags() & Qt::ItemIsEditable), after(a) == "1");
        });
        see("midi-silent", [this](const QString&) { QVERIFY(w_->midi.events().empty()); });
        see("midi-closed", [this](const QString&) { QCOMPARE(w_->midi.events().back().call, RecordingMidiOutput::Call::Close); });
        see("refsize", [this](const QString& a) { QCOMPARE(w_->form().run().params().refSize, a.toDouble()); });
        see("params", [this](const QString& a) {  // the size aside
            PictureParams now = w_->form().run().params();
            now.refSize = kept_.refSize;
            QCOMPARE(now == kept_, a == "kept");
        });
    }

    void run(const QString& step) {
        const auto found = steps_.find(first(step));
        if (found == steps_.end()) QFAIL(qPrintable("unknown step: " + step));
        found->second(after(step));
    }

    // Every message shown was expected.
    void finish() { QCOMPARE(w_->messages.shown.size(), qsizetype(messagesSeen_)); }

private:
    QString filled(QString text) const {
        text.replace("{f}", w_->folder()).replace("{start}", startCaption).replace("\\r\\n", "\r\n");
        if (volume_) text.replace("{v}", volume_->path());
        // "{file:help.txt}": the lines of that data file, joined as a message joins them.
        const QRegularExpressionMatch file = QRegularExpression("\\{file:(.+)\\}").match(text);
        if (!file.hasMatch()) return text;
        const auto lines = pestrolik::testing::readDataLines(TEST_DATA_DIR "/" + file.captured(1).toStdString());
        return text.replace(file.captured(0), QString::fromStdString(joinLines(lines)));
    }
    // A path in the window's folder unless it starts at the root; "." is that folder.
    QString path(const QString& text) const {
        const QString full = filled(text);
        return full.startsWith('/') ? full : full == "." ? w_->folder() : w_->pathIn(full);
    }
    static std::string joinLines(const std::vector<std::string>& lines) {
        std::string joined;
        for (const std::string& line : lines) joined += (joined.empty() ? "" : "\r\n") + line;
        return joined;
    }

    QWidget* widget(const QString& name) const {
        auto* found = w_->form().findChild<QWidget*>(name);
        if (!found) qFatal("no control %s", qPrintable(name));
        return found;
    }
    QString textOf(const QString& name) const {
        QWidget* shown = widget(name);
        if (auto* edit = qobject_cast<QLineEdit*>(shown)) return edit->text();
        if (auto* button = qobject_cast<QAbstractButton*>(shown)) return button->text();
        if (auto* box = qobject_cast<QComboBox*>(shown)) return box->currentText();
        return qobject_cast<QLabel*>(shown)->text();
    }
    static QColor colour(const QString& name) { return name == "tooltip" ? toolTipColour() : QColor(name); }
    static QByteArray bytesOf(const QString& file) {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
    // "tem2/px 300": the section and the key.
    static std::string section(const QString& text) { return first(text).section('/', 0, 0).toStdString(); }
    static std::string key(const QString& text) { return first(text).section('/', 1).toStdString(); }

    void start(const QString& count, const QString& size) {
        QTimer::singleShot(0, [this, steps = std::exchange(during_, {})] {
            for (const QString& step : steps) run(step);
        });
        w_->start(count, size);
    }

    void nextMessage(const QString& expected) {
        QVERIFY2(messagesSeen_ < w_->messages.shown.size(), qPrintable("no message: " + expected));
        const ShownMessage& shown = w_->messages.shown[messagesSeen_++];
        const QString icon = QStringList{"none", "information", "exclamation"}[int(shown.icon)];
        QCOMPARE(icon + '|' + shown.title + '|' + shown.text, expected);
    }

    void idle() {
        const Controls& c = w_->c();
        QCOMPARE(c.command1->text(), QString(startCaption));
        QVERIFY(!c.timer1->isActive() && !w_->form().run().active());
        QCOMPARE(c.command1->background(), QColor(255, 255, 238));
        QCOMPARE(w_->form().windowTitle(), QString("Пестролик-1"));
        QVERIFY(c.label7->text().isEmpty() && c.label9->text().isEmpty());
        QVERIFY(c.picture1->step() == 0 && c.picture2->step() == 0);
    }

    void order(const QString& earlier, const QString& later) {
        const int a = w_->log.indexOf(QRegularExpression(earlier + ".*")), b = w_->log.indexOf(QRegularExpression(later + ".*"));
        QVERIFY2(a >= 0 && a < b, qPrintable(w_->log.join('\n')));
    }

    void addVolume() {
        volume_ = std::make_unique<QTemporaryDir>();
        w_ = std::make_unique<TestWindow>(nullptr, QStringList{volume_->path(), "/no/such/volume"});
    }

    void chooseInTree(const QString& folder) {
        auto* proxy = qobject_cast<QSortFilterProxyModel*>(w_->c().dir1->model());
        auto* model = qobject_cast<QFileSystemModel*>(proxy->sourceModel());
        const QModelIndex index = proxy->mapFromSource(model->index(folder));
        QVERIFY2(index.isValid(), qPrintable(folder));
        w_->c().dir1->setCurrentIndex(index);
    }
    void chooseDrive(const QString& root) {
        w_->c().drive1->setCurrentIndex(w_->c().drive1->findText(root));
        QCOMPARE(w_->c().drive1->currentText(), root);
    }
    QString treeCurrent() const { return w_->c().dir1->currentIndex().data(QFileSystemModel::FilePathRole).toString(); }
    QString treeChildren(const QModelIndex& parent, bool paths = false) const {
        QStringList names;
        const QAbstractItemModel* model = w_->c().dir1->model();
        for (int row = 0; row < model->rowCount(parent); ++row)
            names << model->index(row, 0, parent).data(paths ? int(QFileSystemModel::FilePathRole) : int(Qt::DisplayRole)).toString();
        return names.join(',');
    }
    // Selected, opened with everything above it, and in view.
    void tree(const QString& folder) {
        QTreeView* dir1 = w_->c().dir1;
        QCOMPARE(treeCurrent(), folder);
        for (QModelIndex up = dir1->currentIndex(); up.isValid(); up = up.parent())
            QVERIFY2(dir1->isExpanded(up), qPrintable(up.data().toString()));
        QVERIFY(dir1->visualRect(dir1->currentIndex()).intersects(dir1->viewport()->rect()));
    }
    // The save folder, the tree, the file list and the proposal all agree.
    void folder(const QString& folder, int proposal) {
        FolderBrowser& browser = w_->form().folderBrowser();
        QCOMPARE(browser.saveFolder(), folder);
        QCOMPARE(browser.treePath(), folder);
        QCOMPARE(browser.fileListFolder(), folder);
        QCOMPARE(w_->c().text3->text(), folder + "/Kaleidrix_" + QString::number(proposal) + ".GIF");
    }

    QModelIndex listedIndex(const QString& name) const {
        const QStringList names = listedFiles(w_->c());
        return w_->c().file1->model()->index(int(names.indexOf(name)), 0, w_->c().file1->rootIndex());
    }
    void clickListed(const QString& name, bool twice) {
        QTRY_VERIFY(listedFiles(w_->c()).contains(name));
        const QPoint cell = w_->c().file1->visualRect(listedIndex(name)).center();
        twice ? QTest::mouseDClick(w_->c().file1->viewport(), Qt::LeftButton, {}, cell)
              : QTest::mouseClick(w_->c().file1->viewport(), Qt::LeftButton, {}, cell);
    }

    void activate() {
        QApplication::setActiveWindow(&w_->form());
        QVERIFY(QTest::qWaitForWindowActive(&w_->form()));
    }

    std::unique_ptr<QTemporaryDir> volume_;
    std::unique_ptr<TestWindow> w_ = std::make_unique<TestWindow>();
    std::unique_ptr<CloseOnSignals> closer_;
    std::map<QString, std::function<void(const QString&)>> steps_, checks_;
    QStringList during_;
    int messagesSeen_ = 0;
    PictureParams kept_;
};

}  // namespace

class WindowScriptsTest : public QObject {
    Q_OBJECT

private slots:
    void scenarios_data() {
        QTest::addColumn<QStringList>("steps");
        for (const Scenario& scenario : readScenarios()) QTest::newRow(qPrintable(scenario.name)) << scenario.steps;
    }

    void scenarios() {
        QFETCH(QStringList, steps);
        ScriptRunner runner;
        for (const QString& step : steps) {
            runner.run(step);
            if (QTest::currentTestFailed()) QFAIL(qPrintable("at: " + step));
        }
        runner.finish();
    }
};

PESTROLIK_WINDOW_TEST_MAIN(WindowScriptsTest)
#include "window_scripts_test.moc"
