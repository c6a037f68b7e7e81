#include "qt_settings_store.h"

#include <QStringList>

namespace pestrolik {

namespace {

QString keyPath(std::string_view section, std::string_view key) {
    return QString::fromUtf8(section.data(), qsizetype(section.size())) + u'/' +
           QString::fromUtf8(key.data(), qsizetype(key.size()));
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, settingsApplication, settingsApplication) {}

QtSettingsStore::QtSettingsStore(const QString& iniPath) : settings_(iniPath, QSettings::IniFormat) {}

std::string QtSettingsStore::get(std::string_view section, std::string_view key, std::string_view defaultValue) {
    const QVariant value = settings_.value(keyPath(section, key));
    if (!value.isValid()) return std::string(defaultValue);
    // A hand-edited INI line with unquoted commas reads back as a list; it is still
    // one text to us.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(u", ").toStdString();
    return value.toString().toStdString();
}

void QtSettingsStore::save(std::string_view section, std::string_view key, std::string_view value) {
    settings_.setValue(keyPath(section, key), QString::fromUtf8(value.data(), qsizetype(value.size())));
}

}  // namespace pestrolik
