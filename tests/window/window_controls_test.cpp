// The window as the user sees it: every control from the layout table, the drawn
// pieces, the real message box and the about text. The rest is in scripts/.

#include "window_test_support.h"

namespace {

const auto controlRows = [] { return readDataTable(TEST_DATA_DIR "/controls.txt"); };

// The widths of the runs of rows holding ink, top to bottom, and the middle of the first.
QList<int> inkLines(const QImage& image, int& firstMiddle) {
    QList<int> widths;
    for (int y = 3, inLine = 0; y < image.height() - 3; ++y) {
        int left = image.width(), right = -1;
        for (int x = 3; x < image.width() - 3; ++x)
            if (image.pixelColor(x, y).lightness() < 100) left = std::min(left, x), right = x;
        if (right >= 0 && !inLine) widths << 0;
        if (right >= 0) widths.last() = std::max(widths.last(), right - left);
        if (right >= 0 && widths.size() == 1) firstMiddle = (left + right) / 2;
        inLine = right >= 0;
    }
    return widths;
}

}  // namespace

class WindowControlsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { w_ = std::make_unique<TestWindow>(); }
    void cleanup() { w_.reset(); }

    void layoutTable() {
        Form1& form = w_->form();
        for (const auto& row : controlRows()) {
            QWidget* widget = form.findChild<QWidget*>(QString::fromStdString(row[0]));
            QVERIFY2(widget, row[0].c_str());
            const QStringList place = QString::fromStdString(row[2]).split(' ');
            QVERIFY2(widget->inherits(row[1].c_str()), row[0].c_str());
            QCOMPARE(widget->geometry(), QRect(place[0].toInt(), place[1].toInt(), place[2].toInt(), place[3].toInt()));
            QCOMPARE(widget->isVisibleTo(&form), row[3] == "1");
            QCOMPARE(widget->isEnabled(), row[4] == "1");
            QCOMPARE(widget->font().pointSizeF(), row[5] == "box" ? 9.75 : 8.25);
            QVERIFY(QStringList({"Arial", "Liberation Sans"}).contains(QFontInfo(widget->font()).family()));
            QVERIFY(QFontMetrics(widget->font()).inFont(QChar(u'Ж')));
            const auto role = qobject_cast<QLabel*>(widget) ? QPalette::WindowText : QPalette::Text;
            if (row[7] != "-") QCOMPARE(widget->palette().color(role), QColor(QString::fromStdString(row[7])));
            const QString caption = QString::fromStdString(row.size() > 8 ? row[8] : std::string());
            if (caption == "-") continue;
            QCOMPARE(widget->property("text").toString(), caption);  // buttons, edits and labels alike
        }
    }

    // A fixed size, the window's font and its icon in every size the menu uses.
    void windowFontAndIcon() {
        QCOMPARE(w_->form().minimumSize(), QSize(537, 255));
        QCOMPARE(w_->form().maximumSize(), QSize(537, 255));
        QCOMPARE(w_->form().font().pointSizeF(), 8.25);
        QVERIFY(!(w_->form().windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!w_->form().windowIcon().pixmap(32, 32).toImage().allGray());
        QCOMPARE(w_->form().windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
    }

    // Outlines, the sunken strips, the progress images, and the START caption wrapped
    // with "СТАРТ" alone and centred on its line, on the tool-tip colour.
    void drawnPieces() {
        const Controls& c = w_->c();
        for (auto [shape, corners, colour] : {std::tuple{c.shape1, OutlineShape::Corners::Rounded, QColor(128, 128, 128)},
                                              {c.shape2, OutlineShape::Corners::Rounded, QColor(128, 128, 128)},
                                              {c.shape3, OutlineShape::Corners::Square, QColor(128, 64, 0)}}) {
            QCOMPARE(shape->corners(), corners);
            const QImage drawn = shape->grab().toImage();
            QCOMPARE(QColor(drawn.pixel(drawn.width() / 2, 0)), colour);
            QVERIFY(QColor(drawn.pixel(drawn.width() / 2, drawn.height() / 2)) != colour);
            QVERIFY(shape->testAttribute(Qt::WA_TransparentForMouseEvents));
        }
        for (ProgressStrip* strip : {c.picture1, c.picture2}) {
            QCOMPARE(strip->frameShadow(), QFrame::Sunken);
            QCOMPARE(strip->contentsRect().size(), QSize(285, 13));
            QCOMPARE(strip->pixmap().toImage().convertToFormat(QImage::Format_RGB32), progressImage(0));
        }
        c.picture1->showStep(32);  // the last image, the whole strip
        QCOMPARE(c.picture1->pixmap().toImage().convertToFormat(QImage::Format_RGB32), progressImage(32));
        // Image k: k blocks of 7 x 11 pixels from column 1 every 9 columns, the last cut at
        // column 283; everything else the background.
        for (int step : {1, 16, 32}) {
            const QImage image = progressImage(step);
            QCOMPARE(image.size(), QSize(285, 13));
            for (int y = 0; y < 13; ++y)
                for (int x = 0; x < 285; ++x) {
                    const bool inBlock = y >= 1 && y <= 11 && x >= 1 && x <= 283 && (x - 1) % 9 < 7 && (x - 1) / 9 < step;
                    QCOMPARE(image.pixel(x, y) | 0xFF000000, inBlock ? qRgb(178, 180, 191) : qRgb(224, 223, 227));
                }
        }
        QCOMPARE(c.command1->palette().color(QPalette::Button), toolTipColour());
        const QImage button = c.command1->grab().toImage();
        int middle = 0;
        const QList<int> lines = inkLines(button, middle);
        QCOMPARE(lines.size(), 2);
        QVERIFY(qAbs(middle - button.width() / 2) <= 4 && lines[0] < button.width() / 3 && lines[1] > button.width() / 2);
    }

    // A path with a colon in it is a file; two letters and more before the colon, a scheme.
    void shellTargets() {
        QCOMPARE(shellUrl("/tmp/a b/x:y.gif"), QUrl::fromLocalFile("/tmp/a b/x:y.gif"));
        QCOMPARE(shellUrl("ws://p1.test").scheme(), QString("ws"));
    }

    // The real box: title, unwrapped lines, an icon only when asked for and left of the
    // text, and OK closes it.
    void realMessageBox() {
        QtMessageBoxes boxes;
        boxes.setOwner(&w_->form());
        const QString longLine(120, u'ш');
        for (MessageIcon icon : {MessageIcon::None, MessageIcon::Information, MessageIcon::Exclamation}) {
            QStringList seen;
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                const auto kind = icon == MessageIcon::Information ? QStyle::SP_MessageBoxInformation : QStyle::SP_MessageBoxWarning;
                const int side = box->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, box);
                const QImage wanted = box->style()->standardIcon(kind, nullptr, box).pixmap(side, side).toImage();
                seen << box->windowTitle();
                QList<QRect> places;
                for (const QLabel* label : box->findChildren<QLabel*>()) {
                    seen << (label->pixmap().isNull() ? label->text() : label->pixmap().toImage() == wanted ? "icon" : "another icon");
                    places << label->geometry();
                }
                if (places.size() == 2 && !(places[0].right() < places[1].left() && places[1].top() < places[0].bottom()))
                    seen << "icon not beside the text";
                QTest::keyClick(box, Qt::Key_Return);
            });
            boxes.show(icon, "Ошибка", longLine + "\r\nвторая");
            QCOMPARE(seen.join('|'), QString(icon == MessageIcon::None ? "Ошибка|" : "Ошибка|icon|") + longLine + "\nвторая");
        }
    }

private:
    std::unique_ptr<TestWindow> w_;
};

PESTROLIK_WINDOW_TEST_MAIN(WindowControlsTest)
#include "window_controls_test.moc"
