// A plain, slow CSV line splitter written straight from the splitting rules,
// against which the program's streaming splitter is checked.
//
// Rules: a line is the bytes up to and including its first terminator (LF,
// or CR in a file of CR-only lines); past its end every byte counts as NUL.
// Per column, bytes are examined one at a time: CR, LF and NUL end the field,
// inside quotes too; a quote outside quotes opens quoting (anywhere in a
// field); inside quotes a doubled quote gives one quote and a single quote
// closes quoting; the separator (',', or the file's ';' or TAB) outside
// quotes ends the field; any other byte belongs to the value. A column keeps
// the first 255 bytes of its value. After the byte that ended a field, the
// next byte decides: CR, LF or NUL finish the line, otherwise the next column
// starts there, unless column 32 was just finished.
//
// A file's format, from its first 65,536 bytes: a NUL there makes it no text
// file; a UTF-8 byte order mark at the start is skipped; with no LF there but
// a CR, lines end in CR; the separator is the one of ',', ';' and TAB found
// most often outside quotes in the first line (',' first on a tie, then ';').
#pragma once

#include <stddef.h>

#include <array>
#include <string>

namespace fuzz {

enum : size_t { kRefColumns = 32, kRefColumnKeep = 255 };

typedef std::array<std::string, kRefColumns> RefColumns;

// Bytes of the line at the start of data: through its first terminator, or all.
inline size_t refLineLength(const unsigned char* data, size_t size,
                            unsigned char terminator = '\n') {
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == terminator) return i + 1;
    }
    return size;
}

inline RefColumns refSplit(const unsigned char* data, size_t size, unsigned char separator = ',',
                           unsigned char terminator = '\n') {
    const size_t lineLength = refLineLength(data, size, terminator);
    auto at = [&](size_t i) -> unsigned char { return i < lineLength ? data[i] : 0; };
    auto endsField = [](unsigned char c) { return c == '\r' || c == '\n' || c == '\0'; };

    RefColumns columns;
    size_t pos = 0;
    for (size_t slot = 0;; ++slot) {
        std::string value;
        bool inQuotes = false;
        for (;;) {
            unsigned char c = at(pos);
            if (endsField(c)) break;
            if (c == '"') {
                if (!inQuotes) {
                    inQuotes = true;
                    pos += 1;
                } else if (at(pos + 1) == '"') {
                    value += '"';
                    pos += 2;
                } else {
                    inQuotes = false;
                    pos += 1;
                }
                continue;
            }
            if (c == separator && !inQuotes) break;
            value += static_cast<char>(c);
            pos += 1;
        }
        if (value.size() > kRefColumnKeep) value.resize(kRefColumnKeep);
        columns[slot] = value;
        pos += 1;  // over the byte that ended the field
        if (endsField(at(pos)) || slot + 1 == kRefColumns) break;
    }
    return columns;
}

struct RefFormat {
    bool text;
    size_t skip;
    unsigned char terminator;
    unsigned char separator;
};

inline RefFormat refFormat(const unsigned char* data, size_t size) {
    const size_t window = size < 65536 ? size : 65536;
    RefFormat f = {true, 0, '\n', ','};
    bool lf = false, cr = false;
    for (size_t i = 0; i < window; ++i) {
        if (data[i] == 0) f.text = false;
        lf = lf || data[i] == '\n';
        cr = cr || data[i] == '\r';
    }
    if (!f.text) return f;
    if (window >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) f.skip = 3;
    if (!lf && cr) f.terminator = '\r';
    size_t count[3] = {0, 0, 0};  // ',', ';', TAB
    bool inQuotes = false;
    for (size_t i = f.skip; i < window && data[i] != f.terminator; ++i) {
        const unsigned char c = data[i];
        if (c == '"') {
            if (inQuotes && i + 1 < window && data[i + 1] == '"') {
                ++i;
            } else {
                inQuotes = !inQuotes;
            }
        } else if (c == '\r' || c == '\n') {
            inQuotes = false;
        } else if (!inQuotes) {
            if (c == ',') ++count[0];
            if (c == ';') ++count[1];
            if (c == '\t') ++count[2];
        }
    }
    f.separator = ',';
    size_t best = count[0];
    if (count[1] > best) {
        f.separator = ';';
        best = count[1];
    }
    if (count[2] > best) f.separator = '\t';
    return f;
}

}  // namespace fuzz
