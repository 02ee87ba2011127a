#include "settings/conversion_settings.h"

#include "common/text.h"

#define VANTREL_TEXT_ROW(key, field) \
    { kSettingText, key, offsetof(ConversionSettings, field), sizeof(ConversionSettings::field) }
#define VANTREL_INT_ROW(key, field) \
    { kSettingInteger, key, offsetof(ConversionSettings, field), sizeof(int32_t) }

const SettingDescriptor kSettingsTable[kSettingsCount] = {
    VANTREL_TEXT_ROW("MY_CALLSIGN", myCallsign),
    VANTREL_TEXT_ROW("CSV_NAME", csvPath),
    VANTREL_INT_ROW("TIME_ZONE", timeZone),
    VANTREL_TEXT_ROW("COLUMN_YEAR", columnYear),
    VANTREL_TEXT_ROW("COLUMN_MONTH", columnMonth),
    VANTREL_TEXT_ROW("COLUMN_DAY", columnDay),
    VANTREL_TEXT_ROW("COLUMN_HOUR", columnHour),
    VANTREL_TEXT_ROW("COLUMN_MINUTE", columnMinute),
    VANTREL_TEXT_ROW("COLUMN_CALLSIGN", columnCallsign),
    VANTREL_TEXT_ROW("COLUMN_FREQ", columnFreq),
    VANTREL_TEXT_ROW("COLUMN_BAND", columnBand),
    VANTREL_TEXT_ROW("COLUMN_MODE", columnMode),
    VANTREL_TEXT_ROW("COLUMN_RST_RCVD", columnRstRcvd),
    VANTREL_TEXT_ROW("COLUMN_RST_SENT", columnRstSent),
    VANTREL_TEXT_ROW("COLUMN_COMMENT", columnComment),
    VANTREL_TEXT_ROW("COLUMN_GL", columnGl),
    VANTREL_INT_ROW("CHECK_MHZ", checkMhz),
    VANTREL_INT_ROW("CHECK_KHZ", checkKhz),
    VANTREL_INT_ROW("CHECK_RST_RCVD", checkRstRcvd),
    VANTREL_INT_ROW("CHECK_MY_GL", checkMyGl),
    VANTREL_INT_ROW("CHECK_COMMENT", checkComment),
};

#undef VANTREL_TEXT_ROW
#undef VANTREL_INT_ROW

void applyDefaults(ConversionSettings& s) {
    copyText(s.myCallsign, "N0CALL");
    copyText(s.csvPath, "C:\\temp\\logbook.csv");
    s.timeZone = 9;

    // The default designators, in field order from columnYear to columnGl.
    static const char* const kDefaultColumns[] = {"A", "B", "C", "D", "E", "F", "G",
                                                  "I", "J", "K", "M", "T", "U"};
    char* const columns[] = {s.columnYear,   s.columnMonth,    s.columnDay,     s.columnHour,
                             s.columnMinute, s.columnCallsign, s.columnFreq,    s.columnBand,
                             s.columnMode,   s.columnRstRcvd,  s.columnRstSent, s.columnComment,
                             s.columnGl};
    for (size_t i = 0; i < sizeof columns / sizeof columns[0]; ++i) {
        copyText(columns[i], kDesignatorCapacity, kDefaultColumns[i]);
    }

    s.checkMhz = 1;
    s.checkKhz = 0;
    s.checkRstRcvd = 1;
    s.checkMyGl = 1;
    s.checkComment = 1;
}
