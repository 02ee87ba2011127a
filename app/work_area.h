// Windows kept on the screen: the work area (the screen less the taskbar) and
// a window placed inside it.
#pragma once

#include <windows.h>

// The work area of the screen the window is on (the nearest one).
RECT workAreaOf(HWND window);

// Gives the window the place and size of `frame` (screen pixels), moved as
// little as needed to lie on its screen's work area.
void placeOnWorkArea(HWND window, RECT frame);
