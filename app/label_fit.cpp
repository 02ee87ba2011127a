#include "app/label_fit.h"

#include <limits.h>

namespace {

enum Side { kNoSide, kLeft, kRight };

struct Label {
    Side growth;    // where the control grows first
    bool checkBox;  // the text stands right of a box
};

// Labels and check boxes; every other control never changes.
Label labelKind(HWND control) {
    char className[16] = "";
    GetClassNameA(control, className, sizeof className);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    if (lstrcmpiA(className, "Static") == 0) {
        switch (style & SS_TYPEMASK) {
            case SS_RIGHT:
                return {kLeft, false};
            case SS_LEFT:
            case SS_LEFTNOWORDWRAP:
                return {kRight, false};
            default:
                return {kNoSide, false};
        }
    }
    if (lstrcmpiA(className, "Button") == 0) {
        switch (style & BS_TYPEMASK) {
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_3STATE:
            case BS_AUTO3STATE:
                return {kRight, true};
            default:
                return {kNoSide, false};
        }
    }
    return {kNoSide, false};
}

// The width the control needs for its text on one line; 0 without a text.
LONG neededWidth(HWND control, bool checkBox) {
    char text[256];
    const int length = GetWindowTextA(control, text, static_cast<int>(sizeof text));
    if (length <= 0) return 0;
    HDC dc = GetDC(control);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, length, &size);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    if (previous != nullptr) SelectObject(dc, previous);
    ReleaseDC(control, dc);
    // A check box's text starts after the box and a gap.
    return checkBox ? size.cx + GetSystemMetrics(SM_CXMENUCHECK) + metrics.tmAveCharWidth : size.cx;
}

// Free room on one side of a control: up to the nearest control beside it
// (one that shares some of its rows) or, on the left, the dialog's edge.
LONG roomBeside(HWND dialog, HWND control, const RECT& rect, Side side) {
    LONG room = side == kLeft ? rect.left : LONG_MAX;
    for (HWND other = GetWindow(dialog, GW_CHILD); other != nullptr;
         other = GetWindow(other, GW_HWNDNEXT)) {
        if (other == control) continue;
        const RECT o = controlRect(dialog, other);
        if (o.bottom <= rect.top || o.top >= rect.bottom) continue;
        if (side == kLeft && o.right <= rect.left && rect.left - o.right < room) {
            room = rect.left - o.right;
        }
        if (side == kRight && o.left >= rect.right && o.left - rect.right < room) {
            room = o.left - rect.right;
        }
    }
    return room < 0 ? 0 : room;
}

}  // namespace

void widenLabelsToFit(HWND dialog) {
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        const Label label = labelKind(control);
        if (label.growth == kNoSide) continue;
        RECT rect = controlRect(dialog, control);
        LONG missing = neededWidth(control, label.checkBox) - (rect.right - rect.left);
        if (missing <= 0) continue;
        const Side sides[] = {label.growth, label.growth == kLeft ? kRight : kLeft};
        for (Side side : sides) {
            const LONG room = roomBeside(dialog, control, rect, side);
            const LONG taken = missing < room ? missing : room;
            if (side == kLeft) {
                rect.left -= taken;
            } else {
                rect.right += taken;
            }
            missing -= taken;
        }
        SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

POINT controlsExtent(HWND dialog) {
    POINT extent = {0, 0};
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        const RECT rect = controlRect(dialog, control);
        if (rect.right > extent.x) extent.x = rect.right;
        if (rect.bottom > extent.y) extent.y = rect.bottom;
    }
    return extent;
}

RECT controlRect(HWND dialog, HWND control) {
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
