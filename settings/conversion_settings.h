// The record of all user settings, and the one table that says, for each
// setting kept in the settings file, its key, kind, field, default and the
// form control that shows it. Loading, saving, the defaults and the form all
// go through the table.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "common/text.h"
#include "settings/column_fields.h"
#include "settings/setting_controls.h"

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
    int32_t bandFromFreq;  // 1: BAND from the frequency where the band column gives none
    int32_t modeToAdif;    // 1: MODE (and SUBMODE) as ADIF names them
    // The column of each ADIF field that takes one (column_fields.h), in
    // that table's order: "" where the settings file names none.
    char fieldColumns[kColumnFieldCount][kDesignatorCapacity];
};

enum SettingKind : int32_t {
    kSettingText = 0,
    kSettingInteger = 1,
    kSettingLong = 2,  // a signed 32-bit value too, read and written like an integer
    kSettingReal = 3,
};

// How the settings form shows a setting.
enum SettingControl : int32_t {
    kEditBox,        // its value as text
    kDesignatorBox,  // a column's designator; emptied, it stores "-" (no column)
    kCheckBox,       // checked when the value is not 0; stores 1 or 0
};

// The window that shows a setting: the settings form, or the More columns
// dialog.
enum SettingPlace : int32_t { kOnForm, kInMoreColumns };

struct SettingDescriptor {
    SettingKind kind;
    const char* key;           // at most 63 characters
    size_t offset;             // of the field within ConversionSettings
    size_t capacity;           // bytes of the field (a text's including its NUL)
    const char* defaultValue;  // as the settings file would hold it
    int32_t controlId;         // the control that shows it
    SettingControl control;
    SettingPlace place;
};

#define VANTREL_SETTING(kind, key, field, value, id, control, place)                              \
    {                                                                                             \
        kind, key, offsetof(ConversionSettings, field), sizeof(ConversionSettings::field), value, \
            id, control, place                                                                    \
    }
#define VANTREL_TEXT_SETTING(key, field, value, id) \
    VANTREL_SETTING(kSettingText, key, field, value, id, kEditBox, kOnForm)
#define VANTREL_COLUMN_SETTING(key, field, value, id) \
    VANTREL_SETTING(kSettingText, key, field, value, id, kDesignatorBox, kOnForm)
#define VANTREL_INT_SETTING(key, field, value, id, control) \
    VANTREL_SETTING(kSettingInteger, key, field, value, id, control, kOnForm)
#define VANTREL_MORE_COLUMNS_SWITCH(key, field, value, id) \
    VANTREL_SETTING(kSettingInteger, key, field, value, id, kCheckBox, kInMoreColumns)

// The persisted settings in the order they are loaded and saved, and so the
// order of the keys in a new settings file.
inline constexpr SettingDescriptor kSettingsTable[] = {
    VANTREL_TEXT_SETTING("MY_CALLSIGN", myCallsign, "N0CALL", IDC_MY_CALLSIGN),
    VANTREL_TEXT_SETTING("CSV_NAME", csvPath, "C:\\temp\\logbook.csv", IDC_CSV_PATH),
    VANTREL_INT_SETTING("TIME_ZONE", timeZone, "9", IDC_TIME_ZONE, kEditBox),
    VANTREL_COLUMN_SETTING("COLUMN_YEAR", columnYear, "A", IDC_COLUMN_YEAR),
    VANTREL_COLUMN_SETTING("COLUMN_MONTH", columnMonth, "B", IDC_COLUMN_MONTH),
    VANTREL_COLUMN_SETTING("COLUMN_DAY", columnDay, "C", IDC_COLUMN_DAY),
    VANTREL_COLUMN_SETTING("COLUMN_HOUR", columnHour, "D", IDC_COLUMN_HOUR),
    VANTREL_COLUMN_SETTING("COLUMN_MINUTE", columnMinute, "E", IDC_COLUMN_MINUTE),
    VANTREL_COLUMN_SETTING("COLUMN_CALLSIGN", columnCallsign, "F", IDC_COLUMN_CALLSIGN),
    VANTREL_COLUMN_SETTING("COLUMN_FREQ", columnFreq, "G", IDC_COLUMN_FREQ),
    VANTREL_COLUMN_SETTING("COLUMN_BAND", columnBand, "I", IDC_COLUMN_BAND),
    VANTREL_COLUMN_SETTING("COLUMN_MODE", columnMode, "J", IDC_COLUMN_MODE),
    VANTREL_COLUMN_SETTING("COLUMN_RST_RCVD", columnRstRcvd, "K", IDC_COLUMN_RST_RCVD),
    VANTREL_COLUMN_SETTING("COLUMN_RST_SENT", columnRstSent, "M", IDC_COLUMN_RST_SENT),
    VANTREL_COLUMN_SETTING("COLUMN_COMMENT", columnComment, "T", IDC_COLUMN_COMMENT),
    VANTREL_COLUMN_SETTING("COLUMN_GL", columnGl, "U", IDC_COLUMN_GL),
    VANTREL_INT_SETTING("CHECK_MHZ", checkMhz, "1", IDC_CHECK_MHZ, kCheckBox),
    VANTREL_INT_SETTING("CHECK_KHZ", checkKhz, "0", IDC_CHECK_KHZ, kCheckBox),
    VANTREL_INT_SETTING("CHECK_RST_RCVD", checkRstRcvd, "1", IDC_CHECK_RST_RCVD, kCheckBox),
    VANTREL_INT_SETTING("CHECK_MY_GL", checkMyGl, "1", IDC_CHECK_MY_GL, kCheckBox),
    VANTREL_INT_SETTING("CHECK_COMMENT", checkComment, "1", IDC_CHECK_COMMENT, kCheckBox),
    VANTREL_MORE_COLUMNS_SWITCH("BAND_FROM_FREQ", bandFromFreq, "1", IDC_CHECK_BAND_FROM_FREQ),
    VANTREL_MORE_COLUMNS_SWITCH("MODE_TO_ADIF", modeToAdif, "1", IDC_CHECK_MODE_TO_ADIF),
};

#undef VANTREL_SETTING
#undef VANTREL_TEXT_SETTING
#undef VANTREL_COLUMN_SETTING
#undef VANTREL_INT_SETTING
#undef VANTREL_MORE_COLUMNS_SWITCH

inline constexpr size_t kSettingsCount = sizeof kSettingsTable / sizeof kSettingsTable[0];

// The field a row of the table stands for.
inline void* settingField(ConversionSettings& settings, const SettingDescriptor& row) {
    return reinterpret_cast<char*>(&settings) + row.offset;
}
inline const void* settingField(const ConversionSettings& settings, const SettingDescriptor& row) {
    return reinterpret_cast<const char*>(&settings) + row.offset;
}

// The text a designator box stores when the user empties it: a designator
// that names no column, so that the item stays left out (an empty value in
// the settings file would bring the default column back).
inline constexpr char kNoColumnDesignator[] = "-";

// Sets every field to its default.
void applyDefaults(ConversionSettings& settings);

// One value of a row of the table, to and from its text form (the settings
// file's and the form's). Storing: a text is copied and cut to fit its field
// (never splitting a character of the code page), integers take the
// leading-integer conversion, reals the leading-number conversion. Formatting:
// a text unchanged, integers "%d", reals "%lf".
enum : size_t { kSettingValueCapacity = kPathCapacity + 64 };
void storeSettingValue(const SettingDescriptor& row, void* field, const char* value);
void formatSettingValue(const SettingDescriptor& row, const void* field,
                        char (&value)[kSettingValueCapacity]);
