// The settings form: the modeless child dialog that shows every setting and
// carries the Convert and Browse buttons.
#pragma once

#include <windows.h>
#include <shellapi.h>

// Controls to settings (on Convert and when the main window is destroyed).
void readForm();
// Settings to controls (when RefreshForm is seen).
void writeForm();
// The file-open dialog for the CSV path.
void browseCsv();
// The first of the files dropped on the window as the CSV path, as Browse
// takes a file; ends the drop.
void takeDroppedCsv(HDROP drop);

INT_PTR CALLBACK settingsFormProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam);
