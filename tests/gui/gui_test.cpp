// End-to-end tests: Vantrel.exe started in a folder of its own and worked
// through window messages (which cross processes, under Wine too), checking
// the status bar, the ADIF output and Vantrel.ini.
#include <stdio.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/label_fit.h"
#include "app/resource_ids.h"
#include "conversion/conversion_preview.h"
#include "conversion/converter_state.h"
#include "platform/ini_text.h"
#include "settings/settings_file.h"
#include "tests/test_support.h"

namespace {

enum : DWORD { kStartMs = 60000, kStepMs = 20000, kLongMs = 240000 };

// Under Wine the tests need an X display, else they are skipped. Without a
// window manager Wine waits 2 s for each closed window unless it manages them.
class Display : public testing::Environment {
    void SetUp() override {
        // Coordinates in the screen's pixels, as the DPI-aware program has them.
        SetProcessDPIAware();
        if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") == nullptr) return;
        if (GetEnvironmentVariableA("DISPLAY", nullptr, 0) == 0) GTEST_SKIP() << "no X display";
        RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Managed", REG_SZ, "N", 2);
    }
};
testing::Environment* const kDisplay = testing::AddGlobalTestEnvironment(new Display);

// Polls done() every few milliseconds until it holds or the time is up.
bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs = kStepMs) {
    for (const ULONGLONG end = GetTickCount64() + timeoutMs; !done(); Sleep(5)) {
        if (GetTickCount64() >= end) return false;
    }
    return true;
}

bool send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, result);
}

std::string windowText(HWND window) {
    char text[4096] = "";
    DWORD_PTR length = 0;
    send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), &length);
    return text;
}

bool setWindowText(HWND window, const std::string& text) {
    DWORD_PTR done = 0;
    return send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &done) && done;
}

std::string windowClass(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A top-level window of the process with the class (and title, unless null).
HWND findTopLevel(DWORD pid, const char* className, const char* title = nullptr) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className, title)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid) return window;
    }
    return nullptr;
}

// Waits for a visible top-level window of the process.
HWND waitForTopLevel(DWORD pid, const char* className, const char* title) {
    HWND window = nullptr;
    waitUntil([&] {
        window = findTopLevel(pid, className, title);
        return window != nullptr && IsWindowVisible(window);
    });
    return window;
}

// A message box's text, and a button of a modal dialog pressed, OK by
// default (posted: the dialog's own loop ends).
std::string boxText(HWND box) {
    return windowText(GetDlgItem(box, 0xFFFF));
}
bool press(HWND dialog, WPARAM button = IDOK) {
    return PostMessageA(dialog, WM_COMMAND, button, 0) &&
           waitUntil([&] { return !IsWindow(dialog); });
}

// Sends the message with a pointer (lParam, or wParam for WM_DROPFILES) to a
// copy of `bytes` in the program's memory, and returns that memory afterwards.
// Wine passes these pointers to another process as they are: an HDROP made
// here, for one, would name nothing there.
std::string sendInto(HANDLE process, HWND window, UINT message, WPARAM wParam, std::string bytes) {
    void* copy = VirtualAllocEx(process, nullptr, bytes.size(), MEM_COMMIT, PAGE_READWRITE);
    const LPARAM pointer = reinterpret_cast<LPARAM>(copy);
    DWORD_PTR result = 0;
    if (copy == nullptr ||
        !WriteProcessMemory(process, copy, bytes.data(), bytes.size(), nullptr) ||
        !(message == WM_DROPFILES ? send(window, message, pointer, 0, &result)
                                  : send(window, message, wParam, pointer, &result)) ||
        !ReadProcessMemory(process, copy, &bytes[0], bytes.size(), nullptr)) {
        bytes.clear();
    }
    if (copy != nullptr) VirtualFreeEx(process, copy, 0, MEM_RELEASE);
    return bytes;
}

// Saves the window as the screen shows it, once settled, as a BMP in the
// working folder (./test makes PNGs of them).
void saveScreenshot(HWND window, const char* fileName) {
    Sleep(500);
    const RECT r = controlRect(nullptr, window);
    const LONG width = r.right - r.left;
    const LONG height = r.bottom - r.top;
    const DWORD size = static_cast<DWORD>(((width * 3 + 3) & ~3) * height);
    BITMAPINFOHEADER info = {sizeof info, width, height, 1, 24, BI_RGB, size, 0, 0, 0, 0};
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof info;
    const BITMAPFILEHEADER file = {0x4D42 /* "BM" */, offset + size, 0, 0, offset};
    void* pixels = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                      &pixels, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY) && GdiFlush()) {
        writeFile(fileName, std::string(reinterpret_cast<const char*>(&file), sizeof file) +
                                std::string(reinterpret_cast<const char*>(&info), sizeof info) +
                                std::string(static_cast<const char*>(pixels), size));
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// One run of Vantrel.exe in its folder; ended by force if a failed test left it.
class Program {
public:
    explicit Program(const std::string& exe) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + exe + "\"";
        const std::string folder = exe.substr(0, exe.find_last_of("\\/"));
        CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                       folder.c_str(), &startup, &info_);
    }
    ~Program() {
        if (info_.hProcess == nullptr) return;
        TerminateProcess(info_.hProcess, 3);
        WaitForSingleObject(info_.hProcess, kStepMs);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Waits for the main window, the form, the status bar and the settings on
    // the form (the time difference is never empty then).
    bool waitForForm() {
        const auto shown = [&] {
            main = findTopLevel(pid(), VANTREL_WINDOW_CLASS);
            form = FindWindowExA(main, nullptr, "#32770", nullptr);
            statusBar = FindWindowExA(main, nullptr, "msctls_statusbar32", nullptr);
            return main != nullptr && form != nullptr && statusBar != nullptr &&
                   IsWindowVisible(main) && !text(IDC_TIME_ZONE).empty();
        };
        return info_.hProcess != nullptr && waitUntil(shown, kStartMs);
    }
    HWND control(int id) const { return GetDlgItem(form, id); }
    std::string text(int id) const { return windowText(control(id)); }
    bool setText(int id, const std::string& value) const {
        return setWindowText(control(id), value);
    }
    // Sent: returns once the click has been handled.
    bool click(int id) const {
        DWORD_PTR result = 0;
        return send(control(id), BM_CLICK, 0, 0, &result);
    }
    bool checked(int id) const {
        DWORD_PTR state = 0;
        return send(control(id), BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
    }
    std::string status() const { return windowText(statusBar); }
    // The status bar's parts, a part's text, and a click inside a part.
    LRESULT statusParts() const {
        DWORD_PTR parts = 0;
        return send(statusBar, SB_GETPARTS, 0, 0, &parts) ? static_cast<LRESULT>(parts) : -1;
    }
    std::string statusPart(WPARAM part) const {
        return sendInto(info_.hProcess, statusBar, SB_GETTEXTA, part, std::string(1024, '\0'))
            .c_str();
    }
    bool clickStatusPart(WPARAM part) const {
        RECT r = {};
        const std::string got =
            sendInto(info_.hProcess, statusBar, SB_GETRECT, part, std::string(sizeof r, '\0'));
        if (got.size() != sizeof r) return false;
        memcpy(&r, got.data(), sizeof r);
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return PostMessageA(statusBar, WM_LBUTTONDOWN, MK_LBUTTON, at) &&
               PostMessageA(statusBar, WM_LBUTTONUP, 0, at);
    }
    // Drops the files on the window as Explorer's drag and drop ends, with
    // ANSI names (sent: returns once the drop has been handled).
    bool drop(HWND target, const std::vector<std::string>& paths) const {
        DROPFILES header = {};
        header.pFiles = sizeof header;
        std::string files(reinterpret_cast<const char*>(&header), sizeof header);
        for (const std::string& path : paths)
            files += path + '\0';
        return !sendInto(info_.hProcess, target, WM_DROPFILES, 0, files + '\0').empty();
    }
    // Posts the menu command (a window it opens runs a message loop of its
    // own); openWindow waits for the window it opens.
    bool command(WPARAM id) const { return PostMessageA(main, WM_COMMAND, id, 0); }
    HWND openWindow(WPARAM id, const char* className, const char* title) const {
        return command(id) ? waitForTopLevel(pid(), className, title) : nullptr;
    }
    // Clicks Convert and waits for "Finished count QSOs conversion".
    testing::AssertionResult convert(int count) const {
        // An empty status bar tells the next status apart from an equal earlier one.
        setWindowText(statusBar, "");
        if (click(IDC_CONVERT) && waitUntil([&] { return finishedCount(status()) == count; })) {
            return testing::AssertionSuccess();
        }
        return testing::AssertionFailure() << "not \"Finished " << count << "\": " << status();
    }
    // Waits for the program's end, with exit code 0.
    testing::AssertionResult exited(DWORD timeoutMs = kStepMs) const {
        DWORD code = STILL_ACTIVE;
        WaitForSingleObject(info_.hProcess, timeoutMs);
        GetExitCodeProcess(info_.hProcess, &code);
        if (code == 0) return testing::AssertionSuccess();
        return testing::AssertionFailure() << "Vantrel.exe's exit code is " << code;
    }
    // Posts the message to the main window and waits for the program's end.
    testing::AssertionResult close(UINT message = WM_CLOSE, WPARAM wParam = 0) const {
        if (!PostMessageA(main, message, wParam, 0)) return testing::AssertionFailure();
        return exited();
    }
    DWORD pid() const { return info_.dwProcessId; }
    HANDLE process() const { return info_.hProcess; }

    HWND main = nullptr;
    HWND form = nullptr;
    HWND statusBar = nullptr;

private:
    PROCESS_INFORMATION info_ = {};
};

// The controls' ids in creation order, also their Tab and stacking order.
const std::vector<int> kFormOrder = {
    IDC_LABEL_MY_CALLSIGN, IDC_LABEL_CSV_FILE, IDC_LABEL_YEAR,      IDC_LABEL_MONTH,
    IDC_LABEL_DAY,         IDC_LABEL_HOUR,     IDC_LABEL_MINUTE,    IDC_LABEL_CALLSIGN,
    IDC_LABEL_BAND,        IDC_LABEL_MODE,     IDC_LABEL_RST_SENT,  IDC_LABEL_FREQ,
    IDC_LABEL_RST_RCVD,    IDC_LABEL_MY_GL,    IDC_LABEL_COMMENT,   IDC_LABEL_TIME_DIFF,
    IDC_CSV_PATH,          IDC_MY_CALLSIGN,    IDC_COLUMN_YEAR,     IDC_COLUMN_MONTH,
    IDC_COLUMN_DAY,        IDC_COLUMN_HOUR,    IDC_COLUMN_MINUTE,   IDC_COLUMN_CALLSIGN,
    IDC_COLUMN_BAND,       IDC_COLUMN_MODE,    IDC_COLUMN_RST_SENT, IDC_COLUMN_FREQ,
    IDC_COLUMN_RST_RCVD,   IDC_COLUMN_GL,      IDC_COLUMN_COMMENT,  IDC_TIME_ZONE,
    IDC_CONVERT,           IDC_BROWSE,         IDC_CHECK_MHZ,       IDC_CHECK_KHZ,
    IDC_CHECK_RST_RCVD,    IDC_CHECK_MY_GL,    IDC_CHECK_COMMENT,
};

// The ids of the dialog's visible controls in their order (also their Tab and
// stacking order); each inside `area` of the frame's client area (the dialog's
// own, or the window it lies in), clear of the others.
std::vector<int> expectControlsInside(HWND dialog, HWND frame, const RECT& area) {
    std::vector<int> order;
    for (HWND a = GetWindow(dialog, GW_CHILD); a != nullptr; a = GetWindow(a, GW_HWNDNEXT)) {
        if (!IsWindowVisible(a)) continue;
        order.push_back(GetDlgCtrlID(a));
        const RECT r = controlRect(frame, a);
        EXPECT_TRUE(r.left >= area.left && r.top >= area.top && r.right <= area.right &&
                    r.bottom <= area.bottom)
            << "control " << order.back() << " is cut off";
        for (HWND b = GetWindow(a, GW_HWNDNEXT); b != nullptr; b = GetWindow(b, GW_HWNDNEXT)) {
            RECT overlap;
            const RECT rb = controlRect(frame, b);
            EXPECT_FALSE(IsWindowVisible(b) && IntersectRect(&overlap, &r, &rb))
                << "controls " << order.back() << " and " << GetDlgCtrlID(b) << " overlap";
        }
    }
    return order;
}

// The screen's device context with the dialogs' font chosen: "MS Shell Dlg"
// 12 pt at the program's DPI (0: this process's).
class DialogFont {
public:
    explicit DialogFont(int atDpi) : dc(GetDC(nullptr)) {
        dpi = atDpi != 0 ? atDpi : GetDeviceCaps(dc, LOGPIXELSY);
        font_ = CreateFontA(-MulDiv(12, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH, "MS Shell Dlg");
        previous_ = SelectObject(dc, font_);
    }
    ~DialogFont() {
        SelectObject(dc, previous_);
        ReleaseDC(nullptr, dc);
        DeleteObject(font_);
    }
    DialogFont(const DialogFont&) = delete;
    DialogFont& operator=(const DialogFont&) = delete;

    HDC dc;
    int dpi;

private:
    HFONT font_;
    HGDIOBJ previous_;
};

// The same, and labels and check boxes show their whole text on one line in
// the dialogs' font, a check box with room for its box and a gap.
std::vector<int> expectControlsFit(HWND dialog, HWND frame, const RECT& area, int dpi = 0) {
    const DialogFont screen(dpi);
    HDC dc = screen.dc;
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const LONG boxRoom = GetSystemMetricsForDpi(SM_CXMENUCHECK, static_cast<UINT>(screen.dpi)) +
                         metrics.tmAveCharWidth / 2 + 2;
    for (HWND a = GetWindow(dialog, GW_CHILD); a != nullptr; a = GetWindow(a, GW_HWNDNEXT)) {
        if (!IsWindowVisible(a)) continue;
        const RECT r = controlRect(frame, a);
        const std::string text = windowText(a);
        const bool box = windowClass(a) == "Button" &&
                         (GetWindowLongA(a, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX;
        SIZE size = {};
        if (!text.empty() && (box || windowClass(a) == "Static") &&
            GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size)) {
            EXPECT_GE(r.right - r.left, size.cx + (box ? boxRoom : 0)) << text;
            EXPECT_GE(r.bottom - r.top, size.cy) << text;
        }
    }
    return expectControlsInside(dialog, frame, area);
}

// Every control of the form in its order, inside the client area above the
// status bar.
void expectFormLayout(const Program& program, int dpi = 0) {
    RECT area = {};
    GetClientRect(program.main, &area);
    area.bottom = controlRect(program.main, program.statusBar).top;
    EXPECT_EQ(expectControlsFit(program.form, program.main, area, dpi), kFormOrder);
}

// The text a control shows, in lines `width` pixels wide (0: one line), in
// the dialogs' font at the DPI (0: this process's).
SIZE textExtent(const std::string& text, LONG width, int dpi = 0) {
    const DialogFont screen(dpi);
    RECT needed = {0, 0, width, 0};
    DrawTextA(screen.dc, text.c_str(), -1, &needed,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (width > 0 ? DT_WORDBREAK : 0));
    return {needed.right - needed.left, needed.bottom - needed.top};
}

// A text the program writes into its own memory: a list view's heading or
// cell, through an LVCOLUMNA or LVITEMA whose pszText points right after it.
template <typename Request>
std::string textOf(const Program& program, HWND window, UINT message, WPARAM wParam,
                   Request request) {
    enum : size_t { kCapacity = 1024 };
    char* copy = static_cast<char*>(VirtualAllocEx(
        program.process(), nullptr, sizeof request + kCapacity, MEM_COMMIT, PAGE_READWRITE));
    if (copy == nullptr) return "<not read>";
    request.pszText = copy + sizeof request;
    request.cchTextMax = kCapacity;
    std::string text(kCapacity, '\0');
    DWORD_PTR result = 0;
    if (!WriteProcessMemory(program.process(), copy, &request, sizeof request, nullptr) ||
        !WriteProcessMemory(program.process(), copy + sizeof request, text.data(), 1, nullptr) ||
        !send(window, message, wParam, reinterpret_cast<LPARAM>(copy), &result) ||
        !ReadProcessMemory(program.process(), copy + sizeof request, &text[0], kCapacity,
                           nullptr)) {
        text = "<not read>";
    }
    VirtualFreeEx(program.process(), copy, 0, MEM_RELEASE);
    return text.c_str();
}

// A grid's headings and rows.
struct GridText {
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> rows;
};
void expectSameGrid(const GridText& shown, const GridText& expected) {
    EXPECT_EQ(shown.headings, expected.headings);
    EXPECT_EQ(shown.rows, expected.rows);
}

// The grid the preview window shows.
GridText shownGrid(const Program& program, HWND preview) {
    HWND list = GetDlgItem(preview, IDC_PREVIEW_GRID);
    DWORD_PTR header = 0, columns = 0, rows = 0;
    send(list, LVM_GETHEADER, 0, 0, &header);
    send(reinterpret_cast<HWND>(header), HDM_GETITEMCOUNT, 0, 0, &columns);
    send(list, LVM_GETITEMCOUNT, 0, 0, &rows);
    GridText grid;
    for (WPARAM c = 0; c < columns; ++c) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT;
        grid.headings.push_back(textOf(program, list, LVM_GETCOLUMNA, c, column));
    }
    for (WPARAM r = 0; r < rows; ++r) {
        grid.rows.emplace_back();
        for (WPARAM c = 0; c < columns; ++c) {
            LVITEMA item = {};
            item.iSubItem = static_cast<int>(c);
            grid.rows.back().push_back(textOf(program, list, LVM_GETITEMTEXTA, r, item));
        }
    }
    return grid;
}

// The grid the core previews with the settings (and its title row's line).
GridText coreGrid(const ConversionSettings& settings, std::string* titleLine = nullptr) {
    static PreviewGrid grid;
    previewConversion(settings, grid);
    GridText text;
    for (size_t c = 0; c < previewColumnCount(grid); ++c)
        text.headings.push_back(previewHeading(grid, c));
    for (size_t r = 0; r < grid.rowCount; ++r) {
        text.rows.emplace_back();
        for (size_t c = 0; c < previewColumnCount(grid); ++c)
            text.rows.back().push_back(previewCell(grid, r, c));
    }
    if (titleLine != nullptr) *titleLine = grid.titleLine;
    return text;
}

// The preview window on the screen, its visible controls inside it and clear
// of each other in their order: the title row's line and "Use these columns"
// (where line 1 is a title row), the grid, the report's lines, Close. The
// line is high enough for its text broken into lines and the button wide
// enough for its own; each column of the grid as wide as its heading, or
// two fifths of the grid's width.
void expectPreviewLayout(const Program& program, HWND preview, bool titles, int dpi = 0) {
    const RECT frame = controlRect(nullptr, preview);
    EXPECT_TRUE(frame.left >= 0 && frame.top >= 0 && frame.right <= GetSystemMetrics(SM_CXSCREEN) &&
                frame.bottom <= GetSystemMetrics(SM_CYSCREEN));
    RECT client = {};
    GetClientRect(preview, &client);
    std::vector<int> expected = {IDC_PREVIEW_GRID, IDC_PREVIEW_TEXT, IDCANCEL};
    if (titles) expected.insert(expected.begin(), {IDC_PREVIEW_TITLES, IDC_PREVIEW_USE_TITLES});
    EXPECT_EQ(expectControlsInside(preview, preview, client), expected);
    if (titles) {
        HWND line = GetDlgItem(preview, IDC_PREVIEW_TITLES);
        const RECT r = controlRect(preview, line);
        EXPECT_GE(r.bottom - r.top, textExtent(windowText(line), r.right - r.left, dpi).cy);
        HWND use = GetDlgItem(preview, IDC_PREVIEW_USE_TITLES);
        const RECT u = controlRect(preview, use);
        EXPECT_GT(u.right - u.left, textExtent(windowText(use), 0, dpi).cx);
    }
    HWND list = GetDlgItem(preview, IDC_PREVIEW_GRID);
    const RECT grid = controlRect(preview, list);
    const GridText shown = shownGrid(program, preview);
    for (size_t c = 0; c < shown.headings.size(); ++c) {
        DWORD_PTR width = 0;
        send(list, LVM_GETCOLUMNWIDTH, c, 0, &width);
        const LONG wanted =
            std::min(textExtent(shown.headings[c], 0, dpi).cx, (grid.right - grid.left) * 2 / 5);
        EXPECT_GE(static_cast<LONG>(width), wanted) << shown.headings[c];
    }
}

// A title row and two contacts.
// Its title row is no QSO: two records.
const char kSmallLogbook[] =
    "Year,Month,Day,Hour,Minute,Call,Freq,Other,Band,Mode,RstRcvd,,RstSent\r\n"
    "2014,12,8,3,15,TEST,14.025,,20m,CW,599,,579,,,,,,,hello,IO91\r\n"
    "2014,1,1,5,0,JA1ZZZ,7.01,,40m,SSB,59,,57,,,,,,,,PM95\r\n";

// A folder of the test's own with a copy of Vantrel.exe, and so its own Vantrel.ini.
class Gui : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CopyFileA(VANTREL_EXE, exe.c_str(), FALSE)); }
    // Vantrel.ini holds these keys with these values.
    void expectSettings(std::initializer_list<std::pair<const char*, std::string>> expected) {
        const std::string text = readFile(ini);
        for (const auto& [key, value] : expected) {
            std::string actual;
            if (!iniValue(text, kSettingsSection, key, actual)) actual = "<missing>";
            EXPECT_EQ(actual, value) << key;
        }
    }

    ScratchDir dir;
    const std::string exe = dir.file("Vantrel.exe");
    const std::string ini = dir.file("Vantrel.ini");
};

// First start without a settings file: the window, the defaults on the form,
// a conversion, a missing CSV file, and the settings file written at the end.
TEST_F(Gui, StartAndConvert) {
    Program program(exe);
    ASSERT_TRUE(program.waitForForm());
    const LONG style = GetWindowLongA(program.main, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_MAXIMIZEBOX),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    // 610 x 450, or larger where the dialog font needs more room.
    const RECT frame = controlRect(nullptr, program.main);
    EXPECT_GE(frame.right - frame.left, 610);
    EXPECT_GE(frame.bottom - frame.top, 450);
    for (const SettingDescriptor& row : kSettingsTable) {
        if (row.place != kOnForm) continue;
        const int id = row.controlId;
        EXPECT_EQ(row.control == kCheckBox ? (program.checked(id) ? "1" : "0") : program.text(id),
                  row.defaultValue)
            << row.key;
    }
    EXPECT_EQ(program.status(), "");
    expectFormLayout(program);
    saveScreenshot(program.main, "main-window.bmp");

    writeFile(dir.file("logbook.csv"), kSmallLogbook);
    ASSERT_TRUE(program.setText(IDC_CSV_PATH, dir.file("logbook.csv")));
    ASSERT_TRUE(program.convert(2));
    // The status's time of day is now, give or take two minutes.
    int hour = 0, minute = 0, second = 0;
    sscanf(program.status().c_str(), "%d:%d:%d", &hour, &minute, &second);
    SYSTEMTIME now;
    GetLocalTime(&now);
    const int late = ((now.wHour - hour) * 3600 + (now.wMinute - minute) * 60 + now.wSecond -
                      second + 86400 + 120) %
                     86400;
    EXPECT_LE(late, 240) << program.status();
    EXPECT_EQ(recordCount(dir.file("logbook.adi")), 2u);
    saveScreenshot(program.main, "main-window-converted.bmp");

    ASSERT_TRUE(program.setText(IDC_CSV_PATH, dir.file("missing.csv")));
    ASSERT_TRUE(program.click(IDC_CONVERT));
    EXPECT_TRUE(waitUntil([&] { return program.status() == "Can not open CSV file"; }))
        << program.status();
    EXPECT_FALSE(fileExists(dir.file("missing.adi")));
    ASSERT_TRUE(program.close());
    // Written at the end, with every key and the form's values.
    EXPECT_EQ(iniKeys(readFile(ini), kSettingsSection).size(), kSettingsCount);
    expectSettings({{"CSV_NAME", dir.file("missing.csv")}, {"TIME_ZONE", "9"}, {"CHECK_KHZ", "0"}});
}

// What is typed on the form reaches the next conversion; the MHz and KHz
// boxes behave as a pair.
TEST_F(Gui, EditsReachConversion) {
    const std::string adi = dir.file("log.adi");
    writeFile(dir.file("log.csv"),
              "2014,12,8,3,15,TEST,14025,OTHER,20m,CW,599,,579,,,,,,,hello,IO91\r\n");
    Program program(exe);
    ASSERT_TRUE(program.waitForForm());
    ASSERT_TRUE(program.setText(IDC_CSV_PATH, dir.file("log.csv")));
    const auto units = [&] {
        return std::string(program.checked(IDC_CHECK_MHZ) ? "MHz" : "") +
               (program.checked(IDC_CHECK_KHZ) ? "KHz" : "");
    };
    // The callsign from column H, the frequency in kHz.
    ASSERT_TRUE(program.setText(IDC_COLUMN_CALLSIGN, "H"));
    ASSERT_TRUE(program.click(IDC_CHECK_MHZ));
    EXPECT_EQ(units(), "KHz");
    ASSERT_TRUE(program.convert(1));
    EXPECT_NE(readFile(adi).find("<CALL:5>OTHER\r\n"), std::string::npos);
    EXPECT_NE(readFile(adi).find("<FREQ:6>14.025\r\n"), std::string::npos);
    // Back to MHz, and a designator in lower case.
    ASSERT_TRUE(program.click(IDC_CHECK_MHZ));
    EXPECT_EQ(units(), "MHz");
    ASSERT_TRUE(program.setText(IDC_COLUMN_CALLSIGN, "f"));
    DeleteFileA(adi.c_str());
    ASSERT_TRUE(program.convert(1));
    EXPECT_NE(readFile(adi).find("<CALL:4>TEST\r\n"), std::string::npos);
    EXPECT_NE(readFile(adi).find("<FREQ:5>14025\r\n"), std::string::npos);
    // The pair from the KHz side.
    ASSERT_TRUE(program.click(IDC_CHECK_KHZ));
    EXPECT_EQ(units(), "KHz");
    ASSERT_TRUE(program.click(IDC_CHECK_KHZ));
    EXPECT_EQ(units(), "MHz");
    ASSERT_TRUE(program.close());
    expectSettings({{"COLUMN_CALLSIGN", "f"}, {"CHECK_MHZ", "1"}, {"CHECK_KHZ", "0"}});
}

// File, Exit and the close box both keep the form's values, without Convert;
// they come back at the next start, an emptied designator box as "-". A hand-written CHECK_MHZ=2
// shows checked.
TEST_F(Gui, SettingsSavedOnExit) {
    Program first(exe);
    ASSERT_TRUE(first.waitForForm());
    ASSERT_TRUE(first.setText(IDC_MY_CALLSIGN, "JA1ABC"));
    ASSERT_TRUE(first.setText(IDC_TIME_ZONE, "-9"));
    ASSERT_TRUE(first.setText(IDC_COLUMN_BAND, ""));
    ASSERT_TRUE(first.click(IDC_CHECK_MY_GL));
    EXPECT_FALSE(fileExists(ini));
    ASSERT_TRUE(first.close(WM_COMMAND, IDM_EXIT));
    expectSettings({{"MY_CALLSIGN", "JA1ABC"},
                    {"TIME_ZONE", "-9"},
                    {"COLUMN_BAND", "-"},
                    {"CHECK_MY_GL", "0"}});

    // Back on the form; the emptied designator box shows "-", the band stays
    // left out. Then the close box, with a time difference in words.
    Program second(exe);
    ASSERT_TRUE(second.waitForForm());
    EXPECT_EQ(second.text(IDC_MY_CALLSIGN), "JA1ABC");
    EXPECT_EQ(second.text(IDC_TIME_ZONE), "-9");
    EXPECT_EQ(second.text(IDC_COLUMN_BAND), "-");
    EXPECT_FALSE(second.checked(IDC_CHECK_MY_GL));
    ASSERT_TRUE(second.setText(IDC_MY_CALLSIGN, "JA1XYZ"));
    ASSERT_TRUE(second.setText(IDC_TIME_ZONE, "  +12 hours"));
    ASSERT_TRUE(second.close(WM_SYSCOMMAND, SC_CLOSE));
    expectSettings({{"MY_CALLSIGN", "JA1XYZ"}, {"TIME_ZONE", "12"}, {"COLUMN_BAND", "-"}});

    writeFile(ini, "[VANTREL_LOCAL_PARAMS]\r\nCHECK_MHZ=2\r\nCHECK_KHZ=0\r\n");
    Program third(exe);
    ASSERT_TRUE(third.waitForForm());
    EXPECT_TRUE(third.checked(IDC_CHECK_MHZ));
    EXPECT_FALSE(third.checked(IDC_CHECK_KHZ));
    ASSERT_TRUE(third.close());
    expectSettings({{"CHECK_MHZ", "1"}});
}

// The window title, the About box, and Enter and Escape on the form.
TEST_F(Gui, AboutTitleAndKeys) {
    Program program(exe);
    ASSERT_TRUE(program.waitForForm());
    EXPECT_EQ(windowText(program.main), VANTREL_ABOUT_LINE);

    HWND box = program.openWindow(IDM_ABOUT, "#32770", "About Vantrel");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    EXPECT_EQ(boxText(box), VANTREL_ABOUT_LINE);
    ASSERT_TRUE(press(box));

    // Enter and Escape close nothing; a character typed after them shows they were handled.
    HWND edit = program.control(IDC_MY_CALLSIGN);
    ASSERT_TRUE(program.setText(IDC_MY_CALLSIGN, "K"));
    for (WPARAM key : {static_cast<WPARAM>(VK_RETURN), static_cast<WPARAM>(VK_ESCAPE)}) {
        PostMessageA(edit, WM_KEYDOWN, key, 1);
        PostMessageA(edit, WM_KEYUP, key, 0xC0000001);
    }
    PostMessageA(edit, WM_CHAR, 'Z', 1);
    EXPECT_TRUE(
        waitUntil([&] { return program.text(IDC_MY_CALLSIGN).find('Z') != std::string::npos; }));
    EXPECT_TRUE(IsWindowVisible(program.main) && IsWindowVisible(program.form));  // still running
    EXPECT_FALSE(fileExists(ini));
    ASSERT_TRUE(program.close());
}

// A conversion with something to report (a title row) shows the counts in a
// second part of the status bar; a click on the part and File > Conversion
// report... show the report the core makes for the file. The next conversion,
// with nothing to report, takes the part away.
TEST_F(Gui, ConversionReport) {
    const std::string csv = dir.file("log.csv");
    writeFile(csv, kSmallLogbook);
    convertWith(settingsFor(csv));
    char report[kReportTextCapacity], counts[64];
    int32_t notes = 0, warnings = 0;
    readReport(theApp.reportText, report, sizeof report, notes, warnings);
    formatReportCounts(notes, warnings, counts);
    ASSERT_GT(warnings, 0);
    const std::string text(report, strlen(report) - 2);  // without the last CR LF

    Program program(exe);
    ASSERT_TRUE(program.waitForForm());
    EXPECT_EQ(program.statusParts(), 1);
    ASSERT_TRUE(program.setText(IDC_CSV_PATH, csv));
    ASSERT_TRUE(program.convert(2));
    ASSERT_TRUE(waitUntil([&] { return program.statusParts() == 2; }));
    EXPECT_EQ(program.statusPart(1), counts);
    saveScreenshot(program.main, "main-window-report.bmp");
    for (bool byMenu : {true, false}) {
        ASSERT_TRUE(byMenu ? program.command(IDM_REPORT) : program.clickStatusPart(1));
        HWND box = waitForTopLevel(program.pid(), "#32770", "Conversion report");
        ASSERT_NE(box, nullptr) << byMenu;
        EXPECT_EQ(GetWindow(box, GW_OWNER), program.main);
        EXPECT_EQ(boxText(box), text);
        if (byMenu) saveScreenshot(box, "report.bmp");
        ASSERT_TRUE(press(box));
    }
    writeFile(csv, "2014,1,1,5,0,JA1ZZZ,7.01,,40m,SSB,59,,57,,,,,,,,PM95\r\n");
    ASSERT_TRUE(program.convert(1));
    EXPECT_TRUE(waitUntil([&] { return program.statusParts() == 1; }));
    ASSERT_TRUE(program.close());
}

// File > More columns... (posted: the dialog runs a message loop of its own).
HWND openMoreColumns(const Program& program) {
    return program.openWindow(IDM_MORE_COLUMNS, "#32770", "More columns");
}

// The designator box of a field in More columns: the control after its label.
HWND fieldBox(HWND dialog, const char* field) {
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        if (windowClass(c) == "Static" && windowText(c) == field) return GetWindow(c, GW_HWNDNEXT);
    }
    return nullptr;
}

// Picks a file in the file-open dialog; false when the dialog could not be
// worked. The preview window, a dialog too, may be open beside it.
bool pickInOpenDialog(const Program& program, const std::string& path) {
    // Posted: the dialog runs a message loop of its own.
    if (!PostMessageA(program.control(IDC_BROWSE), BM_CLICK, 0, 0)) return false;
    // The file name box: a combo box in the Explorer-style dialog, an edit in
    // the older one.
    HWND dialog = nullptr;
    HWND name = nullptr;
    const bool shown = waitUntil([&] {
        for (dialog = nullptr; (dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(dialog, &owner);
            name =
                GetDlgItem(dialog, 0x47C) ? GetDlgItem(dialog, 0x47C) : GetDlgItem(dialog, 0x480);
            if (owner == program.pid() && IsWindowVisible(dialog) && name != nullptr) return true;
        }
        return false;
    });
    if (!shown || !setWindowText(name, path)) return false;
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return waitUntil([&] { return !IsWindow(dialog); });
}

// Preview shows the records of the sample logbook in a grid as the core
// previews them with the form's settings, and writes nothing; a file without
// a title row shows no title row's line. The window stays usable: a time
// difference typed on the form reaches the open preview with the next
// Preview; Escape closes the preview.
TEST_F(Gui, Preview) {
    const std::string csv = dir.file("logbook.csv");
    writeFile(csv, readFile(VANTREL_SOURCE_DIR "/examples/logbook.csv"));
    Program program(exe);
    ASSERT_TRUE(program.waitForForm());
    ASSERT_TRUE(program.setText(IDC_CSV_PATH, csv));
    HWND preview = program.openWindow(IDM_PREVIEW, "#32770", "Preview: logbook.csv");
    ASSERT_NE(preview, nullptr);
    ConversionSettings settings = settingsFor(csv);
    const GridText first = shownGrid(program, preview);
    expectSameGrid(first, coreGrid(settings));
    ASSERT_EQ(first.rows.size(), 20u);
    // Its time less the 9 hours of the form's time difference.
    EXPECT_EQ(std::vector<std::string>(first.rows[0].begin(), first.rows[0].begin() + 4),
              (std::vector<std::string>{"1", "JA1YAA", "20141206", "1204"}));
    EXPECT_EQ(first.headings[2], "QSO_DATE  A, B, C");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(preview, IDC_PREVIEW_USE_TITLES)));
    expectPreviewLayout(program, preview, false);

    settings.timeZone = 0;
    ASSERT_TRUE(program.setText(IDC_TIME_ZONE, "0"));
    ASSERT_TRUE(program.command(IDM_PREVIEW));
    const GridText expected = coreGrid(settings);
    EXPECT_TRUE(waitUntil([&] { return shownGrid(program, preview).rows == expected.rows; }));
    HWND text = GetDlgItem(preview, IDC_PREVIEW_TEXT);
    PostMessageA(text, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(text, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(preview); }));
    EXPECT_FALSE(fileExists(dir.file("logbook.adi")));
    EXPECT_EQ(program.status(), "");
    ASSERT_TRUE(program.close());
}

// A logbook with a title row whose columns are not the form's: no number
// column first, the date and the time each in one column, UTC and kHz in
// the titles, a name and a QTH, and an empty row at the end.
const char kTitledLogbook[] =
    "No.,Date,Time (UTC),Call,Freq (kHz),Mode,RST Sent,RST Rcvd,Name,QTH,Comment\r\n"
    "1,2024-05-03,09:05,JA1ABC,7026,CW,599,579,Taro,Tokyo,hello\r\n"
    "2,2024-05-03,21:30,JH2XYZ,14074,FT8,-10,-12,Hanako,Nagoya,\r\n"
    "3,2024-05-04,01:15,W1AW,14250,USB,59,57,Hiram,Newington,first QSO\r\n"
    "4,2024-05-04,11:02,VK2DX,21023,CW,579,559,Bob,Sydney,long path\r\n"
    "5,2024-05-05,23:59,X,7010,CW,599,599,,,\r\n"
    ",,,,,,,,,,\r\n";

// A file with a title row chosen with Browse opens the preview by itself,
// the title row's line above the grid; "Use these columns" takes its columns
// onto the form (an item without a title "-", the time difference, kHz) and
// into More columns, and the grid shows the new reading; Convert writes what
// the core writes with those columns.
TEST_F(Gui, TitleRowColumns) {
    const std::string csv = dir.file("titles.csv");
    writeFile(csv, kTitledLogbook);
    Program program(exe);
    ASSERT_TRUE(program.waitForForm());
    ASSERT_TRUE(pickInOpenDialog(program, csv));
    HWND preview = waitForTopLevel(program.pid(), "#32770", "Preview: titles.csv");
    ASSERT_NE(preview, nullptr);
    ConversionSettings settings = settingsFor(csv);
    std::string titleLine;
    expectSameGrid(shownGrid(program, preview), coreGrid(settings, &titleLine));
    EXPECT_EQ(windowText(GetDlgItem(preview, IDC_PREVIEW_TITLES)), titleLine);
    EXPECT_EQ(titleLine,
              "Line 1 is a title row: Date B, Time C, Callsign D, Freq E, Mode F, RST Sent G, "
              "RST Rcvd H, NAME I, QTH J, Comment K; times in UTC; frequencies in kHz");
    HWND use = GetDlgItem(preview, IDC_PREVIEW_USE_TITLES);
    EXPECT_TRUE(IsWindowVisible(use) && IsWindowEnabled(use));
    expectPreviewLayout(program, preview, true);
    saveScreenshot(preview, "preview.bmp");

    DWORD_PTR done = 0;
    ASSERT_TRUE(send(use, BM_CLICK, 0, 0, &done));
    const std::pair<int, const char*> boxes[] = {
        {IDC_COLUMN_YEAR, "B"},     {IDC_COLUMN_MONTH, "B"},    {IDC_COLUMN_DAY, "B"},
        {IDC_COLUMN_HOUR, "C"},     {IDC_COLUMN_MINUTE, "C"},   {IDC_COLUMN_CALLSIGN, "D"},
        {IDC_COLUMN_FREQ, "E"},     {IDC_COLUMN_BAND, "-"},     {IDC_COLUMN_MODE, "F"},
        {IDC_COLUMN_RST_SENT, "G"}, {IDC_COLUMN_RST_RCVD, "H"}, {IDC_COLUMN_GL, "-"},
        {IDC_COLUMN_COMMENT, "K"},  {IDC_TIME_ZONE, "0"},
    };
    for (const auto& [id, text] : boxes)
        EXPECT_EQ(program.text(id), text) << id;
    EXPECT_FALSE(program.checked(IDC_CHECK_MHZ));
    EXPECT_TRUE(program.checked(IDC_CHECK_KHZ));
    EXPECT_FALSE(IsWindowEnabled(use));
    TitleRow titles;
    ASSERT_EQ(readTitleRowOfFile(csv.c_str(), titles), ConversionFinished);
    applyTitleRow(titles, settings);
    expectSameGrid(shownGrid(program, preview), coreGrid(settings));
    saveScreenshot(preview, "preview-columns-taken.bmp");

    HWND more = openMoreColumns(program);
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(windowText(fieldBox(more, "NAME")), "I");
    EXPECT_EQ(windowText(fieldBox(more, "QTH")), "J");
    ASSERT_TRUE(press(more, IDCANCEL));

    ASSERT_TRUE(program.convert(5));
    writeFile(dir.file("core.csv"), kTitledLogbook);
    copyText(settings.csvPath, dir.file("core.csv").c_str());
    convertWith(settings);
    const std::string records = recordsOf(readFile(dir.file("titles.adi")));
    EXPECT_EQ(records, recordsOf(readFile(dir.file("core.adi"))));
    EXPECT_NE(records.find("<CALL:6>JA1ABC\r\n<QSO_DATE:8>20240503\r\n<TIME_ON:4>0905\r\n"),
              std::string::npos)
        << records;
    EXPECT_NE(records.find("<NAME:4>Taro\r\n"), std::string::npos) << records;
    ASSERT_TRUE(program.close());
    expectSettings({{"COLUMN_YEAR", "B"}, {"COLUMN_NAME", "I"}, {"TIME_ZONE", "0"}});
}

// More columns on the screen, with every control inside it in its order: the
// line above the fields, a label and a box for each of the twenty fields, the
// two check boxes, the list of other fields where there are any, OK, Cancel.
void expectMoreColumnsLayout(HWND dialog, bool others, int dpi = 0) {
    const RECT frame = controlRect(nullptr, dialog);
    EXPECT_TRUE(frame.left >= 0 && frame.top >= 0 && frame.right <= GetSystemMetrics(SM_CXSCREEN) &&
                frame.bottom <= GetSystemMetrics(SM_CYSCREEN));
    std::vector<int> order = {IDC_MORE_COLUMNS_HINT};
    for (int k = 0; k < 20; ++k) {
        order.push_back(IDC_MORE_COLUMNS_LABELS + k);
        order.push_back(IDC_MORE_COLUMNS_BOXES + k);
    }
    order.push_back(IDC_CHECK_BAND_FROM_FREQ);
    order.push_back(IDC_CHECK_MODE_TO_ADIF);
    if (others) order.push_back(IDC_MORE_COLUMNS_OTHERS);
    order.push_back(IDOK);
    order.push_back(IDCANCEL);
    RECT client = {};
    GetClientRect(dialog, &client);
    EXPECT_EQ(expectControlsFit(dialog, dialog, client, dpi), order);
}

// More columns sets the columns of NAME and QTH, which Convert uses and the
// settings file keeps; a box emptied whose field had a column stores "-"; a
// field it has no box for is listed and kept; Escape and Cancel change nothing.
TEST_F(Gui, MoreColumns) {
    writeFile(ini, "[VANTREL_LOCAL_PARAMS]\r\nCOLUMN_NOTES=X\r\nCOLUMN_AGE=G\r\n");
    const std::string line =
        "2014,12,8,3,15,TEST,14.025,,20m,CW,599,,579,,,,,,,hello,IO91,Yamada,Tokyo\r\n";
    writeFile(dir.file("log.csv"), line);
    Program first(exe);
    ASSERT_TRUE(first.waitForForm());
    HWND dialog = openMoreColumns(first);
    ASSERT_NE(dialog, nullptr);
    HWND name = fieldBox(dialog, "NAME");
    ASSERT_TRUE(setWindowText(name, "Q"));
    PostMessageA(name, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(name, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }));

    dialog = openMoreColumns(first);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), first.main);
    EXPECT_EQ(windowText(fieldBox(dialog, "NAME")), "");
    EXPECT_EQ(windowText(fieldBox(dialog, "NOTES")), "X");
    EXPECT_EQ(windowText(GetDlgItem(dialog, IDC_MORE_COLUMNS_OTHERS)),
              "Also set in Vantrel.ini: AGE G");
    expectMoreColumnsLayout(dialog, true);
    ASSERT_TRUE(setWindowText(fieldBox(dialog, "NAME"), "V"));
    ASSERT_TRUE(setWindowText(fieldBox(dialog, "QTH"), "W"));
    saveScreenshot(dialog, "more-columns.bmp");
    ASSERT_TRUE(setWindowText(fieldBox(dialog, "NOTES"), ""));
    DWORD_PTR done = 0;
    ASSERT_TRUE(send(GetDlgItem(dialog, IDC_CHECK_BAND_FROM_FREQ), BM_CLICK, 0, 0, &done));
    ASSERT_TRUE(press(dialog));

    // Convert writes the fields, as the core writes them with these settings.
    ASSERT_TRUE(first.setText(IDC_CSV_PATH, dir.file("log.csv")));
    ASSERT_TRUE(first.convert(1));
    writeFile(dir.file("core.csv"), line);
    ConversionSettings settings = settingsFor(dir.file("core.csv"));
    copyText(settings.fieldColumns[columnFieldIndex("NAME", 4)], "V");
    copyText(settings.fieldColumns[columnFieldIndex("QTH", 3)], "W");
    copyText(settings.fieldColumns[columnFieldIndex("NOTES", 5)], "-");
    copyText(settings.fieldColumns[columnFieldIndex("AGE", 3)], "G");
    settings.bandFromFreq = 0;
    convertWith(settings);
    const std::string records = recordsOf(readFile(dir.file("log.adi")));
    EXPECT_NE(records.find("<NAME:6>Yamada\r\n<QTH:5>Tokyo\r\n<EOR>"), std::string::npos)
        << records;
    EXPECT_EQ(records, recordsOf(readFile(dir.file("core.adi"))));
    ASSERT_TRUE(first.close());
    const auto kept = {std::pair<const char*, std::string>{"COLUMN_NAME", "V"},
                       {"COLUMN_QTH", "W"},
                       {"COLUMN_NOTES", "-"},
                       {"COLUMN_AGE", "G"},
                       {"COLUMN_GRIDSQUARE", "<missing>"},
                       {"BAND_FROM_FREQ", "0"},
                       {"MODE_TO_ADIF", "1"}};
    expectSettings(kept);

    // They are there again after a restart; Cancel drops a change.
    Program second(exe);
    ASSERT_TRUE(second.waitForForm());
    dialog = openMoreColumns(second);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(windowText(fieldBox(dialog, "NAME")), "V");
    EXPECT_EQ(windowText(fieldBox(dialog, "QTH")), "W");
    EXPECT_EQ(windowText(fieldBox(dialog, "NOTES")), "-");
    EXPECT_FALSE(IsDlgButtonChecked(dialog, IDC_CHECK_BAND_FROM_FREQ));
    EXPECT_TRUE(IsDlgButtonChecked(dialog, IDC_CHECK_MODE_TO_ADIF));
    ASSERT_TRUE(setWindowText(fieldBox(dialog, "NAME"), "Z"));
    ASSERT_TRUE(press(dialog, IDCANCEL));
    ASSERT_TRUE(second.close());
    expectSettings(kept);
}

// More columns, the preview and, after a conversion, the report box, at the
// DPI and code page of the fixture, in pictures named more-columns<suffix>.bmp,
// preview<suffix>.bmp and report<suffix>.bmp.
void pictureDialogs(const Program& program, const std::string& csv, const std::string& suffix,
                    int dpi = 0) {
    HWND more = openMoreColumns(program);
    ASSERT_NE(more, nullptr);
    expectMoreColumnsLayout(more, false, dpi);
    saveScreenshot(more, ("more-columns" + suffix + ".bmp").c_str());
    ASSERT_TRUE(press(more, IDCANCEL));
    ASSERT_TRUE(program.setText(IDC_CSV_PATH, csv));
    const std::string name = "Preview: " + csv.substr(csv.find_last_of('\\') + 1);
    HWND preview = program.openWindow(IDM_PREVIEW, "#32770", name.c_str());
    ASSERT_NE(preview, nullptr);
    expectPreviewLayout(program, preview, true, dpi);
    saveScreenshot(preview, ("preview" + suffix + ".bmp").c_str());
    ASSERT_TRUE(program.click(IDC_CONVERT));
    ASSERT_TRUE(waitUntil([&] { return program.statusParts() == 2; }));
    HWND box = program.openWindow(IDM_REPORT, "#32770", "Conversion report");
    ASSERT_NE(box, nullptr);
    saveScreenshot(box, ("report" + suffix + ".bmp").c_str());
    ASSERT_TRUE(press(box));
}

// Settings that cannot be saved at exit are told in a message box naming the
// file; the exit code stays 0. The tests run as root, whom a read-only folder
// does not stop: here Vantrel.ini is a folder.
TEST_F(Gui, SettingsNotSaved) {
    ASSERT_TRUE(CreateDirectoryA(ini.c_str(), nullptr));
    Program program(exe);
    ASSERT_TRUE(program.waitForForm());
    ASSERT_TRUE(PostMessageA(program.main, WM_CLOSE, 0, 0));
    HWND box = waitForTopLevel(program.pid(), "#32770", "Vantrel");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(boxText(box), "Can not save settings to " + ini);
    ASSERT_TRUE(press(box));
    ASSERT_TRUE(program.exited());
}

// Browse puts the chosen path on the form; a path longer than the settings
// hold is refused and changes nothing.
TEST_F(Gui, Browse) {
    const std::string picked = dir.file("picked.csv");
    writeFile(picked, kSmallLogbook);
    // A file whose full path is 257 bytes long.
    const std::string folder = dir.file(std::string(100, 'd'));
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_LT(folder.size(), 200u);
    const std::string tooLong = folder + "\\" + std::string(257 - folder.size() - 5, 'n') + ".csv";
    writeFile(tooLong, kSmallLogbook);

    Program program(exe);
    ASSERT_TRUE(program.waitForForm());
    ASSERT_TRUE(pickInOpenDialog(program, picked));
    EXPECT_EQ(program.text(IDC_CSV_PATH), picked);
    ASSERT_TRUE(program.convert(2));
    EXPECT_TRUE(fileExists(dir.file("picked.adi")));
    ASSERT_TRUE(pickInOpenDialog(program, tooLong));
    EXPECT_EQ(program.text(IDC_CSV_PATH), picked);
    // Convert goes on with the path that was kept.
    DeleteFileA(dir.file("picked.adi").c_str());
    ASSERT_TRUE(program.convert(2));
    EXPECT_TRUE(fileExists(dir.file("picked.adi")));
    ASSERT_TRUE(program.close());
    expectSettings({{"CSV_NAME", picked}});
}

// A file dropped on the form (a control of it included) or on the rest of the
// window lands in the CSV File box, the first of several; a folder, or a path
// longer than the settings hold, changes nothing. Nothing converts by itself.
TEST_F(Gui, DropCsv) {
    const std::string tooLong = dir.file(std::string(256 - dir.file("").size(), 'n'));
    ASSERT_EQ(tooLong.size(), 256u);
    Program program(exe);
    ASSERT_TRUE(program.waitForForm());
    // What Explorer drops on: the windows that accept files.
    for (HWND target : {program.main, program.form}) {
        EXPECT_TRUE(GetWindowLongA(target, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) << windowClass(target);
    }
    const struct {
        HWND target;
        std::vector<std::string> files;
        std::string box;  // the CSV File box afterwards
    } cases[] = {
        {program.form, {dir.file("first.csv")}, dir.file("first.csv")},
        {program.main, {dir.file("second.csv"), dir.file("third.csv")}, dir.file("second.csv")},
        {program.form, {tooLong}, dir.file("second.csv")},
        {program.form, {dir.path()}, dir.file("second.csv")},
        {program.form, {tooLong.substr(0, 255)}, tooLong.substr(0, 255)},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(program.drop(c.target, c.files));
        EXPECT_EQ(program.text(IDC_CSV_PATH), c.box) << c.files[0];
    }
    EXPECT_EQ(program.status(), "");
    ASSERT_TRUE(program.close());
    expectSettings({{"CSV_NAME", tooLong.substr(0, 255)}});
}

// A window closed before the first timer tick has filled the form must not
// copy the empty form into the settings: each key keeps its value, or gets
// its default.
TEST_F(Gui, EarlyClose) {
    const std::string given =
        "[VANTREL_LOCAL_PARAMS]\r\nMY_CALLSIGN=EARLY1\r\nTIME_ZONE=-3\r\n"
        "COLUMN_YEAR=Z\r\nCHECK_MHZ=0\r\nCHECK_KHZ=1\r\n";
    writeFile(ini, given);
    Program program(exe);
    // Posted as soon as the window exists, the close comes before any timer tick.
    ASSERT_TRUE(waitUntil(
        [&] {
            HWND main = findTopLevel(program.pid(), VANTREL_WINDOW_CLASS);
            return main != nullptr && PostMessageA(main, WM_CLOSE, 0, 0);
        },
        kStartMs));
    ASSERT_TRUE(program.exited());
    for (const SettingDescriptor& row : kSettingsTable) {
        std::string kept;
        if (!iniValue(given, kSettingsSection, row.key, kept)) kept = row.defaultValue;
        expectSettings({{row.key, kept}});
    }
}

// Closing during a long conversion: the window goes at once, the conversion
// runs to its end, and the settings file is written after that.
TEST_F(Gui, CloseDuringConversion) {
    const std::string csv = dir.file("big.csv");
    const std::string adi = dir.file("big.adi");
    const int lines = 400000;
    writeFile(csv, logbookLines(lines));

    Program program(exe);
    ASSERT_TRUE(program.waitForForm());
    ASSERT_TRUE(program.setText(IDC_CSV_PATH, csv));
    ASSERT_TRUE(program.click(IDC_CONVERT));
    // Closed while it converts (unless it was faster than that).
    ASSERT_TRUE(waitUntil([&] {
        return program.status().rfind("Converted  ", 0) == 0 ||
               finishedCount(program.status()) == lines;
    }));
    ASSERT_TRUE(PostMessageA(program.main, WM_CLOSE, 0, 0));
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(program.main); }));
    ASSERT_TRUE(program.exited(kLongMs));
    const std::string adif = readFile(adi);
    EXPECT_EQ(countOf(adif, "<EOR>\r\n"), static_cast<size_t>(lines));
    EXPECT_NE(adif.find("<CALL:8>JA" + std::to_string(99999 + lines) + "\r\n"), std::string::npos);
    EXPECT_TRUE(adif.size() >= 7 && adif.compare(adif.size() - 7, 7, "<EOR>\r\n") == 0);
    ASSERT_TRUE(fileExists(ini));
    EXPECT_GE(std::filesystem::last_write_time(ini), std::filesystem::last_write_time(adi));
    expectSettings({{"CSV_NAME", csv}});
}

// Shift-JIS characters whose trail byte is 0x5C, the path separator's byte.
#define SJIS_HYOU "\x95\x5C"  // 表
#define SJIS_SO "\x83\x5C"    // ソ
#define SJIS_NOU "\x94\x5C"   // 能
#define SJIS_YO "\x97\x5C"    // 予

// Under code page 932 (ctest's gui.cp932): a CSV in a folder whose name ends
// in a trail byte 0x5C converts beside itself; Shift-JIS texts reach the ADIF
// byte for byte; a callsign typed too long for its field is cut before a whole
// character; the settings file keeps Shift-JIS values through a start and
// exit; and the form shows every control whole.
using GuiCp932 = Gui;
TEST_F(GuiCp932, ShiftJisPaths) {
    if (GetACP() != 932) GTEST_SKIP() << "needs the ANSI code page 932 (a Japanese locale)";
    // Paths joined by hand: they are Shift-JIS bytes.
    const std::string folder = dir.path() + "\\" SJIS_HYOU SJIS_SO;
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string csv = folder + "\\" SJIS_NOU SJIS_YO ".csv";
    writeFile(csv, "2014,12,8,3,15,JA1" SJIS_SO ",7.01,,40m,SSB,59,,57,,,,,,," SJIS_HYOU SJIS_YO
                   ",PM95\r\n");
    const std::string callsign = "JA1" SJIS_SO SJIS_NOU;

    Program first(exe);
    ASSERT_TRUE(first.waitForForm());
    expectFormLayout(first);
    // 30 bytes and a character: the field's 31 bytes would end in its lead byte.
    ASSERT_TRUE(first.setText(IDC_MY_CALLSIGN, std::string(30, 'A') + SJIS_HYOU));
    ASSERT_TRUE(first.setText(IDC_CSV_PATH, csv));
    ASSERT_TRUE(first.convert(1));
    const std::string adif = readFile(folder + "\\" SJIS_NOU SJIS_YO ".adi");
    EXPECT_NE(adif.find(" for " + std::string(30, 'A') + "\r\n"), std::string::npos);
    EXPECT_NE(adif.find("<CALL:5>JA1" SJIS_SO "\r\n"), std::string::npos);
    EXPECT_NE(adif.find("<COMMENT:4>" SJIS_HYOU SJIS_YO "\r\n"), std::string::npos);
    ASSERT_TRUE(first.setText(IDC_MY_CALLSIGN, callsign));
    saveScreenshot(first.main, "main-window-cp932.bmp");
    ASSERT_TRUE(first.close());
    expectSettings({{"MY_CALLSIGN", callsign}, {"CSV_NAME", csv}});

    Program second(exe);
    ASSERT_TRUE(second.waitForForm());
    EXPECT_EQ(second.text(IDC_MY_CALLSIGN), callsign);
    EXPECT_EQ(second.text(IDC_CSV_PATH), csv);
    ASSERT_TRUE(second.close());
    expectSettings({{"MY_CALLSIGN", callsign}, {"CSV_NAME", csv}});
}

// More columns, the preview and the report under code page 932: a title row
// in Shift-JIS heads the grid's columns, and a Shift-JIS name and comment.
TEST_F(GuiCp932, Dialogs) {
    if (GetACP() != 932) GTEST_SKIP() << "needs the ANSI code page 932 (a Japanese locale)";
    // No.,日付,時刻,コールサイン,周波数,モード,RST送,RST受,名前,QTH,備考
    writeFile(dir.file("log.csv"),
              "No.,\x93\xFA\x95\x74,\x8E\x9E\x8D\x8F,"
              "\x83\x52\x81\x5B\x83\x8B\x83\x54\x83\x43\x83\x93,\x8E\xFC\x94\x67\x90\x94,"
              "\x83\x82\x81\x5B\x83\x68,RST\x91\x97,RST\x8E\xF3,\x96\xBC\x91\x4F,QTH,"
              "\x94\xF5\x8D\x6C\r\n"
              "1,2014/12/08,12:15,JA1" SJIS_SO ",7.01,SSB,59,57," SJIS_HYOU SJIS_YO
              ",Tokyo," SJIS_NOU
              "\r\n"
              "2,2014/12/08,12:40,JH1ABC,7.012,CW,599,579,Taro,Chiba,\r\n");
    Program program(exe);
    ASSERT_TRUE(program.waitForForm());
    pictureDialogs(program, dir.file("log.csv"), "-cp932");
    ASSERT_TRUE(program.close());
}

// The display at 150% scaling: Wine reads the user's LogPixels when a program
// starts, so Vantrel.exe started while it is 144 runs at 144 DPI. The value
// goes again at the end, whatever happened.
class GuiHighDpi : public Gui {
protected:
    void SetUp() override {
        const DWORD dpi = kDpi;
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels", REG_DWORD, &dpi, 4), 0);
        Gui::SetUp();
    }
    void TearDown() override { RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels"); }
    static constexpr const char* kDesktop = "Control Panel\\Desktop";
    static constexpr int kDpi = 144;
};

// The window is 1.5 times its nominal size or more, the form shows every
// control whole, and More columns and the preview are readable.
TEST_F(GuiHighDpi, WindowAndFormScale) {
    Program program(exe);
    ASSERT_TRUE(program.waitForForm());
    const RECT frame = controlRect(nullptr, program.main);
    EXPECT_GE(frame.right - frame.left, MulDiv(610, kDpi, 96));
    EXPECT_GE(frame.bottom - frame.top, MulDiv(450, kDpi, 96));
    expectFormLayout(program, kDpi);
    saveScreenshot(program.main, "main-window-144dpi.bmp");
    writeFile(dir.file("log.csv"), kTitledLogbook);
    pictureDialogs(program, dir.file("log.csv"), "-144dpi", kDpi);
    ASSERT_TRUE(program.close());
}

}  // namespace
