#include "settings/conversion_settings.h"

#include <stdio.h>
#include <string.h>

#include "platform/platform.h"

void applyDefaults(ConversionSettings& settings) {
    for (const SettingDescriptor& row : kSettingsTable)
        storeSettingValue(row, settingField(settings, row), row.defaultValue);
    memset(settings.fieldColumns, 0, sizeof settings.fieldColumns);
}

void storeSettingValue(const SettingDescriptor& row, void* field, const char* value) {
    switch (row.kind) {
        case kSettingText:
            copyText(static_cast<char*>(field), row.capacity, value, isLeadByte);
            break;
        case kSettingInteger:
        case kSettingLong: {
            const int32_t v = parseLeadingInt(value);
            memcpy(field, &v, sizeof v);
            break;
        }
        case kSettingReal: {
            const double v = parseLeadingNumber(value);
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
                     static_cast<const char*>(field), isLeadByte);
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
