#include "platform/platform.h"

#include <share.h>
#include <time.h>
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

void readProfileString(const char* section, const char* key, char* out, size_t cap,
                       const char* path) {
    if (cap == 0) return;
    GetPrivateProfileStringA(section, key, "", out, static_cast<DWORD>(cap), path);
    out[cap - 1] = '\0';
}

bool writeProfileString(const char* section, const char* key, const char* value, const char* path) {
    return WritePrivateProfileStringA(section, key, value, path) != FALSE;
}

FILE* openShared(const char* path, const char* mode) {
    return _fsopen(path, mode, _SH_DENYNO);
}

bool isLeadByte(unsigned char c) {
    return IsDBCSLeadByte(c) != FALSE;
}

LocalTime currentLocalTime() {
    time_t now = time(nullptr);
    struct tm t = {};
    localtime_s(&t, &now);
    return LocalTime{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}
