// The CSV line splitter: one line of a logbook into its columns. The rules
// are those of a state machine, written out at the top of csv_splitter.cpp.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "common/text.h"

enum : size_t {
    kCsvColumns = 32,
    kCsvFieldCapacity = 256,  // 255 bytes of text and a NUL
};

// The columns of the current CSV line; column[0] is CSV column 1. length[k]
// is the number of bytes column[k] holds before its NUL.
struct CsvFields {
    char column[kCsvColumns][kCsvFieldCapacity];
    uint8_t length[kCsvColumns];
    // False when every byte the columns hold is printable ASCII (0x20 to
    // 0x7E); true when some may not be (a byte of another line read along
    // may make it so: it is a hint for where to look, not an answer).
    bool mayHoldNonAscii;
};

// How a file's lines are split: the byte between fields, the byte that ends a
// line, and the code page's lead bytes (so that a column cut to its 255 bytes
// never ends in half a character).
struct CsvDialect {
    unsigned char separator;        // ',' (';' or TAB in files that show so)
    unsigned char terminator;       // LF (CR in files whose lines end in a lone CR)
    LeadBytePredicate isLead;       // null: a single-byte code page
    unsigned char classes[2][256];  // the class of each byte outside and inside quotes
};

// Fills in a dialect; its byte classes follow from the two bytes.
void makeCsvDialect(CsvDialect& dialect, unsigned char separator, unsigned char terminator,
                    LeadBytePredicate isLead);
// ',' and LF with the system's code page: a file read as it has always been.
const CsvDialect& standardCsvDialect();

// Splitting of one line, which may arrive in several pieces. A line runs up
// to and including its terminator. feedCsvLine takes bytes of the current
// line and returns how many it used: all of them, or fewer when the
// terminator ended the line (it is the last byte used). endCsvLine ends the
// line; the end of the bytes handed over counts as a NUL.
struct CsvSplitter {
    const CsvDialect* dialect;
    int state;   // where the machine stands (csv_splitter.cpp)
    int column;  // the current column, 0 to 31
    int kept;    // bytes the current column holds; more than 255: some were dropped
    uint64_t
        seen;  // bytes read, OR-ed together so that a byte outside ASCII shows in its high bits
};
void beginCsvLine(CsvSplitter& splitter, CsvFields& fields, const CsvDialect& dialect);
size_t feedCsvLine(CsvSplitter& splitter, CsvFields& fields, const char* data, size_t length);
void endCsvLine(CsvSplitter& splitter, CsvFields& fields);

// Splits length bytes of line, up to its terminator (the end counts as NUL).
void splitCsvLine(const char* line, size_t length, CsvFields& fields,
                  const CsvDialect& dialect = standardCsvDialect());
// Splits a NUL-terminated line.
void splitCsvLine(const char* line, CsvFields& fields);
