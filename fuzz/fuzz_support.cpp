#include "fuzz_support.h"

#include <dirent.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace fuzz {

namespace {

std::string makeScratch() {
    const char* base = "/dev/shm";
    struct stat st;
    if (stat(base, &st) != 0 || !S_ISDIR(st.st_mode) || access(base, W_OK) != 0) {
        base = getenv("TMPDIR");
        if (base == nullptr || base[0] == '\0') base = "/tmp";
    }
    std::string templ = std::string(base) + "/vantrel-fuzz-XXXXXX";
    if (mkdtemp(&templ[0]) == nullptr) {
        perror("mkdtemp");
        abort();
    }
    return templ + "/";
}

std::vector<std::string> scratchNames() {
    std::vector<std::string> names;
    DIR* dir = opendir(scratchDir().c_str());
    if (dir == nullptr) return names;
    while (struct dirent* entry = readdir(dir)) {
        if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0)
            names.push_back(entry->d_name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

void removeScratch() {
    clearScratch();
    rmdir(scratchDir().c_str());
}

}  // namespace

const std::string& scratchDir() {
    // Never destroyed, so that the exit handler can still use it.
    static const std::string* const dir = [] {
        const std::string* made = new std::string(makeScratch());
        return made;
    }();
    static const bool removedAtExit = atexit(removeScratch) == 0;
    (void)removedAtExit;
    return *dir;
}

void writeFile(const std::string& path, const void* data, size_t size) {
    FILE* f = fopen(path.c_str(), "wb");
    if (f == nullptr || (size > 0 && fwrite(data, 1, size, f) != size) || fclose(f) != 0) {
        perror(path.c_str());
        abort();
    }
}

bool readFile(const std::string& path, std::string& out) {
    out.clear();
    FILE* f = fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    char chunk[8192];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0)
        out.append(chunk, n);
    bool ok = ferror(f) == 0;
    fclose(f);
    return ok;
}

void clearScratch() {
    for (const std::string& name : scratchNames())
        unlink((scratchDir() + name).c_str());
}

std::string listScratch() {
    std::string list;
    for (const std::string& name : scratchNames())
        list += "[" + name + "] ";
    return list;
}

std::string escaped(const std::string& bytes, size_t max) {
    std::string out;
    for (size_t i = 0; i < bytes.size() && i < max; ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    if (bytes.size() > max) out += "...";
    return out;
}

}  // namespace fuzz
