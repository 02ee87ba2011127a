// The end-to-end test driver's toolkit: starting Vantrel.exe in a folder of
// its own, finding its windows, working them through window messages (which
// cross process boundaries), and checking the files it leaves behind.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// ---- Checks ---------------------------------------------------------------

// A failed REQUIRE ends the scenario at once; EXPECT failures are counted.
struct ScenarioAborted {};

void expectTrue(bool ok, const char* what, const char* file, int line);
void expectText(const std::string& actual, const std::string& expected, const char* what,
                const char* file, int line);
void requireTrue(bool ok, const char* what, const char* file, int line);
int failureCount();
// Progress lines, so that a failure can be placed in the scenario.
void note(const char* format, ...);

#define EXPECT(cond) expectTrue((cond), #cond, __FILE__, __LINE__)
#define EXPECT_TEXT(actual, expected) expectText((actual), (expected), #actual, __FILE__, __LINE__)
#define REQUIRE(cond) requireTrue((cond), #cond, __FILE__, __LINE__)

// ---- Timing ---------------------------------------------------------------

enum : DWORD {
    kStartTimeoutMs = 60000,  // process start to a filled form
    kStepTimeoutMs = 20000,   // one reaction of the program
    kLongTimeoutMs = 240000,  // a long conversion
};

// Polls done() every few milliseconds until it holds or the time is up.
bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// ---- Files ----------------------------------------------------------------

// A fresh folder holding a copy of Vantrel.exe, so that its Vantrel.ini is
// the scenario's own.
struct Workspace {
    std::string dir;  // ends with a backslash
    std::string exe;
    std::string path(const std::string& name) const { return dir + name; }
};
Workspace makeWorkspace(const char* scenario, const std::string& vantrelExe);
// Removes the folder when the scenario passed (kept for inspection otherwise).
void finishWorkspace(const Workspace& workspace);

bool fileExists(const std::string& path);
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);
ULONGLONG lastWriteTime(const std::string& path);
size_t countOccurrences(const std::string& text, const std::string& part);

// A key's value in the settings section of an INI file, or "<missing>".
std::string iniValue(const std::string& path, const char* key);
// The number of keys in the settings section.
size_t iniKeyCount(const std::string& path);

// ---- Windows of another process -------------------------------------------

std::string windowText(HWND window);
bool setWindowText(HWND window, const std::string& text);
std::string windowClass(HWND window);
// Top-level windows of a process with the given class (and title, unless null).
HWND findTopLevel(DWORD pid, const char* className, const char* title);
// Saves what the screen shows of the window as a 24-bit BMP.
bool saveScreenshot(HWND window, const std::string& path);
// Lets the window's first paint settle, then saves its picture (and says so).
void keepScreenshot(HWND window, const char* path);

// One run of Vantrel.exe. Ended by force when the scenario leaves it running.
class Program {
public:
    explicit Program(const Workspace& workspace);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Waits for the main window, its form and status bar.
    bool waitForWindow(DWORD timeoutMs = kStartTimeoutMs);
    // Waits until the first timer tick has put the settings on the form.
    bool waitForFilledForm(DWORD timeoutMs = kStartTimeoutMs);

    HWND control(int id) const;
    std::string text(int id) const;
    bool setText(int id, const std::string& text) const;
    // Clicks a button and waits until the click has been handled.
    bool click(int id) const;
    // Posts a click: for buttons that open a dialog with a loop of its own.
    bool postClick(int id) const;
    bool checked(int id) const;

    std::string status() const;
    // Empties the status bar, so that the next status text is told apart
    // from an equal earlier one.
    void clearStatus() const;
    bool waitForStatus(const std::function<bool(const std::string&)>& accept,
                       DWORD timeoutMs = kStepTimeoutMs) const;

    bool postCommand(WORD id) const;
    bool postClose() const;
    bool running() const;
    // Waits for the process to end; false on time-out.
    bool waitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const;

    DWORD pid() const { return info_.dwProcessId; }
    HWND main = nullptr;
    HWND form = nullptr;
    HWND statusBar = nullptr;

private:
    PROCESS_INFORMATION info_ = {};
};

// ---- Scenarios --------------------------------------------------------------

// The system a scenario expects, which ctest sets up for it (see
// CMakeLists.txt): the ANSI code page 932 (Shift-JIS) of a Japanese locale, or a
// display scaled to 144 DPI. The driver refuses to run a scenario elsewhere.
enum ScenarioSystem {
    kAnySystem,
    kJapanese,
    kHighDpi,
};
enum : int { kHighDpiValue = 144 };

struct Scenario {
    const char* name;
    void (*run)(const std::string& vantrelExe);
    ScenarioSystem system;
};
extern const Scenario kScenarios[];
extern const size_t kScenarioCount;
