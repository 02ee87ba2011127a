#include "conversion/converter_state.h"

ConverterApp theApp;

void snapshotSettings(ConversionSettings& out) {
    std::lock_guard<std::mutex> guard(theApp.settingsLock);
    out = theApp.settings;
}

void storeSettings(const ConversionSettings& in) {
    std::lock_guard<std::mutex> guard(theApp.settingsLock);
    theApp.settings = in;
}
