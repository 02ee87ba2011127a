// The background thread that runs conversions when the request flags ask for
// them.
#pragma once

// Starts the one worker thread into theApp.worker; false when it could not be
// created.
bool startWorker();

// Raises StopWorker, waits for the worker to end (a running conversion runs to
// its end first) and releases the thread.
void stopWorker();

// Raises ConvertRequested; when the worker is not running, says so in the
// status line instead, so that the request does not vanish silently.
void requestConversion();
