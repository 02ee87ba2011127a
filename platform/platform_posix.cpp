// POSIX stand-ins for the Windows services: the executable's path from /proc,
// path trimming, a private-profile (INI) reader and writer of our own, and the
// short date's order from the environment's locale.
#include "platform/platform.h"

#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <string>

#include "platform/ini_text.h"
#include "platform/whole_file.h"

const char kSettingsFileSuffix[] = "/Vantrel.ini";

bool modulePath(char* buf, size_t cap) {
    if (cap == 0) return false;
    ssize_t n = readlink("/proc/self/exe", buf, cap);
    if (n <= 0 || static_cast<size_t>(n) >= cap) {
        buf[0] = '\0';
        return false;
    }
    buf[n] = '\0';
    return true;
}

void removeFileSpec(char* path) {
    char* last = nullptr;
    for (char* p = path; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\') last = p;
    }
    if (last == nullptr) {
        path[0] = '\0';
    } else if (last == path) {
        path[1] = '\0';  // keep the root
    } else {
        *last = '\0';
    }
}

FILE* openShared(const char* path, const char* mode) {
    return fopen(path, mode);
}

bool isSameFile(FILE* open, const char* path) {
    struct stat a, b;
    if (fstat(fileno(open), &a) != 0 || stat(path, &b) != 0) return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool isReadOnce(const char* path) {
    struct stat status;
    return stat(path, &status) == 0 &&
           (S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode) || S_ISSOCK(status.st_mode));
}

bool isLeadByte(unsigned char) {
    return false;
}

LocalTime currentLocalTime() {
    time_t now = time(nullptr);
    struct tm t;
    memset(&t, 0, sizeof t);
    localtime_r(&now, &t);
    return LocalTime{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

ShortDateOrder shortDateOrder() {
    // The environment's LC_TIME locale, without setting the program's locale
    // (number formatting stays that of the C locale).
    ShortDateOrder order = {false, true};
    locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) return order;
    for (const char* p = nl_langinfo_l(D_FMT, locale); *p != '\0'; ++p) {
        if (*p != '%') continue;
        // Flags, a width and the E and O modifiers, then the conversion.
        while (p[1] != '\0' && strchr("_-0^#EO123456789", p[1]) != nullptr)
            ++p;
        const char c = *++p;
        if (c == '\0') break;
        if (strchr("YyCGgF", c) != nullptr) {  // %F is %Y-%m-%d
            order.yearFirst = true;
            break;
        }
        if (c == 'd' || c == 'e') {
            order.monthFirst = false;
            break;
        }
        if (strchr("mbBhD", c) != nullptr) break;  // %D is %m/%d/%y
    }
    freelocale(locale);
    return order;
}

// ---- threads ----

namespace {

void* runThreadBody(void* body) {
    void (*function)();
    memcpy(&function, &body, sizeof function);
    function();
    return nullptr;
}

}  // namespace

bool startThread(PlatformThread& thread, void (*body)()) {
    void* argument;
    static_assert(sizeof argument == sizeof body, "a function pointer travels as the argument");
    memcpy(&argument, &body, sizeof argument);
    thread.started = pthread_create(&thread.handle, nullptr, runThreadBody, argument) == 0;
    return thread.started;
}

void joinThread(PlatformThread& thread) {
    if (!thread.started) return;
    pthread_join(thread.handle, nullptr);
    thread.started = false;
}

// ---- private profile files ----

namespace {

// Writes content to path through a temporary file in the same folder and a
// rename, so that a crash never leaves a truncated file behind.
bool replaceFileAtomically(const char* path, const std::string& content) {
    std::string tmp = std::string(path) + ".XXXXXX";
    int fd = mkstemp(&tmp[0]);
    if (fd < 0) return false;
    struct stat st;
    if (stat(path, &st) == 0)
        fchmod(fd, st.st_mode & 07777);
    else
        fchmod(fd, 0644);
    size_t done = 0;
    bool ok = true;
    while (done < content.size()) {
        ssize_t n = write(fd, content.data() + done, content.size() - done);
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (ok && fsync(fd) != 0) ok = false;
    if (close(fd) != 0) ok = false;
    if (ok && rename(tmp.c_str(), path) != 0) ok = false;
    if (!ok) unlink(tmp.c_str());
    return ok;
}

}  // namespace

void readProfileString(const char* section, const char* key, char* out, size_t cap,
                       const char* path) {
    if (cap == 0) return;
    out[0] = '\0';
    std::string text, value;
    if (readWholeFile(path, text) != kWholeFileRead) return;
    iniValue(text, section, key, value);
    const size_t n = value.size() < cap - 1 ? value.size() : cap - 1;
    memcpy(out, value.data(), n);
    out[n] = '\0';
}

bool writeProfileString(const char* section, const char* key, const char* value, const char* path) {
    // A file that is there but cannot be read is never replaced: what it
    // holds would be lost.
    std::string text;
    if (readWholeFile(path, text) == kWholeFileUnreadable) return false;
    iniSetValue(text, section, key, value);
    return replaceFileAtomically(path, text);
}
