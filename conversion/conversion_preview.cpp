#include "conversion/conversion_preview.h"

#include <string.h>

#include "common/text.h"
#include "conversion/converter_state.h"
#include "platform/platform.h"

namespace {

// The preview's own buffers: a block of the file, the columns of a line, the
// records written.
struct PreviewBuffers {
    char block[kIoBlockSize];
    CsvFields fields;
    char records[kMaxAdifRecordBytes * (kPreviewRecords + 1)];
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

// The record items written from a column of their own, and that column.
const struct {
    const char* name;
    int8_t RecordPlan::*column;
} kColumnItems[] = {
    {"CALL", &RecordPlan::callsign},    {"BAND", &RecordPlan::band},
    {"FREQ", &RecordPlan::freq},        {"MODE", &RecordPlan::mode},
    {"RST_SENT", &RecordPlan::rstSent}, {"RST_RCVD", &RecordPlan::rstRcvd},
    {"MY_GRIDSQUARE", &RecordPlan::gl}, {"COMMENT", &RecordPlan::comment},
    {"QSLMSG", &RecordPlan::comment},
};

// The columns the date (or the time) is read from, each once.
size_t timeColumns(const QsoTimePlan& plan, bool date, int8_t (&columns)[3]) {
    const int8_t parts[2][3] = {{plan.hour, plan.minute, kNoColumn},
                                {plan.year, plan.month, plan.day}};
    size_t n = 0;
    if (!date && plan.timeReading == kTimeAfterDate) {
        columns[n++] = plan.year;
        return n;
    }
    for (int8_t column : parts[date ? 1 : 0]) {
        bool seen = column == kNoColumn;
        for (size_t k = 0; k < n; ++k)
            seen = seen || columns[k] == column;
        if (!seen) columns[n++] = column;
    }
    return n;
}

// "  NAME: VALUE (column F)", or "(columns A, B, C read 2014 12 8)" where
// the value is not the columns' text as it stands.
void describeItem(PreviewText& out, const LogbookRecords& records, const char* name,
                  size_t nameLength, const char* value, size_t valueLength) {
    const RecordPlan& plan = records.plan;
    const CsvFields& fields = *records.fields;
    int8_t columns[3];
    size_t n = 0;
    const bool date = nameLength == 8 && memcmp(name, "QSO_DATE", 8) == 0;
    const bool time = nameLength == 7 && memcmp(name, "TIME_ON", 7) == 0;
    if (date || time) {
        n = timeColumns(plan.time, date, columns);
    } else {
        for (const auto& item : kColumnItems) {
            if (strlen(item.name) == nameLength && memcmp(item.name, name, nameLength) == 0) {
                columns[0] = plan.*item.column;
                n = columns[0] == kNoColumn ? 0 : 1;
                break;
            }
        }
    }
    out.add("  ");
    out.add(name, nameLength);
    out.add(": ");
    out.add(value, valueLength);
    if (n == 0) {
        out.add(" (no column)\r\n");
        return;
    }
    out.add(n == 1 ? " (column " : " (columns ");
    for (size_t k = 0; k < n; ++k) {
        char letters[3];
        columnName(columns[k], letters);
        if (k > 0) out.add(", ");
        out.add(letters);
    }
    const bool asItStands = n == 1 && fields.length[columns[0]] == valueLength &&
                            memcmp(fields.column[columns[0]], value, valueLength) == 0;
    if (!date && !time && asItStands) {
        out.add(")\r\n");
        return;
    }
    out.add(" read ");
    for (size_t k = 0; k < n; ++k) {
        if (k > 0) out.add(" ");
        out.add(fields.column[columns[k]], fields.length[columns[k]]);
    }
    out.add(")\r\n");
}

// Describes the record just written, item by item as it stands in the
// output: "<NAME:n>value" and CR LF each, up to "<EOR>".
void describeRecord(void* context, const LogbookRecords& records, size_t recordBegin) {
    PreviewText& out = *static_cast<PreviewText*>(context);
    out.add(records.count == 1 ? "" : "\r\n");
    out.add("CSV line ");
    out.addNumber(records.count);
    out.add("\r\n");
    const char* p = records.out.buffer + recordBegin;
    const char* const end = records.out.buffer + records.out.used;
    while (p < end && *p == '<') {
        const char* name = p + 1;
        const char* colon =
            static_cast<const char*>(memchr(name, ':', static_cast<size_t>(end - name)));
        if (colon == nullptr) break;  // <EOR>
        size_t length = 0;
        const char* q = colon + 1;
        while (q < end && *q >= '0' && *q <= '9')
            length = length * 10 + static_cast<size_t>(*q++ - '0');
        const char* value = q + 1;
        if (q >= end || *q != '>' || length > static_cast<size_t>(end - value)) break;
        describeItem(out, records, name, static_cast<size_t>(colon - name), value, length);
        p = value + length + 2;  // and its CR LF
    }
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
    records.out = AdifOutput{nullptr, buffers.records, sizeof buffers.records, 0, false};
    size_t got = book.got;
    const LogbookFormat& format = book.format;
    records.begin(settings, format, buffers.fields, report, buffers.block + format.skip,
                  buffers.block + (got < kFormatWindow ? got : kFormatWindow),
                  got < sizeof buffers.block);
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
