// The program-wide application object: the settings and every buffer and
// handle of the conversion, with the program's start-up and shutdown steps.
#pragma once

#include <stdio.h>

#include <mutex>
#include <thread>

#include "conversion/conversion_job.h"
#include "conversion/conversion_worker.h"
#include "settings/conversion_settings.h"

enum : size_t { kIoBlockSize = 64 * 1024 };

struct ConverterApp {
    ConversionSettings settings;
    // Guards settings: the form writes them on the user-interface thread while
    // a conversion takes its snapshot on the worker.
    std::mutex settingsLock;

    char lineBuffer[kLineBufferSize];  // the CSV line, refilled piece by piece
    CsvFields fields;
    StatusText statusText;
    FILE* input;
    FILE* output;
    RequestFlags flags;
    std::thread worker;

    // Large-block I/O: the input stream's buffer and the ADIF output buffer.
    char readBlock[kIoBlockSize];
    char writeBlock[kIoBlockSize];
};

extern ConverterApp theApp;

// Copies of the settings taken and stored under the settings lock.
void snapshotSettings(ConversionSettings& out);
void storeSettings(const ConversionSettings& in);

// Start-up: zero every member, apply the defaults, load the settings file,
// raise RefreshForm and start the worker.
void constructConverterApp();

// Shutdown: stop the worker (after any running conversion), then save the
// settings file.
void teardownConverterApp();
