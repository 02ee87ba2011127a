#include "settings/settings_file.h"

#include "platform/platform.h"

const char kSettingsSection[] = "VANTREL_LOCAL_PARAMS";

bool settingsFilePath(char (&path)[kPathCapacity]) {
    char folder[kPathCapacity];
    if (!modulePath(folder, sizeof folder)) {
        path[0] = '\0';
        return false;
    }
    removeFileSpec(folder);
    return joinText(path, sizeof path, folder, kSettingsFileSuffix);
}

void loadSettingsFrom(ConversionSettings& settings, const char* path) {
    for (const SettingDescriptor& row : kSettingsTable) {
        // Read with room to spare, so that a value too long for its field is
        // cut by the field's own rule (which keeps double-byte characters
        // whole), not by the reader.
        char value[kSettingValueCapacity];
        readProfileString(kSettingsSection, row.key, value, sizeof value, path);
        if (value[0] != '\0') storeSettingValue(row, settingField(settings, row), value);
    }
}

void loadSettings(ConversionSettings& settings) {
    char path[kPathCapacity];
    if (settingsFilePath(path)) loadSettingsFrom(settings, path);
}

void saveSettingsTo(const ConversionSettings& settings, const char* path) {
    for (const SettingDescriptor& row : kSettingsTable) {
        char value[kSettingValueCapacity];
        formatSettingValue(row, settingField(settings, row), value);
        writeProfileString(kSettingsSection, row.key, value, path);
    }
}

void saveSettings(const ConversionSettings& settings) {
    char path[kPathCapacity];
    if (settingsFilePath(path)) saveSettingsTo(settings, path);
}
