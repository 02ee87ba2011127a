#include "app/converter_app.h"

#include <string.h>

#include "conversion/conversion_worker.h"
#include "conversion/converter_state.h"
#include "settings/settings_file.h"

void constructConverterApp() {
    ConverterApp& app = theApp;
    // Every member at its zero value.
    {
        std::lock_guard<std::mutex> guard(app.settingsLock);
        memset(&app.settings, 0, sizeof app.settings);
    }
    memset(&app.fields, 0, sizeof app.fields);
    clearStatus(app.statusText);
    clearReport(app.reportText);
    app.input = nullptr;
    app.output = nullptr;
    app.flags.bits.store(0);
    app.worker.started = false;

    // The defaults, overlaid by the settings file.
    ConversionSettings settings;
    memset(&settings, 0, sizeof settings);
    applyDefaults(settings);
    loadSettings(settings);
    storeSettings(settings);

    // The form shows these settings once it exists; the worker starts with
    // everything it uses initialised.
    raiseFlag(app.flags, RefreshForm);
    startWorker();
}

bool teardownConverterApp() {
    stopWorker();
    ConversionSettings settings;
    snapshotSettings(settings);
    return saveSettings(settings);
}
