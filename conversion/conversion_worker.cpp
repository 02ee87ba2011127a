#include "conversion/conversion_worker.h"

#include <chrono>
#include <thread>

#include "conversion/conversion_job.h"
#include "conversion/converter_state.h"

namespace {

// Polls the flags every 10 ms; the stop bit is looked at first, so a request
// still pending at the stop is never run.
void workerBody() {
    for (;;) {
        const uint32_t bits = loadFlags(theApp.flags);
        if ((bits & StopWorker) != 0) break;
        if ((bits & ConvertRequested) != 0) {
            clearFlag(theApp.flags, ConvertRequested);
            runConversion();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace

bool startWorker() {
    return startThread(theApp.worker, workerBody);
}

void stopWorker() {
    raiseFlag(theApp.flags, StopWorker);
    joinThread(theApp.worker);
}

void requestConversion() {
    if (!theApp.worker.started) {
        publishStatus(theApp.statusText, theApp.flags, "Can not start conversion");
        return;
    }
    raiseFlag(theApp.flags, ConvertRequested);
}
