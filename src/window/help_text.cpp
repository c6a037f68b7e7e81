#include "window/help_text.h"

#include "window/controls.h"

#include <QStringList>

namespace pestrolik {

QString helpTitle() {
    return QStringLiteral("Как работать с программой \"") + QString::fromUtf8(windowCaption) + QStringLiteral("\".");
}

QString helpText() {
    const QString caption = QString::fromUtf8(windowCaption);
    const QStringList lines = {
        QStringLiteral("  Программа \"") + caption + QStringLiteral("\" является объединением"),
        QStringLiteral("программ \"Вихрелист\" и \"Тенепад\". Она создаёт файлы в формате GIF"),
        QStringLiteral("для оформления вэбстраниц, для заставок мобильных телефонов, и тому подобного."),
        QStringLiteral("Причём, при каждом новом нажатии на кнопку\"Старт\" она создаёт новый рисунок."),
        QString(),
        QStringLiteral("  Недостатки этой версии:"),
        QString(),
        QStringLiteral("1. Используются только 128 цветов. В следующей версии"),
        QStringLiteral("    количество цветов будет увеличено до 256."),
        QString(),
        QStringLiteral("2. При задавании большого размера в пикселях, программа работает довольно медленно."),
        QString(),
        QStringLiteral("Элементы управления в окне программы в особых коментариях не нуждаются."),
        QStringLiteral("Поставив соответствующую птичку, вы можете повторить понравившийся"),
        QStringLiteral("вам рисунок, изменив его розмер в пикселях, или изменив колличество картинок."),
    };
    return lines.join(QStringLiteral("\r\n"));
}

}  // namespace pestrolik
