// The first records of a logbook as its ADIF file would hold them, without
// writing any file: what the settings make of a file before it is converted,
// as a grid of one row per record and one column per item written.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "conversion/conversion_report.h"
#include "conversion/logbook_records.h"
#include "conversion/qso_record.h"
#include "conversion/title_row.h"
#include "settings/conversion_settings.h"

enum : size_t {
    kPreviewRecords = 50,               // records previewed at most
    kPreviewBytes = 1024 * 1024,        // bytes of the file read at most
    kPreviewCellBytes = 127,            // a cell's text at most (a value is cut to it)
    kPreviewTitleBytes = 48,            // a title of line 1 in a heading at most
    kPreviewPoolCapacity = 256 * 1024,  // the cells' texts of all rows together
    kPreviewHeadingCapacity = 256,
    kPreviewTitleLineCapacity = 1024,
    kPreviewTextCapacity = kReportTextCapacity + 256,
};

// A cell of a row: the item it shows and its text in the grid's pool
// (NUL-ended).
struct PreviewCell {
    uint32_t text;
    uint16_t id;
};

// One record: its CSV line, what looks wrong with it (in the pool, "" for
// nothing), and a cell for each of its items, in the record's order.
struct PreviewRow {
    char line[12];
    uint32_t wrong;
    uint16_t cellCount;
    PreviewCell cells[kMaxRecordItems];
};

// The grid: column 0 holds the CSV line, columns 1 to itemColumns the items
// written in these records, in the records' item order, and the last one
// what looks wrong. Below it, `text`: the report's lines for these records;
// or, where the file could not be read or is refused, only the status line
// Convert would show (and no rows, no columns).
struct PreviewGrid {
    ConversionOutcome outcome;
    size_t itemColumns;
    uint16_t columnItem[kItemIdCount];  // the item of column 1 + k
    char heading[kItemIdCount][kPreviewHeadingCapacity];
    size_t rowCount;
    PreviewRow rows[kPreviewRecords];
    bool bytesRanOut;  // the read stopped at kPreviewBytes, before the file's end
    // Where line 1 is a title row: what it gives, "Line 1 is a title row:
    // Date B, ..." ("" where it is none), and whether taking it would
    // change the settings previewed.
    TitleRow titles;
    char titleLine[kPreviewTitleLineCapacity];
    bool titlesDiffer;
    char text[kPreviewTextCapacity];
    char pool[kPreviewPoolCapacity];
    size_t poolUsed;
};

// Reads the CSV file of `settings` as a conversion would, up to its first
// kPreviewRecords records or its first kPreviewBytes bytes, whichever come
// first, and fills the grid. Writes no file and uses nothing of theApp's
// buffers (but buffers of its own: one caller at a time), so the
// user-interface thread may call it while a conversion runs.
ConversionOutcome previewConversion(const ConversionSettings& settings, PreviewGrid& grid);

// The number of the grid's columns (the CSV line, the items, what looks
// wrong), a column's heading and the text of a row's cell ("" where the
// record has no such item).
size_t previewColumnCount(const PreviewGrid& grid);
const char* previewHeading(const PreviewGrid& grid, size_t column);
const char* previewCell(const PreviewGrid& grid, size_t row, size_t column);
