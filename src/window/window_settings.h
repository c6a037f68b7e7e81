#pragma once
// The window's entries in the settings store, as one record: section "tem2" (folder,
// count, size, two boxes, position) and "met2" (open-at-end box). The short names are
// the ones every version has written, so that a user's stored settings keep working. Values are stored
// as text; reading falls back to the default for anything that is not a usable value.

#include "common/settings_store.h"
#include "generation/run_inputs.h"

#include <QString>

namespace pestrolik {

struct WindowSettings {
    QString folder;  // as stored; the caller's default folder when none is
    QString countText = QString::number(defaultFrameCount);
    QString sizeText = QString::number(defaultPictureSize);
    bool mobile = false;
    bool still = false;
    float leftTwips = 3500;
    float topTwips = 3000;
    bool openAtEnd = true;
};

// Reads every entry once, in the order start-up uses them.
WindowSettings readWindowSettings(SettingsStore& store, const QString& defaultFolder);
// Writes every entry: boxes as "0"/"1", twips in their shortest decimal form.
void writeWindowSettings(SettingsStore& store, const WindowSettings& settings);

}  // namespace pestrolik
