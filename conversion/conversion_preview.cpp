#include "conversion/conversion_preview.h"

#include <string.h>

#include "common/text.h"
#include "conversion/converter_state.h"
#include "platform/platform.h"

namespace {

// The preview's own buffers: a block of the file, the columns of a line, the
// record made of them.
struct PreviewBuffers {
    char block[kIoBlockSize];
    CsvFields fields;
    QsoRecord record;
};
PreviewBuffers buffers;

// The text being made, cut (never inside a double-byte character) where it
// is full.
struct PreviewText {
    char* text;
    size_t capacity;
    size_t used;
    bool full;

    void add(const char* bytes, size_t length) {
        if (full || capacity == 0) return;
        const size_t room = capacity - 1 - used;
        if (length > room) {
            length = characterCut(bytes, room, isLeadByte);
            full = true;
        }
        memcpy(text + used, bytes, length);
        used += length;
        text[used] = '\0';
    }
    void add(const char* zeroEnded) { add(zeroEnded, strlen(zeroEnded)); }
    void addNumber(int64_t number) {
        char digits[24];
        add(digits, formatInt(digits, number, 0, ' '));
    }
};

// "  NAME: VALUE (column F)", or "(columns A, B, C read 2014 12 8)" where
// the value is not the columns' text as it stands.
void describeItem(PreviewText& out, const CsvFields& fields, const RecordItem& item) {
    out.add("  ");
    out.add(item.name, item.nameLength);
    out.add(": ");
    out.add(item.value, item.length);
    const size_t n = item.columnCount;
    if (n == 0) {
        out.add(" (no column)\r\n");
        return;
    }
    out.add(n == 1 ? " (column " : " (columns ");
    for (size_t k = 0; k < n; ++k) {
        char letters[3];
        columnName(item.columns[k], letters);
        if (k > 0) out.add(", ");
        out.add(letters);
    }
    const int8_t first = item.columns[0];
    const bool madeValue = item.id == kItemDate || item.id == kItemTime;
    const bool asItStands = n == 1 && fields.length[first] == item.length &&
                            memcmp(fields.column[first], item.value, item.length) == 0;
    if (!madeValue && asItStands) {
        out.add(")\r\n");
        return;
    }
    out.add(" read ");
    for (size_t k = 0; k < n; ++k) {
        if (k > 0) out.add(" ");
        out.add(fields.column[item.columns[k]], fields.length[item.columns[k]]);
    }
    out.add(")\r\n");
}

// Describes the record just made, item by item.
void describeRecord(void* context, const LogbookRecords& records) {
    PreviewText& out = *static_cast<PreviewText*>(context);
    out.add(records.count == 1 ? "" : "\r\n");
    out.add("CSV line ");
    out.addNumber(records.line);
    out.add("\r\n");
    const QsoRecord& record = *records.record;
    for (size_t i = 0; i < record.count; ++i)
        describeItem(out, *records.fields, record.items[i]);
}

}  // namespace

ConversionOutcome previewConversion(const ConversionSettings& settings, char* text,
                                    size_t capacity) {
    PreviewText out = {text, capacity, 0, false};
    if (capacity > 0) text[0] = '\0';
    OpenLogbook book;
    const ConversionOutcome outcome =
        openLogbook(settings.csvPath, buffers.block, sizeof buffers.block, book);
    if (outcome != ConversionFinished) {
        out.add(outcomeStatus(outcome));
        return outcome;
    }
    ConversionReport report;
    memset(&report, 0, sizeof report);
    LogbookRecords records = {};
    records.out = AdifOutput{nullptr, nullptr, 0, 0, false};  // no ADIF text is made
    size_t got = book.got;
    const LogbookFormat& format = book.format;
    records.begin(
        settings, format, buffers.fields, buffers.record, report, buffers.block + format.skip,
        buffers.block + (got < kFormatWindow ? got : kFormatWindow), got < sizeof buffers.block);
    records.limit = static_cast<int32_t>(kPreviewRecords);
    records.viewer = describeRecord;
    records.viewerContext = &out;
    records.feed(buffers.block + format.skip, buffers.block + got);
    while (records.count < records.limit && got == sizeof buffers.block &&
           (got = readLogbookBlock(book, buffers.block, sizeof buffers.block)) > 0)
        records.feed(buffers.block, buffers.block + got);
    if (records.inLine && records.count < records.limit && !book.readFailed) records.finishLine();
    fclose(book.input);
    if (book.readFailed) {
        out.used = 0;
        out.full = false;
        out.add(outcomeStatus(ConversionReadFailed));
        return ConversionReadFailed;
    }
    report.records = records.count;
    if (records.count == 0) out.add("The CSV file holds no records.\r\n");
    char notes[kReportTextCapacity];
    int32_t noteCount = 0, warningCount = 0;
    formatReportText(report, notes, sizeof notes, noteCount, warningCount);
    out.add(noteCount + warningCount == 0 ? "\r\nNo notes or warnings for these records.\r\n"
                                          : "\r\nNotes and warnings for these records:\r\n");
    out.add(notes);
    return ConversionFinished;
}
