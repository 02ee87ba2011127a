// The word of request bits through which the user-interface thread and the
// conversion worker talk: read only with an atomic load, changed only with
// atomic read-modify-writes.
#pragma once

#include <stdint.h>

#include <atomic>

enum RequestBit : uint32_t {
    RefreshForm = 0x02,       // the form is to show the settings
    StatusChanged = 0x04,     // the status line has a new text
    ConvertRequested = 0x10,  // Convert was pressed
    StopWorker = 0x100,       // the worker is to end
};

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
