#pragma once
// The window's entries in the settings store: section "tem2" (folder, count, size,
// two boxes, position) and "met2" (open-at-end box). Values are text; these
// functions turn them into what the window uses and back, falling back to the
// default for anything that is not a usable value.

#include "common/settings_store.h"

#include <QString>

namespace pestrolik {

namespace key {
inline constexpr const char* windowSection = "tem2";
inline constexpr const char* musicSection = "met2";
inline constexpr const char* folder = "put";
inline constexpr const char* count = "col";
inline constexpr const char* size = "px";
inline constexpr const char* mobile = "mob";
inline constexpr const char* still = "fon";
inline constexpr const char* left = "lef";
inline constexpr const char* top = "top";
inline constexpr const char* openAtEnd = "ope";
}  // namespace key

inline constexpr float defaultLeftTwips = 3500;
inline constexpr float defaultTopTwips = 3000;

// The stored text, or `defaultText` when the key is missing.
QString readText(SettingsStore& store, const char* section, const char* name, const QString& defaultText);
// A box stored as "0" or "1"; the default for a missing key or any other text.
bool readBox(SettingsStore& store, const char* section, const char* name, bool defaultTicked);
// A position in twips; the default for a missing key or a text that is not a number.
float readTwips(SettingsStore& store, const char* name, float defaultTwips);

void writeText(SettingsStore& store, const char* section, const char* name, const QString& text);
void writeBox(SettingsStore& store, const char* section, const char* name, bool ticked);  // "0"/"1"
void writeTwips(SettingsStore& store, const char* name, float twips);  // shortest decimal form

}  // namespace pestrolik
