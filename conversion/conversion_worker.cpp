#include "conversion/conversion_worker.h"

#include <chrono>
#include <system_error>

#include "app/converter_app.h"
#include "conversion/conversion_job.h"

namespace {

void workerBody() {
    for (;;) {
        uint32_t bits = loadFlags(theApp.flags);
        if ((bits & StopWorker) != 0) break;
        if ((bits & ConvertRequested) != 0) {
            clearFlag(theApp.flags, ConvertRequested);
            runConversion();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace

std::thread startWorker() {
    // The standard thread reports a failure to start only by throwing; it is
    // caught here and the worker counts as not running.
    try {
        return std::thread(workerBody);
    } catch (const std::system_error&) {
        return std::thread();
    }
}

void stopWorker() {
    raiseFlag(theApp.flags, StopWorker);
    if (theApp.worker.joinable()) theApp.worker.join();
}

void requestConversion() {
    if (!theApp.worker.joinable()) {
        publishStatus("Can not start conversion");
        return;
    }
    raiseFlag(theApp.flags, ConvertRequested);
}
