#pragma once
// The proposal for the next file: "Kaleidrix_" + the lowest free number + ".GIF" in
// the save folder, looked up afresh on every call.

#include <QString>

#include <optional>

namespace pestrolik {

struct FileNameProposal {
    int fileNumber = 1;
    QString path;  // the save folder, the platform's separator, the name
};

// The name of the ordinary, visible file at `path` as the file system stores it;
// nothing for a missing or hidden file or a folder.
std::optional<QString> storedFileName(const QString& path);

// `saveFolder` is used as it stands: at a root the separator comes out doubled.
QString pathInFolder(const QString& saveFolder, const QString& name);

// The lowest n from 1 whose name no stored file carries, letter case included.
FileNameProposal proposeNextFileName(const QString& saveFolder);

}  // namespace pestrolik
