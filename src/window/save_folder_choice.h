#pragma once
// Where pictures go at start when the stored folder cannot be used (none stored, or
// gone): the program's own folder when it can be written, since portable copies keep
// their pictures beside them; else the user's pictures folder, made if missing; else
// home. An installed copy's folder (/usr/bin) is never writable for its users.

#include <QString>

#include <functional>

namespace pestrolik {

// What the decision may ask of the file system.
struct FolderProbe {
    std::function<bool(const QString&)> isFolder;
    std::function<bool(const QString&)> isWritableFolder;
    std::function<bool(const QString&)> makeFolder;  // with its parents; true when it is there afterwards
};

struct DefaultFolders {
    QString program;
    QString pictures;  // may be empty: the platform names none
    QString home;
};

// A stored folder that exists is kept as it is, writable or not: the user chose it.
// Only the pictures folder is ever created, and only when it is the one chosen.
QString chooseSaveFolder(const QString& stored, const DefaultFolders& defaults, const FolderProbe& probe);

// The same decision against the real file system and the platform's standard folders.
QString saveFolderAtStart(const QString& stored, const QString& programFolder);

}  // namespace pestrolik
