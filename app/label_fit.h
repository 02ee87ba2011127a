// Labels and check boxes that show their whole text on one line, whatever the
// dialog font of the system at hand, and the room a dialog's controls then take.
#pragma once

#include <windows.h>

// Widens each label and check box of the dialog whose text, measured in the
// control's own font, does not fit it: on the side away from its control (a
// right-aligned label to the left, a left-aligned one and a check box to the
// right) and, where that side lacks room, on the other; never over another
// control nor past the dialog's left edge. A control whose text fits keeps
// its place and size.
void widenLabelsToFit(HWND dialog);

// The right and bottom edges of the dialog's controls, in its client area's
// pixels: where the dialog must reach to show them all.
POINT controlsExtent(HWND dialog);

// The control's rectangle in the dialog's client area.
RECT controlRect(HWND dialog, HWND control);
