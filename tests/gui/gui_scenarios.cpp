// The end-to-end scenarios: Vantrel.exe started in a folder of its own and
// worked through its windows like a user would, checking the status bar, the
// ADIF output and Vantrel.ini.
#include <stdio.h>
#include <string.h>

#include <string>

#include "app/label_fit.h"
#include "app/resource_ids.h"
#include "gui_driver.h"
#include "settings/conversion_settings.h"

namespace {

const char kAboutLine[] = VANTREL_ABOUT_LINE;

// A title row and two contacts; the first is the worked example of the
// program's ADIF output.
const char kSmallLogbook[] =
    "Year,Month,Day,Hour,Minute,Call,Freq,Other,Band,Mode,RstRcvd,,RstSent\r\n"
    "2014,12,8,3,15,TEST,14.025,,20m,CW,599,,579,,,,,,,hello,IO91\r\n"
    "2014,1,1,5,0,JA1ZZZ,7.01,,40m,SSB,59,,57,,,,,,,,PM95\r\n";

const char kWorkedExampleRecord[] =
    "<CALL:4>TEST\r\n<QSO_DATE:8>20141207\r\n<TIME_ON:4>1815\r\n<BAND:3>20m\r\n"
    "<FREQ:6>14.025\r\n<MODE:2>CW\r\n<RST_SENT:3>579\r\n<RST_RCVD:3>599\r\n"
    "<MY_GRIDSQUARE:4>IO91\r\n<COMMENT:5>hello\r\n<QSLMSG:5>hello\r\n<EOR>\r\n";

bool isFinished(const std::string& status, int count) {
    // "HH:MM:SS   Finished N QSOs conversion"
    const std::string tail = "   Finished " + std::to_string(count) + " QSOs conversion";
    if (status.size() != 8 + tail.size() || status.compare(8, std::string::npos, tail) != 0) {
        return false;
    }
    for (int i = 0; i < 8; ++i) {
        const bool colon = i == 2 || i == 5;
        if (colon ? status[i] != ':' : (status[i] < '0' || status[i] > '9')) return false;
    }
    return true;
}

// Seconds between the status line's time of day and now (across midnight too).
int secondsFromNow(const std::string& status) {
    const int shown = ((status[0] - '0') * 10 + (status[1] - '0')) * 3600 +
                      ((status[3] - '0') * 10 + (status[4] - '0')) * 60 + (status[6] - '0') * 10 +
                      (status[7] - '0');
    SYSTEMTIME now;
    GetLocalTime(&now);
    const int current = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
    int difference = (current - shown + 86400) % 86400;
    if (difference > 43200) difference = 86400 - difference;
    return difference;
}

// Starts the program and waits for the settings on the form.
void startFilled(Program& program) {
    REQUIRE(program.waitForWindow());
    REQUIRE(program.waitForFilledForm());
}

// Converts with what the form holds now and waits for the finished message.
void convertAndWait(Program& program, int expectedCount) {
    program.clearStatus();
    REQUIRE(program.click(IDC_CONVERT));
    const bool finished = program.waitForStatus(
        [&](const std::string& status) { return isFinished(status, expectedCount); });
    if (!finished) note("status: \"%s\"", program.status().c_str());
    REQUIRE(finished);
}

void closeAndWait(Program& program, DWORD timeoutMs = kStepTimeoutMs) {
    REQUIRE(program.postClose());
    DWORD exitCode = 1;
    REQUIRE(program.waitForExit(timeoutMs, &exitCode));
    EXPECT(exitCode == 0);
}

// ---- The form ------------------------------------------------------------------

// The controls' ids in creation order, which is also their Tab and stacking
// order.
const int kFormOrder[] = {
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

RECT rectOnScreen(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// The form's font as the dialog template gives it: "MS Shell Dlg" at 12
// points, at the display's DPI.
HFONT makeFormFont() {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(12, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                       "MS Shell Dlg");
}

// Every label and check box shows its whole text on one line: it is as wide
// as the text in the form's font (a check box also has room for its box) and
// as tall. No two controls overlap.
void expectWholeTextsApart(const Program& program) {
    HFONT font = makeFormFont();
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    // A check box's text starts after the box and a gap of half a character
    // or more.
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const LONG checkBoxRoom = GetSystemMetrics(SM_CXMENUCHECK) + metrics.tmAveCharWidth / 2 + 2;
    for (HWND child = GetWindow(program.form, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string text = windowText(child);
        const bool checkBox = windowClass(child) == "Button" &&
                              (GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX;
        if (text.empty() || (windowClass(child) != "Static" && !checkBox)) continue;
        SIZE size = {};
        GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
        const RECT rect = rectOnScreen(child);
        const LONG needed = size.cx + (checkBox ? checkBoxRoom : 0);
        if (rect.right - rect.left < needed || rect.bottom - rect.top < size.cy) {
            note("\"%s\" needs %ld x %ld pixels, has %ld x %ld", text.c_str(), needed, size.cy,
                 rect.right - rect.left, rect.bottom - rect.top);
            EXPECT(false);
        }
    }
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);

    for (HWND a = GetWindow(program.form, GW_CHILD); a != nullptr; a = GetWindow(a, GW_HWNDNEXT)) {
        for (HWND b = GetWindow(a, GW_HWNDNEXT); b != nullptr; b = GetWindow(b, GW_HWNDNEXT)) {
            RECT overlap;
            const RECT ra = rectOnScreen(a);
            const RECT rb = rectOnScreen(b);
            if (IntersectRect(&overlap, &ra, &rb)) {
                note("controls %d and %d overlap", GetDlgCtrlID(a), GetDlgCtrlID(b));
                EXPECT(false);
            }
        }
    }
}

// All controls in their order, and each one visible: inside the client area,
// above the status bar, its text whole and clear of the others.
void expectFormLayout(const Program& program) {
    RECT client;
    GetClientRect(program.main, &client);
    RECT status;
    GetWindowRect(program.statusBar, &status);
    MapWindowPoints(nullptr, program.main, reinterpret_cast<POINT*>(&status), 2);

    HWND child = GetWindow(program.form, GW_CHILD);
    for (int id : kFormOrder) {
        REQUIRE(child != nullptr);
        EXPECT(GetDlgCtrlID(child) == id);
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, program.main, reinterpret_cast<POINT*>(&rect), 2);
        const bool visible = IsWindowVisible(child) && rect.left >= 0 && rect.top >= 0 &&
                             rect.right <= client.right && rect.bottom <= status.top;
        if (!visible) note("control %d is cut off", id);
        EXPECT(visible);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT(child == nullptr);
    expectWholeTextsApart(program);
}

// The form as it shows the defaults: every setting of the table in its control.
void expectDefaultsOnForm(const Program& program) {
    for (const SettingDescriptor& row : kSettingsTable) {
        if (row.control == kCheckBox) {
            if (program.checked(row.controlId) != (std::string(row.defaultValue) != "0")) {
                note("%s is shown %s", row.key, program.checked(row.controlId) ? "on" : "off");
                EXPECT(false);
            }
        } else {
            EXPECT_TEXT(program.text(row.controlId), row.defaultValue);
        }
    }
}

// ---- Scenarios ----------------------------------------------------------------

// First start without a settings file: the window, the defaults on the form,
// a conversion, a missing CSV file, and the settings file written at the end.
void startAndConvert(const std::string& vantrelExe) {
    const Workspace workspace = makeWorkspace("start", vantrelExe);
    {
        Program program(workspace);
        startFilled(program);

        EXPECT_TEXT(windowText(program.main), kAboutLine);
        const LONG style = GetWindowLongA(program.main, GWL_STYLE);
        EXPECT((style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX)) ==
               (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
        EXPECT((style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) == 0);
        // 610 x 450, or larger where the dialog font needs more room.
        RECT frame;
        GetWindowRect(program.main, &frame);
        note("window %ld x %ld", frame.right - frame.left, frame.bottom - frame.top);
        EXPECT(frame.right - frame.left >= 610 && frame.bottom - frame.top >= 450);

        expectDefaultsOnForm(program);
        EXPECT_TEXT(program.status(), "");
        expectFormLayout(program);

        keepScreenshot(program.main, "main-window.bmp");

        const std::string csv = workspace.path("logbook.csv");
        writeFile(csv, kSmallLogbook);
        REQUIRE(program.setText(IDC_CSV_PATH, csv));
        convertAndWait(program, 3);
        EXPECT(secondsFromNow(program.status()) <= 120);
        const std::string adif = readFile(workspace.path("logbook.adi"));
        EXPECT(countOccurrences(adif, "<EOR>\r\n") == 3);
        EXPECT(adif.find(kWorkedExampleRecord) != std::string::npos);
        saveScreenshot(program.main, "main-window-converted.bmp");

        const std::string missing = workspace.path("missing.csv");
        REQUIRE(program.setText(IDC_CSV_PATH, missing));
        program.clearStatus();
        REQUIRE(program.click(IDC_CONVERT));
        EXPECT(program.waitForStatus(
            [](const std::string& status) { return status == "Can not open CSV file"; }));
        EXPECT(!fileExists(workspace.path("missing.adi")));

        closeAndWait(program);
    }
    // Written at the end, with all keys and the form's values.
    const std::string ini = workspace.path("Vantrel.ini");
    EXPECT(iniKeyCount(ini) == 21);
    EXPECT_TEXT(iniValue(ini, "CSV_NAME"), workspace.path("missing.csv"));
    EXPECT_TEXT(iniValue(ini, "TIME_ZONE"), "9");
    EXPECT_TEXT(iniValue(ini, "CHECK_KHZ"), "0");
    finishWorkspace(workspace);
}

// What is typed on the form reaches the next conversion; the MHz and KHz
// boxes behave as a pair.
void editsReachConversion(const std::string& vantrelExe) {
    const Workspace workspace = makeWorkspace("edits", vantrelExe);
    const std::string csv = workspace.path("log.csv");
    const std::string adi = workspace.path("log.adi");
    const std::string ini = workspace.path("Vantrel.ini");
    writeFile(csv, "2014,12,8,3,15,TEST,14025,OTHER,20m,CW,599,,579,,,,,,,hello,IO91\r\n");
    {
        Program program(workspace);
        startFilled(program);
        REQUIRE(program.setText(IDC_CSV_PATH, csv));

        // The callsign from column H, the frequency in kHz.
        REQUIRE(program.setText(IDC_COLUMN_CALLSIGN, "H"));
        REQUIRE(program.click(IDC_CHECK_MHZ));
        EXPECT(!program.checked(IDC_CHECK_MHZ));
        EXPECT(program.checked(IDC_CHECK_KHZ));
        convertAndWait(program, 1);
        std::string adif = readFile(adi);
        EXPECT(adif.find("<CALL:5>OTHER\r\n") != std::string::npos);
        EXPECT(adif.find("<FREQ:6>14.025\r\n") != std::string::npos);

        // Back to MHz, and a designator in lower case.
        REQUIRE(program.click(IDC_CHECK_MHZ));
        EXPECT(program.checked(IDC_CHECK_MHZ));
        EXPECT(!program.checked(IDC_CHECK_KHZ));
        REQUIRE(program.setText(IDC_COLUMN_CALLSIGN, "f"));
        DeleteFileA(adi.c_str());
        convertAndWait(program, 1);
        adif = readFile(adi);
        EXPECT(adif.find("<CALL:4>TEST\r\n") != std::string::npos);
        EXPECT(adif.find("<FREQ:5>14025\r\n") != std::string::npos);

        // The pair from the KHz side.
        REQUIRE(program.click(IDC_CHECK_KHZ));
        EXPECT(program.checked(IDC_CHECK_KHZ));
        EXPECT(!program.checked(IDC_CHECK_MHZ));
        REQUIRE(program.click(IDC_CHECK_KHZ));
        EXPECT(!program.checked(IDC_CHECK_KHZ));
        EXPECT(program.checked(IDC_CHECK_MHZ));

        closeAndWait(program);
    }
    EXPECT_TEXT(iniValue(ini, "COLUMN_CALLSIGN"), "f");
    EXPECT_TEXT(iniValue(ini, "CHECK_MHZ"), "1");
    EXPECT_TEXT(iniValue(ini, "CHECK_KHZ"), "0");
    finishWorkspace(workspace);
}

// File, Exit and the close box both keep the form's values, without Convert;
// they come back at the next start. A hand-written CHECK_MHZ=2 shows checked.
void settingsSavedOnExit(const std::string& vantrelExe) {
    const Workspace workspace = makeWorkspace("saved", vantrelExe);
    const std::string ini = workspace.path("Vantrel.ini");
    {
        Program program(workspace);
        startFilled(program);
        REQUIRE(program.setText(IDC_MY_CALLSIGN, "JA1ABC"));
        REQUIRE(program.setText(IDC_TIME_ZONE, "-9"));
        REQUIRE(program.setText(IDC_COLUMN_COMMENT, ""));
        REQUIRE(program.click(IDC_CHECK_MY_GL));
        EXPECT(!fileExists(ini));
        REQUIRE(program.postCommand(IDM_EXIT));
        DWORD exitCode = 1;
        REQUIRE(program.waitForExit(kStepTimeoutMs, &exitCode));
        EXPECT(exitCode == 0);
    }
    EXPECT_TEXT(iniValue(ini, "MY_CALLSIGN"), "JA1ABC");
    EXPECT_TEXT(iniValue(ini, "TIME_ZONE"), "-9");
    EXPECT_TEXT(iniValue(ini, "COLUMN_COMMENT"), "");
    EXPECT_TEXT(iniValue(ini, "CHECK_MY_GL"), "0");

    {
        // Back on the form; an emptied designator is not loaded (the default
        // returns). Then the close box, with a time difference in words.
        Program program(workspace);
        startFilled(program);
        EXPECT_TEXT(program.text(IDC_MY_CALLSIGN), "JA1ABC");
        EXPECT_TEXT(program.text(IDC_TIME_ZONE), "-9");
        EXPECT_TEXT(program.text(IDC_COLUMN_COMMENT), "T");
        EXPECT(!program.checked(IDC_CHECK_MY_GL));
        REQUIRE(program.setText(IDC_MY_CALLSIGN, "JA1XYZ"));
        REQUIRE(program.setText(IDC_TIME_ZONE, "  +12 hours"));
        REQUIRE(PostMessageA(program.main, WM_SYSCOMMAND, SC_CLOSE, 0));
        DWORD exitCode = 1;
        REQUIRE(program.waitForExit(kStepTimeoutMs, &exitCode));
        EXPECT(exitCode == 0);
    }
    EXPECT_TEXT(iniValue(ini, "MY_CALLSIGN"), "JA1XYZ");
    EXPECT_TEXT(iniValue(ini, "TIME_ZONE"), "12");

    writeFile(ini, "[VANTREL_LOCAL_PARAMS]\r\nCHECK_MHZ=2\r\nCHECK_KHZ=0\r\n");
    {
        Program program(workspace);
        startFilled(program);
        EXPECT(program.checked(IDC_CHECK_MHZ));
        EXPECT(!program.checked(IDC_CHECK_KHZ));
        closeAndWait(program);
    }
    EXPECT_TEXT(iniValue(ini, "CHECK_MHZ"), "1");
    finishWorkspace(workspace);
}

// The window title, the About box, and Enter and Escape on the form.
void aboutTitleAndKeys(const std::string& vantrelExe) {
    const Workspace workspace = makeWorkspace("about", vantrelExe);
    {
        Program program(workspace);
        startFilled(program);
        EXPECT_TEXT(windowText(program.main), kAboutLine);

        REQUIRE(program.postCommand(IDM_ABOUT));
        HWND box = nullptr;
        REQUIRE(waitUntil(
            [&] {
                return (box = findTopLevel(program.pid(), "#32770", "About Vantrel")) != nullptr;
            },
            kStepTimeoutMs));
        EXPECT(GetWindow(box, GW_OWNER) == nullptr);
        std::string message;
        for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (windowClass(child) == "Static" && !windowText(child).empty()) {
                message = windowText(child);
            }
        }
        EXPECT_TEXT(message, kAboutLine);
        EXPECT(GetDlgItem(box, IDOK) != nullptr);
        REQUIRE(PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK))));
        EXPECT(waitUntil([&] { return !IsWindow(box); }, kStepTimeoutMs));

        // Enter and Escape reach the form as IDOK and IDCANCEL and close
        // nothing. A typed character behind them tells that they have been
        // handled.
        HWND edit = program.control(IDC_MY_CALLSIGN);
        REQUIRE(program.setText(IDC_MY_CALLSIGN, "K"));
        for (WPARAM key : {static_cast<WPARAM>(VK_RETURN), static_cast<WPARAM>(VK_ESCAPE)}) {
            PostMessageA(edit, WM_KEYDOWN, key, 1);
            PostMessageA(edit, WM_KEYUP, key, 0xC0000001);
        }
        PostMessageA(edit, WM_CHAR, 'Z', 1);
        EXPECT(
            waitUntil([&] { return program.text(IDC_MY_CALLSIGN).find('Z') != std::string::npos; },
                      kStepTimeoutMs));
        EXPECT(IsWindow(program.main) && IsWindowVisible(program.main));
        EXPECT(IsWindow(program.form) && IsWindowVisible(program.form));
        EXPECT(program.running());
        EXPECT(!fileExists(workspace.path("Vantrel.ini")));

        closeAndWait(program);
    }
    finishWorkspace(workspace);
}

// Picks a file in the file-open dialog; false when the dialog could not be
// worked.
bool pickInOpenDialog(const Program& program, const std::string& path) {
    if (!program.postClick(IDC_BROWSE)) return false;
    // The file name box: an edit inside a combo box in the Explorer-style
    // dialog, a plain edit in the older one.
    HWND dialog = nullptr;
    HWND name = nullptr;
    const bool shown = waitUntil(
        [&] {
            dialog = findTopLevel(program.pid(), "#32770", nullptr);
            if (dialog == nullptr || !IsWindowVisible(dialog)) return false;
            name = GetDlgItem(dialog, 0x47C);
            if (name == nullptr) name = GetDlgItem(dialog, 0x480);
            while (name != nullptr && windowClass(name) != "Edit")
                name = GetWindow(name, GW_CHILD);
            return name != nullptr;
        },
        kStepTimeoutMs);
    if (!shown || !setWindowText(name, path)) return false;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return waitUntil([&] { return !IsWindow(dialog); }, kStepTimeoutMs);
}

// Browse puts the chosen path on the form; a path longer than the settings
// hold is refused and changes nothing.
void browse(const std::string& vantrelExe) {
    const Workspace workspace = makeWorkspace("browse", vantrelExe);
    const std::string picked = workspace.path("picked.csv");
    writeFile(picked, kSmallLogbook);

    // A file whose full path is 257 bytes long.
    std::string folder = workspace.dir + std::string(100, 'd');
    REQUIRE(CreateDirectoryA(folder.c_str(), nullptr));
    const size_t nameLength = 257 - folder.size() - 1 - 4;
    REQUIRE(nameLength > 0 && nameLength < 200);
    const std::string tooLong = folder + "\\" + std::string(nameLength, 'n') + ".csv";
    REQUIRE(tooLong.size() == 257);
    writeFile(tooLong, kSmallLogbook);
    {
        Program program(workspace);
        startFilled(program);

        REQUIRE(pickInOpenDialog(program, picked));
        EXPECT_TEXT(program.text(IDC_CSV_PATH), picked);
        convertAndWait(program, 3);
        EXPECT(fileExists(workspace.path("picked.adi")));

        REQUIRE(pickInOpenDialog(program, tooLong));
        EXPECT_TEXT(program.text(IDC_CSV_PATH), picked);
        // Convert goes on with the path that was kept.
        DeleteFileA(workspace.path("picked.adi").c_str());
        convertAndWait(program, 3);
        EXPECT(fileExists(workspace.path("picked.adi")));

        closeAndWait(program);
    }
    EXPECT_TEXT(iniValue(workspace.path("Vantrel.ini"), "CSV_NAME"), picked);
    finishWorkspace(workspace);
}

// A window closed before the first timer tick has filled the form must not
// copy the empty form into the settings.
void earlyClose(const std::string& vantrelExe) {
    const Workspace workspace = makeWorkspace("early", vantrelExe);
    const std::string ini = workspace.path("Vantrel.ini");
    writeFile(ini,
              "[VANTREL_LOCAL_PARAMS]\r\nMY_CALLSIGN=EARLY1\r\nTIME_ZONE=-3\r\n"
              "COLUMN_YEAR=Z\r\nCHECK_MHZ=0\r\nCHECK_KHZ=1\r\n");
    {
        Program program(workspace);
        // Post the close as soon as the window exists: it is handled before
        // any timer message.
        HWND main = nullptr;
        REQUIRE(waitUntil(
            [&] {
                main = findTopLevel(program.pid(), VANTREL_WINDOW_CLASS, nullptr);
                return main != nullptr && PostMessageA(main, WM_CLOSE, 0, 0);
            },
            kStartTimeoutMs));
        DWORD exitCode = 1;
        REQUIRE(program.waitForExit(kStepTimeoutMs, &exitCode));
        EXPECT(exitCode == 0);
    }
    EXPECT_TEXT(iniValue(ini, "MY_CALLSIGN"), "EARLY1");
    EXPECT_TEXT(iniValue(ini, "CSV_NAME"), "C:\\temp\\logbook.csv");
    EXPECT_TEXT(iniValue(ini, "TIME_ZONE"), "-3");
    EXPECT_TEXT(iniValue(ini, "COLUMN_YEAR"), "Z");
    EXPECT_TEXT(iniValue(ini, "COLUMN_GL"), "U");
    EXPECT_TEXT(iniValue(ini, "CHECK_MHZ"), "0");
    EXPECT_TEXT(iniValue(ini, "CHECK_KHZ"), "1");
    EXPECT_TEXT(iniValue(ini, "CHECK_COMMENT"), "1");
    finishWorkspace(workspace);
}

// Closing during a long conversion: the window goes at once, the conversion
// runs to its end, and the settings file is written after that.
void closeDuringConversion(const std::string& vantrelExe) {
    const Workspace workspace = makeWorkspace("long", vantrelExe);
    const std::string csv = workspace.path("big.csv");
    const std::string adi = workspace.path("big.adi");
    const std::string ini = workspace.path("Vantrel.ini");
    const int lines = 400000;
    {
        std::string content;
        content.reserve(static_cast<size_t>(lines) * 80);
        char line[128];
        for (int i = 0; i < lines; ++i) {
            snprintf(line, sizeof line,
                     "2014,%d,%d,%d,%d,JA%06d,14.025,,20m,CW,599,,579,,,,,,,qso %d,PM95\r\n",
                     1 + i % 12, 1 + i % 28, i % 24, i % 60, i, i);
            content += line;
        }
        writeFile(csv, content);
    }
    {
        Program program(workspace);
        startFilled(program);
        REQUIRE(program.setText(IDC_CSV_PATH, csv));
        program.clearStatus();
        const ULONGLONG started = GetTickCount64();
        REQUIRE(program.click(IDC_CONVERT));
        REQUIRE(program.waitForStatus([](const std::string& status) {
            return status.compare(0, 11, "Converted  ") == 0 || isFinished(status, lines);
        }));
        const std::string atClose = program.status();
        REQUIRE(program.postClose());
        if (isFinished(atClose, lines)) {
            note("the conversion ended before the close: make the logbook longer");
        }
        EXPECT(waitUntil([&] { return !IsWindow(program.main); }, kStepTimeoutMs));
        const bool stillRunning = program.running();
        DWORD exitCode = 1;
        REQUIRE(program.waitForExit(kLongTimeoutMs, &exitCode));
        EXPECT(exitCode == 0);
        note("closed at \"%s\"; window gone with the process %s; ended after %.1f s",
             atClose.c_str(), stillRunning ? "still converting" : "ended",
             static_cast<double>(GetTickCount64() - started) / 1000.0);
    }
    const std::string adif = readFile(adi);
    EXPECT(countOccurrences(adif, "<EOR>\r\n") == static_cast<size_t>(lines));
    char last[64];
    snprintf(last, sizeof last, "<CALL:8>JA%06d\r\n", lines - 1);
    EXPECT(adif.find(last) != std::string::npos);
    EXPECT(adif.size() >= 7 && adif.compare(adif.size() - 7, 7, "<EOR>\r\n") == 0);
    REQUIRE(fileExists(ini));
    EXPECT(lastWriteTime(ini) >= lastWriteTime(adi));
    EXPECT_TEXT(iniValue(ini, "CSV_NAME"), csv);
    finishWorkspace(workspace);
}

// ---- Code page 932 and high DPI -------------------------------------------------

// Shift-JIS characters whose trail byte is 0x5C, the path separator's byte.
#define SJIS_HYOU "\x95\x5C"  // 表
#define SJIS_SO "\x83\x5C"    // ソ
#define SJIS_NOU "\x94\x5C"   // 能
#define SJIS_YO "\x97\x5C"    // 予

// Under code page 932: a CSV in a folder whose name ends in a trail byte 0x5C
// converts beside itself; Shift-JIS texts reach the ADIF byte for byte; a
// callsign typed too long for its field is cut before a whole character; the
// settings file keeps Shift-JIS values through a start and exit.
void shiftJisPaths(const std::string& vantrelExe) {
    const Workspace workspace = makeWorkspace("sjis", vantrelExe);
    const std::string folder = workspace.path(SJIS_HYOU SJIS_SO);
    REQUIRE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string csv = folder + "\\" SJIS_NOU SJIS_YO ".csv";
    const std::string adi = folder + "\\" SJIS_NOU SJIS_YO ".adi";
    writeFile(csv, "2014,12,8,3,15,JA1" SJIS_SO ",7.01,,40m,SSB,59,,57,,,,,,," SJIS_HYOU SJIS_YO
                   ",PM95\r\n");
    const std::string ini = workspace.path("Vantrel.ini");
    const std::string callsign = "JA1" SJIS_SO SJIS_NOU;
    {
        Program program(workspace);
        startFilled(program);
        expectFormLayout(program);

        // 30 bytes and a character: the field's 31 bytes would end in its lead byte.
        REQUIRE(program.setText(IDC_MY_CALLSIGN, std::string(30, 'A') + SJIS_HYOU));
        REQUIRE(program.setText(IDC_CSV_PATH, csv));
        convertAndWait(program, 1);
        const std::string adif = readFile(adi);
        EXPECT(adif.find(" for " + std::string(30, 'A') + "\r\n") != std::string::npos);
        EXPECT(adif.find("<CALL:5>JA1" SJIS_SO "\r\n") != std::string::npos);
        EXPECT(adif.find("<COMMENT:4>" SJIS_HYOU SJIS_YO "\r\n") != std::string::npos);

        REQUIRE(program.setText(IDC_MY_CALLSIGN, callsign));
        keepScreenshot(program.main, "main-window-cp932.bmp");
        closeAndWait(program);
    }
    EXPECT_TEXT(iniValue(ini, "MY_CALLSIGN"), callsign);
    EXPECT_TEXT(iniValue(ini, "CSV_NAME"), csv);
    {
        Program program(workspace);
        startFilled(program);
        EXPECT_TEXT(program.text(IDC_MY_CALLSIGN), callsign);
        EXPECT_TEXT(program.text(IDC_CSV_PATH), csv);
        closeAndWait(program);
    }
    EXPECT_TEXT(iniValue(ini, "MY_CALLSIGN"), callsign);
    EXPECT_TEXT(iniValue(ini, "CSV_NAME"), csv);
    finishWorkspace(workspace);
}

// At 144 DPI the window is 1.5 times its nominal size or more, and the form
// shows every control whole.
void highDpi(const std::string& vantrelExe) {
    const Workspace workspace = makeWorkspace("dpi", vantrelExe);
    {
        Program program(workspace);
        startFilled(program);
        const RECT frame = rectOnScreen(program.main);
        note("window %ld x %ld", frame.right - frame.left, frame.bottom - frame.top);
        EXPECT(frame.right - frame.left >= MulDiv(610, kHighDpiValue, 96));
        EXPECT(frame.bottom - frame.top >= MulDiv(450, kHighDpiValue, 96));
        expectFormLayout(program);
        keepScreenshot(program.main, "main-window-144dpi.bmp");
        closeAndWait(program);
    }
    finishWorkspace(workspace);
}

// ---- Label widening, in this process ---------------------------------------------

// A label "Time Diff" at x, y 50, 20 pixels high, shortBy pixels narrower
// than its text, with an edit box beside it on either side (room pixels away;
// kNone for none, kOtherRow for one on the next row), and what widening must
// make of it.
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

RECT rectInParent(HWND window) {
    RECT rect = rectOnScreen(window);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LONG textWidth(HFONT font, const char* text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

HWND makeChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
               int width, HFONT font) {
    HWND child = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, 20,
                                 parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

// The form's widening rule on windows of this process: which side a label
// grows on, that a label whose text fits keeps its place, and that no label
// grows over another control or past the left edge.
void labelWidening(const std::string&) {
    HFONT font = makeFormFont();
    const LONG needed = textWidth(font, "Time Diff");
    for (const auto& c : kWideningCases) {
        HWND host = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 600, 200, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        const int width = needed - c.shortBy;
        HWND label = makeChild(host, "Static", "Time Diff", c.alignment, c.x, 50, width, font);
        if (c.roomLeft >= 0) makeChild(host, "Edit", "", 0, c.x - c.roomLeft - 30, 50, 30, font);
        if (c.roomLeft == kOtherRow) makeChild(host, "Edit", "", 0, c.x - 30, 70, 30, font);
        if (c.roomRight >= 0)
            makeChild(host, "Edit", "", 0, c.x + width + c.roomRight, 50, 30, font);
        widenLabelsToFit(host);
        const RECT rect = rectInParent(label);
        if (rect.left != c.x - c.grownLeft || rect.right != c.x + width + c.grownRight) {
            note("%s: %ld to %ld, expected %d to %d", c.what, rect.left, rect.right,
                 c.x - c.grownLeft, c.x + width + c.grownRight);
            EXPECT(false);
        }
        DestroyWindow(host);
    }

    DeleteObject(font);
}

}  // namespace

const Scenario kScenarios[] = {
    {"start_and_convert", startAndConvert, kAnySystem},
    {"edits_reach_conversion", editsReachConversion, kAnySystem},
    {"settings_saved_on_exit", settingsSavedOnExit, kAnySystem},
    {"about_title_and_keys", aboutTitleAndKeys, kAnySystem},
    {"browse", browse, kAnySystem},
    {"early_close", earlyClose, kAnySystem},
    {"close_during_conversion", closeDuringConversion, kAnySystem},
    {"label_widening", labelWidening, kAnySystem},
    {"shift_jis_paths", shiftJisPaths, kJapanese},
    {"high_dpi", highDpi, kHighDpi},
};
const size_t kScenarioCount = sizeof kScenarios / sizeof kScenarios[0];
