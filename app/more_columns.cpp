// The More columns dialog: a designator box for each ADIF field logbooks most
// often hold, the other fields the settings file gives a column, and the
// switches of the settings table's More columns rows.
#include "app/more_columns.h"

#include <windows.h>

#include <string.h>

#include "app/control_values.h"
#include "app/label_fit.h"
#include "app/resource_ids.h"
#include "app/window_state.h"
#include "app/work_area.h"
#include "common/text.h"
#include "conversion/converter_state.h"
#include "platform/platform.h"

namespace {

// The fields the dialog has a box for, in its order: down each column of the
// grid, then across.
constexpr const char* kShownFields[] = {
    "NAME",       "QTH",        "GRIDSQUARE", "TX_PWR",  "QSL_SENT",  "QSL_RCVD",
    "QSL_VIA",    "STATE",      "CNTY",       "NOTES",   "OPERATOR",  "STATION_CALLSIGN",
    "CONTEST_ID", "SRX_STRING", "STX_STRING", "SUBMODE", "PROP_MODE", "SAT_NAME",
    "SOTA_REF",   "POTA_REF",
};
enum : size_t { kShownCount = sizeof kShownFields / sizeof kShownFields[0] };
static_assert(kShownCount <= IDC_MORE_COLUMNS_BOXES - IDC_MORE_COLUMNS_LABELS, "ids overlap");

// The grid, in dialog units (the template leaves its rows free): a label
// right-aligned before each box, as on the form.
enum {
    kRowsPerColumn = 7,
    kGridLeft = 7,
    kGridTop = 22,
    kRowPitch = 16,
    kColumnPitch = 98,
    kLabelWidth = 70,
    kLabelHeight = 8,
    kLabelDrop = 2,
    kBoxGap = 3,
    kBoxWidth = 15,
    kBoxHeight = 12,
    kMargin = 7,
};

constexpr size_t longestFieldName() {
    size_t longest = 0;
    for (const AdifField& field : kAdifFields) {
        size_t length = 0;
        while (field.name[length] != '\0')
            ++length;
        if (length > longest) longest = length;
    }
    return longest;
}
// "Also set in Vantrel.ini: " and each other field's ", NAME designator".
enum : size_t {
    kOthersCapacity = 64 + kColumnFieldCount * (longestFieldName() + kDesignatorCapacity + 3)
};

// That place for each field shown, found when the program is compiled: a name
// that is no field taking a column stops it.
struct ShownColumns {
    size_t column[kShownCount];
    bool found;
};
constexpr ShownColumns findShownColumns() {
    ShownColumns shown = {};
    shown.found = true;
    for (size_t i = 0; i < kShownCount; ++i) {
        shown.column[i] = columnFieldNamed(kShownFields[i]);
        if (shown.column[i] == kColumnFieldCount) shown.found = false;
    }
    return shown;
}
constexpr ShownColumns kShown = findShownColumns();
static_assert(kShown.found, "every field shown takes a column");

bool isShown(size_t k) {
    for (size_t column : kShown.column) {
        if (column == k) return true;
    }
    return false;
}

RECT dialogUnits(HWND dialog, int x, int y, int width, int height) {
    RECT rect = {x, y, x + width, y + height};
    MapDialogRect(dialog, &rect);
    return rect;
}

HWND createControl(HWND dialog, HWND after, const char* className, const char* text, DWORD style,
                   DWORD exStyle, int id, const RECT& rect) {
    // Styled as the dialog manager styles a template's controls.
    HWND control = CreateWindowExA(
        exStyle | WS_EX_NOPARENTNOTIFY, className, text, WS_CHILD | WS_VISIBLE | style, rect.left,
        rect.top, rect.right - rect.left, rect.bottom - rect.top, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), theMainWindow.instance, nullptr);
    SendMessageA(control, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0), FALSE);
    // In the Tab order right after the control before it.
    SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return control;
}

// A label and a box for each field shown, after the line above them.
void createFieldControls(HWND dialog) {
    HWND after = GetDlgItem(dialog, IDC_MORE_COLUMNS_HINT);
    for (size_t i = 0; i < kShownCount; ++i) {
        const int x = kGridLeft + static_cast<int>(i / kRowsPerColumn) * kColumnPitch;
        const int y = kGridTop + static_cast<int>(i % kRowsPerColumn) * kRowPitch;
        const int id = static_cast<int>(i);
        after = createControl(dialog, after, "Static", kShownFields[i], SS_RIGHT | SS_NOPREFIX, 0,
                              IDC_MORE_COLUMNS_LABELS + id,
                              dialogUnits(dialog, x, y + kLabelDrop, kLabelWidth, kLabelHeight));
        after =
            createControl(dialog, after, "Edit", "", WS_TABSTOP | ES_AUTOHSCROLL | ES_CENTER,
                          WS_EX_CLIENTEDGE, IDC_MORE_COLUMNS_BOXES + id,
                          dialogUnits(dialog, x + kLabelWidth + kBoxGap, y, kBoxWidth, kBoxHeight));
    }
}

// Resizes the dialog by the pixels given, its top-left corner kept where the
// work area allows it.
void resizeDialog(HWND dialog, LONG growX, LONG growY) {
    RECT frame = {};
    GetWindowRect(dialog, &frame);
    frame.right += growX;
    frame.bottom += growY;
    placeOnWorkArea(dialog, frame);
}

// Where a label widened past the dialog's edge, the dialog grows to show it.
void growToShowControls(HWND dialog) {
    const POINT extent = controlsExtent(dialog);
    const RECT margin = dialogUnits(dialog, 0, 0, kMargin, kMargin);
    RECT client = {};
    GetClientRect(dialog, &client);
    const LONG growX = extent.x + margin.right - client.right;
    const LONG growY = extent.y + margin.bottom - client.bottom;
    if (growX > 0 || growY > 0) resizeDialog(dialog, growX > 0 ? growX : 0, growY > 0 ? growY : 0);
}

// "Also set in Vantrel.ini: AGE G, SRX_STRING H": the fields that have a
// column and no box here, in the order of their keys; "" when there are none.
void describeOthers(const ConversionSettings& settings, char (&text)[kOthersCapacity]) {
    text[0] = '\0';
    size_t length = 0;
    for (size_t k = 0; k < kColumnFieldCount; ++k) {
        if (settings.fieldColumns[k][0] == '\0' || isShown(k)) continue;
        const char* const parts[] = {
            length == 0 ? "Also set in " : ", ",
            length == 0 ? kSettingsFileSuffix + 1 : "",
            length == 0 ? ": " : "",
            columnField(k).name,
            " ",
            settings.fieldColumns[k],
        };
        for (const char* part : parts) {
            // There is room for every field: never cut, but bounded all the same.
            if (!copyText(text + length, sizeof text - length, part, isLeadByte)) return;
            length += strlen(text + length);
        }
    }
}

// The list of the other fields, as high as its lines need (as far as the
// screen allows), OK and Cancel below it; without other fields, hidden and
// the dialog shorter by its row.
void showOthers(HWND dialog, const char* text) {
    HWND others = GetDlgItem(dialog, IDC_MORE_COLUMNS_OTHERS);
    const RECT rect = controlRect(dialog, others);
    const RECT ok = controlRect(dialog, GetDlgItem(dialog, IDOK));
    LONG grow = 0;
    if (text[0] == '\0') {
        ShowWindow(others, SW_HIDE);
        grow = rect.top - ok.top;
    } else {
        HDC dc = GetDC(others);
        HGDIOBJ previous =
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(others, WM_GETFONT, 0, 0)));
        RECT needed = {0, 0, rect.right - rect.left, 0};
        DrawTextA(dc, text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        SelectObject(dc, previous);
        ReleaseDC(others, dc);
        const RECT area = workAreaOf(dialog);
        RECT frame = {};
        GetWindowRect(dialog, &frame);
        const LONG spare = (area.bottom - area.top) - (frame.bottom - frame.top);
        grow = needed.bottom - (rect.bottom - rect.top);
        if (grow > spare) grow = spare;
        SetWindowPos(others, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top + grow,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowTextA(others, text);
    }
    for (int id : {IDOK, IDCANCEL}) {
        HWND button = GetDlgItem(dialog, id);
        const RECT at = controlRect(dialog, button);
        SetWindowPos(button, nullptr, at.left, at.top + grow, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    resizeDialog(dialog, 0, grow);
}

// The settings onto the dialog.
void fillDialog(HWND dialog) {
    ConversionSettings settings;
    snapshotSettings(settings);
    writeSettingControls(dialog, kInMoreColumns, settings);
    for (size_t i = 0; i < kShownCount; ++i) {
        SetDlgItemTextA(dialog, IDC_MORE_COLUMNS_BOXES + static_cast<int>(i),
                        settings.fieldColumns[kShown.column[i]]);
    }
    char others[kOthersCapacity];
    describeOthers(settings, others);
    showOthers(dialog, others);
}

// The dialog into the settings. A box emptied stores "-" where its field had
// a column, so that the settings file keeps it left out; "" where it had none.
void takeDialog(HWND dialog) {
    ConversionSettings settings;
    snapshotSettings(settings);
    readSettingControls(dialog, kInMoreColumns, settings);
    for (size_t i = 0; i < kShownCount; ++i) {
        char(&column)[kDesignatorCapacity] = settings.fieldColumns[kShown.column[i]];
        char text[kSettingValueCapacity];
        GetDlgItemTextA(dialog, IDC_MORE_COLUMNS_BOXES + static_cast<int>(i), text,
                        static_cast<int>(sizeof text));
        if (text[0] == '\0' && column[0] != '\0') copyText(text, kNoColumnDesignator);
        copyText(column, text, isLeadByte);
    }
    storeSettings(settings);
}

INT_PTR CALLBACK moreColumnsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            createFieldControls(dialog);
            // The template's widths suit some dialog fonts only.
            widenLabelsToFit(dialog);
            growToShowControls(dialog);
            fillDialog(dialog);
            SetFocus(GetDlgItem(dialog, IDC_MORE_COLUMNS_BOXES));
            return FALSE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    takeDialog(dialog);
                    EndDialog(dialog, IDOK);
                    return TRUE;
                case IDCANCEL:  // Cancel, Escape and the close box
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace

void showMoreColumns() {
    DialogBoxParamA(theMainWindow.instance, MAKEINTRESOURCEA(IDD_MORE_COLUMNS),
                    theMainWindow.window, moreColumnsProc, 0);
}
