#include "window/save_folder_choice.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace pestrolik {

QString chooseSaveFolder(const QString& stored, const DefaultFolders& defaults, const FolderProbe& probe) {
    if (!stored.isEmpty() && probe.isFolder(stored))
        return stored;
    if (probe.isWritableFolder(defaults.program))
        return defaults.program;
    if (!defaults.pictures.isEmpty() && probe.makeFolder(defaults.pictures) &&
        probe.isWritableFolder(defaults.pictures))
        return defaults.pictures;
    return defaults.home;
}

QString saveFolderAtStart(const QString& stored, const QString& programFolder) {
    const FolderProbe fileSystem{
        .isFolder = [](const QString& path) { return QFileInfo(path).isDir(); },
        .isWritableFolder =
            [](const QString& path) {
                const QFileInfo info(path);
                return info.isDir() && info.isWritable();
            },
        .makeFolder = [](const QString& path) { return QDir().mkpath(path); },
    };
    return chooseSaveFolder(stored,
                            {.program = programFolder,
                             .pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
                             .home = QDir::homePath()},
                            fileSystem);
}

}  // namespace pestrolik
