// A whole file read into memory, telling a missing file from one that is
// there but cannot be read (a folder, no permission, a read error).
#pragma once

#include <string>

enum WholeFileRead { kWholeFileRead, kWholeFileMissing, kWholeFileUnreadable };

WholeFileRead readWholeFile(const char* path, std::string& text);
