// What may be wrong with a record, as bits of what the record writer
// returns, and the one table that names each kind in the conversion report.
#pragma once

#include <stddef.h>

// The record has no callsign; its callsign is one QSL services refuse; its
// date, after the time shift, is no calendar date from 1900 to 2100, or a
// whole date in none of the forms read (told apart further as a two-digit
// year or a spreadsheet's date number); its date is a calendar date before
// ADIF's first (1930-01-01) or more than a day after the file's own; its time
// is not from 00:00 to 23:59, or a whole time in none of the forms read; its
// band is no ADIF band; its frequency lies outside its band.
// kRecordNotes are no faults: the record holds a year-last date read in the
// system's order of day and month; a whole date with a two-digit year, read;
// a time marked as UTC, not shifted.
enum RecordFault : unsigned {
    kRecordNoCallsign = 1,
    kRecordBadDate = 2,
    kRecordBadTime = 4,
    kRecordTwoDigitYear = 8,
    kRecordDateNumber = 16,
    kRecordSystemDateOrder = 32,
    kRecordCallsignRefused = 64,
    kRecordDateOutOfRange = 128,
    kRecordUnknownBand = 256,
    kRecordBandFrequency = 512,
    // A field from a column of its own holds a value its ADIF data type
    // refuses: the report tells these field by field (the record's items
    // say which), not through the table below.
    kRecordFieldRefused = 1024,
    kRecordUnknownMode = 2048,
    // Notes, no faults: a two-digit year read (24/05/03); a time marked as
    // UTC, not shifted; a band figure (7, 430) in the frequency column,
    // written as BAND and not as FREQ.
    kRecordTwoDigitYearRead = 4096,
    kRecordUtcTime = 8192,
    kRecordFrequencyFigure = 16384,
};

// Each kind of fault, in the order the report tells them.
struct RecordFaultKind {
    unsigned bit;
    const char* what;   // "N <what>"
    const char* brief;  // a word or two, as the preview's grid names it for a record
};
inline constexpr RecordFaultKind kRecordFaultKinds[] = {
    {kRecordNoCallsign, "without a callsign", "no callsign"},
    {kRecordCallsignRefused,
     "with a callsign QSL services refuse (3 or more letters, digits and '/', a letter and a "
     "digit among them, no '/' at either end)",
     "callsign QSL services refuse"},
    {kRecordBadDate, "with a date that is no calendar date (1900 to 2100)", "no calendar date"},
    {kRecordTwoDigitYear, "with a two-digit year", "two-digit year"},
    {kRecordDateNumber,
     "with a spreadsheet's date number (format the column as a date before saving)", "date number"},
    {kRecordDateOutOfRange,
     "with a date before 1930-01-01 or more than a day after the date this file was made",
     "date out of range"},
    {kRecordBadTime, "with a time that is no time of day, or in no form read", "no time of day"},
    {kRecordUnknownBand,
     "with a band that is no ADIF band such as 20m or 70cm (Band from frequency takes the band "
     "from a figure such as 7 or 430, or from the frequency)",
     "no ADIF band"},
    {kRecordBandFrequency, "with a frequency outside its band", "frequency outside its band"},
    {kRecordUnknownMode,
     "with a mode that is no ADIF mode (such as CW, SSB, FT8, or a submode such as USB or FT4)",
     "no ADIF mode"},
};
inline constexpr size_t kRecordFaultKindCount =
    sizeof kRecordFaultKinds / sizeof kRecordFaultKinds[0];

// The bits that tell how a record was read, and those that make it one that
// looks wrong.
constexpr unsigned kRecordNotes =
    kRecordSystemDateOrder | kRecordTwoDigitYearRead | kRecordUtcTime | kRecordFrequencyFigure;
constexpr unsigned kRecordFaults = ~kRecordNotes;
