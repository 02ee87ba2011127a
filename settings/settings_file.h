// Keeps the settings between runs in an INI-style file beside the executable,
// driven by the settings table.
#pragma once

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

// Writes every row of the table to the settings file; false when a write
// failed (a folder the user may not write to, say) or there is no settings
// file path.
bool saveSettings(const ConversionSettings& settings);
bool saveSettingsTo(const ConversionSettings& settings, const char* path);

// The same load and save over any store of keys and values (the settings
// file above; the fuzz tests keep the file's text in memory). A reader gives
// a key's value cut to cap - 1 bytes, or an empty text for none.
typedef void (*SettingReader)(const void* store, const char* key, char* value, size_t cap);
typedef bool (*SettingWriter)(void* store, const char* key, const char* value);
void loadSettingsWith(ConversionSettings& settings, SettingReader read, const void* store);
bool saveSettingsWith(const ConversionSettings& settings, SettingWriter write, void* store);
