// The text of a private-profile (INI) file, read and changed in memory: the
// rules by which the POSIX build keeps its settings file, as Windows' profile
// functions keep it on Windows.
//
// A line "[name]" (blanks around name and line allowed, bytes after ']'
// ignored) starts a section; a line holding '=' is a key line, its key before
// the first '=' and its value after it, both without surrounding blanks and
// tabs, and a value in a pair of matching quotes (" or ') without them. Other
// lines (lines without '=', a '[' never closed) are kept but mean nothing.
// Section and key names match in any letter case; of repeated sections only
// the first counts, of repeated keys the first. Lines end in LF, CR LF or a
// lone CR. A UTF-8 byte order mark at the start is no part of the first line.
#pragma once

#include <string>
#include <vector>

// The value of `key` in the first section named `section`: true and its value
// when the key is there (the first such line counts), false and an empty
// value when it is not.
bool iniValue(const std::string& text, const char* section, const char* key, std::string& value);

// Sets `key` to `value` in the text: the key's first line in the section is
// replaced; a missing key is added after the section's last key line, and a
// missing section at the end of the text. A new line ends as the text's lines
// do (CR LF in a new text). Every other line stays as it was, byte for byte.
// Line ends in key or value are dropped from the point they start.
void iniSetValue(std::string& text, const char* section, const char* key, const char* value);

// The keys of the first section named `section`, in text order.
std::vector<std::string> iniKeys(const std::string& text, const char* section);
