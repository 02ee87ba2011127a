// The preview window: a modeless dialog beside the main window, resizable:
// what a title row in line 1 gives with "Use these columns" beside it, the
// grid of the first records, the report's lines for them, and Close.
#include "app/preview_window.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <mutex>

#include "app/resource_ids.h"
#include "app/settings_form.h"
#include "app/window_state.h"
#include "app/work_area.h"
#include "common/text.h"
#include "conversion/conversion_preview.h"
#include "conversion/converter_state.h"

namespace {

// The grid shown, made on the user-interface thread.
PreviewGrid previewGrid;

const char kCaptionLead[] = "Preview: ";

// The layout, in dialog units: the margin and the gap between controls, the
// buttons' height, Close's width and the narrowest "Use these columns", the
// report's lines' height (less where the grid would have too little room),
// and the widest column of the grid.
enum {
    kMargin = 7,
    kGap = 4,
    kButtonHeight = 14,
    kCloseWidth = 50,
    kUseWidth = 72,
    kTextHeight = 56,
    kLeastTextHeight = 24,
    kLeastGridHeight = 60,
    kWidestColumn = 160,
    kButtonPadding = 12,   // around a button's text, both sides together
    kHeadingPadding = 10,  // around a heading's text
};

int dialogUnitsX(HWND dialog, int units) {
    RECT rect = {0, 0, units, 0};
    MapDialogRect(dialog, &rect);
    return rect.right;
}
int dialogUnitsY(HWND dialog, int units) {
    RECT rect = {0, 0, 0, units};
    MapDialogRect(dialog, &rect);
    return rect.bottom;
}

// The size of the control's text in its font: on one line, or broken into
// lines `width` pixels wide.
SIZE textSize(HWND control, LONG width) {
    char text[kPreviewTitleLineCapacity];
    GetWindowTextA(control, text, static_cast<int>(sizeof text));
    HDC dc = GetDC(control);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT needed = {0, 0, width, 0};
    DrawTextA(dc, text, -1, &needed,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (width > 0 ? DT_WORDBREAK : 0));
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return {needed.right - needed.left, needed.bottom - needed.top};
}

void place(HWND dialog, int id, LONG x, LONG y, LONG width, LONG height) {
    MoveWindow(GetDlgItem(dialog, id), x, y, width > 0 ? width : 0, height > 0 ? height : 0, TRUE);
}

// From the top: the title row's line and its button (where shown), the grid,
// the report's lines; Close at the bottom right.
void layOut(HWND dialog) {
    const LONG margin = dialogUnitsX(dialog, kMargin);
    const LONG gap = dialogUnitsY(dialog, kGap);
    const LONG buttonHeight = dialogUnitsY(dialog, kButtonHeight);
    RECT client = {};
    GetClientRect(dialog, &client);
    LONG top = margin;
    HWND titles = GetDlgItem(dialog, IDC_PREVIEW_TITLES);
    // Its own style: the dialog itself may not be shown yet.
    if (GetWindowLongA(titles, GWL_STYLE) & WS_VISIBLE) {
        HWND use = GetDlgItem(dialog, IDC_PREVIEW_USE_TITLES);
        LONG useWidth = textSize(use, 0).cx + dialogUnitsX(dialog, kButtonPadding);
        if (useWidth < dialogUnitsX(dialog, kUseWidth)) useWidth = dialogUnitsX(dialog, kUseWidth);
        const LONG width = client.right - 2 * margin - gap - useWidth;
        LONG height = textSize(titles, width > 1 ? width : 1).cy;
        if (height > client.bottom / 4) height = client.bottom / 4;
        // One line stands level with the button's text.
        const LONG drop = height < buttonHeight ? (buttonHeight - height) / 2 : 0;
        place(dialog, IDC_PREVIEW_TITLES, margin, top + drop, width, height);
        place(dialog, IDC_PREVIEW_USE_TITLES, client.right - margin - useWidth, top, useWidth,
              buttonHeight);
        top += (height > buttonHeight ? height : buttonHeight) + gap;
    }
    const LONG closeTop = client.bottom - margin - buttonHeight;
    const LONG closeWidth = dialogUnitsX(dialog, kCloseWidth);
    place(dialog, IDCANCEL, client.right - margin - closeWidth, closeTop, closeWidth, buttonHeight);
    LONG textHeight = dialogUnitsY(dialog, kTextHeight);
    const LONG room = closeTop - gap - top - gap;  // the grid's and the text's
    if (room - textHeight < dialogUnitsY(dialog, kLeastGridHeight)) {
        textHeight = room - dialogUnitsY(dialog, kLeastGridHeight);
        if (textHeight < dialogUnitsY(dialog, kLeastTextHeight))
            textHeight = dialogUnitsY(dialog, kLeastTextHeight);
    }
    const LONG width = client.right - 2 * margin;
    place(dialog, IDC_PREVIEW_GRID, margin, top, width, room - textHeight);
    place(dialog, IDC_PREVIEW_TEXT, margin, closeTop - gap - textHeight, width, textHeight);
}

// Each column as wide as its widest cell or its heading, whichever is
// wider, up to kWidestColumn.
void fitColumns(HWND dialog, HWND list, size_t columns) {
    const int widest = dialogUnitsX(dialog, kWidestColumn);
    const int padding = dialogUnitsX(dialog, kHeadingPadding);
    for (size_t c = 0; c < columns; ++c) {
        const WPARAM column = static_cast<WPARAM>(c);
        SendMessageA(list, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE);
        int width = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
        const int heading = static_cast<int>(SendMessageA(
                                list, LVM_GETSTRINGWIDTHA, 0,
                                reinterpret_cast<LPARAM>(previewHeading(previewGrid, c)))) +
                            padding;
        if (heading > width) width = heading;
        if (width > widest) width = widest;
        SendMessageA(list, LVM_SETCOLUMNWIDTH, column, width);
    }
}

// The grid's columns and rows into the list view.
void fillGrid(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_PREVIEW_GRID);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    while (SendMessageA(list, LVM_DELETECOLUMN, 0, 0))
        ;
    const size_t columns = previewColumnCount(previewGrid);
    for (size_t c = 0; c < columns; ++c) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.pszText = const_cast<char*>(previewHeading(previewGrid, c));
        column.iSubItem = static_cast<int>(c);
        SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
    for (size_t r = 0; r < previewGrid.rowCount; ++r) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(r);
        item.pszText = const_cast<char*>(previewCell(previewGrid, r, 0));
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (size_t c = 1; c < columns; ++c) {
            item.iSubItem = static_cast<int>(c);
            item.pszText = const_cast<char*>(previewCell(previewGrid, r, c));
            SendMessageA(list, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&item));
        }
    }
    fitColumns(dialog, list, columns);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

// The title row's line and its button, shown where line 1 is a title row;
// the button only where taking its columns would change something.
void showTitles(HWND dialog) {
    const int shown = previewGrid.titles.isTitleRow ? SW_SHOWNA : SW_HIDE;
    SetDlgItemTextA(dialog, IDC_PREVIEW_TITLES, previewGrid.titleLine);
    ShowWindow(GetDlgItem(dialog, IDC_PREVIEW_TITLES), shown);
    HWND use = GetDlgItem(dialog, IDC_PREVIEW_USE_TITLES);
    ShowWindow(use, shown);
    EnableWindow(use, previewGrid.titlesDiffer);
}

// Right of the main window, so that the form stays in sight, and moved as
// little as needed to lie on the screen's work area.
void placeBesideMainWindow(HWND dialog) {
    RECT owner = {};
    GetWindowRect(theMainWindow.window, &owner);
    RECT own = {};
    GetWindowRect(dialog, &own);
    placeOnWorkArea(dialog, {owner.right, owner.top, owner.right + own.right - own.left,
                             owner.top + own.bottom - own.top});
}

// The title row's columns into the settings and onto the form (an item
// without a title: "-"; the time difference and MHz or kHz where a title
// said so; the More columns fields), then the grid of the new reading.
void useTitleColumns() {
    // What the form holds now is kept, as the form is filled anew.
    readForm();
    {
        std::lock_guard<std::mutex> hold(theApp.settingsLock);
        applyTitleRow(previewGrid.titles, theApp.settings);
    }
    writeForm();
    showPreview();
}

INT_PTR CALLBACK previewProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SendDlgItemMessageA(dialog, IDC_PREVIEW_GRID, LVM_SETEXTENDEDLISTVIEWSTYLE,
                                LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES,
                                LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
            placeBesideMainWindow(dialog);
            // On Close rather than the text, which would show all selected.
            SetFocus(GetDlgItem(dialog, IDCANCEL));
            return FALSE;
        case WM_SIZE:
            layOut(dialog);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_PREVIEW_USE_TITLES:
                    useTitleColumns();
                    return TRUE;
                case IDCANCEL:  // Close, Escape and the close box
                    DestroyWindow(dialog);
                    return TRUE;
                default:
                    return FALSE;
            }
        case WM_DESTROY:
            theMainWindow.preview = nullptr;
            return TRUE;
        default:
            return FALSE;
    }
}

// The grid made last in the window, opened or brought up to date.
void showGrid(const ConversionSettings& settings) {
    if (theMainWindow.preview == nullptr) {
        theMainWindow.preview =
            CreateDialogParamA(theMainWindow.instance, MAKEINTRESOURCEA(IDD_PREVIEW),
                               theMainWindow.window, previewProc, 0);
        if (theMainWindow.preview == nullptr) return;
    }
    HWND dialog = theMainWindow.preview;
    char caption[sizeof kCaptionLead + kPathCapacity];
    joinText(caption, sizeof caption, kCaptionLead, PathFindFileNameA(settings.csvPath));
    SetWindowTextA(dialog, caption);
    showTitles(dialog);
    layOut(dialog);
    fillGrid(dialog);
    SetDlgItemTextA(dialog, IDC_PREVIEW_TEXT, previewGrid.text);
    ShowWindow(dialog, SW_SHOW);
    SetActiveWindow(dialog);
}

// The form read as Convert reads it, and the CSV file previewed with it.
void previewForm(ConversionSettings& settings) {
    readForm();
    snapshotSettings(settings);
    previewConversion(settings, previewGrid);
}

}  // namespace

void showPreview() {
    ConversionSettings settings;
    previewForm(settings);
    showGrid(settings);
}

void previewChosenCsv() {
    ConversionSettings settings;
    previewForm(settings);
    if (previewGrid.titlesDiffer || theMainWindow.preview != nullptr) showGrid(settings);
}
