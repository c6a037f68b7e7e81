#include "window/name_only_icons.h"

#include <QFileInfo>

namespace pestrolik {

QIcon NameOnlyIcons::icon(const QFileInfo& info) const {
    if (info.isRoot()) return icon(Drive);
    return icon(info.isDir() ? Folder : File);
}

QString NameOnlyIcons::type(const QFileInfo& info) const {
    return info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File");
}

}  // namespace pestrolik
