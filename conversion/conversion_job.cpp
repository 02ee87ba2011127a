#include "conversion/conversion_job.h"

#include <stdio.h>
#include <string.h>

#include "conversion/adif_writer.h"
#include "conversion/converter_state.h"
#include "conversion/csv_splitter.h"
#include "conversion/output_path.h"
#include "platform/platform.h"

namespace {

static_assert(static_cast<size_t>(kIoBlockSize) >= kFormatWindow,
              "the first block holds the format window");

ConversionOutcome fail(ConversionOutcome outcome, const char* status) {
    publishStatus(theApp.statusText, theApp.flags, status);
    return outcome;
}

// Opens the ADIF file for the CSV file open as theApp.input, at outputPath.
ConversionOutcome openOutput(const char* csvPath, char (&outputPath)[kPathCapacity]) {
    ConverterApp& app = theApp;
    if (hasAdiExtension(csvPath)) return ConversionAdiIsCsv;
    if (!outputPathFor(csvPath, outputPath)) return ConversionAdiNotOpened;
    // A link to the CSV file under the ADIF file's name.
    if (isSameFile(app.input, outputPath)) return ConversionAdiIsCsv;
    app.output = openShared(outputPath, "wb");
    return app.output != nullptr ? ConversionFinished : ConversionAdiNotOpened;
}

// Reads up to one block; fewer bytes only at the end of the file or on an
// error, which sets failed.
size_t readBlock(FILE* input, bool& failed) {
    return readFileBlock(input, theApp.readBlock, sizeof theApp.readBlock, failed);
}

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

// The lines of a file as records: split, written and counted. While a date
// survey is set, the lines are split for it instead, and nothing is written.
struct RecordWriter {
    AdifOutput out;
    RecordPlan plan;
    CsvSplitter splitter;
    const CsvDialect* dialect;
    ConversionReport* report;
    DateSurvey* survey;
    int32_t count;
    bool inLine;  // a line has begun and not yet ended

    // Splits the bytes into lines, writing each line's record at its end;
    // a line not ended goes on in the next bytes.
    void feed(const char* p, const char* const end) {
        while (p < end) {
            if (!inLine) {
                beginCsvLine(splitter, theApp.fields, *dialect);
                inLine = true;
            }
            p += feedCsvLine(splitter, theApp.fields, p, static_cast<size_t>(end - p));
            if (static_cast<unsigned char>(p[-1]) != dialect->terminator) return;
            finishLine();
        }
    }

    // Ends the line and writes its record (or surveys it).
    void finishLine() {
        endCsvLine(splitter, theApp.fields);
        inLine = false;
        if (survey != nullptr) {
            surveyDates(*survey, plan.time, theApp.fields);
            return;
        }
        const unsigned faults = writeRecord(out, plan, theApp.fields);
        countOne(count);
        if (faults != 0) noteRecordFaults(*report, faults, count, emptyLine(theApp.fields));
        publishConvertedCount(theApp.statusText, theApp.flags, count);
    }

    // The lines that end within the format window (the last line too where
    // the file ends there), split as the records will be, for what they tell
    // of the dates: settles the order of year-last dates in the plan, and
    // names in the report a column that holds whole dates or times while
    // named per part.
    void surveyDatesOf(const char* begin, const char* const end, bool fileEnds) {
        DateSurvey dates;
        beginDateSurvey(dates);
        survey = &dates;
        // A few KiB at a time, to stop soon after the survey is complete
        // with no test for it on the way of each line.
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
};

}  // namespace

ConversionOutcome runConversion(ConversionReport* report) {
    ConverterApp& app = theApp;
    ConversionSettings settings;
    snapshotSettings(settings);
    ConversionReport unused;
    if (report == nullptr) report = &unused;
    memset(report, 0, sizeof *report);
    clearReport(app.reportText);

    app.input = settings.csvPath[0] != '\0' ? openShared(settings.csvPath, "rb") : nullptr;
    if (app.input == nullptr) return fail(ConversionCsvNotOpened, "Can not open CSV file");
    // The CSV file is read a block at a time into our own block, and its
    // format settled from the first before the ADIF file is touched.
    setvbuf(app.input, nullptr, _IONBF, 0);
    bool readFailed = false;
    size_t got = readBlock(app.input, readFailed);
    const LogbookFormat format = settleLogbookFormat(app.readBlock, got);
    report->format = format;
    ConversionOutcome refused = ConversionFinished;
    const char* status = nullptr;
    char outputPath[kPathCapacity];
    if (readFailed) {
        refused = ConversionReadFailed;
        status = "Can not read CSV file";
    } else if (!format.isText) {
        refused = ConversionCsvNotText;
        status = "Can not read CSV file: not a text file";
    } else {
        refused = openOutput(settings.csvPath, outputPath);
        status = refused == ConversionAdiIsCsv ? "Can not open ADI file: it is the CSV file itself"
                                               : "Can not open ADI file";
    }
    if (refused != ConversionFinished) {
        fclose(app.input);
        app.input = nullptr;
        return fail(refused, status);
    }

    setvbuf(app.output, nullptr, _IONBF, 0);
    CsvDialect dialect;
    makeCsvDialect(dialect, format.separator, format.terminator, isLeadByte);
    RecordWriter records = {};
    records.out = AdifOutput{app.output, app.writeBlock, sizeof app.writeBlock, 0, false};
    planRecord(records.plan, settings, format.separator != ',');
    records.dialect = &dialect;
    records.report = report;
    records.surveyDatesOf(app.readBlock + format.skip,
                          app.readBlock + (got < kFormatWindow ? got : kFormatWindow),
                          got < sizeof app.readBlock);
    records.plan.latestDate = calendarDayAfter(writeHeader(records.out, settings));

    records.feed(app.readBlock + format.skip, app.readBlock + got);
    while (!records.out.failed && got == sizeof app.readBlock &&
           (got = readBlock(app.input, readFailed)) > 0)
        records.feed(app.readBlock, app.readBlock + got);
    if (records.inLine && !readFailed && !records.out.failed) records.finishLine();
    flushAdifOutput(records.out);
    report->records = records.count;

    fclose(app.input);
    app.input = nullptr;
    bool writeFailed = records.out.failed || ferror(app.output) != 0;
    if (fclose(app.output) != 0) writeFailed = true;
    app.output = nullptr;

    if (readFailed || writeFailed) {
        // No partial ADIF file is left behind to pass for a logbook.
        remove(outputPath);
        return readFailed ? fail(ConversionReadFailed, "Can not read CSV file")
                          : fail(ConversionWriteFailed, "Can not write ADI file");
    }
    publishReport(app.reportText, *report);
    publishFinished(app.statusText, app.flags, records.count);
    return ConversionFinished;
}
