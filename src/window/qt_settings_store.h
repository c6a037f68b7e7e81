#pragma once
// The settings store on QSettings: an INI file named after "fandorel" (the name every
// version has stored under, kept so settings survive an update) under the user's config folder, or a given INI file for tests. A settings path that is not a
// regular file (a FIFO, a folder) is never opened: reading it could block or fail, so
// the values then live in memory only, and flush() says they were not written.

#include "common/settings_store.h"

#include <QSettings>
#include <QString>

#include <memory>

namespace pestrolik {

class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore();                              // the user's own store
    explicit QtSettingsStore(const QString& iniPath);  // a file of our choosing

    std::string get(std::string_view section, std::string_view key, std::string_view defaultValue) override;
    void save(std::string_view section, std::string_view key, std::string_view value) override;
    bool flush() override;
    std::string location() const override { return path_.toStdString(); }

private:
    QString path_;
    std::unique_ptr<QSettings> settings_;  // null when the path is not a regular file
    MemorySettingsStore unwritable_;
};

inline constexpr const char* settingsApplication = "fandorel";

}  // namespace pestrolik
