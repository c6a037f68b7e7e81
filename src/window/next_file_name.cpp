#include "window/next_file_name.h"

#include "generation/file_naming.h"

#include <QDir>
#include <QFileInfo>

namespace pestrolik {

std::optional<QString> storedFileName(const QString& path) {
    const QFileInfo file(path);
    // A link is looked at itself: one leading nowhere still holds the name.
    if (!file.exists() && !file.isSymLink()) return std::nullopt;
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    // These file systems find a name in any letter case; the canonical path carries
    // the case it is stored in.
    if (!file.isSymLink()) return QFileInfo(file.canonicalFilePath()).fileName();
#endif
    return file.fileName();
}

QString pathInFolder(const QString& saveFolder, const QString& name) {
    return saveFolder + QDir::separator() + name;
}

FileNameProposal proposeNextFileName(const QString& saveFolder) {
    FileNameProposal proposal;
    proposal.fileNumber = lowestFreeNumber([&](const std::string& name) {
        const QString wanted = QString::fromStdString(name);
        return storedFileName(pathInFolder(saveFolder, wanted)) == wanted;
    });
    proposal.path = pathInFolder(saveFolder, QString::fromStdString(numberedFileName(proposal.fileNumber)));
    return proposal;
}

}  // namespace pestrolik
