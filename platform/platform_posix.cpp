// POSIX stand-ins for the Windows services: the executable's path from /proc,
// path trimming, and a private-profile (INI) reader and writer of our own.
#include "platform/platform.h"

#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <string>

#include "common/text.h"

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

// ---- private profile files ----

namespace {

bool readWholeFile(const char* path, std::string& out) {
    out.clear();
    FILE* f = fopen(path, "rb");
    if (f == nullptr) return false;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0)
        out.append(chunk, n);
    bool ok = !ferror(f);
    fclose(f);
    return ok;
}

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

struct Span {
    size_t begin, end;
};

Span trimmed(const std::string& s, size_t begin, size_t end) {
    while (begin < end && isBlank(s[begin]))
        ++begin;
    while (end > begin && isBlank(s[end - 1]))
        --end;
    return Span{begin, end};
}

bool equalsIgnoreCase(const std::string& s, Span span, const char* name) {
    size_t len = strlen(name);
    if (span.end - span.begin != len) return false;
    for (size_t i = 0; i < len; ++i) {
        unsigned char a = static_cast<unsigned char>(s[span.begin + i]);
        unsigned char b = static_cast<unsigned char>(name[i]);
        if (a >= 'a' && a <= 'z') a = static_cast<unsigned char>(a - 32);
        if (b >= 'a' && b <= 'z') b = static_cast<unsigned char>(b - 32);
        if (a != b) return false;
    }
    return true;
}

// One line of the file: [begin, end) without its line end; next is where the
// following line starts.
struct Line {
    size_t begin, end, next;
};

Line lineAt(const std::string& s, size_t pos) {
    size_t lf = s.find('\n', pos);
    size_t next = (lf == std::string::npos) ? s.size() : lf + 1;
    size_t end = (lf == std::string::npos) ? s.size() : lf;
    if (end > pos && s[end - 1] == '\r') --end;
    return Line{pos, end, next};
}

// For a section header line, the span of its name; false for other lines.
bool sectionName(const std::string& s, const Line& line, Span& name) {
    Span t = trimmed(s, line.begin, line.end);
    if (t.begin == t.end || s[t.begin] != '[') return false;
    size_t close = s.find(']', t.begin + 1);
    size_t stop = (close == std::string::npos || close > t.end) ? t.end : close;
    name = trimmed(s, t.begin + 1, stop);
    return true;
}

// For a key line, the spans of key and value; false for lines without '='.
bool keyValue(const std::string& s, const Line& line, Span& key, Span& value) {
    size_t eq = s.find('=', line.begin);
    if (eq == std::string::npos || eq >= line.end) return false;
    key = trimmed(s, line.begin, eq);
    value = trimmed(s, eq + 1, line.end);
    return true;
}

// Where a key line of `section` lives. found: the key line exists (at keyLine).
// sectionFound: the section exists; insertAt is where a new key line goes.
struct Location {
    bool sectionFound = false;
    bool found = false;
    Line keyLine{0, 0, 0};
    size_t insertAt = 0;
};

Location locate(const std::string& s, const char* section, const char* key) {
    Location loc;
    bool inSection = false;
    for (size_t pos = 0; pos < s.size();) {
        Line line = lineAt(s, pos);
        Span name;
        if (sectionName(s, line, name)) {
            if (loc.sectionFound && inSection) break;  // end of the first matching section
            inSection = equalsIgnoreCase(s, name, section);
            if (inSection) {
                loc.sectionFound = true;
                loc.insertAt = line.next;
            }
        } else if (inSection) {
            Span k, v;
            if (keyValue(s, line, k, v) && equalsIgnoreCase(s, k, key)) {
                loc.found = true;
                loc.keyLine = line;
                return loc;
            }
            if (trimmed(s, line.begin, line.end).begin != line.end) loc.insertAt = line.next;
        }
        pos = line.next;
    }
    return loc;
}

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

// A value or key must stay on its line.
std::string oneLine(const char* text) {
    std::string s(text);
    size_t cut = s.find_first_of("\r\n");
    if (cut != std::string::npos) s.resize(cut);
    return s;
}

// Gives the file's last line its line end before a line is added after it. A
// lone CR there is half of one: only the LF is added, since CR CR LF would
// leave a CR in that line's value.
void endLastLine(std::string& s, const char* eol) {
    if (s.empty() || s[s.size() - 1] == '\n') return;
    s += s[s.size() - 1] == '\r' ? "\n" : eol;
}

}  // namespace

void readProfileString(const char* section, const char* key, char* out, size_t cap,
                       const char* path) {
    if (cap == 0) return;
    out[0] = '\0';
    std::string s;
    if (!readWholeFile(path, s)) return;
    Location loc = locate(s, section, key);
    if (!loc.found) return;
    Span k{0, 0}, v{0, 0};
    keyValue(s, loc.keyLine, k, v);
    size_t n = v.end - v.begin;
    if (n > cap - 1) n = cap - 1;
    memcpy(out, s.data() + v.begin, n);
    out[n] = '\0';
}

bool writeProfileString(const char* section, const char* key, const char* value, const char* path) {
    std::string s;
    readWholeFile(path, s);
    const char* eol = (s.empty() || s.find("\r\n") != std::string::npos) ? "\r\n" : "\n";
    std::string entry = oneLine(key) + "=" + oneLine(value);
    Location loc = locate(s, section, key);
    if (loc.found) {
        s.replace(loc.keyLine.begin, loc.keyLine.end - loc.keyLine.begin, entry);
    } else if (loc.sectionFound) {
        size_t at = loc.insertAt;
        if (at == s.size()) {  // section ends on a last line, perhaps without line end
            endLastLine(s, eol);
            at = s.size();
        }
        s.insert(at, entry + eol);
    } else {
        endLastLine(s, eol);
        s += "[" + oneLine(section) + "]" + eol + entry + eol;
    }
    return replaceFileAtomically(path, s);
}
