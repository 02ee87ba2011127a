// One conversion from a CSV logbook to an ADIF file beside it, the CSV line
// splitter, and the status line the conversion reports into.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <atomic>
#include <mutex>

#include "settings/conversion_settings.h"

enum : size_t {
    kCsvColumns = 32,
    kCsvFieldCapacity = 256,  // 255 bytes of text and a NUL
    kLineBufferSize = 1024,
    kStatusTextCapacity = 1024,
};

// The columns of the current CSV line; column[0] is CSV column 1.
struct CsvFields {
    char column[kCsvColumns][kCsvFieldCapacity];
};

// The status line, written by the conversion and read by the user interface,
// always as a whole text. While a conversion counts its records, the line is
// "Converted  N QSOs" with N kept in one atomic word (so that a record costs
// no lock); any other text is kept in text, under the lock.
struct StatusText {
    std::mutex lock;
    char text[kStatusTextCapacity];
    std::atomic<int32_t> convertedCount{-1};  // -1: the line is text
};

// Replaces the status text and raises StatusChanged.
void publishStatus(const char* text);
// Makes the status "Converted  %d QSOs" with count, and raises StatusChanged.
void publishConvertedCount(int32_t count);
// Copies the current status text into out (cut to cap - 1 bytes).
void readStatusText(char* out, size_t cap);

// Splitting of one CSV line, which may arrive in several pieces. A line runs up
// to and including its first LF. feedCsvLine takes bytes of the current line
// and returns how many it used: all of them, or fewer when an LF ended the
// line (the LF is the last byte used). endCsvLine ends the line; the end of
// the bytes handed over counts as a NUL.
struct CsvSplitState {
    int slot;    // current column, 0 to 31
    int length;  // bytes kept in the current column so far
    int mode;    // where the splitter is; see conversion_job.cpp
    bool inQuotes;
};
void beginCsvLine(CsvSplitState& state, CsvFields& fields);
size_t feedCsvLine(CsvSplitState& state, CsvFields& fields, const char* data, size_t length);
void endCsvLine(CsvSplitState& state, CsvFields& fields);

// Splits length bytes of line, up to its first LF (the end counts as NUL).
void splitCsvLine(const char* line, size_t length, CsvFields& fields);
// Splits a NUL-terminated line.
void splitCsvLine(const char* line, CsvFields& fields);

// The ADIF path beside csvPath: the extension replaced by "adi" (added when
// there is none). False (and out empty) when it would not fit kPathCapacity.
bool outputPathFor(const char* csvPath, char (&out)[kPathCapacity]);

// True when csvPath's extension is "adi" in any letter case, so that the
// output path would name the input itself.
bool hasAdiExtension(const char* csvPath);

enum ConversionOutcome {
    ConversionFinished,
    ConversionCsvNotOpened,
    ConversionAdiNotOpened,
    ConversionAdiIsCsv,
    ConversionReadFailed,
    ConversionWriteFailed,
};

// One whole conversion with a snapshot of the current settings; its results
// are the output file, the status text and the StatusChanged bit.
ConversionOutcome convertCsvFile();
void runConversion();
