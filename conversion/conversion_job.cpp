#include "conversion/conversion_job.h"

#include <stdint.h>

#include "conversion/adif_writer.h"
#include "conversion/converter_state.h"
#include "conversion/csv_splitter.h"
#include "conversion/output_path.h"
#include "platform/platform.h"

namespace {

ConversionOutcome fail(ConversionOutcome outcome, const char* status) {
    publishStatus(theApp.statusText, theApp.flags, status);
    return outcome;
}

// Opens the ADIF file for the CSV file open as theApp.input; on failure the
// input is closed again and the reason returned.
ConversionOutcome openOutput(const char* csvPath) {
    ConverterApp& app = theApp;
    char outputPath[kPathCapacity];
    ConversionOutcome refused = ConversionFinished;
    if (hasAdiExtension(csvPath))
        refused = ConversionAdiIsCsv;
    else if (!outputPathFor(csvPath, outputPath))
        refused = ConversionAdiNotOpened;
    else if (isSameFile(app.input, outputPath))  // a link to the CSV under the ADIF's name
        refused = ConversionAdiIsCsv;
    else if (!(app.output = openShared(outputPath, "wb")))
        refused = ConversionAdiNotOpened;
    if (refused != ConversionFinished) {
        fclose(app.input);
        app.input = nullptr;
    }
    return refused;
}

// One line ended: its record written and counted.
inline void finishRecord(AdifOutput& out, const RecordPlan& plan, int32_t& count) {
    writeRecord(out, plan, theApp.fields);
    if (count < INT32_MAX) ++count;
    publishConvertedCount(theApp.statusText, theApp.flags, count);
}

}  // namespace

ConversionOutcome runConversion() {
    ConverterApp& app = theApp;
    ConversionSettings settings;
    snapshotSettings(settings);

    app.input = settings.csvPath[0] != '\0' ? openShared(settings.csvPath, "rb") : nullptr;
    if (app.input == nullptr) return fail(ConversionCsvNotOpened, "Can not open CSV file");
    const ConversionOutcome refused = openOutput(settings.csvPath);
    if (refused == ConversionAdiIsCsv)
        return fail(refused, "Can not open ADI file: it is the CSV file itself");
    if (refused != ConversionFinished) return fail(refused, "Can not open ADI file");

    // Both files go through blocks of our own, not stdio's buffers.
    setvbuf(app.input, nullptr, _IONBF, 0);
    setvbuf(app.output, nullptr, _IONBF, 0);
    AdifOutput out = {app.output, app.writeBlock, sizeof app.writeBlock, 0, false};
    writeHeader(out, settings);

    const CsvDialect& dialect = standardCsvDialect();
    RecordPlan plan;
    planRecord(plan, settings, false);
    int32_t count = 0;
    bool inLine = false;  // a line has begun and not yet ended
    CsvSplitter splitter;
    for (;;) {
        const size_t got = fread(app.readBlock, 1, sizeof app.readBlock, app.input);
        if (got == 0) break;
        const char* p = app.readBlock;
        const char* const end = p + got;
        while (p < end) {
            if (!inLine) {
                beginCsvLine(splitter, app.fields, dialect);
                inLine = true;
            }
            // The splitter stops right after a line's terminator; otherwise
            // the line goes on in the next block.
            p += feedCsvLine(splitter, app.fields, p, static_cast<size_t>(end - p));
            if (static_cast<unsigned char>(p[-1]) != dialect.terminator) break;
            endCsvLine(splitter, app.fields);
            inLine = false;
            finishRecord(out, plan, count);
        }
        if (out.failed) break;
    }
    const bool readFailed = ferror(app.input) != 0;
    if (inLine && !readFailed && !out.failed) {  // a last line without its terminator
        endCsvLine(splitter, app.fields);
        finishRecord(out, plan, count);
    }
    flushAdifOutput(out);

    fclose(app.input);
    app.input = nullptr;
    bool writeFailed = out.failed || ferror(app.output) != 0;
    if (fclose(app.output) != 0) writeFailed = true;
    app.output = nullptr;

    if (readFailed) return fail(ConversionReadFailed, "Can not read CSV file");
    if (writeFailed) return fail(ConversionWriteFailed, "Can not write ADI file");
    publishFinished(app.statusText, app.flags, count);
    return ConversionFinished;
}
