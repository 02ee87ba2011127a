#include "conversion/conversion_preview.h"

#include <string.h>

#include "common/text.h"
#include "conversion/converter_state.h"
#include "conversion/record_faults.h"
#include "platform/platform.h"

namespace {

// The most columns one item's heading names (a date from three, a band from
// its own column or the frequency's).
enum : size_t { kHeadingColumns = 4 };

// The preview's own buffers: a block of the file, the columns of a line and
// of line 1, the record made of them, and the columns each item came from.
struct PreviewBuffers {
    char block[kIoBlockSize];
    CsvFields fields;
    CsvFields firstLine;
    QsoRecord record;
    int8_t itemColumns[kItemIdCount][kHeadingColumns];
    uint8_t itemColumnCount[kItemIdCount];
};
PreviewBuffers buffers;

// Text made a piece at a time, cut (never inside a double-byte character)
// where it is full.
struct Appender {
    char* text;
    size_t capacity;
    size_t used;

    void add(const char* bytes, size_t length) {
        if (capacity == 0) return;
        const size_t room = capacity - 1 - used;
        if (length > room) length = characterCut(bytes, room, isLeadByte);
        memcpy(text + used, bytes, length);
        used += length;
        text[used] = '\0';
    }
    void add(const char* zeroEnded) { add(zeroEnded, strlen(zeroEnded)); }
};

// Keeps up to `limit` bytes of the text in the pool, NUL-ended, and returns
// where; where the pool is full, the text is cut (to "" at offset 0).
uint32_t keep(PreviewGrid& grid, const char* bytes, size_t length, size_t limit) {
    const size_t room = sizeof grid.pool - grid.poolUsed;
    if (room < 2) return 0;
    if (length > limit) length = characterCut(bytes, limit, isLeadByte);
    if (length > room - 1) length = characterCut(bytes, room - 1, isLeadByte);
    const uint32_t at = static_cast<uint32_t>(grid.poolUsed);
    memcpy(grid.pool + at, bytes, length);
    grid.pool[at + length] = '\0';
    grid.poolUsed += length + 1;
    return at;
}

// The grid column of an item, or itemColumns where it has none yet.
size_t columnOfItem(const PreviewGrid& grid, uint16_t id) {
    size_t k = 0;
    while (k < grid.itemColumns && grid.columnItem[k] != id)
        ++k;
    return k;
}

// Gives each item of the record a grid column, in the records' item order:
// an item new to the grid goes after the column of the item before it in
// this record, and before the next one that this record holds too; between
// columns the record holds no item for, by its id.
void takeItemOrder(PreviewGrid& grid, const QsoRecord& record) {
    bool held[kItemIdCount] = {};
    for (size_t i = 0; i < record.count; ++i)
        held[record.items[i].id] = true;
    size_t at = 0;
    for (size_t i = 0; i < record.count; ++i) {
        const uint16_t id = record.items[i].id;
        const size_t found = columnOfItem(grid, id);
        if (found < grid.itemColumns) {
            at = found + 1;
            continue;
        }
        while (at < grid.itemColumns && !held[grid.columnItem[at]] && grid.columnItem[at] < id)
            ++at;
        memmove(grid.columnItem + at + 1, grid.columnItem + at,
                (grid.itemColumns - at) * sizeof grid.columnItem[0]);
        grid.columnItem[at++] = id;
        ++grid.itemColumns;
    }
}

// Notes the columns each item came from, for its heading.
void noteItemColumns(const QsoRecord& record) {
    for (size_t i = 0; i < record.count; ++i) {
        const RecordItem& item = record.items[i];
        int8_t* columns = buffers.itemColumns[item.id];
        uint8_t& count = buffers.itemColumnCount[item.id];
        for (size_t k = 0; k < item.columnCount; ++k) {
            size_t seen = 0;
            while (seen < count && columns[seen] != item.columns[k])
                ++seen;
            if (seen == count && count < kHeadingColumns) columns[count++] = item.columns[k];
        }
    }
}

// "no callsign, TX_PWR: no Number": what looks wrong with the record, the
// report's kinds in its order, then each field its ADIF type refuses.
void describeWrong(const QsoRecord& record, Appender& out) {
    const unsigned faults = record.faults & kRecordFaults;
    for (const RecordFaultKind& kind : kRecordFaultKinds) {
        if ((faults & kind.bit) == 0) continue;
        if (out.used > 0) out.add(", ");
        out.add(kind.brief);
    }
    if ((faults & kRecordFieldRefused) == 0) return;
    for (size_t i = 0; i < record.count; ++i) {
        const RecordItem& item = record.items[i];
        if ((item.flags & kItemRefused) == 0) continue;
        const AdifField& field = columnField(item.id - kFirstFieldItem);
        if (out.used > 0) out.add(", ");
        out.add(field.name);
        out.add(": no ");
        out.add(adifValueRuleText(adifValueRule(field)).type);
    }
}

// Takes the record just made into a row of its own.
void takeRecord(void* context, const LogbookRecords& records) {
    PreviewGrid& grid = *static_cast<PreviewGrid*>(context);
    if (grid.rowCount >= kPreviewRecords) return;
    const QsoRecord& record = *records.record;
    PreviewRow& row = grid.rows[grid.rowCount++];
    row.line[formatInt(row.line, records.line, 0, ' ')] = '\0';
    row.cellCount = static_cast<uint16_t>(record.count);
    for (size_t i = 0; i < record.count; ++i) {
        const RecordItem& item = record.items[i];
        row.cells[i].id = item.id;
        row.cells[i].text = keep(grid, item.value, item.length, kPreviewCellBytes);
    }
    char wrong[256];
    Appender out = {wrong, sizeof wrong, 0};
    wrong[0] = '\0';
    describeWrong(record, out);
    row.wrong = keep(grid, wrong, out.used, sizeof wrong);
    takeItemOrder(grid, record);
    noteItemColumns(record);
}

// The text of line 1's column c, without the blanks around it.
void addTitle(Appender& out, int8_t c) {
    const char* text = buffers.firstLine.column[c];
    size_t length = buffers.firstLine.length[c];
    while (length > 0 && (*text == ' ' || *text == '\t')) {
        ++text;
        --length;
    }
    while (length > 0 && (text[length - 1] == ' ' || text[length - 1] == '\t'))
        --length;
    if (length == 0) return;
    out.add(" ");
    out.add(text, characterCut(text, length < kPreviewTitleBytes ? length : kPreviewTitleBytes,
                               isLeadByte));
}

// "CALL  D Callsign", "QSO_DATE  A Year, B Month, C Day", "BAND  -": the
// item's ADIF name, and each column it came from with its title in line 1
// where that is a title row.
void makeHeadings(PreviewGrid& grid) {
    for (size_t k = 0; k < grid.itemColumns; ++k) {
        const uint16_t id = grid.columnItem[k];
        Appender out = {grid.heading[k], sizeof grid.heading[k], 0};
        grid.heading[k][0] = '\0';
        out.add(recordItemName(id));
        out.add("  ");
        if (buffers.itemColumnCount[id] == 0) out.add("-");
        for (size_t n = 0; n < buffers.itemColumnCount[id]; ++n) {
            char letters[3];
            const int8_t c = buffers.itemColumns[id][n];
            columnName(c, letters);
            if (n > 0) out.add(", ");
            out.add(letters);
            if (grid.titles.isTitleRow) addTitle(out, c);
        }
    }
}

// An empty grid, or one that holds only the status of a file refused.
void clearGrid(PreviewGrid& grid, ConversionOutcome outcome) {
    grid.outcome = outcome;
    grid.itemColumns = 0;
    grid.rowCount = 0;
    grid.bytesRanOut = false;
    clearTitleRow(grid.titles);
    grid.titleLine[0] = '\0';
    grid.titlesDiffer = false;
    copyText(grid.text, outcome == ConversionFinished ? "" : outcomeStatus(outcome));
    grid.pool[0] = '\0';
    grid.poolUsed = 1;
}

// The line above the grid, where line 1 is a title row.
void describeTitles(PreviewGrid& grid, const ConversionSettings& settings) {
    if (!grid.titles.isTitleRow) return;
    Appender out = {grid.titleLine, sizeof grid.titleLine, 0};
    out.add("Line 1 is a title row: ");
    out.used += describeTitleRow(grid.titles, grid.titleLine + out.used, out.capacity - out.used);
    grid.titlesDiffer = titleRowDiffers(grid.titles, settings);
}

// Below the grid: how much was read where that ended it, then the report's
// lines for these records.
void describeReport(PreviewGrid& grid, ConversionReport& report) {
    Appender out = {grid.text, sizeof grid.text, 0};
    if (grid.rowCount == 0) {
        out.add(grid.bytesRanOut ? "No record ends in the file's first 1 MiB.\r\n"
                                 : "The CSV file holds no records.\r\n");
    } else if (grid.bytesRanOut) {
        out.add("The records that end in the file's first 1 MiB.\r\n");
    }
    int32_t notes = 0, warnings = 0;
    char lines[kReportTextCapacity];
    formatReportText(report, lines, sizeof lines, notes, warnings);
    out.add(notes + warnings == 0 ? "No notes or warnings for these records.\r\n"
                                  : "Notes and warnings for these records:\r\n");
    out.add(lines);
}

}  // namespace

ConversionOutcome previewConversion(const ConversionSettings& settings, PreviewGrid& grid) {
    OpenLogbook book;
    const ConversionOutcome outcome =
        openLogbook(settings.csvPath, buffers.block, sizeof buffers.block, book);
    clearGrid(grid, outcome);
    if (outcome != ConversionFinished) return outcome;
    memset(buffers.itemColumnCount, 0, sizeof buffers.itemColumnCount);
    ConversionReport report;
    memset(&report, 0, sizeof report);
    LogbookRecords records = {};
    records.out = AdifOutput{nullptr, nullptr, 0, 0, false};  // no ADIF text is made
    size_t got = book.got;
    const LogbookFormat& format = book.format;
    const size_t skip = format.skip < got ? format.skip : got;
    records.begin(settings, format, buffers.fields, buffers.record, report, buffers.block + skip,
                  buffers.block + (got < kFormatWindow ? got : kFormatWindow),
                  got < sizeof buffers.block);
    // Line 1 as it stands, for the titles of the grid's headings.
    splitCsvLine(buffers.block + skip, got - skip, buffers.firstLine, records.dialect);
    records.limit = static_cast<int32_t>(kPreviewRecords);
    records.viewer = takeRecord;
    records.viewerContext = &grid;
    records.feed(buffers.block + skip, buffers.block + got);
    // A block at a time up to kPreviewBytes: a file without line ends is
    // read no further.
    size_t read = got;
    while (records.count < records.limit && got == sizeof buffers.block && read < kPreviewBytes &&
           (got = readLogbookBlock(book, buffers.block, sizeof buffers.block)) > 0) {
        read += got;
        records.feed(buffers.block, buffers.block + got);
    }
    fclose(book.input);
    if (book.readFailed) {
        clearGrid(grid, ConversionReadFailed);
        return ConversionReadFailed;
    }
    // The last line is a record where the file ends in it, not where the
    // read stopped short of its end.
    grid.bytesRanOut = records.count < records.limit && got == sizeof buffers.block;
    if (records.inLine && records.count < records.limit && !grid.bytesRanOut) records.finishLine();
    report.records = records.count;
    grid.titles = records.titles;
    describeTitles(grid, settings);
    makeHeadings(grid);
    describeReport(grid, report);
    return ConversionFinished;
}

size_t previewColumnCount(const PreviewGrid& grid) {
    return grid.itemColumns + 2;
}

const char* previewHeading(const PreviewGrid& grid, size_t column) {
    if (column == 0) return "CSV line";
    if (column <= grid.itemColumns) return grid.heading[column - 1];
    return column == grid.itemColumns + 1 ? "Looks wrong" : "";
}

const char* previewCell(const PreviewGrid& grid, size_t row, size_t column) {
    // The pool's first byte is the empty text.
    if (row >= grid.rowCount) return grid.pool;
    const PreviewRow& r = grid.rows[row];
    if (column == 0) return r.line;
    if (column == grid.itemColumns + 1) return grid.pool + r.wrong;
    if (column > grid.itemColumns) return grid.pool;
    const uint16_t id = grid.columnItem[column - 1];
    for (size_t i = 0; i < r.cellCount; ++i) {
        if (r.cells[i].id == id) return grid.pool + r.cells[i].text;
    }
    return grid.pool;
}
