#include "window/qt_settings_store.h"

#include "window/utf8_text.h"

#include <QStringList>

namespace pestrolik {

namespace {

QString keyPath(std::string_view section, std::string_view key) {
    return fromUtf8(section) + u'/' + fromUtf8(key);
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
    settings_.setValue(keyPath(section, key), fromUtf8(value));
}

}  // namespace pestrolik
