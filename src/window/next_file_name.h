#pragma once
// The proposal for the next file: "Kaleidrix_" + the lowest free number + ".GIF" in
// the save folder, by the command line's own rule (generation/file_naming.h).

#include <QString>

namespace pestrolik {

struct FileNameProposal {
    int fileNumber = 1;
    QString path;  // the save folder, the platform's separator, the name
};

// `saveFolder` is used as it stands: at a root the separator comes out doubled.
QString pathInFolder(const QString& saveFolder, const QString& name);

// Looked up afresh on every call.
FileNameProposal proposeNextFileName(const QString& saveFolder);

}  // namespace pestrolik
