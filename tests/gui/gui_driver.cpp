// The end-to-end test driver: a Win32 console program that runs one scenario
// against Vantrel.exe (see gui_scenarios.cpp).
//
//   vantrel-gui-tests setup                 prepares the Wine prefix
//   vantrel-gui-tests dpi high|default      sets the display's DPI (144 or
//                                           96) for programs started after it
//   vantrel-gui-tests SCENARIO VANTREL_EXE  runs one scenario
//
// Exit code 0 when the scenario passed, 1 when it failed, 77 when it could
// not run (no display under Wine).
#include "gui_driver.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <fstream>
#include <sstream>
#include <utility>

#include "app/resource_ids.h"

namespace {

int gFailures = 0;

const DWORD kPollMs = 5;
const UINT kSendTimeoutMs = 10000;

std::string lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// Wine hands Unix paths through unchanged; drive Z: is the Unix root.
std::string windowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string result = "Z:" + path;
    for (char& c : result) {
        if (c == '/') c = '\\';
    }
    return result;
}

void removeTree(const std::string& dir) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = dir + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(path + "\\");
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(dir.c_str());
}

struct WindowSearch {
    DWORD pid;
    const char* className;
    const char* title;
    HWND found;
};

BOOL CALLBACK matchTopLevel(HWND window, LPARAM parameter) {
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search.pid) return TRUE;
    if (windowClass(window) != search.className) return TRUE;
    if (search.title != nullptr && windowText(window) != search.title) return TRUE;
    search.found = window;
    return FALSE;
}

// Makes Wine draw top-level windows itself instead of leaving them to a
// window manager: plain Xvfb has none, and without this setting every window
// destruction waits about two seconds for one.
bool prepareWinePrefix() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const char value[] = "N";
    const LONG result = RegSetValueExA(key, "Managed", 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(value), sizeof value);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

// The display scaling of programs started from now on: Wine reads the user's
// LogPixels at a program's start; without the value it uses 96 DPI.
bool setDisplayDpi(bool high) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const DWORD value = kHighDpiValue;
    LONG result = high ? RegSetValueExA(key, "LogPixels", 0, REG_DWORD,
                                        reinterpret_cast<const BYTE*>(&value), sizeof value)
                       : RegDeleteValueA(key, "LogPixels");
    if (!high && result == ERROR_FILE_NOT_FOUND) result = ERROR_SUCCESS;
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// Why this system does not suit the scenario, or null when it does.
const char* unsuitedSystem(ScenarioSystem system) {
    if (system == kJapanese && GetACP() != 932) {
        return "needs the ANSI code page 932 (ctest runs it under a Japanese locale)";
    }
    if (system == kHighDpi && screenDpi() != kHighDpiValue) {
        return "needs a display at high DPI (ctest sets it up first)";
    }
    return nullptr;
}

// Under Wine the windows need an X display; on Windows there always is one.
bool displayAvailable() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    const bool underWine = ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    if (!underWine) return true;
    char display[256];
    return GetEnvironmentVariableA("DISPLAY", display, sizeof display) > 0;
}

}  // namespace

// ---- Checks ---------------------------------------------------------------

void expectTrue(bool ok, const char* what, const char* file, int line) {
    if (ok) return;
    ++gFailures;
    fprintf(stderr, "%s:%d: FAILED: %s\n", file, line, what);
    fflush(stderr);
}

void expectText(const std::string& actual, const std::string& expected, const char* what,
                const char* file, int line) {
    if (actual == expected) return;
    ++gFailures;
    fprintf(stderr, "%s:%d: FAILED: %s is \"%s\", expected \"%s\"\n", file, line, what,
            actual.c_str(), expected.c_str());
    fflush(stderr);
}

void requireTrue(bool ok, const char* what, const char* file, int line) {
    if (ok) return;
    expectTrue(false, what, file, line);
    throw ScenarioAborted();
}

int failureCount() {
    return gFailures;
}

void note(const char* format, ...) {
    va_list args;
    va_start(args, format);
    printf("  ");
    vprintf(format, args);
    printf("\n");
    fflush(stdout);
    va_end(args);
}

// ---- Timing ---------------------------------------------------------------

bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(kPollMs);
    }
}

// ---- Files ----------------------------------------------------------------

Workspace makeWorkspace(const char* scenario, const std::string& vantrelExe) {
    char temp[MAX_PATH];
    REQUIRE(GetTempPathA(sizeof temp, temp) > 0);
    static int serial = 0;
    char name[128];
    snprintf(name, sizeof name, "vantrel-gui-%s-%lu-%d\\", scenario, GetCurrentProcessId(),
             ++serial);
    Workspace workspace;
    workspace.dir = std::string(temp) + name;
    removeTree(workspace.dir);
    REQUIRE(CreateDirectoryA(workspace.dir.c_str(), nullptr));
    workspace.exe = workspace.path("Vantrel.exe");
    REQUIRE(CopyFileA(windowsPath(vantrelExe).c_str(), workspace.exe.c_str(), FALSE));
    return workspace;
}

void finishWorkspace(const Workspace& workspace) {
    if (failureCount() == 0) {
        removeTree(workspace.dir);
    } else {
        note("files kept in %s", workspace.dir.c_str());
    }
}

bool fileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    REQUIRE(out.good());
}

ULONGLONG lastWriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

size_t countOccurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

namespace {

// The key=value lines of the settings section, in file order.
std::vector<std::pair<std::string, std::string>> settingsSection(const std::string& path) {
    std::vector<std::pair<std::string, std::string>> entries;
    std::istringstream in(readFile(path));
    bool inSection = false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') {
            inSection = lower(line) == "[vantrel_local_params]";
            continue;
        }
        const size_t equals = line.find('=');
        if (inSection && equals != std::string::npos) {
            entries.emplace_back(lower(line.substr(0, equals)), line.substr(equals + 1));
        }
    }
    return entries;
}

}  // namespace

std::string iniValue(const std::string& path, const char* key) {
    for (const auto& entry : settingsSection(path)) {
        if (entry.first == lower(key)) return entry.second;
    }
    return "<missing>";
}

size_t iniKeyCount(const std::string& path) {
    return settingsSection(path).size();
}

// ---- Windows of another process -------------------------------------------

std::string windowText(HWND window) {
    char text[4096] = "";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) {
        return "<no answer>";
    }
    return std::string(text, strnlen(text, sizeof text));
}

bool setWindowText(HWND window, const std::string& text) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) != 0 &&
           result != 0;
}

std::string windowClass(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

HWND findTopLevel(DWORD pid, const char* className, const char* title) {
    WindowSearch search = {pid, className, title, nullptr};
    EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool saveScreenshot(HWND window, const std::string& path) {
    RECT frame;
    if (!GetWindowRect(window, &frame)) return false;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (width <= 0 || height <= 0) return false;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * static_cast<DWORD>(height);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = bitmap != nullptr;
    if (ok) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY) != 0;
        SelectObject(memory, previous);
        GdiFlush();
    }
    if (ok) {
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;  // "BM"
        file.bfOffBits = sizeof file + sizeof info.bmiHeader;
        file.bfSize = file.bfOffBits + imageSize;
        info.bmiHeader.biSizeImage = imageSize;
        std::string content(reinterpret_cast<const char*>(&file), sizeof file);
        content.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
        content.append(static_cast<const char*>(bits), imageSize);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        ok = out.good();
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

void keepScreenshot(HWND window, const char* path) {
    Sleep(500);
    note(saveScreenshot(window, path) ? "screenshot saved as %s" : "no screenshot %s", path);
}

// ---- Program --------------------------------------------------------------

Program::Program(const Workspace& workspace) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + workspace.exe + "\"";
    REQUIRE(CreateProcessA(workspace.exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                           nullptr, workspace.dir.c_str(), &startup, &info_));
}

Program::~Program() {
    if (running()) {
        fprintf(stderr, "  Vantrel.exe still running at the end of the scenario: ended\n");
        TerminateProcess(info_.hProcess, 3);
        WaitForSingleObject(info_.hProcess, kStepTimeoutMs);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool Program::waitForWindow(DWORD timeoutMs) {
    const bool found = waitUntil(
        [&] {
            main = findTopLevel(pid(), VANTREL_WINDOW_CLASS, nullptr);
            return main != nullptr && IsWindowVisible(main);
        },
        timeoutMs);
    if (!found) return false;
    return waitUntil(
        [&] {
            form = FindWindowExA(main, nullptr, "#32770", nullptr);
            statusBar = FindWindowExA(main, nullptr, "msctls_statusbar32", nullptr);
            return form != nullptr && statusBar != nullptr && IsWindowVisible(form);
        },
        timeoutMs);
}

bool Program::waitForFilledForm(DWORD timeoutMs) {
    if (form == nullptr && !waitForWindow(timeoutMs)) return false;
    // The time difference is never empty once the settings are shown.
    return waitUntil([&] { return !text(IDC_TIME_ZONE).empty(); }, timeoutMs);
}

HWND Program::control(int id) const {
    return GetDlgItem(form, id);
}

std::string Program::text(int id) const {
    return windowText(control(id));
}

bool Program::setText(int id, const std::string& value) const {
    return setWindowText(control(id), value);
}

bool Program::click(int id) const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(control(id), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                               &result) != 0;
}

bool Program::postClick(int id) const {
    return PostMessageA(control(id), BM_CLICK, 0, 0) != 0;
}

bool Program::checked(int id) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(control(id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
    return result == BST_CHECKED;
}

std::string Program::status() const {
    return windowText(statusBar);
}

void Program::clearStatus() const {
    setWindowText(statusBar, "");
}

bool Program::waitForStatus(const std::function<bool(const std::string&)>& accept,
                            DWORD timeoutMs) const {
    return waitUntil([&] { return accept(status()); }, timeoutMs);
}

bool Program::postCommand(WORD id) const {
    return PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, 0), 0) != 0;
}

bool Program::postClose() const {
    return PostMessageA(main, WM_CLOSE, 0, 0) != 0;
}

bool Program::running() const {
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Program::waitForExit(DWORD timeoutMs, DWORD* exitCode) const {
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    if (exitCode != nullptr) GetExitCodeProcess(info_.hProcess, exitCode);
    return true;
}

// ---- Entry ----------------------------------------------------------------

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr,
                "usage: vantrel-gui-tests setup | dpi high|default | SCENARIO VANTREL_EXE\n");
        return 2;
    }
    // Coordinates in the screen's pixels, as the DPI-aware program has them.
    SetProcessDPIAware();
    const std::string name = argv[1];
    if (name == "setup") {
        if (!prepareWinePrefix()) {
            fprintf(stderr, "could not set the Wine X11 driver option\n");
            return 1;
        }
        return 0;
    }
    if (name == "dpi") {
        const bool high = argc >= 3 && strcmp(argv[2], "high") == 0;
        const bool normal = argc >= 3 && strcmp(argv[2], "default") == 0;
        if (!(high || normal) || !setDisplayDpi(high)) {
            fprintf(stderr, "could not set the display's DPI\n");
            return 1;
        }
        return 0;
    }
    if (argc < 3) {
        fprintf(stderr, "usage: vantrel-gui-tests SCENARIO VANTREL_EXE\n");
        return 2;
    }
    if (!displayAvailable()) {
        printf("no X display (DISPLAY is not set): skipped\n");
        return 77;
    }
    for (size_t i = 0; i < kScenarioCount; ++i) {
        if (name != kScenarios[i].name) continue;
        printf("scenario %s\n", kScenarios[i].name);
        fflush(stdout);
        if (const char* why = unsuitedSystem(kScenarios[i].system)) {
            fprintf(stderr, "  %s: FAILED: it %s\n", kScenarios[i].name, why);
            return 1;
        }
        const ULONGLONG start = GetTickCount64();
        try {
            kScenarios[i].run(argv[2]);
        } catch (const ScenarioAborted&) {
            fprintf(stderr, "  scenario aborted\n");
        }
        printf("%s: %s in %.1f s\n", kScenarios[i].name, failureCount() == 0 ? "passed" : "FAILED",
               static_cast<double>(GetTickCount64() - start) / 1000.0);
        return failureCount() == 0 ? 0 : 1;
    }
    fprintf(stderr, "unknown scenario %s\n", name.c_str());
    return 2;
}
