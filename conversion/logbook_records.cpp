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

void LogbookRecords::begin(const ConversionSettings& settings, const LogbookFormat& format,
                           CsvFields& lines, ConversionReport& noted, const char* blockBegin,
                           const char* blockEnd, bool fileEnds) {
    makeCsvDialect(dialect, format.separator, format.terminator, isLeadByte);
    planRecord(plan, settings, format.separator != ',');
    fields = &lines;
    report = &noted;
    report->format = format;
    limit = INT32_MAX;
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
        surveyDates(*survey, plan.time, *fields);
        return;
    }
    const size_t recordBegin = out.used;
    const unsigned faults = writeRecord(out, plan, *fields);
    countOne(count);
    if (faults != 0) noteRecordFaults(*report, faults, count, emptyLine(*fields));
    if ((faults & kRecordTwoDigitYearRead) != 0 && report->twoDigitYear.text[0] == '\0')
        exampleOfDate(plan.time, *fields, report->twoDigitYear);
    if (status != nullptr) publishConvertedCount(*status, *flags, count);
    if (viewer != nullptr) viewer(viewerContext, *this, recordBegin);
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
