// A logbook read as records, the one way both a conversion and a preview
// read it: the file opened and its first block read, its format settled and
// the file refused as Convert refuses it, then its lines split, written as
// ADIF records and noted in the report.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include "conversion/adif_writer.h"
#include "conversion/conversion_report.h"
#include "conversion/csv_splitter.h"
#include "conversion/date_survey.h"
#include "conversion/request_flags.h"
#include "conversion/status_line.h"
#include "conversion/title_row.h"
#include "settings/conversion_settings.h"

enum ConversionOutcome {
    ConversionFinished,
    ConversionCsvNotOpened,
    ConversionCsvNotText,
    ConversionAdiNotOpened,
    ConversionAdiIsCsv,
    ConversionReadFailed,
    ConversionWriteFailed,
};
// The status line of an outcome other than ConversionFinished.
const char* outcomeStatus(ConversionOutcome outcome);

// An open logbook: the file, how many bytes its first block holds (read into
// the caller's block), how it is read, and the ADIF file's path beside it.
struct OpenLogbook {
    FILE* input;
    size_t got;
    bool readFailed;
    LogbookFormat format;
    char outputPath[kPathCapacity];
};
// Opens csvPath, reads its first block and settles its format; refuses (and
// closes it again) a file that cannot be read or is no text, and one whose
// ADIF file would be the CSV file itself or have no path. The ADIF file is not
// opened.
ConversionOutcome openLogbook(const char* csvPath, char* block, size_t blockSize,
                              OpenLogbook& book);
// Reads up to one block; fewer bytes only at the end of the file or on an
// error, which sets readFailed.
size_t readLogbookBlock(OpenLogbook& book, char* block, size_t blockSize);

// Reads the first line of a CSV file as a conversion would (at most its first
// 64 KiB, in buffers of its own on the caller's stack, about 72 KiB), and
// returns ConversionFinished, or the outcome a conversion would give the file
// (which is then no title row). A pipe or a device is not read (its
// bytes would be gone before the conversion reads them): no title row.
ConversionOutcome readTitleRowOfFile(const char* csvPath, TitleRow& row);

// The lines of a file as records: split into `fields`, made into `record`,
// written into `out` (unless it has no buffer), counted, and noted in
// `report`. A title row in line 1, and a line without callsign, date or
// time, make no record. While a date survey is set, the
// lines are split for it instead, and nothing is written. With `status`, each record makes it
// count; with `viewer`, each record is shown to it just made.
struct LogbookRecords {
    AdifOutput out;
    RecordPlan plan;
    CsvSplitter splitter;
    CsvDialect dialect;
    CsvFields* fields;
    QsoRecord* record;
    ConversionReport* report;
    DateSurvey* survey;
    StatusText* status;
    RequestFlags* flags;
    void (*viewer)(void* context, const LogbookRecords& records);
    void* viewerContext;
    int32_t limit;    // records to write at most
    int32_t count;    // records written
    int32_t line;     // CSV lines read
    TitleRow titles;  // what line 1 holds, when it is a title row (not written)
    bool inLine;      // a line has begun and not yet ended

    // Sets up for a file read with `format`, planned from the settings, with
    // no limit; the lines of its first block (begin to end) are surveyed for
    // their dates.
    void begin(const ConversionSettings& settings, const LogbookFormat& format, CsvFields& lines,
               QsoRecord& made, ConversionReport& noted, const char* blockBegin,
               const char* blockEnd, bool fileEnds);
    // Splits the bytes into lines, writing each line's record at its end;
    // a line not ended goes on in the next bytes.
    void feed(const char* p, const char* const end);
    // Ends the line and writes its record (or surveys it).
    void finishLine();

private:
    void surveyDatesOf(const char* begin, const char* const end, bool fileEnds);
};
