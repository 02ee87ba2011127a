#include "conversion/conversion_job.h"

#include <stdio.h>
#include <string.h>

#include "conversion/converter_state.h"
#include "conversion/logbook_records.h"
#include "platform/platform.h"

namespace {

static_assert(static_cast<size_t>(kIoBlockSize) >= kFormatWindow,
              "the first block holds the format window");

ConversionOutcome fail(ConversionOutcome outcome) {
    publishStatus(theApp.statusText, theApp.flags, outcomeStatus(outcome));
    return outcome;
}

}  // namespace

ConversionOutcome runConversion(ConversionReport* report) {
    ConverterApp& app = theApp;
    ConversionSettings settings;
    snapshotSettings(settings);
    ConversionReport unused;
    if (report == nullptr) report = &unused;
    memset(report, 0, sizeof *report);
    clearReport(app.reportText);

    OpenLogbook book;
    ConversionOutcome outcome =
        openLogbook(settings.csvPath, app.readBlock, sizeof app.readBlock, book);
    if (outcome != ConversionFinished) return fail(outcome);
    app.input = book.input;
    app.output = openShared(book.outputPath, "wb");
    if (app.output == nullptr) {
        fclose(app.input);
        app.input = nullptr;
        return fail(ConversionAdiNotOpened);
    }

    setvbuf(app.output, nullptr, _IONBF, 0);
    const LogbookFormat& format = book.format;
    LogbookRecords records = {};
    records.out = AdifOutput{app.output, app.writeBlock, sizeof app.writeBlock, 0, false};
    records.status = &app.statusText;
    records.flags = &app.flags;
    size_t got = book.got;
    records.begin(settings, format, app.fields, app.record, *report, app.readBlock + format.skip,
                  app.readBlock + (got < kFormatWindow ? got : kFormatWindow),
                  got < sizeof app.readBlock);
    records.plan.latestDate = calendarDayAfter(writeHeader(records.out, settings));

    records.feed(app.readBlock + format.skip, app.readBlock + got);
    while (!records.out.failed && got == sizeof app.readBlock &&
           (got = readLogbookBlock(book, app.readBlock, sizeof app.readBlock)) > 0)
        records.feed(app.readBlock, app.readBlock + got);
    const bool readFailed = book.readFailed;
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
        remove(book.outputPath);
        return fail(readFailed ? ConversionReadFailed : ConversionWriteFailed);
    }
    publishReport(app.reportText, *report);
    publishFinished(app.statusText, app.flags, records.count);
    return ConversionFinished;
}
