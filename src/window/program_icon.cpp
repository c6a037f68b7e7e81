#include "window/program_icon.h"

namespace pestrolik {

QIcon programIcon() {
    QIcon icon;
    for (const int side : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/pestrolik/icons/%1x%1/pestrolik.png").arg(side), QSize(side, side));
    return icon;
}

}  // namespace pestrolik
