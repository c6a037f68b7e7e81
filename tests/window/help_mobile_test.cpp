// The help box, the two link labels and the shell requests they make, and the
// mobile-size box with its guard on the size box.

#include "window_test_support.h"

#include "window/controls.h"
#include "window/link_label.h"
#include "window/shell.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>

using namespace pestrolik;
using namespace pestrolik::test;

class HelpAndMobileTest : public QObject {
    Q_OBJECT

private slots:
    void helpBox_data();
    void helpBox();
    void links_data();
    void links();
    void shellTargets_data();
    void shellTargets();
    void mobileSize_data();
    void mobileSize();
    void mobileGuard();
};

void HelpAndMobileTest::helpBox_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    const QStringList lines = {
        "  Программа \"Пестролик-1\" является объединением",
        "программ \"Вихрелист\" и \"Тенепад\". Она создаёт файлы в формате GIF",
        "для оформления вэбстраниц, для заставок мобильных телефонов, и тому подобного.",
        "Причём, при каждом новом нажатии на кнопку\"Старт\" она создаёт новый рисунок.",
        "",
        "  Недостатки этой версии:",
        "",
        "1. Используются только 128 цветов. В следующей версии",
        "    количество цветов будет увеличено до 256.",
        "",
        "2. При задавании большого размера в пикселях, программа работает довольно медленно.",
        "",
        "Элементы управления в окне программы в особых коментариях не нуждаются.",
        "Поставив соответствующую птичку, вы можете повторить понравившийся",
        "вам рисунок, изменив его розмер в пикселях, или изменив колличество картинок.",
    };
    for (int i = 0; i < lines.size(); ++i) QTest::addRow("line %d", i + 1) << i << lines[i];
}

void HelpAndMobileTest::helpBox() {
    QFETCH(int, line);
    QFETCH(QString, text);
    TestWindow w;
    QTest::mouseClick(w.c().command2, Qt::LeftButton);

    QCOMPARE(w.messages.shown.size(), 1);
    const ShownMessage& help = w.messages.shown.first();
    QCOMPARE(help.icon, MessageIcon::Information);
    QCOMPARE(help.title, QString("Как работать с программой \"Пестролик-1\"."));
    QVERIFY(!help.text.endsWith("\r\n"));
    QVERIFY(!help.text.contains(QRegularExpression("[^\r]\n")));  // every break is CR LF
    const QStringList lines = help.text.split("\r\n");
    QCOMPARE(lines.size(), 15);
    QCOMPARE(lines[line], text);
}

void HelpAndMobileTest::links_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("target");
    QTest::newRow("web") << "Label10" << "Web :   http://pestrolik.test" << "http://pestrolik.test";
    QTest::newRow("mail") << "Label15" << "E-mail :      team@p1.test" << "mailto:team@p1.test";
}

void HelpAndMobileTest::links() {
    QFETCH(QString, label);
    QFETCH(QString, caption);
    QFETCH(QString, target);
    TestWindow w;
    auto* link = w.form().findChild<LinkLabel*>(label);
    QVERIFY(link);
    QCOMPARE(link->text(), caption);
    link->show();  // as the about screen shows it
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(w.shell.opened, QStringList{target});
    QVERIFY(w.messages.shown.isEmpty());
}

void HelpAndMobileTest::shellTargets_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QUrl>("url");
    QTest::newRow("web address") << "http://pestrolik.test" << QUrl("http://pestrolik.test");
    QTest::newRow("mail address") << "mailto:team@p1.test" << QUrl("mailto:team@p1.test");
    QTest::newRow("file") << "/tmp/a b/Kaleidrix_1.GIF" << QUrl::fromLocalFile("/tmp/a b/Kaleidrix_1.GIF");
    QTest::newRow("file at a root") << "//Kaleidrix_1.GIF" << QUrl::fromLocalFile("//Kaleidrix_1.GIF");
    QTest::newRow("file with a colon") << "/tmp/x:y.gif" << QUrl::fromLocalFile("/tmp/x:y.gif");
    QTest::newRow("drive letter") << "C:/pictures/a.gif" << QUrl::fromLocalFile("C:/pictures/a.gif");
}

void HelpAndMobileTest::shellTargets() {
    QFETCH(QString, target);
    QFETCH(QUrl, url);
    QCOMPARE(shellUrl(target), url);
}

void HelpAndMobileTest::mobileSize_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("afterUntick");
    QTest::newRow("300 comes back") << "300" << "300";
    QTest::newRow("a fraction in shortest form") << "2.5" << "2.5";
    QTest::newRow("leading blanks and trailing letters") << "  250px" << "250";
    // No number to keep: the size kept before stays.
    QTest::newRow("letters") << "abc" << "200";
    QTest::newRow("empty") << "" << "200";
    QTest::newRow("a sign alone") << "-" << "200";
}

void HelpAndMobileTest::mobileSize() {
    QFETCH(QString, typed);
    QFETCH(QString, afterUntick);
    TestWindow w;
    w.c().text2->setText(typed);
    QTest::mouseClick(w.c().check2, Qt::LeftButton);
    QVERIFY(w.c().check2->isChecked());
    QCOMPARE(w.c().text2->text(), QString("128"));
    QTest::mouseClick(w.c().check2, Qt::LeftButton);
    QCOMPARE(w.c().text2->text(), afterUntick);
    // Ticking again with "128" showing keeps 128.
    w.c().text2->setText("128");
    QTest::mouseClick(w.c().check2, Qt::LeftButton);
    QTest::mouseClick(w.c().check2, Qt::LeftButton);
    QCOMPARE(w.c().text2->text(), QString("128"));
}

void HelpAndMobileTest::mobileGuard() {
    TestWindow w;
    QApplication::setActiveWindow(&w.form());
    QVERIFY(QTest::qWaitForWindowActive(&w.form()));
    QLineEdit* size = w.c().text2;

    QTest::mouseClick(w.c().check2, Qt::LeftButton);
    size->setFocus();
    QTRY_VERIFY(size->hasFocus());
    size->selectAll();
    QTest::keyClicks(size, "500");
    QCOMPARE(size->text(), QString("500"));
    w.c().text1->setFocus();
    QTRY_VERIFY(!size->hasFocus());
    QCOMPARE(size->text(), QString("128"));

    // Unticked, leaving the box keeps what was typed.
    QTest::mouseClick(w.c().check2, Qt::LeftButton);
    size->setFocus();
    QTRY_VERIFY(size->hasFocus());
    size->selectAll();
    QTest::keyClicks(size, "500");
    w.c().text1->setFocus();
    QTRY_VERIFY(!size->hasFocus());
    QCOMPARE(size->text(), QString("500"));
}

PESTROLIK_WINDOW_TEST_MAIN(HelpAndMobileTest)
#include "help_mobile_test.moc"
