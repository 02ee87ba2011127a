// The record of all user settings, its defaults, and the table of the settings
// that are kept in the settings file.
#pragma once

#include <stddef.h>
#include <stdint.h>

enum : size_t {
    kPathCapacity = 256,
    kCallsignCapacity = 32,
    kDesignatorCapacity = 8,
};

struct ConversionSettings {
    char csvPath[kPathCapacity];
    char myCallsign[kCallsignCapacity];
    char columnYear[kDesignatorCapacity];
    char columnMonth[kDesignatorCapacity];
    char columnDay[kDesignatorCapacity];
    char columnHour[kDesignatorCapacity];
    char columnMinute[kDesignatorCapacity];
    char columnCallsign[kDesignatorCapacity];
    char columnFreq[kDesignatorCapacity];
    char columnBand[kDesignatorCapacity];
    char columnMode[kDesignatorCapacity];
    char columnRstRcvd[kDesignatorCapacity];
    char columnRstSent[kDesignatorCapacity];
    char columnComment[kDesignatorCapacity];
    char columnGl[kDesignatorCapacity];
    int32_t timeZone;
    int32_t checkMhz;
    int32_t checkKhz;
    int32_t checkRstRcvd;
    int32_t checkMyGl;
    int32_t checkComment;
};

enum SettingKind : int32_t {
    kSettingText = 0,
    kSettingInteger = 1,
    kSettingLong = 2,
    kSettingReal = 3,
};

struct SettingDescriptor {
    int32_t kind;     // a SettingKind
    const char* key;  // at most 63 characters
    size_t offset;    // of the field within ConversionSettings
    size_t capacity;  // bytes of a text field (including the NUL)
};

enum : size_t { kSettingsCount = 21 };
extern const SettingDescriptor kSettingsTable[kSettingsCount];

// The field a row of the table stands for.
inline void* settingField(ConversionSettings& settings, const SettingDescriptor& row) {
    return reinterpret_cast<char*>(&settings) + row.offset;
}
inline const void* settingField(const ConversionSettings& settings, const SettingDescriptor& row) {
    return reinterpret_cast<const char*>(&settings) + row.offset;
}

// Sets every field to its default (the record is expected to be all zero).
void applyDefaults(ConversionSettings& settings);
