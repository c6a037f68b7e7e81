// The save folder at start when the stored one cannot be used, against a stand-in
// file system: which folder wins, and that only a chosen pictures folder is made.

#include "window/save_folder_choice.h"

#include <QSet>
#include <QTest>

using namespace pestrolik;

class SaveFolderChoiceTest : public QObject {
    Q_OBJECT

private slots:
    void choice_data();
    void choice();
};

void SaveFolderChoiceTest::choice_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("programWritable");
    QTest::addColumn<QString>("pictures");  // "there", "missing", "unmakeable", "read-only" or "unnamed"
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("picturesMade");
    QTest::newRow("stored folder, even read-only") << "/srv/ro" << false << "missing" << "/srv/ro" << false;
    QTest::newRow("none stored, portable copy") << "" << true << "missing" << "/opt/p" << false;
    QTest::newRow("gone, portable copy") << "/gone" << true << "there" << "/opt/p" << false;
    QTest::newRow("installed, pictures there") << "" << false << "there" << "/home/u/Pictures" << false;
    QTest::newRow("gone, installed, pictures made") << "/gone" << false << "missing" << "/home/u/Pictures" << true;
    QTest::newRow("pictures cannot be made") << "" << false << "unmakeable" << "/home/u" << false;
    QTest::newRow("pictures read-only") << "" << false << "read-only" << "/home/u" << false;
    QTest::newRow("no pictures folder named") << "" << false << "unnamed" << "/home/u" << false;
}

void SaveFolderChoiceTest::choice() {
    QFETCH(QString, stored);
    QFETCH(bool, programWritable);
    QFETCH(QString, pictures);
    QFETCH(QString, expected);
    QFETCH(bool, picturesMade);
    const QString picturesPath = QStringLiteral("/home/u/Pictures");
    QSet<QString> folders{"/srv/ro", "/opt/p", "/home/u"}, writable{"/home/u"};
    if (programWritable) writable << "/opt/p";
    if (pictures == "there" || pictures == "read-only") folders << picturesPath;
    if (pictures == "there") writable << picturesPath;
    QStringList made;
    const FolderProbe probe{
        [&](const QString& path) { return folders.contains(path); },
        [&](const QString& path) { return folders.contains(path) && writable.contains(path); },
        [&](const QString& path) {
            if (pictures == "missing" && !folders.contains(path)) made << path, folders << path, writable << path;
            return folders.contains(path);
        }};
    const DefaultFolders defaults{"/opt/p", pictures == "unnamed" ? QString() : picturesPath, "/home/u"};
    QCOMPARE(chooseSaveFolder(stored, defaults, probe), expected);
    QCOMPARE(made, picturesMade ? QStringList{picturesPath} : QStringList{});
}

QTEST_APPLESS_MAIN(SaveFolderChoiceTest)
#include "save_folder_choice_test.moc"
