// The conversion report in the window: the status bar's second part and the
// message box behind it.
#include "app/report_view.h"

#include <commctrl.h>
#include <string.h>

#include "app/window_state.h"
#include "conversion/conversion_report.h"
#include "conversion/converter_state.h"

namespace {

const char kReportCaption[] = "Conversion report";
const char kNothingToReport[] = "Nothing to report.";

// The status bar as one part (nothing to report) or two, the second wide
// enough for `counts` and the size grip.
void setParts(const char* counts) {
    HWND bar = theMainWindow.statusBar;
    if (counts[0] == '\0') {
        // Most status changes (the counts of a running conversion) find it so.
        if (SendMessageA(bar, SB_GETPARTS, 0, 0) == 1) return;
        int whole[] = {-1};
        SendMessageA(bar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(whole));
        return;
    }
    RECT client = {};
    GetClientRect(bar, &client);
    HDC dc = GetDC(bar);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(bar, WM_GETFONT, 0, 0)));
    SIZE text = {};
    GetTextExtentPoint32A(dc, counts, static_cast<int>(strlen(counts)), &text);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(bar, dc);
    // A character's room each side, and the grip's.
    const int width = text.cx + 2 * metrics.tmAveCharWidth + GetSystemMetrics(SM_CXVSCROLL);
    int edges[] = {client.right - width, -1};
    SendMessageA(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    SendMessageA(bar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(counts));
}

}  // namespace

void showReportCounts() {
    int32_t notes = 0;
    int32_t warnings = 0;
    readReport(theApp.reportText, nullptr, 0, notes, warnings);
    char counts[64];
    formatReportCounts(notes, warnings, counts);
    setParts(counts);
}

bool isReportPartClick(const NMHDR& notification) {
    return notification.hwndFrom == theMainWindow.statusBar && notification.code == NM_CLICK &&
           reinterpret_cast<const NMMOUSE*>(&notification)->dwItemSpec == 1;
}

void showReportBox() {
    char text[kReportTextCapacity];
    int32_t notes = 0;
    int32_t warnings = 0;
    readReport(theApp.reportText, text, sizeof text, notes, warnings);
    // The last line's CR LF would show as an empty line.
    size_t length = strlen(text);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r'))
        text[--length] = '\0';
    const UINT icon = warnings > 0 ? MB_ICONWARNING : MB_ICONINFORMATION;
    MessageBoxA(theMainWindow.window, length > 0 ? text : kNothingToReport, kReportCaption,
                MB_OK | icon);
}
