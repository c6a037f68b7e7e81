#include "window/next_file_name.h"

#include "generation/file_naming.h"

#include <QDir>

namespace pestrolik {

QString pathInFolder(const QString& saveFolder, const QString& name) {
    return saveFolder + QDir::separator() + name;
}

FileNameProposal proposeNextFileName(const QString& saveFolder) {
    FileNameProposal proposal;
    proposal.fileNumber = lowestFreeNumber(saveFolder.toStdString());
    proposal.path = pathInFolder(saveFolder, QString::fromStdString(numberedFileName(proposal.fileNumber)));
    return proposal;
}

}  // namespace pestrolik
