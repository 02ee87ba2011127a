// Block reads and writes of the conversion's files, the same on every system,
// with the tests' way of making one of them fail.
#include <atomic>

#include "platform/platform.h"

namespace {

// Counts down to the access that is to fail: 0 means none.
std::atomic<int> readsBeforeFault{0};
std::atomic<int> writesBeforeFault{0};

// True when this access is the one made to fail.
bool faultDue(std::atomic<int>& countdown) {
    if (countdown.load(std::memory_order_relaxed) == 0) return false;
    return countdown.fetch_sub(1, std::memory_order_relaxed) == 1;
}

}  // namespace

size_t readFileBlock(FILE* file, void* buffer, size_t size, bool& failed) {
    if (faultDue(readsBeforeFault)) {
        failed = true;
        return 0;
    }
    const size_t got = fread(buffer, 1, size, file);
    if (got < size && ferror(file)) failed = true;
    return got;
}

bool writeFileBlock(FILE* file, const void* data, size_t size) {
    if (faultDue(writesBeforeFault)) return false;
    return fwrite(data, 1, size, file) == size;
}

void failFileBlockForTesting(int nthRead, int nthWrite) {
    readsBeforeFault.store(nthRead);
    writesBeforeFault.store(nthWrite);
}
