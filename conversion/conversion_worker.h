// The background thread that runs conversions on request, and the word of
// request bits through which it and the user-interface thread talk.
#pragma once

#include <stdint.h>

#include <atomic>
#include <thread>

enum RequestBit : uint32_t {
    RefreshForm = 0x02,
    StatusChanged = 0x04,
    ConvertRequested = 0x10,
    StopWorker = 0x100,
};

// Read only with an atomic load, changed only with atomic read-modify-writes.
struct RequestFlags {
    std::atomic<uint32_t> bits{0};
};

inline uint32_t loadFlags(const RequestFlags& flags) {
    return flags.bits.load(std::memory_order_acquire);
}
inline bool isFlagSet(const RequestFlags& flags, uint32_t bit) {
    return (loadFlags(flags) & bit) != 0;
}
inline void raiseFlag(RequestFlags& flags, uint32_t bit) {
    flags.bits.fetch_or(bit, std::memory_order_acq_rel);
}
inline void clearFlag(RequestFlags& flags, uint32_t bit) {
    flags.bits.fetch_and(~bit, std::memory_order_acq_rel);
}
// Clears the bit and tells whether it was set, in one atomic step.
inline bool takeFlag(RequestFlags& flags, uint32_t bit) {
    return (flags.bits.fetch_and(~bit, std::memory_order_acq_rel) & bit) != 0;
}

// Starts the one worker thread; the returned thread is not joinable when it
// could not be created.
std::thread startWorker();

// Raises StopWorker, waits for the worker to end (a running conversion runs to
// its end first) and releases the thread.
void stopWorker();

// Raises ConvertRequested; when the worker is not running, says so in the
// status line instead, so that the request does not vanish silently.
void requestConversion();
