#include "window/window_settings.h"

#include "window/number_text.h"

namespace pestrolik {

QString readText(SettingsStore& store, const char* section, const char* name, const QString& defaultText) {
    return QString::fromStdString(store.get(section, name, defaultText.toStdString()));
}

bool readBox(SettingsStore& store, const char* section, const char* name, bool defaultTicked) {
    const std::optional<int> value = wholeNumber(readText(store, section, name, defaultTicked ? "1" : "0"));
    if (value == 1) return true;
    if (value == 0) return false;
    return defaultTicked;
}

float readTwips(SettingsStore& store, const char* name, float defaultTwips) {
    return singleNumber(readText(store, key::windowSection, name, shortestDecimal(defaultTwips)))
        .value_or(defaultTwips);
}

void writeText(SettingsStore& store, const char* section, const char* name, const QString& text) {
    store.save(section, name, text.toStdString());
}

void writeBox(SettingsStore& store, const char* section, const char* name, bool ticked) {
    store.save(section, name, ticked ? "1" : "0");
}

void writeTwips(SettingsStore& store, const char* name, float twips) {
    store.save(key::windowSection, name, shortestDecimal(twips).toStdString());
}

}  // namespace pestrolik
