// Helpers shared by the fuzz targets: a scratch folder for the files a target
// writes, whole-file access, and a check that stops the run on a broken rule.
#pragma once

#include <stdio.h>
#include <stdlib.h>

#include <string>

namespace fuzz {

// Reports a broken rule and aborts, so that libFuzzer keeps the input.
[[noreturn]] inline void fail(const char* file, int line, const char* what,
                              const std::string& detail) {
    fprintf(stderr, "\n%s:%d: check failed: %s\n", file, line, what);
    if (!detail.empty()) fprintf(stderr, "  %s\n", detail.c_str());
    fflush(stderr);
    abort();
}

#define FUZZ_CHECK(cond, detail)                                        \
    do {                                                                \
        if (!(cond)) ::fuzz::fail(__FILE__, __LINE__, #cond, (detail)); \
    } while (0)

// A folder of this process, in memory when the machine has /dev/shm, removed
// at exit. Returned with a trailing '/'.
const std::string& scratchDir();

// Writes bytes to path, replacing the file.
void writeFile(const std::string& path, const void* data, size_t size);
// The whole file, or false when it cannot be read.
bool readFile(const std::string& path, std::string& out);
// Removes every file in the scratch folder.
void clearScratch();
// Names of the files in the scratch folder.
std::string listScratch();

// Shows bytes with C escapes, for failure messages.
std::string escaped(const std::string& bytes, size_t max = 200);

}  // namespace fuzz
