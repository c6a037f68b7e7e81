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

// The name of whatever is at `path` (a file, a folder, a FIFO, a symbolic link even
// one leading nowhere) as the file system stores it; nothing when nothing is there.
// Any of them would keep a new file from taking the name.
std::optional<QString> storedFileName(const QString& path);

// `saveFolder` is used as it stands: at a root the separator comes out doubled.
QString pathInFolder(const QString& saveFolder, const QString& name);

// The lowest n from 1 whose name no stored entry carries, letter case included.
FileNameProposal proposeNextFileName(const QString& saveFolder);

}  // namespace pestrolik
