// The list font as the settings keep it (the platform's LOGFONT fields) and as Qt uses it.
#pragma once
#include "core/SettingsBlobs.h"

#include <QFont>

namespace UserInterface {

// The font the stored fields describe, with `base` giving what they leave open.
QFont FontFromSetting(const UserInterface::Settings::ALogFont& setting, const QFont& base);
// The fields to store for a font: a negative height is the character height in pixels.
UserInterface::Settings::ALogFont FontSetting(const QFont& font);

}  // namespace UserInterface
