// The program-wide record the conversion works on: the settings, the buffers
// and file handles of a conversion, the status line, the request flags and
// the worker's thread. One instance, theApp, reached directly by every part
// that needs it; app/converter_app.h starts and ends it.
#pragma once

#include <stdio.h>

#include <mutex>

#include "conversion/conversion_report.h"
#include "conversion/csv_splitter.h"
#include "conversion/qso_record.h"
#include "conversion/request_flags.h"
#include "conversion/status_line.h"
#include "platform/platform.h"
#include "settings/conversion_settings.h"

enum : size_t { kIoBlockSize = 64 * 1024 };
static_assert(static_cast<size_t>(kIoBlockSize) >= static_cast<size_t>(kMaxRecordBytes),
              "the write block holds the longest record");

struct ConverterApp {
    ConversionSettings settings;
    // Guards settings: the form writes them on the user-interface thread while
    // a conversion takes its snapshot on the worker.
    std::mutex settingsLock;

    CsvFields fields;  // the columns of the current CSV line
    QsoRecord record;  // the record made of them
    StatusText statusText;
    ReportText reportText;  // the last finished conversion's report
    FILE* input;
    FILE* output;
    RequestFlags flags;
    PlatformThread worker;

    // The CSV file is read a block at a time into readBlock and split from
    // there; the ADIF text is formatted into writeBlock and written a block
    // at a time.
    char readBlock[kIoBlockSize];
    char writeBlock[kIoBlockSize];
};

extern ConverterApp theApp;

// Copies of the settings taken and stored under the settings lock.
void snapshotSettings(ConversionSettings& out);
void storeSettings(const ConversionSettings& in);
