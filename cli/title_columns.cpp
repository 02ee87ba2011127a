#include "cli/title_columns.h"

#include <stddef.h>

#include "conversion/logbook_records.h"

namespace {

void printSetting(FILE* out, const ConversionSettings& settings, const SettingDescriptor& row) {
    char value[kSettingValueCapacity];
    formatSettingValue(row, settingField(settings, row), value);
    fprintf(out, "%s=%s\n", row.key, value);
}

// The row of kSettingsTable that keeps the field at that offset.
const SettingDescriptor& settingAt(size_t offset) {
    for (const SettingDescriptor& row : kSettingsTable) {
        if (row.offset == offset) return row;
    }
    return kSettingsTable[0];
}

}  // namespace

int printTitleColumns(FILE* out, FILE* err, const char* csvPath) {
    TitleRow row;
    const ConversionOutcome outcome = readTitleRowOfFile(csvPath, row);
    if (outcome != ConversionFinished) {
        fprintf(err, "%s: %s\n", csvPath, outcomeStatus(outcome));
        return 1;
    }
    if (!row.isTitleRow) {
        fprintf(err, "%s: line 1 is no title row\n", csvPath);
        return 1;
    }
    // The settings lines are those of the defaults with the titles applied.
    ConversionSettings given;
    applyDefaults(given);
    applyTitleRow(row, given);
    for (size_t k = 0; k < kTitleItemCount; ++k)
        printSetting(out, given, titleItemSetting(k));
    for (size_t k = 0; k < kColumnFieldCount; ++k) {
        if (row.field[k] == kNoColumn) continue;
        char key[kColumnKeyCapacity];
        columnFieldKey(k, key);
        fprintf(out, "%s=%s\n", key, given.fieldColumns[k]);
    }
    if (row.saysTimeZone)
        printSetting(out, given, settingAt(offsetof(ConversionSettings, timeZone)));
    if (row.freqUnit != kFreqNone) {
        printSetting(out, given, settingAt(offsetof(ConversionSettings, checkMhz)));
        printSetting(out, given, settingAt(offsetof(ConversionSettings, checkKhz)));
    }
    return 0;
}

void warnAboutTitleRow(FILE* to, const char* csvPath, const TitleRow& row,
                       const ConversionSettings& settings) {
    if (!titleRowDiffers(row, settings)) return;
    char titles[1024];
    describeTitleRow(row, titles, sizeof titles);
    fprintf(to,
            "%s: warning: line 1 is a title row whose columns differ from the settings: %s; "
            "--columns-from-title takes them\n",
            csvPath, titles);
}
