// The settings form: moves values between its controls and the settings,
// starts conversions and picks the CSV file (Browse, or a file dropped).
#include "app/settings_form.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <stddef.h>
#include <string.h>

#include <mutex>

#include "app/control_values.h"
#include "app/label_fit.h"
#include "app/resource_ids.h"
#include "app/window_state.h"
#include "common/text.h"
#include "conversion/conversion_worker.h"
#include "conversion/converter_state.h"

namespace {

// What the file-open dialog may return: MAX_PATH characters and the NUL.
enum : DWORD { kChosenPathCapacity = 260 };

// The MHz and KHz boxes as a pair: the clicked box's state goes into its
// field, the other box and field become the opposite.
void onUnitClicked(int clickedId) {
    HWND form = theMainWindow.form;
    const bool mhzClicked = clickedId == IDC_CHECK_MHZ;
    const int otherId = mhzClicked ? IDC_CHECK_KHZ : IDC_CHECK_MHZ;
    const int32_t clicked = isChecked(form, clickedId) ? 1 : 0;
    const int32_t other = clicked != 1 ? 1 : 0;
    {
        std::lock_guard<std::mutex> hold(theApp.settingsLock);
        theApp.settings.checkMhz = mhzClicked ? clicked : other;
        theApp.settings.checkKhz = mhzClicked ? other : clicked;
    }
    setCheck(form, otherId, other != 0);
}

// A chosen or dropped file into csvPath and the CSV File box, and its
// preview where its title row gives other columns than the form's. A path
// longer than csvPath holds is refused: cut, it would name another file.
void takeCsvPath(const char* chosen) {
    if (strlen(chosen) >= kPathCapacity) return;
    char csvPath[kPathCapacity];
    {
        std::lock_guard<std::mutex> hold(theApp.settingsLock);
        copyText(theApp.settings.csvPath, chosen);
        copyText(csvPath, theApp.settings.csvPath);
    }
    SetDlgItemTextA(theMainWindow.form, IDC_CSV_PATH, csvPath);
    // Once the file dialog or the drop is over.
    PostMessageA(theMainWindow.window, WM_COMMAND, IDM_PREVIEW_CHOSEN, 0);
}

}  // namespace

void readForm() {
    // Before the first RefreshForm the controls are still empty: reading them
    // would replace the loaded settings with empty texts and zeros.
    if (!theMainWindow.formFilled) return;
    ConversionSettings settings;
    snapshotSettings(settings);
    readSettingControls(theMainWindow.form, kOnForm, settings);
    storeSettings(settings);
}

void writeForm() {
    ConversionSettings settings;
    snapshotSettings(settings);
    writeSettingControls(theMainWindow.form, kOnForm, settings);
}

void browseCsv() {
    char chosen[kChosenPathCapacity] = "";
    char initialFolder[kPathCapacity] = "";

    OPENFILENAMEA dialog;
    memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = nullptr;
    dialog.lpstrFilter = "csv\0*.csv\0all\0*.*\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = kChosenPathCapacity;
    dialog.Flags = 0;

    // The starting folder is that of csvPath in the settings (not of the
    // edit box, which Convert has not taken over yet).
    {
        std::lock_guard<std::mutex> hold(theApp.settingsLock);
        copyText(initialFolder, theApp.settings.csvPath);
    }
    if (initialFolder[0] != '\0') {
        PathRemoveFileSpecA(initialFolder);
        dialog.lpstrInitialDir = initialFolder;
    }

    if (GetOpenFileNameA(&dialog)) takeCsvPath(chosen);
}

void takeDroppedCsv(HDROP drop) {
    // The first file. A folder is no logbook, and a path too long for csvPath
    // is asked for no further: either changes nothing.
    char path[kPathCapacity];
    const UINT length = DragQueryFileA(drop, 0, nullptr, 0);
    if (length > 0 && length < sizeof path &&
        DragQueryFileA(drop, 0, path, sizeof path) == length) {
        const DWORD attributes = GetFileAttributesA(path);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            takeCsvPath(path);
    }
    DragFinish(drop);
}

INT_PTR CALLBACK settingsFormProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            theMainWindow.form = form;
            // The template's label widths suit some dialog fonts only.
            widenLabelsToFit(form);
            // A file dropped on the form or on a control of it comes here.
            DragAcceptFiles(form, TRUE);
            return TRUE;
        case WM_NOTIFY:
            return TRUE;
        case WM_DROPFILES:
            takeDroppedCsv(reinterpret_cast<HDROP>(wParam));
            return TRUE;
        case WM_COMMAND:
            // Any notification from these four acts like a click.
            switch (LOWORD(wParam)) {
                case IDC_CONVERT:
                    readForm();
                    requestConversion();
                    return TRUE;
                case IDC_BROWSE:
                    browseCsv();
                    return TRUE;
                case IDC_CHECK_MHZ:
                case IDC_CHECK_KHZ:
                    onUnitClicked(LOWORD(wParam));
                    return TRUE;
                default:
                    // Edit notifications, IDOK from Enter and IDCANCEL from
                    // Escape: the main window gives them default processing.
                    SendMessageA(theMainWindow.window, WM_COMMAND, wParam, lParam);
                    return TRUE;
            }
        default:
            return FALSE;
    }
}
