// The settings form's label-widening rule, held up to windows of this process.
#include <gtest/gtest.h>

#include "app/label_fit.h"

namespace {

// A label "Time Diff" at x, y 50, 20 pixels high, shortBy pixels narrower than
// its text, with an edit box beside it on either side (room pixels away;
// kNone for none, kOtherRow for one on the next row), and what widening must
// make of it: which side it grows on, that a label whose text fits keeps its
// place, and that no label grows over another control or past the left edge.
enum : int { kNone = -1, kOtherRow = -2 };
const struct {
    const char* what;
    DWORD alignment;
    int x, shortBy, roomLeft, roomRight;
    int grownLeft, grownRight;
} kWideningCases[] = {
    {"a label that fits stays", SS_RIGHT, 100, 0, 0, 0, 0, 0},
    {"right-aligned grows left", SS_RIGHT, 100, 10, 50, 0, 10, 0},
    {"left-aligned grows right", SS_LEFT, 100, 10, 50, 50, 0, 10},
    {"left-aligned with its box on the right grows left", SS_LEFT, 100, 10, 50, 0, 10, 0},
    {"up to a neighbour, then the other side", SS_RIGHT, 100, 10, 4, 50, 4, 6},
    {"a control on another row is no neighbour", SS_RIGHT, 100, 10, kOtherRow, 0, 10, 0},
    {"never past the left edge nor over a control", SS_RIGHT, 4, 10, kNone, 0, 4, 0},
};

TEST(LabelWidening, GrowsOnTheFreeSideOnly) {
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE needed = {};
    GetTextExtentPoint32A(dc, "Time Diff", 9, &needed);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    for (const auto& c : kWideningCases) {
        HWND host = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 600, 200, nullptr, nullptr,
                                    nullptr, nullptr);
        const auto add = [&](const char* className, DWORD style, int x, int y, int width) {
            HWND child = CreateWindowExA(0, className, className[0] == 'S' ? "Time Diff" : "",
                                         WS_CHILD | WS_VISIBLE | style, x, y, width, 20, host,
                                         nullptr, nullptr, nullptr);
            SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            return child;
        };
        const int width = needed.cx - c.shortBy;
        HWND label = add("Static", c.alignment, c.x, 50, width);
        if (c.roomLeft >= 0) add("Edit", 0, c.x - c.roomLeft - 30, 50, 30);
        if (c.roomLeft == kOtherRow) add("Edit", 0, c.x - 30, 70, 30);
        if (c.roomRight >= 0) add("Edit", 0, c.x + width + c.roomRight, 50, 30);
        widenLabelsToFit(host);
        RECT rect = {};
        GetWindowRect(label, &rect);
        MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, c.x - c.grownLeft) << c.what;
        EXPECT_EQ(rect.right, c.x + width + c.grownRight) << c.what;
        DestroyWindow(host);
    }
}

}  // namespace
