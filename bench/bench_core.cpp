// Micro-benchmarks of the two inner loops: splitting a CSV line and writing
// an ADIF record.
#include <benchmark/benchmark.h>
#include <string.h>

#include "conversion/adif_writer.h"
#include "conversion/csv_splitter.h"
#include "settings/conversion_settings.h"

namespace {

const char kLine[] =
    "2014,12,8,3,15,JA1ABC,14.025,,20m,CW,599,,579,,,,,,,\"nice signal, 73\",PM95\r\n";
CsvFields fields;

void BM_SplitCsvLine(benchmark::State& state) {
    const size_t length = sizeof kLine - 1;
    for (auto _ : state) {
        splitCsvLine(kLine, length, fields);
        benchmark::DoNotOptimize(fields.column[0][0]);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * length));
}
BENCHMARK(BM_SplitCsvLine);

// The same with its date and time in one column each, as spreadsheets hold them.
const char kOneColumnLine[] =
    "2014/12/08,03:15,,,,JA1ABC,14.025,,20m,CW,599,,579,,,,,,,\"nice signal, 73\",PM95\r\n";

// Arguments: 0 MHz, 1 kHz, 2 MHz with the date and time in one column each.
void BM_WriteRecord(benchmark::State& state) {
    ConversionSettings settings;
    memset(&settings, 0, sizeof settings);
    applyDefaults(settings);
    settings.checkMhz = state.range(0) == 1 ? 0 : 1;
    settings.checkKhz = state.range(0) == 1 ? 1 : 0;
    if (state.range(0) == 2) {
        for (char* column : {settings.columnMonth, settings.columnDay})
            memcpy(column, "A", 2);
        for (char* column : {settings.columnHour, settings.columnMinute})
            memcpy(column, "B", 2);
    }
    splitCsvLine(state.range(0) == 2 ? kOneColumnLine : kLine, fields);
    RecordPlan plan;  // settled once per conversion, as the conversion does
    planRecord(plan, settings, false);
    static char buffer[64 * 1024];
    static QsoRecord record;
    AdifOutput out = {nullptr, buffer, sizeof buffer, 0, false};
    size_t bytes = 0;
    for (auto _ : state) {
        if (out.capacity - out.used < kMaxRecordBytes) out.used = 0;
        size_t before = out.used;
        makeRecord(record, plan, fields);
        writeRecord(out, record);
        bytes += out.used - before;
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    state.SetLabel(state.range(0) == 0 ? "MHz" : state.range(0) == 1 ? "kHz" : "MHz, one column");
}
BENCHMARK(BM_WriteRecord)->Arg(0)->Arg(1)->Arg(2);

}  // namespace

BENCHMARK_MAIN();
