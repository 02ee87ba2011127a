// The CSV line splitter, a state machine over the bytes of one line.
//
// Each byte is of one class, by the file's dialect and by whether the machine
// is inside quotes:
//   separator   ',' (the file's ';' or TAB where it has another), outside quotes
//   quote       '"'
//   terminator  the byte that ends a line: LF (CR in a file of CR-only lines)
//   break       the other line-end byte and NUL: CR and NUL (LF and NUL)
//   plain       every other byte, and the separator inside quotes
//
// A line starts in InField at column 1. What each class does in each state:
//
//   state          byte               action                  next state
//   -------------  -----------------  ----------------------  -------------
//   InField        plain              keep the byte           InField
//                  quote              -                       InQuotes
//                  separator, break   end the column          AfterField
//                  terminator         end the column          LineDone
//   InQuotes       plain, separator   keep the byte           InQuotes
//                  quote              -                       QuoteInQuotes
//                  break              end the column          AfterField
//                  terminator         end the column          LineDone
//   QuoteInQuotes  quote              keep one quote          InQuotes
//                  any other          (read again)            InField
//   AfterField     break, terminator  (read again)            SkipRest
//                  any other, after column 32: (read again)   SkipRest
//                  any other          next column (read again) InField
//   SkipRest       terminator         -                       LineDone
//                  any other          drop the byte           SkipRest
//
// So a quote opens quoting anywhere in a field; inside quotes a doubled quote
// is one quote and a single one closes quoting; line-end bytes end a field
// even inside quotes; the byte after a field's end tells whether the line goes
// on. The end of the line's bytes counts as a NUL. A column keeps its first
// 255 bytes: the rest of a longer field is read by the same rules and
// dropped, and where that cut would split a double-byte character it moves
// back one byte.
#include "conversion/csv_splitter.h"

#include <string.h>

#include "common/byte_scan.h"
#include "platform/platform.h"

namespace {

// InField and InQuotes are 0 and 1: they index the byte classes.
enum State { kInField = 0, kInQuotes = 1, kQuoteInQuotes, kAfterField, kSkipRest, kLineDone };

// Break and terminator come last: a class at or above kBreak ends the line.
enum ByteClass : unsigned char { kPlain, kSeparator, kQuote, kBreak, kTerminator };

const int kRoom = static_cast<int>(kCsvFieldCapacity) - 1;  // bytes a column keeps
const int kLastColumn = static_cast<int>(kCsvColumns) - 1;

// The number of plain bytes at the start of an 8-byte word (8 when it holds no
// byte that may be special). Quote, CR, LF, NUL and TAB all lie below '#', so
// one test covers them; other bytes below it (the blank among them) merely
// shorten the run, and are then taken one at a time.
inline unsigned plainPrefix(uint64_t word, unsigned char separator) {
    const uint64_t special = bytesBelow(word, '"' + 1) | bytesEqualTo(word, separator);
    return special == 0 ? 8 : lowestFlaggedByte(special);
}

// Keeps the run of plain bytes at p in the column and returns where it ends:
// at the first byte that is not plain (its class in cls), or at end. The
// column holds its first kRoom bytes; kept counts on past them (to kRoom + 1)
// when bytes are dropped. Eight bytes are copied at a time while the column
// has room for eight; bytes copied past the run's end stay inside the column,
// past its future NUL or overwritten.
// Every byte kept is OR-ed into `seen`, a word at a time (with its
// neighbours: a byte that is no ASCII sets its high bit, and DEL, plus one,
// too); a control byte, which is never part of a plain run of eight, is
// noted as a high bit when kept alone.
inline const unsigned char* keepPlainRun(const unsigned char* p, const unsigned char* end,
                                         const unsigned char* classes, unsigned char separator,
                                         char* column, int& kept, unsigned char& cls,
                                         uint64_t& seen) {
    for (;;) {
        while (end - p >= 8 && kept <= kRoom - 8) {
            uint64_t word;
            memcpy(&word, p, 8);
            memcpy(column + kept, &word, 8);
            seen |= word | (word + 0x0101010101010101ULL);
            const unsigned plain = plainPrefix(word, separator);
            p += plain;
            kept += static_cast<int>(plain);
            if (plain < 8) break;
        }
        if (p == end) return p;
        cls = classes[*p];
        if (cls != kPlain) return p;
        seen |= *p < 0x20 || *p == 0x7F ? 0x80u : *p;
        if (kept < kRoom) {
            column[kept++] = static_cast<char>(*p);
        } else {
            kept = kRoom + 1;
        }
        ++p;
    }
}

inline void keepByte(char* column, int& kept, char c) {
    if (kept < kRoom) {
        column[kept++] = c;
    } else {
        kept = kRoom + 1;
    }
}

// Terminates the column, cut to its room without splitting a character.
inline void endColumn(CsvFields& fields, int column, int kept, const CsvDialect& dialect) {
    char* text = fields.column[column];
    const size_t length =
        kept <= kRoom ? static_cast<size_t>(kept) : characterCut(text, kRoom, dialect.isLead);
    text[length] = '\0';
    fields.length[column] = static_cast<uint8_t>(length);
}

// AfterField: the byte after a column's end (of class cls) tells whether the
// line goes on in a next column. Returns the next state.
inline int afterField(unsigned char cls, int& column, int& kept) {
    if (cls >= kBreak || column == kLastColumn) return kSkipRest;
    ++column;
    kept = 0;
    return kInField;
}

// LineDone: the columns the line did not reach are emptied. (They are
// emptied here rather than when the line begins: a line usually reaches as
// many columns as the one before, and then there is nothing to do.)
void finishLine(CsvFields& fields, int lastColumn) {
    for (size_t k = static_cast<size_t>(lastColumn) + 1; k < kCsvColumns; ++k) {
        fields.column[k][0] = '\0';
        fields.length[k] = 0;
    }
}

}  // namespace

void makeCsvDialect(CsvDialect& dialect, unsigned char separator, unsigned char terminator,
                    LeadBytePredicate isLead) {
    dialect.separator = separator;
    dialect.terminator = terminator;
    dialect.isLead = isLead;
    for (int quoted = 0; quoted < 2; ++quoted) {
        unsigned char* classes = dialect.classes[quoted];
        memset(classes, kPlain, 256);
        classes[unsigned{'\r'}] = classes[unsigned{'\n'}] = classes[0] = kBreak;
        classes[terminator] = kTerminator;
        classes[unsigned{'"'}] = kQuote;
        if (!quoted) classes[separator] = kSeparator;
    }
}

const CsvDialect& standardCsvDialect() {
    static const CsvDialect dialect = [] {
        CsvDialect made;
        makeCsvDialect(made, ',', '\n', isLeadByte);
        return made;
    }();
    return dialect;
}

void beginCsvLine(CsvSplitter& splitter, CsvFields&, const CsvDialect& dialect) {
    splitter.dialect = &dialect;
    splitter.state = kInField;
    splitter.column = 0;
    splitter.kept = 0;
    splitter.seen = 0;
}

size_t feedCsvLine(CsvSplitter& splitter, CsvFields& fields, const char* data, size_t length) {
    // The machine runs on locals: stores into the columns could otherwise
    // alias its state and force it back to memory at every byte.
    const CsvDialect& dialect = *splitter.dialect;
    const unsigned char* const begin = reinterpret_cast<const unsigned char*>(data);
    const unsigned char* const end = begin + length;
    const unsigned char* p = begin;
    int state = splitter.state;
    int column = splitter.column;
    int kept = splitter.kept;
    uint64_t seen = splitter.seen;
    const unsigned char separator = dialect.separator;

    while (p < end) {
        switch (state) {
            case kInField:
            case kInQuotes:
                // Column after column, for as long as no quote comes.
                for (const unsigned char* classes = dialect.classes[state];;) {
                    unsigned char cls;
                    p = keepPlainRun(p, end, classes, separator, fields.column[column], kept, cls,
                                     seen);
                    if (p == end) break;
                    ++p;
                    if (cls == kQuote) {
                        state = state == kInQuotes ? kQuoteInQuotes : kInQuotes;
                        break;
                    }
                    endColumn(fields, column, kept, dialect);
                    if (cls == kTerminator) {
                        finishLine(fields, column);
                        state = kLineDone;
                        goto done;
                    }
                    state = kAfterField;  // after a separator or a break
                    if (p == end) break;
                    state = afterField(dialect.classes[0][*p], column, kept);
                    if (state != kInField) break;
                    classes = dialect.classes[kInField];
                }
                continue;
            case kQuoteInQuotes:
                if (*p == '"') {
                    keepByte(fields.column[column], kept, '"');
                    ++p;
                    state = kInQuotes;
                } else {
                    state = kInField;
                }
                continue;
            case kAfterField:
                state = afterField(dialect.classes[0][*p], column, kept);
                continue;
            default: {  // kSkipRest
                const void* terminator =
                    memchr(p, dialect.terminator, static_cast<size_t>(end - p));
                if (terminator == nullptr) {
                    p = end;
                    continue;
                }
                p = static_cast<const unsigned char*>(terminator) + 1;
                finishLine(fields, column);
                state = kLineDone;
                goto done;
            }
        }
    }
done:
    splitter.state = state;
    splitter.column = column;
    splitter.kept = kept;
    splitter.seen = seen;
    return static_cast<size_t>(p - begin);
}

void endCsvLine(CsvSplitter& splitter, CsvFields& fields) {
    // The end of the bytes counts as a NUL: it ends a column being read, and
    // as the byte after a column it finishes the line.
    fields.mayHoldNonAscii = (splitter.seen & 0x8080808080808080ULL) != 0;
    const int state = splitter.state;
    if (state == kLineDone) return;
    if (state == kInField || state == kInQuotes || state == kQuoteInQuotes)
        endColumn(fields, splitter.column, splitter.kept, *splitter.dialect);
    finishLine(fields, splitter.column);
    splitter.state = kLineDone;
}

void splitCsvLine(const char* line, size_t length, CsvFields& fields, const CsvDialect& dialect) {
    CsvSplitter splitter;
    beginCsvLine(splitter, fields, dialect);
    feedCsvLine(splitter, fields, line, length);
    endCsvLine(splitter, fields);
}

void splitCsvLine(const char* line, CsvFields& fields) {
    splitCsvLine(line, strlen(line), fields);
}
