// A plain, slow CSV line splitter written straight from the splitting rules,
// against which the program's streaming splitter is checked.
//
// Rules: a line is the bytes up to and including its first LF; past its end
// every byte counts as NUL. Per column, bytes are examined one at a time:
// CR, LF and NUL end the field, inside quotes too; a quote outside quotes
// opens quoting (anywhere in a field); inside quotes a doubled quote gives one
// quote and a single quote closes quoting; a comma outside quotes ends the
// field; any other byte belongs to the value. A column keeps the first 255
// bytes of its value. After the byte that ended a field, the next byte
// decides: CR, LF or NUL finish the line, otherwise the next column starts
// there, unless column 32 was just finished.
#pragma once

#include <stddef.h>

#include <array>
#include <string>

namespace fuzz {

enum : size_t { kRefColumns = 32, kRefColumnKeep = 255 };

typedef std::array<std::string, kRefColumns> RefColumns;

// Bytes of the line at the start of data: through its first LF, or all.
inline size_t refLineLength(const unsigned char* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') return i + 1;
    }
    return size;
}

inline RefColumns refSplit(const unsigned char* data, size_t size) {
    const size_t lineLength = refLineLength(data, size);
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
            if (c == ',' && !inQuotes) break;
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

}  // namespace fuzz
