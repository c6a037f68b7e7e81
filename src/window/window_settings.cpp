#include "window/window_settings.h"

#include "window/number_text.h"

namespace pestrolik {

namespace {

constexpr const char* windowSection = "tem2";
constexpr const char* musicSection = "met2";

QString readText(SettingsStore& store, const char* section, const char* key, const QString& defaultText) {
    return QString::fromStdString(store.get(section, key, defaultText.toStdString()));
}

// A box stored as "0" or "1"; the default for anything else.
bool readBox(SettingsStore& store, const char* section, const char* key, bool defaultTicked) {
    const std::optional<int> value = wholeNumber(readText(store, section, key, defaultTicked ? "1" : "0"));
    return value == 1 || (value != 0 && defaultTicked);
}

float readTwips(SettingsStore& store, const char* key, float defaultTwips) {
    return singleNumber(readText(store, windowSection, key, shortestDecimal(defaultTwips))).value_or(defaultTwips);
}

void writeText(SettingsStore& store, const char* section, const char* key, const QString& text) {
    store.save(section, key, text.toStdString());
}

void writeBox(SettingsStore& store, const char* section, const char* key, bool ticked) {
    store.save(section, key, ticked ? "1" : "0");
}

}  // namespace

WindowSettings readWindowSettings(SettingsStore& store, const QString& defaultFolder) {
    const WindowSettings defaults;
    WindowSettings read;
    read.folder = readText(store, windowSection, "put", defaultFolder);
    read.countText = readText(store, windowSection, "col", defaults.countText);
    read.sizeText = readText(store, windowSection, "px", defaults.sizeText);
    read.mobile = readBox(store, windowSection, "mob", defaults.mobile);
    read.still = readBox(store, windowSection, "fon", defaults.still);
    read.leftTwips = readTwips(store, "lef", defaults.leftTwips);
    read.topTwips = readTwips(store, "top", defaults.topTwips);
    read.openAtEnd = readBox(store, musicSection, "ope", defaults.openAtEnd);
    return read;
}

void writeWindowSettings(SettingsStore& store, const WindowSettings& settings) {
    writeText(store, windowSection, "put", settings.folder);
    writeText(store, windowSection, "col", settings.countText);
    writeText(store, windowSection, "px", settings.sizeText);
    writeBox(store, windowSection, "mob", settings.mobile);
    writeBox(store, windowSection, "fon", settings.still);
    writeText(store, windowSection, "lef", shortestDecimal(settings.leftTwips));
    writeText(store, windowSection, "top", shortestDecimal(settings.topTwips));
    writeBox(store, musicSection, "ope", settings.openAtEnd);
}

}  // namespace pestrolik
