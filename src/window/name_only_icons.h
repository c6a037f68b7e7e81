#pragma once
// Icons and type names for the folder lists decided from a file's kind alone. The
// platform's provider reads a file's first bytes to guess its type, and reading a
// special file (/proc/kmsg, a FIFO, a device) can block the window for good.

#include <QFileIconProvider>

namespace pestrolik {

class NameOnlyIcons : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

}  // namespace pestrolik
