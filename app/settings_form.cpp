// The settings form: moves values between its controls and the settings,
// starts conversions and picks the CSV file.
#include "app/settings_form.h"

#include <commdlg.h>
#include <shlwapi.h>
#include <stddef.h>
#include <string.h>

#include <mutex>

#include "app/converter_app.h"
#include "app/main_window.h"
#include "app/resource_ids.h"
#include "common/text.h"
#include "conversion/conversion_worker.h"

namespace {

// An edit box and the text field it shows.
struct TextBinding {
    int id;
    size_t offset;
    size_t capacity;
};

#define VANTREL_TEXT_BINDING(id, field) \
    { id, offsetof(ConversionSettings, field), sizeof(ConversionSettings::field) }

// In the order the form is read and written; the time difference follows them.
const TextBinding kTextBindings[] = {
    VANTREL_TEXT_BINDING(IDC_CSV_PATH, csvPath),
    VANTREL_TEXT_BINDING(IDC_MY_CALLSIGN, myCallsign),
    VANTREL_TEXT_BINDING(IDC_COLUMN_YEAR, columnYear),
    VANTREL_TEXT_BINDING(IDC_COLUMN_MONTH, columnMonth),
    VANTREL_TEXT_BINDING(IDC_COLUMN_DAY, columnDay),
    VANTREL_TEXT_BINDING(IDC_COLUMN_HOUR, columnHour),
    VANTREL_TEXT_BINDING(IDC_COLUMN_MINUTE, columnMinute),
    VANTREL_TEXT_BINDING(IDC_COLUMN_CALLSIGN, columnCallsign),
    VANTREL_TEXT_BINDING(IDC_COLUMN_BAND, columnBand),
    VANTREL_TEXT_BINDING(IDC_COLUMN_MODE, columnMode),
    VANTREL_TEXT_BINDING(IDC_COLUMN_RST_SENT, columnRstSent),
    VANTREL_TEXT_BINDING(IDC_COLUMN_FREQ, columnFreq),
    VANTREL_TEXT_BINDING(IDC_COLUMN_RST_RCVD, columnRstRcvd),
    VANTREL_TEXT_BINDING(IDC_COLUMN_GL, columnGl),
    VANTREL_TEXT_BINDING(IDC_COLUMN_COMMENT, columnComment),
};

#undef VANTREL_TEXT_BINDING

// A check box and the on/off field it shows.
struct CheckBinding {
    int id;
    int32_t ConversionSettings::*field;
};

const CheckBinding kCheckBindings[] = {
    {IDC_CHECK_MHZ, &ConversionSettings::checkMhz},
    {IDC_CHECK_KHZ, &ConversionSettings::checkKhz},
    {IDC_CHECK_RST_RCVD, &ConversionSettings::checkRstRcvd},
    {IDC_CHECK_MY_GL, &ConversionSettings::checkMyGl},
    {IDC_CHECK_COMMENT, &ConversionSettings::checkComment},
};

// The time difference is read as up to 255 bytes of text.
enum : size_t { kTimeZoneTextCapacity = 256 };

// What the file-open dialog may return: MAX_PATH characters and the NUL.
enum : DWORD { kChosenPathCapacity = 260 };

char* textField(ConversionSettings& settings, const TextBinding& binding) {
    return reinterpret_cast<char*>(&settings) + binding.offset;
}

LRESULT checkState(HWND form, int id) {
    return SendDlgItemMessageA(form, id, BM_GETCHECK, 0, 0);
}

void setCheck(HWND form, int id, bool on) {
    SendDlgItemMessageA(form, id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

// The MHz and KHz boxes as a pair: the clicked box's state goes into its
// field, the other box and field become the opposite.
void onUnitClicked(int clickedId) {
    HWND form = theMainWindow.form;
    const bool mhzClicked = clickedId == IDC_CHECK_MHZ;
    const int otherId = mhzClicked ? IDC_CHECK_KHZ : IDC_CHECK_MHZ;
    const int32_t clicked = static_cast<int32_t>(checkState(form, clickedId));
    const int32_t other = clicked != 1 ? 1 : 0;
    {
        std::lock_guard<std::mutex> hold(theApp.settingsLock);
        theApp.settings.checkMhz = mhzClicked ? clicked : other;
        theApp.settings.checkKhz = mhzClicked ? other : clicked;
    }
    setCheck(form, otherId, other != 0);
}

}  // namespace

void readForm() {
    // Before the first RefreshForm the controls are still empty: reading them
    // would replace the loaded settings with empty texts and zeros.
    if (!theMainWindow.formFilled) return;
    HWND form = theMainWindow.form;

    ConversionSettings settings;
    snapshotSettings(settings);
    for (const TextBinding& binding : kTextBindings) {
        GetDlgItemTextA(form, binding.id, textField(settings, binding),
                        static_cast<int>(binding.capacity));
    }
    char timeZone[kTimeZoneTextCapacity];
    GetDlgItemTextA(form, IDC_TIME_ZONE, timeZone, static_cast<int>(sizeof timeZone));
    settings.timeZone = parseLeadingInt(timeZone);
    for (const CheckBinding& binding : kCheckBindings) {
        settings.*binding.field = checkState(form, binding.id) == BST_CHECKED ? 1 : 0;
    }
    storeSettings(settings);
}

void writeForm() {
    HWND form = theMainWindow.form;

    ConversionSettings settings;
    snapshotSettings(settings);
    for (const TextBinding& binding : kTextBindings) {
        SetDlgItemTextA(form, binding.id, textField(settings, binding));
    }
    char timeZone[24];
    timeZone[formatInt(timeZone, settings.timeZone, 0, ' ')] = '\0';
    SetDlgItemTextA(form, IDC_TIME_ZONE, timeZone);
    for (const CheckBinding& binding : kCheckBindings) {
        setCheck(form, binding.id, settings.*binding.field != 0);
    }
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

    if (!GetOpenFileNameA(&dialog)) return;

    // A path longer than csvPath holds is refused: cut, it would name
    // another file.
    if (strlen(chosen) >= kPathCapacity) return;

    char csvPath[kPathCapacity];
    {
        std::lock_guard<std::mutex> hold(theApp.settingsLock);
        copyText(theApp.settings.csvPath, chosen);
        copyText(csvPath, theApp.settings.csvPath);
    }
    SetDlgItemTextA(theMainWindow.form, IDC_CSV_PATH, csvPath);
}

INT_PTR CALLBACK settingsFormProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            theMainWindow.form = form;
            return TRUE;
        case WM_NOTIFY:
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
