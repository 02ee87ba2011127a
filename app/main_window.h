// The main window: a fixed-size top-level window with the menu, the settings
// form over its client area and the status bar, plus the program's entry.
#pragma once

#include <windows.h>

#include <stdint.h>

// The timer that polls the request flags every 10 ms.
enum : UINT_PTR { UiTimer = 8999 };
enum : UINT { kUiTimerPeriodMs = 10 };

enum : size_t { kWindowTitleCapacity = 256 };

// The About line, also the window title.
extern const char kAboutLine[];

struct MainWindow {
    HINSTANCE instance;
    HWND form;
    HWND window;
    HWND statusBar;
    char title[kWindowTitleCapacity];
    int32_t width;
    int32_t height;
    // Set once the first RefreshForm has put the settings on the form: before
    // that the form holds nothing worth reading back.
    bool formFilled;
};

extern MainWindow theMainWindow;

// Clears the window object; its teardown does nothing that is used later.
void constructMainWindow();
void teardownMainWindow();

// Registers the class, creates and shows the window, starts UiTimer and runs
// the message loop. Returns the quit message's parameter.
int runMainWindow(HINSTANCE instance, int showCommand);

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
