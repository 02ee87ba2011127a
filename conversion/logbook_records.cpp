#include "conversion/logbook_records.h"

#include <string.h>

#include "conversion/output_path.h"
#include "platform/platform.h"

namespace {

const struct {
    ConversionOutcome outcome;
    const char* status;
} kOutcomeStatus[] = {
    {ConversionCsvNotOpened, "Can not open CSV file"},
    {ConversionCsvNotText, "Can not read CSV file: not a text file"},
    {ConversionAdiNotOpened, "Can not open ADI file"},
    {ConversionAdiIsCsv, "Can not open ADI file: it is the CSV file itself"},
    {ConversionReadFailed, "Can not read CSV file"},
    {ConversionWriteFailed, "Can not write ADI file"},
};

// Counts one more, stopping at the 32-bit limit (a file of billions of lines).
inline void countOne(int32_t& count) {
    if (count < INT32_MAX) ++count;
}

// True when every column of the line is empty.
bool emptyLine(const CsvFields& fields) {
    for (uint8_t length : fields.length) {
        if (length != 0) return false;
    }
    return true;
}

// True when the line's callsign, date and time columns are all empty or
// blank: an empty line, ",,,,", a row of a running number alone. False when
// the plan names none of them.
bool noQsoRow(const RecordPlan& plan, const CsvFields& fields) {
    if (plan.rowColumnCount == 0) return false;
    for (uint8_t k = 0; k < plan.rowColumnCount; ++k) {
        const char* text = fields.column[plan.rowColumns[k]];
        for (size_t i = 0; i < fields.length[plan.rowColumns[k]]; ++i) {
            if (text[i] != ' ' && text[i] != '\t') return false;
        }
    }
    return true;
}

// The ADIF path beside the CSV file open as input, unless it would be the
// CSV file itself or have no path.
ConversionOutcome outputPathOf(const char* csvPath, FILE* input,
                               char (&outputPath)[kPathCapacity]) {
    if (hasAdiExtension(csvPath)) return ConversionAdiIsCsv;
    if (!outputPathFor(csvPath, outputPath)) return ConversionAdiNotOpened;
    // A link to the CSV file under the ADIF file's name.
    if (isSameFile(input, outputPath)) return ConversionAdiIsCsv;
    return ConversionFinished;
}

}  // namespace

const char* outcomeStatus(ConversionOutcome outcome) {
    for (const auto& known : kOutcomeStatus) {
        if (known.outcome == outcome) return known.status;
    }
    return "";
}

size_t readLogbookBlock(OpenLogbook& book, char* block, size_t blockSize) {
    return readFileBlock(book.input, block, blockSize, book.readFailed);
}

ConversionOutcome openLogbook(const char* csvPath, char* block, size_t blockSize,
                              OpenLogbook& book) {
    memset(&book, 0, sizeof book);
    book.input = csvPath[0] != '\0' ? openShared(csvPath, "rb") : nullptr;
    if (book.input == nullptr) return ConversionCsvNotOpened;
    // Read a block at a time into the caller's block, and the format settled
    // from the first before the ADIF file is touched.
    setvbuf(book.input, nullptr, _IONBF, 0);
    book.got = readLogbookBlock(book, block, blockSize);
    book.format = settleLogbookFormat(block, book.got);
    ConversionOutcome outcome = ConversionFinished;
    if (book.readFailed) {
        outcome = ConversionReadFailed;
    } else if (!book.format.isText) {
        outcome = ConversionCsvNotText;
    } else {
        outcome = outputPathOf(csvPath, book.input, book.outputPath);
    }
    if (outcome != ConversionFinished) {
        fclose(book.input);
        book.input = nullptr;
    }
    return outcome;
}

ConversionOutcome readTitleRowOfFile(const char* csvPath, TitleRow& row) {
    clearTitleRow(row);
    // A pipe's bytes would be gone before the conversion reads them.
    if (isReadOnce(csvPath)) return ConversionFinished;
    char block[kFormatWindow];
    OpenLogbook book;
    const ConversionOutcome outcome = openLogbook(csvPath, block, sizeof block, book);
    if (outcome != ConversionFinished) return outcome;
    fclose(book.input);
    CsvDialect dialect;
    makeCsvDialect(dialect, book.format.separator, book.format.terminator, isLeadByte);
    CsvFields firstLine;
    const size_t skip = book.format.skip < book.got ? book.format.skip : book.got;
    splitCsvLine(block + skip, book.got - skip, firstLine, dialect);
    readTitleRow(firstLine, row);
    return ConversionFinished;
}

void LogbookRecords::begin(const ConversionSettings& settings, const LogbookFormat& format,
                           CsvFields& lines, QsoRecord& made, ConversionReport& noted,
                           const char* blockBegin, const char* blockEnd, bool fileEnds) {
    makeCsvDialect(dialect, format.separator, format.terminator, isLeadByte);
    planRecord(plan, settings, format.separator != ',');
    fields = &lines;
    record = &made;
    report = &noted;
    report->format = format;
    limit = INT32_MAX;
    clearTitleRow(titles);
    surveyDatesOf(blockBegin, blockEnd, fileEnds);
}

void LogbookRecords::feed(const char* p, const char* const end) {
    CsvFields& lines = *fields;
    const unsigned char terminator = dialect.terminator;
    while (p < end && count < limit) {
        if (!inLine) {
            beginCsvLine(splitter, lines, dialect);
            inLine = true;
        }
        p += feedCsvLine(splitter, lines, p, static_cast<size_t>(end - p));
        if (static_cast<unsigned char>(p[-1]) != terminator) return;
        finishLine();
    }
}

void LogbookRecords::finishLine() {
    endCsvLine(splitter, *fields);
    inLine = false;
    if (survey != nullptr) {
        // A title row tells nothing of the dates.
        if (line++ != 0 || !readTitleRow(*fields, titles)) surveyDates(*survey, plan.time, *fields);
        return;
    }
    countOne(line);
    if (line == 1 && readTitleRow(*fields, titles)) {
        report->titleRowNotWritten = true;
        return;
    }
    if (noQsoRow(plan, *fields)) {
        noteRowNotWritten(*report, line);
        return;
    }
    makeRecord(*record, plan, *fields);
    if (out.buffer != nullptr) writeRecord(out, *record);
    countOne(count);
    if (record->faults != 0 || record->notAscii)
        noteRecord(*report, *record, line, emptyLine(*fields));
    if ((record->faults & kRecordTwoDigitYearRead) != 0 && report->twoDigitYear.text[0] == '\0')
        exampleOfDate(plan.time, *fields, report->twoDigitYear);
    if (status != nullptr) publishConvertedCount(*status, *flags, count);
    if (viewer != nullptr) viewer(viewerContext, *this);
}

// The lines that end within the format window (the last line too where the
// file ends there), split as the records will be, for what they tell of the
// dates: settles the order of year-last dates in the plan, and names in the
// report a column that holds whole dates or times while named per part.
void LogbookRecords::surveyDatesOf(const char* begin, const char* const end, bool fileEnds) {
    DateSurvey dates;
    beginDateSurvey(dates);
    survey = &dates;
    // A few KiB at a time, to stop soon after the survey is complete with no
    // test for it on the way of each line.
    const size_t kStep = 4096;
    for (const char* p = begin; p < end && !dates.complete;) {
        const char* const stop = static_cast<size_t>(end - p) > kStep ? p + kStep : end;
        feed(p, stop);
        p = stop;
    }
    if (inLine && fileEnds) finishLine();
    survey = nullptr;
    inLine = false;
    line = 0;
    settleDateOrder(plan.time, dates);
    report->dateOrder = plan.time.order;
    if (dates.wholeDates != kNoColumn) {
        columnName(dates.wholeDates, report->wholeDatesColumn);
        memcpy(report->wholeDateExample, dates.dateExample, sizeof dates.dateExample);
    }
    if (dates.wholeTimes != kNoColumn) {
        columnName(dates.wholeTimes, report->wholeTimesColumn);
        memcpy(report->wholeTimeExample, dates.timeExample, sizeof dates.timeExample);
    }
}
