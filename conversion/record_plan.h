// What each record of a conversion is made of, settled once from the
// settings: the column of each item, how the date and time are read, the
// frequency's unit, and the ADIF fields taken from columns of their own.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "adif/adif_values.h"
#include "conversion/qso_time.h"
#include "platform/platform.h"
#include "settings/conversion_settings.h"

// One or two letters naming a CSV column, as a spreadsheet does.
typedef const char* ColumnDesignator;

// The column a designator names (1 to 702), or 0 for none.
int resolveColumn(ColumnDesignator designator);

// The column index (0 to 31) a designator names, or kNoColumn: designators
// beyond AF count as none.
int8_t columnIndex(ColumnDesignator designator);

// The letters of a column index (0 to 31), as resolveColumn reads them.
void columnName(int8_t column, char (&name)[3]);

// An item's text begins with its head, "<NAME:", kept in kItemHeadBytes
// bytes padded with NULs, so that it is copied with one fixed-size move.
enum : size_t { kItemHeadBytes = 32 };
struct ItemHead {
    char text[kItemHeadBytes];
};
// The head of a field's item (a name of up to kItemHeadBytes - 3 bytes).
constexpr ItemHead itemHeadOf(const char* name) {
    ItemHead head = {};
    head.text[0] = '<';
    size_t n = 0;
    while (name[n] != '\0' && n + 3 < kItemHeadBytes) {
        head.text[n + 1] = name[n];
        ++n;
    }
    head.text[n + 1] = ':';
    return head;
}

// An ADIF field taken from a column of its own: which field (its place in
// column_fields.h), its name, the column, and the rule its values follow.
struct PlannedField {
    ItemHead head;  // "<NAME:"
    uint8_t nameLength;
    uint8_t field;
    int8_t column;
    AdifValueRule rule;
};

enum FrequencyUnit : int8_t { kFreqNone, kFreqMegahertz, kFreqKilohertz };

// The column of each item (kNoColumn for none; an optional item switched off
// counts as none), and the fields from columns of their own in the order
// they are written (by their names' bytes).
struct RecordPlan {
    QsoTimePlan time;
    // The columns QSO_DATE and TIME_ON are read from, each once.
    int8_t dateColumns[3], timeColumns[3];
    uint8_t dateColumnCount, timeColumnCount;
    int8_t callsign, band, mode, rstSent, comment;
    int8_t freq, rstRcvd, gl;  // written only when not kNoColumn
    FrequencyUnit freqUnit;
    bool decimalComma;   // the file's decimal mark is ',': FREQ reads it as '.'
    int64_t latestDate;  // the latest date QSL services take: the day after the header's
    // The distinct columns of the callsign, date and time: a line with all
    // of them empty or blank is no QSO (none: every line is one).
    int8_t rowColumns[6];
    uint8_t rowColumnCount;
    bool bandFromFreq;     // BAND from a band figure or the frequency where the column gives none
    bool modeToAdif;       // MODE (and SUBMODE) as ADIF names them
    PlannedField submode;  // written right after MODE (its column may be none)
    PlannedField fields[kColumnFieldCount];  // the others
    uint8_t fieldCount;
    size_t recordBytes;  // the most one record's ADIF text takes
};
// The local time now, shifted by the time difference as the header states it.
QsoTimestamp shiftedNow(const LocalTime& now, int32_t timeZone);

// Settles the plan; its latest date is the day after today's in UTC, which a
// conversion sets again from the date its header states.
void planRecord(RecordPlan& plan, const ConversionSettings& settings, bool decimalComma);
