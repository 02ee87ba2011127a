#include "conversion/conversion_job.h"

#include <string.h>

#include "app/converter_app.h"
#include "common/text.h"
#include "conversion/adif_writer.h"
#include "conversion/conversion_worker.h"
#include "platform/platform.h"

// ---- status line ----

namespace {

// Raising an already raised bit changes nothing, so the common case (the user
// interface has not yet taken the last change) costs only a load.
inline void raiseStatusChanged() {
    if (!isFlagSet(theApp.flags, StatusChanged)) raiseFlag(theApp.flags, StatusChanged);
}

// before + count + after, NUL-terminated; returns the length. The texts are
// this program's own and short, so out needs only 64 bytes.
size_t formatCountText(char* out, const char* before, int32_t count, const char* after) {
    size_t n = strlen(before);
    memcpy(out, before, n);
    n += formatInt(out + n, count, 0, ' ');
    size_t tail = strlen(after);
    memcpy(out + n, after, tail + 1);
    return n + tail;
}

size_t formatConvertedCount(char* out, int32_t count) {
    return formatCountText(out, "Converted  ", count, " QSOs");
}

}  // namespace

void publishStatus(const char* text) {
    {
        std::lock_guard<std::mutex> guard(theApp.statusText.lock);
        copyText(theApp.statusText.text, text);
        theApp.statusText.convertedCount.store(-1, std::memory_order_release);
    }
    raiseFlag(theApp.flags, StatusChanged);
}

void publishConvertedCount(int32_t count) {
    theApp.statusText.convertedCount.store(count, std::memory_order_release);
    raiseStatusChanged();
}

void readStatusText(char* out, size_t cap) {
    if (cap == 0) return;
    std::lock_guard<std::mutex> guard(theApp.statusText.lock);
    int32_t count = theApp.statusText.convertedCount.load(std::memory_order_acquire);
    if (count < 0) {
        copyText(out, cap, theApp.statusText.text);
        return;
    }
    char text[64];
    formatConvertedCount(text, count);
    copyText(out, cap, text);
}

// ---- CSV line splitter ----
//
// A field ends at a comma outside quotes, or at CR, LF or NUL anywhere. The
// byte after the one that ended a field decides whether the line goes on: CR,
// LF, NUL (or the end of the line) finish it; anything else starts the next
// column. A quote opens quoting anywhere in a field; inside quotes a doubled
// quote stands for one quote and a single one closes quoting. A column keeps
// its first 255 bytes; the rest of an overlong field is read and dropped.

namespace {

enum SplitMode {
    kInField,       // reading the bytes of the current column
    kQuotePending,  // a quote inside quotes; the next byte tells what it was
    kFieldEnded,    // a field has ended; the next byte tells whether the line goes on
    kLineFinished,  // the rest of the line is ignored
};

enum ByteClass : unsigned char { kPlain = 0, kComma = 1, kQuote = 2, kEnd = 3 };

struct ByteClasses {
    unsigned char outside[256];
    unsigned char inside[256];
    ByteClasses() : outside(), inside() {
        outside[unsigned{','}] = kComma;
        outside[unsigned{'"'}] = inside[unsigned{'"'}] = kQuote;
        outside[unsigned{'\r'}] = inside[unsigned{'\r'}] = kEnd;
        outside[unsigned{'\n'}] = inside[unsigned{'\n'}] = kEnd;
        outside[0] = inside[0] = kEnd;
    }
};
const ByteClasses kClasses;

inline bool endsLine(unsigned char c) {
    return c == '\r' || c == '\n' || c == '\0';
}

inline void endField(CsvSplitState& state, CsvFields& fields) {
    fields.column[state.slot][state.length] = '\0';
    state.mode = kFieldEnded;
}

}  // namespace

void beginCsvLine(CsvSplitState& state, CsvFields& fields) {
    for (size_t k = 0; k < kCsvColumns; ++k)
        fields.column[k][0] = '\0';
    state.slot = 0;
    state.length = 0;
    state.mode = kInField;
    state.inQuotes = false;
}

size_t feedCsvLine(CsvSplitState& state, CsvFields& fields, const char* data, size_t length) {
    // The state is kept in locals while bytes are copied: stores into the
    // columns could otherwise alias it and force it back to memory each time.
    const unsigned char* const begin = reinterpret_cast<const unsigned char*>(data);
    const unsigned char* const end = begin + length;
    const unsigned char* p = begin;
    int mode = state.mode;
    int column = state.slot;
    int kept = state.length;
    bool inQuotes = state.inQuotes;
    char* slot = fields.column[column];
    const int room = static_cast<int>(kCsvFieldCapacity) - 1;
    const int lastColumn = static_cast<int>(kCsvColumns) - 1;
    size_t used = length;

    while (p < end) {
        if (mode == kLineFinished) {
            // Skip the rest of the line, through its LF.
            const void* lf = memchr(p, '\n', static_cast<size_t>(end - p));
            if (lf != nullptr)
                used = static_cast<size_t>(static_cast<const unsigned char*>(lf) + 1 - begin);
            break;
        }
        if (mode == kFieldEnded) {
            // The byte after a field's end: the line finishes, or the next
            // column starts at this byte.
            if (endsLine(*p) || column == lastColumn) {
                mode = kLineFinished;
                continue;
            }
            column += 1;
            slot = fields.column[column];
            kept = 0;
            inQuotes = false;
            mode = kInField;
        }
        if (mode == kQuotePending) {
            // A quote inside quotes: doubled it stands for one quote, else it
            // closed the quoting.
            mode = kInField;
            if (*p == '"') {
                if (kept < room) slot[kept++] = '"';
                ++p;
                continue;
            }
            inQuotes = false;
        }

        // Reading a column.
        const unsigned char* classes = inQuotes ? kClasses.inside : kClasses.outside;
        for (;;) {
            // Eight bytes at a time while no special byte comes and the column
            // has room for all eight: bytes past the special one are copied
            // too, but stay inside the column, where they are overwritten or
            // lie past its NUL.
            while (end - p >= 8 && kept <= room - 8) {
                uint64_t word;
                memcpy(&word, p, 8);
                // Quote, CR, LF and NUL all lie below '#'; the other bytes
                // below it (blanks among them) merely end the fast path early.
                uint64_t special = bytesBelow(word, '"' + 1);
                if (!inQuotes) special |= bytesEqualTo(word, ',');
                memcpy(slot + kept, &word, 8);
                if (special == 0) {
                    p += 8;
                    kept += 8;
                    continue;
                }
                unsigned plain = lowestFlaggedByte(special);
                p += plain;
                kept += static_cast<int>(plain);
                break;
            }
            if (p == end) break;
            const unsigned char c = *p++;
            const unsigned char cls = classes[c];
            if (cls == kPlain) {
                if (kept < room) slot[kept++] = static_cast<char>(c);
                continue;
            }
            if (cls == kComma && p < end && !endsLine(*p) && column < lastColumn) {
                // The usual comma between two columns.
                slot[kept] = '\0';
                column += 1;
                slot = fields.column[column];
                kept = 0;
                continue;
            }
            if (cls == kQuote) {
                if (!inQuotes) {
                    inQuotes = true;
                    classes = kClasses.inside;
                    continue;
                }
                if (p == end) {
                    mode = kQuotePending;
                    break;
                }
                if (*p == '"') {
                    if (kept < room) slot[kept++] = '"';
                    ++p;
                } else {
                    inQuotes = false;
                    classes = kClasses.outside;
                }
                continue;
            }
            // A comma outside quotes, or CR, LF or NUL: the field ends; an LF
            // also ends the line.
            slot[kept] = '\0';
            mode = (c == '\n') ? kLineFinished : kFieldEnded;
            if (c == '\n') used = static_cast<size_t>(p - begin);
            break;
        }
        if (mode == kLineFinished && used != length) break;
    }

    state.mode = mode;
    state.slot = column;
    state.length = kept;
    state.inQuotes = inQuotes;
    return used;
}

void endCsvLine(CsvSplitState& state, CsvFields& fields) {
    // The end of the line counts as a NUL: it ends a field being read, and as
    // the byte after a field it finishes the line.
    if (state.mode == kInField || state.mode == kQuotePending) endField(state, fields);
    state.mode = kLineFinished;
}

void splitCsvLine(const char* line, size_t length, CsvFields& fields) {
    CsvSplitState state;
    beginCsvLine(state, fields);
    feedCsvLine(state, fields, line, length);
    endCsvLine(state, fields);
}

void splitCsvLine(const char* line, CsvFields& fields) {
    splitCsvLine(line, strlen(line), fields);
}

// ---- output path ----

namespace {

// Where the extension of path starts (its '.'), or null when it has none. A
// double-byte character counts as one unit, so its trail byte never splits.
const char* extensionOf(const char* path, size_t length) {
    const char* dot = nullptr;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(path);
    const unsigned char* const end = p + length;
    if (length >= 2 && p[1] == ':') p += 2;  // the drive
    while (p < end) {
        if (isLeadByte(*p) && p + 1 < end) {
            p += 2;
            continue;
        }
        if (*p == '\\' || *p == '/')
            dot = nullptr;
        else if (*p == '.')
            dot = reinterpret_cast<const char*>(p);
        ++p;
    }
    return dot;
}

}  // namespace

bool outputPathFor(const char* csvPath, char (&out)[kPathCapacity]) {
    const char* dot = extensionOf(csvPath, strlen(csvPath));
    size_t stem = dot != nullptr ? static_cast<size_t>(dot - csvPath) : strlen(csvPath);
    static const char kAdi[] = ".adi";
    if (stem + sizeof kAdi > sizeof out) {
        out[0] = '\0';
        return false;
    }
    memcpy(out, csvPath, stem);
    memcpy(out + stem, kAdi, sizeof kAdi);
    return true;
}

bool hasAdiExtension(const char* csvPath) {
    // Windows ignores trailing blanks and dots of a file name, so "log.adi. "
    // names log.adi as well.
    size_t length = strlen(csvPath);
    while (length > 0 && (csvPath[length - 1] == ' ' || csvPath[length - 1] == '.'))
        --length;
    const char* dot = extensionOf(csvPath, length);
    if (dot == nullptr || csvPath + length - dot != 4) return false;
    return (dot[1] | 0x20) == 'a' && (dot[2] | 0x20) == 'd' && (dot[3] | 0x20) == 'i';
}

// ---- the conversion ----

namespace {

void publishFinished(int32_t count) {
    char finished[256];
    formatCountText(finished, "Finished ", count, " QSOs conversion");

    LocalTime now = currentLocalTime();
    char text[kStatusTextCapacity];
    size_t n = formatInt(text, now.hour, 2, '0');
    text[n++] = ':';
    n += formatInt(text + n, now.minute, 2, '0');
    text[n++] = ':';
    n += formatInt(text + n, now.second, 2, '0');
    memcpy(text + n, "   ", 3);
    copyText(text + n + 3, sizeof text - n - 3, finished);
    publishStatus(text);
}

ConversionOutcome fail(ConversionOutcome outcome, const char* status) {
    publishStatus(status);
    return outcome;
}

}  // namespace

ConversionOutcome convertCsvFile() {
    ConverterApp& app = theApp;
    ConversionSettings settings;
    snapshotSettings(settings);

    app.input = settings.csvPath[0] != '\0' ? openShared(settings.csvPath, "rb") : nullptr;
    if (app.input == nullptr) return fail(ConversionCsvNotOpened, "Can not open CSV file");

    char outputPath[kPathCapacity];
    ConversionOutcome refused = ConversionFinished;
    if (hasAdiExtension(settings.csvPath))
        refused = ConversionAdiIsCsv;
    else if (!outputPathFor(settings.csvPath, outputPath))
        refused = ConversionAdiNotOpened;
    else if (isSameFile(app.input, outputPath))  // a link to the CSV under the ADIF's name
        refused = ConversionAdiIsCsv;
    else if (!(app.output = openShared(outputPath, "wb")))
        refused = ConversionAdiNotOpened;
    if (refused != ConversionFinished) {
        fclose(app.input);
        app.input = nullptr;
        return fail(refused, refused == ConversionAdiIsCsv
                                 ? "Can not open ADI file: it is the CSV file itself"
                                 : "Can not open ADI file");
    }

    // The input is read through a large stdio buffer, the output written from
    // our own buffer in large blocks.
    setvbuf(app.input, app.readBlock, _IOFBF, sizeof app.readBlock);
    setvbuf(app.output, nullptr, _IONBF, 0);
    AdifOutput out = {app.output, app.writeBlock, sizeof app.writeBlock, 0, false};
    writeHeader(out, settings);

    int32_t count = 0;
    bool inLine = false;  // a line has begun and not yet ended
    CsvSplitState state;
    for (;;) {
        size_t got = fread(app.lineBuffer, 1, sizeof app.lineBuffer, app.input);
        if (got == 0) break;
        const char* p = app.lineBuffer;
        const char* const end = p + got;
        while (p < end) {
            if (!inLine) {
                beginCsvLine(state, app.fields);
                inLine = true;
            }
            // The splitter stops right after an LF; otherwise the line goes
            // on in the next piece.
            p += feedCsvLine(state, app.fields, p, static_cast<size_t>(end - p));
            if (p[-1] != '\n') break;
            endCsvLine(state, app.fields);
            inLine = false;
            writeRecord(out, settings, app.fields);
            if (count < INT32_MAX) ++count;
            publishConvertedCount(count);
        }
        if (out.failed) break;
    }
    bool readFailed = ferror(app.input) != 0;
    if (inLine && !readFailed && !out.failed) {  // a last line without LF
        endCsvLine(state, app.fields);
        writeRecord(out, settings, app.fields);
        if (count < INT32_MAX) ++count;
        publishConvertedCount(count);
    }
    flushAdifOutput(out);

    fclose(app.input);
    app.input = nullptr;
    bool writeFailed = out.failed || ferror(app.output) != 0;
    if (fclose(app.output) != 0) writeFailed = true;
    app.output = nullptr;

    if (readFailed) return fail(ConversionReadFailed, "Can not read CSV file");
    if (writeFailed) return fail(ConversionWriteFailed, "Can not write ADI file");
    publishFinished(count);
    return ConversionFinished;
}

void runConversion() {
    convertCsvFile();
}
