#include "app/converter_app.h"

#include <string.h>

#include "settings/settings_file.h"

ConverterApp theApp;

void snapshotSettings(ConversionSettings& out) {
    std::lock_guard<std::mutex> guard(theApp.settingsLock);
    out = theApp.settings;
}

void storeSettings(const ConversionSettings& in) {
    std::lock_guard<std::mutex> guard(theApp.settingsLock);
    theApp.settings = in;
}

void constructConverterApp() {
    ConverterApp& app = theApp;
    // 1. Every member at its zero value.
    {
        std::lock_guard<std::mutex> guard(app.settingsLock);
        memset(&app.settings, 0, sizeof app.settings);
    }
    memset(app.lineBuffer, 0, sizeof app.lineBuffer);
    memset(&app.fields, 0, sizeof app.fields);
    {
        std::lock_guard<std::mutex> guard(app.statusText.lock);
        memset(app.statusText.text, 0, sizeof app.statusText.text);
        app.statusText.convertedCount.store(-1);
    }
    app.input = nullptr;
    app.output = nullptr;
    app.flags.bits.store(0);

    // 2, 3. Defaults, overlaid by the settings file.
    ConversionSettings settings;
    memset(&settings, 0, sizeof settings);
    applyDefaults(settings);
    loadSettings(settings);
    storeSettings(settings);

    // 4, 5. The form shows these settings once it exists; the worker starts
    // with everything it uses initialised.
    raiseFlag(app.flags, RefreshForm);
    app.worker = startWorker();
}

void teardownConverterApp() {
    stopWorker();
    ConversionSettings settings;
    snapshotSettings(settings);
    saveSettings(settings);
}
