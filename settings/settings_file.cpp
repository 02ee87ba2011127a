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

void loadSettingsWith(ConversionSettings& settings, SettingReader read, const void* store) {
    for (const SettingDescriptor& row : kSettingsTable) {
        // Read with room to spare, so that a value too long for its field is
        // cut by the field's own rule (which keeps double-byte characters
        // whole), not by the reader.
        char value[kSettingValueCapacity];
        read(store, row.key, value, sizeof value);
        if (value[0] != '\0') storeSettingValue(row, settingField(settings, row), value);
    }
    for (size_t k = 0; k < kColumnFieldCount; ++k) {
        char key[kColumnKeyCapacity];
        columnFieldKey(k, key);
        char value[kSettingValueCapacity];
        read(store, key, value, sizeof value);
        if (value[0] != '\0') copyText(settings.fieldColumns[k], value, isLeadByte);
    }
}

bool saveSettingsWith(const ConversionSettings& settings, SettingWriter write, void* store) {
    bool saved = true;
    for (const SettingDescriptor& row : kSettingsTable) {
        char value[kSettingValueCapacity];
        formatSettingValue(row, settingField(settings, row), value);
        saved = write(store, row.key, value) && saved;
    }
    // A field's key only where it has a column, or had one and was emptied
    // ("-"): the file does not fill with a hundred and more empty keys.
    for (size_t k = 0; k < kColumnFieldCount; ++k) {
        if (settings.fieldColumns[k][0] == '\0') continue;
        char key[kColumnKeyCapacity];
        columnFieldKey(k, key);
        saved = write(store, key, settings.fieldColumns[k]) && saved;
    }
    return saved;
}

namespace {

void readFromFile(const void* path, const char* key, char* value, size_t cap) {
    readProfileString(kSettingsSection, key, value, cap, static_cast<const char*>(path));
}

bool writeToFile(void* path, const char* key, const char* value) {
    return writeProfileString(kSettingsSection, key, value, static_cast<const char*>(path));
}

}  // namespace

void loadSettingsFrom(ConversionSettings& settings, const char* path) {
    loadSettingsWith(settings, readFromFile, path);
}

void loadSettings(ConversionSettings& settings) {
    char path[kPathCapacity];
    if (settingsFilePath(path)) loadSettingsFrom(settings, path);
}

bool saveSettingsTo(const ConversionSettings& settings, const char* path) {
    return saveSettingsWith(settings, writeToFile, const_cast<char*>(path));
}

bool saveSettings(const ConversionSettings& settings) {
    char path[kPathCapacity];
    return settingsFilePath(path) && saveSettingsTo(settings, path);
}
