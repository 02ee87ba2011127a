// The start and the end of the program-wide record (conversion/converter_state.h):
// the order in which the settings are loaded and saved and the worker started
// and stopped.
#pragma once

// Start-up: zero every member, apply the defaults, load the settings file,
// raise RefreshForm and start the worker.
void constructConverterApp();

// Shutdown: stop the worker (after any running conversion), then save the
// settings file. False when the settings could not be saved.
bool teardownConverterApp();
