// Writes the ADIF output: the header, and each record's text from its list
// of items.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include "conversion/qso_record.h"
#include "settings/conversion_settings.h"

// Output formatted into a fixed buffer and written to the file in large blocks.
struct AdifOutput {
    FILE* file;  // may be null: then everything stays in the buffer
    char* buffer;
    size_t capacity;  // at least kMaxRecordBytes
    size_t used;
    bool failed;  // a write to the file failed, or the buffer overflowed
};

// Room the header takes at most.
enum : size_t { kMaxAdifHeaderBytes = 512 };

// Writes the buffered bytes to the file (nothing when file is null).
void flushAdifOutput(AdifOutput& out);

// Writes the header; returns the date (YYYYMMDD) it states, today's in UTC.
int64_t writeHeader(AdifOutput& out, const ConversionSettings& settings);

// Writes one record: each item "<NAME:n>value" on a line of its own, then
// <EOR>.
void writeRecord(AdifOutput& out, const QsoRecord& record);
