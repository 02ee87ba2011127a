// How a logbook file is read, settled from its first block before any record
// is written: whether it is text at all, a byte order mark to skip, the byte
// that ends its lines and the byte that separates its fields.
#pragma once

#include <stddef.h>

// The first bytes of a file that settle its format.
constexpr size_t kFormatWindow = 65536;

struct LogbookFormat {
    bool isText;               // no NUL in the window: a file of text
    size_t skip;               // bytes of a UTF-8 byte order mark at the start (0 or 3)
    unsigned char terminator;  // LF; CR when the window holds no LF but a CR
    unsigned char separator;   // ',', or ';' or TAB where the first line says so
};

// Settles the format from the file's first `length` bytes (the whole file
// when shorter than the window, else the window's bytes), in this order: a NUL
// makes it no text; EF BB BF at the start is skipped; without an LF but with a
// CR, a CR ends a line; the separator is the one of ',', ';' and TAB that the
// first line (after the mark, through its line end, within the window) holds
// most often outside quotes, ',' winning a tie, then ';'.
LogbookFormat settleLogbookFormat(const char* block, size_t length);
