#include "window/qt_settings_store.h"

#include "window/utf8_text.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace pestrolik {

namespace {

QString keyPath(std::string_view section, std::string_view key) {
    return fromUtf8(section) + u'/' + fromUtf8(key);
}

// Where QSettings keeps the user's store for this name on Linux, named here so that
// it can be looked at before QSettings opens it.
QString userSettingsPath() {
    const QString name = QString::fromLatin1(settingsApplication);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + name + u'/' + name +
           QStringLiteral(".conf");
}

}  // namespace

QtSettingsStore::QtSettingsStore() : QtSettingsStore(userSettingsPath()) {}

QtSettingsStore::QtSettingsStore(const QString& iniPath) : path_(iniPath) {
    const QFileInfo file(iniPath);
    if (!file.exists() || file.isFile()) settings_ = std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
}

std::string QtSettingsStore::get(std::string_view section, std::string_view key, std::string_view defaultValue) {
    if (!settings_) return unwritable_.get(section, key, defaultValue);
    const QVariant value = settings_->value(keyPath(section, key));
    if (!value.isValid()) return std::string(defaultValue);
    // A hand-edited INI line with unquoted commas reads back as a list; it is still
    // one text to us.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(u", ").toStdString();
    return value.toString().toStdString();
}

void QtSettingsStore::save(std::string_view section, std::string_view key, std::string_view value) {
    if (!settings_) return unwritable_.save(section, key, value);
    settings_->setValue(keyPath(section, key), fromUtf8(value));
}

bool QtSettingsStore::flush() {
    if (!settings_) return false;
    settings_->sync();
    return settings_->status() != QSettings::AccessError;  // a FormatError is about reading
}

}  // namespace pestrolik
