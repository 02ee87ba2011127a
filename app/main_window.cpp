// The main window, its status bar and timer, and the program's entry function.
#include "app/main_window.h"

#include <commctrl.h>

#include "app/converter_app.h"
#include "app/label_fit.h"
#include "app/more_columns.h"
#include "app/preview_window.h"
#include "app/report_view.h"
#include "app/resource_ids.h"
#include "app/settings_form.h"
#include "app/window_state.h"
#include "common/text.h"
#include "conversion/converter_state.h"
#include "settings/settings_file.h"

const char kAboutLine[] = VANTREL_ABOUT_LINE;

namespace {

const char kWindowClass[] = VANTREL_WINDOW_CLASS;
const char kAboutCaption[] = "About Vantrel";
// The caption of the program's other message boxes.
const char kProgramName[] = "Vantrel";
// The window's nominal size at 96 DPI.
const int32_t kWindowWidth = 610;
const int32_t kWindowHeight = 450;
// Room kept right of and below the form's controls, in dialog units.
const int kFormMarginX = 8;
const int kFormMarginY = 6;

// IDC_ARROW, spelled for the ANSI call whatever the character-set setting.
LPCSTR const kArrowCursor = MAKEINTRESOURCEA(32512);

// Pixels at the system's DPI for a length given at 96 DPI: the program is
// DPI-aware (its manifest says so), so Windows does not stretch its window on
// a scaled display, and it sizes itself instead.
int32_t scaledToSystemDpi(int32_t pixels) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? MulDiv(pixels, dpi, 96) : pixels;
}

// The form's controls are placed in dialog units, which grow with the size of
// the dialog font on the system at hand. Where the window's nominal size cannot
// show them all above the status bar, the window grows just enough (it never
// shrinks): a setting hidden under the frame could not be seen or edited.
void growToShowForm(HWND window) {
    HWND form = theMainWindow.form;
    if (form == nullptr) return;
    const POINT extent = controlsExtent(form);
    RECT margin = {0, 0, kFormMarginX, kFormMarginY};
    MapDialogRect(form, &margin);

    RECT statusRect = {};
    GetWindowRect(theMainWindow.statusBar, &statusRect);
    RECT client = {};
    GetClientRect(window, &client);
    const LONG growX = extent.x + margin.right - client.right;
    const LONG growY =
        extent.y + margin.bottom + (statusRect.bottom - statusRect.top) - client.bottom;
    if (growX <= 0 && growY <= 0) return;

    if (growX > 0) theMainWindow.width += growX;
    if (growY > 0) theMainWindow.height += growY;
    SetWindowPos(window, nullptr, 0, 0, theMainWindow.width, theMainWindow.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The status bar docks itself at the new bottom edge.
    SendMessageA(theMainWindow.statusBar, WM_SIZE, 0, 0);
}

// Status bar along the bottom, then the settings form over the rest of the
// client area.
void buildChildren(HWND window) {
    theMainWindow.window = window;
    InitCommonControls();
    theMainWindow.statusBar = CreateStatusWindowA(
        WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP, nullptr, window, 0);
    theMainWindow.form = CreateDialogParamA(
        theMainWindow.instance, MAKEINTRESOURCEA(IDD_SETTINGS_FORM), window, settingsFormProc, 0);
    growToShowForm(window);
    // A file dropped on the status bar comes here (on the form, to the form).
    DragAcceptFiles(window, TRUE);

    RECT statusRect = {};
    GetWindowRect(theMainWindow.statusBar, &statusRect);
    RECT client = {};
    GetClientRect(window, &client);
    const int statusHeight = statusRect.bottom - statusRect.top;
    // Two pixels more each way: the form's frame then lies outside the client
    // area on the right and under the status bar, so no border line shows.
    SetWindowPos(theMainWindow.form, nullptr, 0, 0, client.right + 2,
                 client.bottom - statusHeight + 2, SWP_SHOWWINDOW);
    ShowWindow(theMainWindow.form, SW_SHOW);
    UpdateWindow(theMainWindow.form);
}

// The user-interface side of the hand-over with the worker.
void onUiTimer() {
    if (takeFlag(theApp.flags, StatusChanged)) {
        char text[kStatusTextCapacity];
        readStatusText(theApp.statusText, text, sizeof text);
        SendMessageA(theMainWindow.statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
        // The report is published before the status that ends its conversion.
        showReportCounts();
    }
    if (takeFlag(theApp.flags, RefreshForm)) {
        writeForm();
        theMainWindow.formFilled = theMainWindow.form != nullptr;
    }
}

// "Can not save settings to PATH", once the window is gone.
void tellSettingsNotSaved() {
    char path[kPathCapacity];
    char text[kPathCapacity + 64];
    if (settingsFilePath(path)) {
        joinText(text, sizeof text, "Can not save settings to ", path);
    } else {
        copyText(text, "Can not save settings: the program's folder path is too long");
    }
    MessageBoxA(nullptr, text, kProgramName, MB_OK | MB_ICONWARNING);
}

}  // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            buildChildren(window);
            return 0;
        case WM_DESTROY:
            // readForm leaves the settings alone while the form is unfilled.
            readForm();
            PostQuitMessage(0);
            return 0;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDM_ABOUT:
                    MessageBoxA(nullptr, kAboutLine, kAboutCaption, MB_OK);
                    break;
                case IDM_EXIT:
                    DestroyWindow(theMainWindow.window);
                    break;
                case IDM_MORE_COLUMNS:
                    showMoreColumns();
                    break;
                case IDM_PREVIEW:
                    showPreview();
                    break;
                case IDM_PREVIEW_CHOSEN:
                    previewChosenCsv();
                    break;
                case IDM_REPORT:
                    showReportBox();
                    break;
                default:
                    break;
            }
            return DefWindowProcA(window, message, wParam, lParam);
        case WM_NOTIFY:
            // Posted: the box's message loop is not to run inside the status
            // bar's click.
            if (isReportPartClick(*reinterpret_cast<const NMHDR*>(lParam)))
                PostMessageA(window, WM_COMMAND, IDM_REPORT, 0);
            return 0;
        case WM_DROPFILES:
            takeDroppedCsv(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_TIMER:
            if (wParam != UiTimer) break;
            onUiTimer();
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int runMainWindow(HINSTANCE instance, int showCommand) {
    theMainWindow.instance = instance;

    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VANTREL_LARGE));
    windowClass.hCursor = LoadCursorA(nullptr, kArrowCursor);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN_MENU);
    windowClass.lpszClassName = kWindowClass;
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VANTREL_SMALL));
    RegisterClassExA(&windowClass);

    HWND window = CreateWindowExA(0, kWindowClass, theMainWindow.title,
                                  WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT, 0,
                                  theMainWindow.width, theMainWindow.height, nullptr, nullptr,
                                  instance, nullptr);
    if (window == nullptr) {
        // Without a window no quit message would ever come: end at once, and
        // the settings are saved as they were loaded.
        return 1;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    SetTimer(window, UiTimer, kUiTimerPeriodMs, nullptr);

    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // Tab and the keys of dialogs in the form and in the preview window.
        if (theMainWindow.form != nullptr && IsDialogMessageA(theMainWindow.form, &message)) {
            continue;
        }
        if (theMainWindow.preview != nullptr && IsDialogMessageA(theMainWindow.preview, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    // The two program-wide objects, in this order: the window object, then
    // the application object (defaults, settings file, worker).
    constructMainWindow();
    constructConverterApp();

    theMainWindow.width = scaledToSystemDpi(kWindowWidth);
    theMainWindow.height = scaledToSystemDpi(kWindowHeight);
    copyText(theMainWindow.title, kAboutLine);
    const int exitCode = runMainWindow(instance, showCommand);

    // Reverse order: stop the worker (after any running conversion) and save
    // the settings; the window object's teardown does nothing. Settings that
    // could not be saved would be lost without a word: say so.
    if (!teardownConverterApp()) tellSettingsNotSaved();
    return exitCode;
}
