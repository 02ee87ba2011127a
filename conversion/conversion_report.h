// What a conversion found beyond its status line (how the file was read, how
// its dates were, the records that look wrong) and the report's text, made
// here once for both front ends: vantrel-convert prints its lines on stderr,
// the window shows them.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <mutex>

#include "conversion/logbook_format.h"
#include "conversion/qso_record.h"
#include "conversion/qso_time.h"
#include "conversion/record_faults.h"

// How many records, and the first CSV lines (from 1) among them.
enum : size_t { kReportedLines = 5 };
struct FaultTally {
    int32_t count;
    int32_t lines[kReportedLines];
};

struct ConversionReport {
    LogbookFormat format;
    int32_t records;
    FaultTally faulty;                        // records with any fault
    FaultTally kinds[kRecordFaultKindCount];  // by kind, as kRecordFaultKinds lists them
    bool titleOrEmptyAmongThem;               // line 1, or a line of empty columns, is one
    // Year-last dates with '/' or '-' were read in the system's order of day
    // and month, dateOrder, the file's first lines not settling it.
    bool dateOrderFromSystem;
    DateOrder dateOrder;
    // The first date read with a two-digit year ("" for none), and how many
    // records had times marked as UTC.
    DateExample twoDigitYear;
    int32_t utcTimes;
    // A column named for the year (hour) alone that holds whole dates (times):
    // its letters ("" for none) and the first record's date (time) there.
    char wholeDatesColumn[3], wholeTimesColumn[3];
    char wholeDateExample[kExampleCapacity], wholeTimeExample[kExampleCapacity];
    // Fields from columns of their own with values their ADIF data type
    // refuses, field by field (column_fields.h's order).
    FaultTally refusedFields[kColumnFieldCount];
    // Lines not written: line 1 as a title row, and rows without callsign,
    // date or time.
    bool titleRowNotWritten;
    FaultTally rowsNotWritten;
    // Records whose frequency column held a band figure, written as BAND.
    int32_t frequencyFigures;
    // Records with text outside printable ASCII, and the items that held it.
    int32_t notAsciiRecords;
    bool notAsciiItems[kItemIdCount];
};

// The tally of one kind of fault (a RecordFault bit other than those of
// kRecordNotes).
const FaultTally& tallyOf(const ConversionReport& report, unsigned bit);

// Notes what a record holds that the report tells (its faults, values their
// type refuses, text outside ASCII) at its CSV line; emptyLine: all of its
// columns are empty.
void noteRecord(ConversionReport& report, const QsoRecord& record, int32_t line, bool emptyLine);

// Notes a line without callsign, date or time, not written.
void noteRowNotWritten(ConversionReport& report, int32_t line);

// The report's lines: notes on how the file was read, warnings, and the
// details of the warning before them (each kind of record that looks wrong).
enum ReportLevel { kReportNote, kReportWarning, kReportDetail };
typedef void (*ReportSink)(void* context, ReportLevel level, const char* text);
void forEachReportLine(const ConversionReport& report, ReportSink sink, void* context);

// The report as the window shows it: notes as they are, warnings after
// "Warning: ", details indented, each line ended by CR LF (cut at a line's
// end where it would not fit), with the number of notes and warnings.
void formatReportText(const ConversionReport& report, char* text, size_t capacity, int32_t& notes,
                      int32_t& warnings);
// "2 warnings", "1 note", "1 warning, 2 notes"; empty when there are none.
void formatReportCounts(int32_t notes, int32_t warnings, char (&out)[64]);

// The last conversion's report, made on the worker and shown by the window:
// always as a whole, under its lock.
enum : size_t { kReportTextCapacity = 8192 };
struct ReportText {
    std::mutex lock;
    char text[kReportTextCapacity];
    int32_t notes, warnings;
};
void publishReport(ReportText& shown, const ConversionReport& report);
void clearReport(ReportText& shown);
void readReport(ReportText& shown, char* text, size_t capacity, int32_t& notes, int32_t& warnings);
