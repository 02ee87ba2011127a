#include "platform/whole_file.h"

#include <errno.h>
#include <stdio.h>

WholeFileRead readWholeFile(const char* path, std::string& text) {
    text.clear();
    FILE* f = fopen(path, "rb");
    if (f == nullptr) return errno == ENOENT ? kWholeFileMissing : kWholeFileUnreadable;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0)
        text.append(chunk, n);
    const bool failed = ferror(f) != 0;  // a folder opens on some systems, but does not read
    fclose(f);
    return failed ? kWholeFileUnreadable : kWholeFileRead;
}
