#pragma once
// The settings store on QSettings: the platform's native store under the name
// "fandorel" (an INI file under the user's config folder on Linux, the registry on
// Windows), or a given INI file for tests.

#include "common/settings_store.h"

#include <QSettings>
#include <QString>

namespace pestrolik {

class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore();                              // the user's own store
    explicit QtSettingsStore(const QString& iniPath);  // a file of our choosing

    std::string get(std::string_view section, std::string_view key, std::string_view defaultValue) override;
    void save(std::string_view section, std::string_view key, std::string_view value) override;

    // Writes pending changes now (they are written at destruction anyway).
    void sync() { settings_.sync(); }

private:
    QSettings settings_;
};

inline constexpr const char* settingsApplication = "fandorel";

}  // namespace pestrolik
