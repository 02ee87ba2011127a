// The main window: a fixed-size top-level window with the menu, the settings
// form over its client area and the status bar, plus the program's entry.
#pragma once

#include <windows.h>

// The timer that polls the request flags every 10 ms.
enum : UINT_PTR { UiTimer = 8999 };
enum : UINT { kUiTimerPeriodMs = 10 };

// The About line, also the window title.
extern const char kAboutLine[];

// Registers the class, creates and shows the window, starts UiTimer and runs
// the message loop. Returns the quit message's parameter.
int runMainWindow(HINSTANCE instance, int showCommand);

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
