// The program-wide window object: the handles of the main window, its form,
// its status bar and the preview window, the title and the size. One instance, theMainWindow,
// reached directly by the main window and the settings form.
#pragma once

#include <windows.h>

#include <stdint.h>

enum : size_t { kWindowTitleCapacity = 256 };

struct MainWindow {
    HINSTANCE instance;
    HWND form;
    HWND window;
    HWND statusBar;
    HWND preview;  // while the preview window is open
    char title[kWindowTitleCapacity];
    int32_t width;
    int32_t height;
    // Set once the first RefreshForm has put the settings on the form: before
    // that the form holds nothing worth reading back.
    bool formFilled;
};

extern MainWindow theMainWindow;

// Clears the window object. It needs no teardown: nothing of it is used once
// the message loop has ended.
void constructMainWindow();
