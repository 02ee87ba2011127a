// A logbook's first line read as a title row: which columns its titles give
// the form's thirteen items and the fields that take a column of their own,
// and what the titles' endings say of the times' zone and the frequency's
// unit; those columns taken into the settings, or told.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "conversion/csv_splitter.h"
#include "conversion/qso_time.h"
#include "conversion/record_plan.h"
#include "settings/conversion_settings.h"

// What a column's title names: one of the thirteen items (kTitleYear to
// kTitleGl, in the order of their designators in kSettingsTable), a whole
// date (year, month and day from one column), a whole time, a date and time,
// or the k-th field of column_fields.h (kTitleField + k); kTitleNothing.
typedef int16_t TitleName;
enum : TitleName {
    kTitleNothing = -1,
    kTitleYear,
    kTitleMonth,
    kTitleDay,
    kTitleHour,
    kTitleMinute,
    kTitleCallsign,
    kTitleFreq,
    kTitleBand,
    kTitleMode,
    kTitleRstRcvd,
    kTitleRstSent,
    kTitleComment,
    kTitleGl,
    kTitleDate,
    kTitleTime,
    kTitleDateAndTime,
    kTitleField,
};
enum : size_t { kTitleItemCount = kTitleGl + 1 };

// The designator setting of item k (below kTitleItemCount).
const SettingDescriptor& titleItemSetting(size_t k);
// The ADIF field a title names ("CALL", "QSO_DATE" for a date or its year,
// "NAME"), and its label ("Callsign", "Year", "Date", "NAME"); "" for
// kTitleNothing.
const char* titleAdifName(TitleName name);
const char* titleLabel(TitleName name);

// One of the program's titles: its text (UTF-8) and what it names; a field
// by its ADIF name. Every ADIF field that takes a column is, besides, a
// title of that field under its own name.
struct KnownTitle {
    const char* text;
    TitleName name;     // kTitleField for a field
    const char* field;  // that field's name
    constexpr KnownTitle(const char* title, TitleName item)
        : text(title), name(item), field(nullptr) {}
    constexpr KnownTitle(const char* title, const char* fieldName)
        : text(title), name(kTitleField), field(fieldName) {}
};
extern const KnownTitle kKnownTitles[];
extern const size_t kKnownTitleCount;

// What a first line gives. Where a whole date (or time) and its parts are
// both titled, the first of those columns settles how the date (time) is
// read: a whole date gives its column to the year, month and day, and the
// part titles are set aside; a part title first gives each part the first
// column titled for it, and the whole date is set aside.
struct TitleRow {
    bool isTitleRow;                  // three columns or more hold titles, one the callsign's
    int8_t item[kTitleItemCount];     // the column of each item, kNoColumn for none
    int8_t field[kColumnFieldCount];  // the column of each field of column_fields.h
    bool saysTimeZone;                // a title ended in UTC, GMT or JST
    int8_t timeZone;                  // then 0 (UTC, GMT) or 9 (JST)
    FrequencyUnit freqUnit;           // kFreqNone where no title ended in MHz or kHz
    TitleName names[kCsvColumns];     // what each column's title names, taken or not
};

// No title row: no column for anything.
void clearTitleRow(TitleRow& row);

// Reads the first line's columns (as the splitter fills them, after a byte
// order mark); false, with nothing given, where the line is no title row.
bool readTitleRow(const CsvFields& firstLine, TitleRow& row);

// Takes a title row's columns into the settings: the thirteen designators
// (kNoColumnDesignator for an item without a title), the column of each field
// a title names (the others unchanged), the time difference and CHECK_MHZ and
// CHECK_KHZ where a title said them. Nothing where it is no title row.
void applyTitleRow(const TitleRow& row, ConversionSettings& settings);
// Whether applying the title row would change how the file is read.
bool titleRowDiffers(const TitleRow& row, const ConversionSettings& settings);

// What the titles give, in column order: "Date B, Time C, Callsign D, NAME H;
// times in UTC; frequencies in kHz". Cut to fit; returns its length.
size_t describeTitleRow(const TitleRow& row, char* text, size_t capacity);
