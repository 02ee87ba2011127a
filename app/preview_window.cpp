// The preview window: a modeless dialog with the preview's text and a Close
// button, resizable, beside the main window.
#include "app/preview_window.h"

#include <shlwapi.h>

#include "app/resource_ids.h"
#include "app/settings_form.h"
#include "app/window_state.h"
#include "app/work_area.h"
#include "common/text.h"
#include "conversion/conversion_preview.h"
#include "conversion/converter_state.h"

namespace {

// The text shown, made on the user-interface thread.
char previewText[kPreviewTextCapacity];

const char kCaptionLead[] = "Preview: ";

// The template's margin and Close button, in dialog units.
enum { kMargin = 7, kButtonWidth = 50, kButtonHeight = 14 };

// The text over the whole window but a row at the bottom for Close, at its right.
void layOut(HWND dialog) {
    RECT units = {kMargin, kButtonHeight, kButtonWidth, 0};
    MapDialogRect(dialog, &units);
    const LONG margin = units.left;
    const LONG buttonHeight = units.top;
    const LONG buttonWidth = units.right;
    RECT client = {};
    GetClientRect(dialog, &client);
    MoveWindow(GetDlgItem(dialog, IDC_PREVIEW_TEXT), margin, margin, client.right - 2 * margin,
               client.bottom - 3 * margin - buttonHeight, TRUE);
    MoveWindow(GetDlgItem(dialog, IDCANCEL), client.right - margin - buttonWidth,
               client.bottom - margin - buttonHeight, buttonWidth, buttonHeight, TRUE);
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

INT_PTR CALLBACK previewProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            placeBesideMainWindow(dialog);
            // On Close rather than the text, which would show all selected.
            SetFocus(GetDlgItem(dialog, IDCANCEL));
            return FALSE;
        case WM_SIZE:
            layOut(dialog);
            return TRUE;
        case WM_COMMAND:
            // Close, Escape and the close box.
            if (LOWORD(wParam) != IDCANCEL) return FALSE;
            DestroyWindow(dialog);
            return TRUE;
        case WM_DESTROY:
            theMainWindow.preview = nullptr;
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void showPreview() {
    // The settings change exactly as Convert would change them.
    readForm();
    ConversionSettings settings;
    snapshotSettings(settings);
    previewConversion(settings, previewText, sizeof previewText);

    if (theMainWindow.preview == nullptr) {
        theMainWindow.preview =
            CreateDialogParamA(theMainWindow.instance, MAKEINTRESOURCEA(IDD_PREVIEW),
                               theMainWindow.window, previewProc, 0);
        if (theMainWindow.preview == nullptr) return;
    }
    char caption[sizeof kCaptionLead + kPathCapacity];
    joinText(caption, sizeof caption, kCaptionLead, PathFindFileNameA(settings.csvPath));
    SetWindowTextA(theMainWindow.preview, caption);
    SetDlgItemTextA(theMainWindow.preview, IDC_PREVIEW_TEXT, previewText);
    ShowWindow(theMainWindow.preview, SW_SHOW);
    SetActiveWindow(theMainWindow.preview);
}
