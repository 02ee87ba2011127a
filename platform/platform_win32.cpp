#include "platform/platform.h"

#include <io.h>
#include <share.h>
#include <string.h>
#include <windows.h>
#include <shlwapi.h>

const char kSettingsFileSuffix[] = "\\Vantrel.ini";

bool modulePath(char* buf, size_t cap) {
    if (cap == 0) return false;
    DWORD n = GetModuleFileNameA(nullptr, buf, static_cast<DWORD>(cap));
    if (n == 0 || n >= cap) {
        buf[0] = '\0';
        return false;
    }
    buf[n] = '\0';
    return true;
}

void removeFileSpec(char* path) {
    PathRemoveFileSpecA(path);
}

namespace {

// The profile functions look for a file named without a folder in the Windows
// folder; a relative path here means one relative to the current folder.
bool fullProfilePath(const char* path, char (&full)[MAX_PATH]) {
    DWORD n = GetFullPathNameA(path, MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH;
}

}  // namespace

void readProfileString(const char* section, const char* key, char* out, size_t cap,
                       const char* path) {
    if (cap == 0) return;
    out[0] = '\0';
    char full[MAX_PATH];
    if (!fullProfilePath(path, full)) return;
    GetPrivateProfileStringA(section, key, "", out, static_cast<DWORD>(cap), full);
    out[cap - 1] = '\0';
}

bool writeProfileString(const char* section, const char* key, const char* value, const char* path) {
    char full[MAX_PATH];
    if (!fullProfilePath(path, full)) return false;
    return WritePrivateProfileStringA(section, key, value, full) != FALSE;
}

FILE* openShared(const char* path, const char* mode) {
    return _fsopen(path, mode, _SH_DENYNO);
}

bool isSameFile(FILE* open, const char* path) {
    HANDLE openHandle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(open)));
    BY_HANDLE_FILE_INFORMATION a, b;
    if (openHandle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(openHandle, &a)) {
        return false;
    }
    HANDLE other = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (other == INVALID_HANDLE_VALUE) return false;
    const BOOL got = GetFileInformationByHandle(other, &b);
    CloseHandle(other);
    return got && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

bool isReadOnce(const char* path) {
    // \\.\ names a device or a pipe.
    if (strncmp(path, "\\\\.\\", 4) == 0) return true;
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DEVICE) != 0;
}

bool isLeadByte(unsigned char c) {
    return IsDBCSLeadByte(c) != FALSE;
}

// The system's clock: the C runtime's localtime would read a TZ variable of
// its own format and take a zone name it does not know as UTC.
LocalTime currentLocalTime() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

ShortDateOrder shortDateOrder() {
    ShortDateOrder order = {false, true};
    char format[80];
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format, sizeof format) == 0)
        return order;
    bool quoted = false;  // text between single quotes is literal
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p == '\'') quoted = !quoted;
        if (quoted) continue;
        if (*p == 'y') {
            order.yearFirst = true;
            break;
        }
        if (*p == 'd') {
            order.monthFirst = false;
            break;
        }
        if (*p == 'M') break;
    }
    return order;
}

namespace {

DWORD WINAPI runThreadBody(LPVOID body) {
    void (*function)();
    memcpy(&function, &body, sizeof function);
    function();
    return 0;
}

}  // namespace

bool startThread(PlatformThread& thread, void (*body)()) {
    void* argument;
    static_assert(sizeof argument == sizeof body, "a function pointer travels as the argument");
    memcpy(&argument, &body, sizeof argument);
    thread.handle = CreateThread(nullptr, 0, runThreadBody, argument, 0, nullptr);
    thread.started = thread.handle != nullptr;
    return thread.started;
}

void joinThread(PlatformThread& thread) {
    if (!thread.started) return;
    WaitForSingleObject(thread.handle, INFINITE);
    CloseHandle(thread.handle);
    thread.handle = nullptr;
    thread.started = false;
}
