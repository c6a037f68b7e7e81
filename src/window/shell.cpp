#include "window/shell.h"

#include <QDesktopServices>

namespace pestrolik {

QUrl shellUrl(const QString& target) {
    const QUrl url(target, QUrl::StrictMode);
    // One letter before the colon is a drive, not a scheme.
    if (url.isValid() && url.scheme().size() > 1) return url;
    return QUrl::fromLocalFile(target);
}

bool DesktopShell::open(const QString& target) { return QDesktopServices::openUrl(shellUrl(target)); }

}  // namespace pestrolik
