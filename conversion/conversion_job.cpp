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

size_t formatConvertedCount(char* out, int32_t count) {
    static const char kConverted[] = "Converted  ";
    static const char kQsos[] = " QSOs";
    size_t n = sizeof kConverted - 1;
    memcpy(out, kConverted, n);
    n += formatInt(out + n, count, 0, ' ');
    memcpy(out + n, kQsos, sizeof kQsos);
    return n + sizeof kQsos - 1;
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
        outside[','] = kComma;
        outside['"'] = inside['"'] = kQuote;
        outside['\r'] = inside['\r'] = kEnd;
        outside['\n'] = inside['\n'] = kEnd;
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

// Decides on the byte after a field's end: finish the line, or start the next
// column at that byte (not consumed).
inline void afterField(CsvSplitState& state, unsigned char next) {
    if (endsLine(next) || state.slot == static_cast<int>(kCsvColumns) - 1) {
        state.mode = kLineFinished;
    } else {
        state.slot += 1;
        state.length = 0;
        state.inQuotes = false;
        state.mode = kInField;
    }
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
    const unsigned char* const begin = reinterpret_cast<const unsigned char*>(data);
    const unsigned char* p = begin;
    const unsigned char* const end = p + length;
    while (p < end) {
        switch (state.mode) {
            case kLineFinished: {
                // Skip the rest of the line, through its LF.
                const void* lf = memchr(p, '\n', static_cast<size_t>(end - p));
                return lf != nullptr
                           ? static_cast<size_t>(static_cast<const unsigned char*>(lf) + 1 - begin)
                           : length;
            }
            case kFieldEnded:
                if (*p == '\n') {
                    state.mode = kLineFinished;
                    return static_cast<size_t>(p + 1 - begin);
                }
                afterField(state, *p);
                continue;
            case kQuotePending:
                state.mode = kInField;
                if (*p == '"') {
                    if (state.length < static_cast<int>(kCsvFieldCapacity) - 1) {
                        fields.column[state.slot][state.length++] = '"';
                    }
                    ++p;
                } else {
                    state.inQuotes = false;
                }
                continue;
            case kInField:
                break;
        }
        // Reading a column: the common case, kept tight.
        char* slot = fields.column[state.slot];
        int kept = state.length;
        const unsigned char* classes = state.inQuotes ? kClasses.inside : kClasses.outside;
        for (;;) {
            if (p == end) {
                state.length = kept;
                return length;
            }
            unsigned char c = *p++;
            unsigned char cls = classes[c];
            if (cls == kPlain) {
                if (kept < static_cast<int>(kCsvFieldCapacity) - 1)
                    slot[kept++] = static_cast<char>(c);
                continue;
            }
            if (cls == kQuote) {
                if (!state.inQuotes) {
                    state.inQuotes = true;
                    classes = kClasses.inside;
                    continue;
                }
                if (p == end) {
                    state.length = kept;
                    state.mode = kQuotePending;
                    return length;
                }
                if (*p == '"') {
                    if (kept < static_cast<int>(kCsvFieldCapacity) - 1) slot[kept++] = '"';
                    ++p;
                } else {
                    state.inQuotes = false;
                    classes = kClasses.outside;
                }
                continue;
            }
            // A comma outside quotes, or CR, LF or NUL: the field ends; an LF
            // also ends the line.
            state.length = kept;
            endField(state, fields);
            if (c == '\n') {
                state.mode = kLineFinished;
                return static_cast<size_t>(p - begin);
            }
            break;
        }
    }
    return length;
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
    static const char kFinished[] = "Finished ";
    static const char kConversion[] = " QSOs conversion";
    size_t n = sizeof kFinished - 1;
    memcpy(finished, kFinished, n);
    n += formatInt(finished + n, count, 0, ' ');
    memcpy(finished + n, kConversion, sizeof kConversion);

    LocalTime now = currentLocalTime();
    char text[kStatusTextCapacity];
    n = formatInt(text, now.hour, 2, '0');
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
            const char* lf =
                static_cast<const char*>(memchr(p, '\n', static_cast<size_t>(end - p)));
            const char* stop = lf != nullptr ? lf + 1 : end;
            feedCsvLine(state, app.fields, p, static_cast<size_t>(stop - p));
            p = stop;
            if (lf == nullptr) break;
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
