// Keeps the settings between runs in an INI-style file beside the executable,
// driven by the persisted-key table.
#pragma once

#include <stddef.h>

#include "settings/conversion_settings.h"

extern const char kSettingsSection[];

// Path of the settings file: the executable's folder followed by the settings
// file name. False (and path empty) when the executable's path or the result
// does not fit kPathCapacity bytes: then there is no settings file.
bool settingsFilePath(char (&path)[kPathCapacity]);

// Overlays the record with the values the settings file holds. Missing keys and
// empty values leave their fields unchanged.
void loadSettings(ConversionSettings& settings);
void loadSettingsFrom(ConversionSettings& settings, const char* path);

// One value of a row of the table: stored into its field from the file's text
// (text copied and cut to fit, integers with the leading-integer conversion,
// reals with the leading-number conversion), and formatted from the field for
// the file (text unchanged, integers "%d", reals "%lf").
enum : size_t { kSettingValueCapacity = kPathCapacity + 64 };
void storeSettingValue(const SettingDescriptor& row, void* field, const char* value);
void formatSettingValue(const SettingDescriptor& row, const void* field,
                        char (&value)[kSettingValueCapacity]);

// Writes every row of the table to the settings file.
void saveSettings(const ConversionSettings& settings);
void saveSettingsTo(const ConversionSettings& settings, const char* path);
