#include "settings/settings_file.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "common/text.h"
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

void storeSettingValue(const SettingDescriptor& row, void* field, const char* value) {
    switch (row.kind) {
        case kSettingText:
            copyText(static_cast<char*>(field), row.capacity, value);
            break;
        case kSettingInteger:
        case kSettingLong: {
            int32_t v = parseLeadingInt(value);
            memcpy(field, &v, sizeof v);
            break;
        }
        case kSettingReal: {
            double v = parseLeadingNumber(value);
            memcpy(field, &v, sizeof v);
            break;
        }
        default:
            break;
    }
}

void formatSettingValue(const SettingDescriptor& row, const void* field,
                        char (&value)[kSettingValueCapacity]) {
    switch (row.kind) {
        case kSettingText:
            copyText(value, row.capacity < sizeof value ? row.capacity : sizeof value,
                     static_cast<const char*>(field));
            break;
        case kSettingInteger:
        case kSettingLong: {
            int32_t v;
            memcpy(&v, field, sizeof v);
            value[formatInt(value, v, 0, ' ')] = '\0';
            break;
        }
        case kSettingReal: {
            double v;
            memcpy(&v, field, sizeof v);
            snprintf(value, sizeof value, "%lf", v);
            break;
        }
        default:
            value[0] = '\0';
            break;
    }
}

void loadSettingsFrom(ConversionSettings& settings, const char* path) {
    for (const SettingDescriptor& row : kSettingsTable) {
        char value[256];
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
