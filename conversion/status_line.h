// The status line: written by the conversion, shown by the user interface,
// always as a whole text.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <atomic>
#include <mutex>

#include "conversion/request_flags.h"

enum : size_t { kStatusTextCapacity = 1024 };

// While a conversion counts its records, the line is "Converted  N QSOs" with
// N kept in one atomic word (so that a record costs no lock); any other text
// is kept in text, under the lock.
struct StatusText {
    std::mutex lock;
    char text[kStatusTextCapacity];
    std::atomic<int32_t> convertedCount{-1};  // -1: the line is text
};

// Replaces the status text and raises StatusChanged.
void publishStatus(StatusText& status, RequestFlags& flags, const char* text);
// Makes the status "Converted  %d QSOs" with count, and raises StatusChanged.
void publishConvertedCount(StatusText& status, RequestFlags& flags, int32_t count);
// Makes the status "HH:MM:SS   Finished %d QSOs conversion" with the local
// time of day, and raises StatusChanged.
void publishFinished(StatusText& status, RequestFlags& flags, int32_t count);
// Empties the status text (raising nothing).
void clearStatus(StatusText& status);
// Copies the current status text into out (cut to cap - 1 bytes).
void readStatusText(StatusText& status, char* out, size_t cap);
