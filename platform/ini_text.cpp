#include "platform/ini_text.h"

#include <stdint.h>
#include <string.h>

#include "common/byte_scan.h"

namespace {

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Bytes [begin, end) of the text.
struct Span {
    size_t begin, end;
};

Span trimmed(const std::string& s, Span span) {
    while (span.begin < span.end && isBlank(s[span.begin]))
        ++span.begin;
    while (span.end > span.begin && isBlank(s[span.end - 1]))
        --span.end;
    return span;
}

bool equalsIgnoreCase(const std::string& s, Span span, const char* name) {
    const size_t length = strlen(name);
    if (span.end - span.begin != length) return false;
    for (size_t i = 0; i < length; ++i) {
        unsigned char a = static_cast<unsigned char>(s[span.begin + i]);
        unsigned char b = static_cast<unsigned char>(name[i]);
        if (a >= 'a' && a <= 'z') a = static_cast<unsigned char>(a - 32);
        if (b >= 'a' && b <= 'z') b = static_cast<unsigned char>(b - 32);
        if (a != b) return false;
    }
    return true;
}

// Where byte c first stands in the span, or npos: a search that never runs
// past the span's end into the rest of the text.
size_t findIn(const std::string& s, Span span, char c) {
    const void* at = memchr(s.data() + span.begin, c, span.end - span.begin);
    return at == nullptr ? std::string::npos : static_cast<const char*>(at) - s.data();
}

// One line: its bytes without the line end, and where the next line starts.
struct Line {
    Span bytes;
    size_t next;
};

// Where the text's first line starts: after a UTF-8 byte order mark (Notepad
// saves one), which belongs to no line.
size_t textStart(const std::string& s) {
    return s.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
}

// The line at pos, ended by LF, CR LF or a lone CR; its end is looked for
// eight bytes at a time.
Line lineAt(const std::string& s, size_t pos) {
    size_t end = pos;
    for (uint64_t word; s.size() - end >= 8; end += 8) {
        memcpy(&word, s.data() + end, 8);
        const uint64_t ends = bytesEqualTo(word, '\n') | bytesEqualTo(word, '\r');
        if (ends != 0) {
            end += lowestFlaggedByte(ends);
            break;
        }
    }
    while (end < s.size() && s[end] != '\n' && s[end] != '\r')
        ++end;
    if (end == s.size()) return Line{{pos, end}, end};
    const size_t next =
        (s[end] == '\r' && end + 1 < s.size() && s[end + 1] == '\n') ? end + 2 : end + 1;
    return Line{{pos, end}, next};
}

// For a section line, the span of its name; false for other lines. A line
// that opens with '[' but has no ']' starts no section.
bool sectionName(const std::string& s, const Line& line, Span& name) {
    size_t open = line.bytes.begin;
    while (open < line.bytes.end && isBlank(s[open]))
        ++open;
    if (open == line.bytes.end || s[open] != '[') return false;
    const size_t close = findIn(s, Span{open + 1, line.bytes.end}, ']');
    if (close == std::string::npos) return false;
    name = trimmed(s, Span{open + 1, close});
    return true;
}

// A key line: its key, and the bytes after its first '='.
struct KeyLine {
    Span key, rest;
};

// For a key line, its key and what follows the '='; false for lines without '='.
bool keyLine(const std::string& s, const Line& line, KeyLine& found) {
    const size_t eq = findIn(s, line.bytes, '=');
    if (eq == std::string::npos) return false;
    found.key = trimmed(s, Span{line.bytes.begin, eq});
    found.rest = Span{eq + 1, line.bytes.end};
    return true;
}

// The value of a key line: without surrounding blanks and tabs and, in a pair
// of matching quotes, without them.
Span valueOf(const std::string& s, const KeyLine& line) {
    Span value = trimmed(s, line.rest);
    if (value.end - value.begin >= 2) {
        const char first = s[value.begin];
        if ((first == '"' || first == '\'') && s[value.end - 1] == first) {
            ++value.begin;
            --value.end;
        }
    }
    return value;
}

// Calls visit(line, keyLine) for each key line of the first section named
// `section`, in order, until it returns false. Returns where a new key line of
// the section goes (after its last key line, or after its header), or npos
// when the section is missing.
template <typename Visit>
size_t walkSection(const std::string& s, const char* section, Visit visit) {
    size_t insertAt = std::string::npos;
    bool inSection = false;
    for (size_t pos = textStart(s); pos < s.size();) {
        const Line line = lineAt(s, pos);
        Span name;
        if (sectionName(s, line, name)) {
            if (inSection) break;  // the first matching section has ended
            inSection = equalsIgnoreCase(s, name, section);
            if (inSection) insertAt = line.next;
        } else if (inSection) {
            KeyLine key;
            if (keyLine(s, line, key)) {
                insertAt = line.next;
                if (!visit(line, key)) break;
            }
        }
        pos = line.next;
    }
    return insertAt;
}

// A key or value must stay on its line.
std::string oneLine(const char* text) {
    return std::string(text, strcspn(text, "\r\n"));
}

// The line end of the text's first line, CR LF in a text without one.
const char* lineEndOf(const std::string& s) {
    const Line first = lineAt(s, 0);
    if (first.bytes.end == s.size()) return "\r\n";
    if (s[first.bytes.end] == '\n') return "\n";
    return first.next - first.bytes.end == 2 ? "\r\n" : "\r";
}

}  // namespace

bool iniValue(const std::string& text, const char* section, const char* key, std::string& value) {
    bool found = false;
    value.clear();
    walkSection(text, section, [&](const Line&, const KeyLine& k) {
        if (!equalsIgnoreCase(text, k.key, key)) return true;
        const Span v = valueOf(text, k);
        value.assign(text, v.begin, v.end - v.begin);
        found = true;
        return false;
    });
    return found;
}

void iniSetValue(std::string& text, const char* section, const char* key, const char* value) {
    const std::string entry = oneLine(key) + "=" + oneLine(value);
    const char* eol = lineEndOf(text);
    Span replace{0, 0};
    bool found = false;
    const size_t insertAt = walkSection(text, section, [&](const Line& line, const KeyLine& k) {
        if (!equalsIgnoreCase(text, k.key, key)) return true;
        replace = line.bytes;
        found = true;
        return false;
    });
    if (found) {
        text.replace(replace.begin, replace.end - replace.begin, entry);
        return;
    }
    std::string lines = entry + eol;
    size_t at = insertAt;
    if (insertAt == std::string::npos) {
        lines = "[" + oneLine(section) + "]" + eol + lines;
        at = text.size();
    }
    if (at == text.size()) {
        // The last line gets its line end before a line follows it; a lone
        // CR there, in a text of CR LF lines, gets the LF it lacks.
        const bool hasLine = text.size() > textStart(text);
        if (hasLine && text.back() != '\n' && text.back() != '\r') {
            text += eol;
        } else if (hasLine && text.back() == '\r' && strcmp(eol, "\r\n") == 0) {
            text += '\n';
        }
        at = text.size();
    }
    text.insert(at, lines);
}

std::vector<std::string> iniKeys(const std::string& text, const char* section) {
    std::vector<std::string> keys;
    walkSection(text, section, [&](const Line&, const KeyLine& k) {
        keys.emplace_back(text, k.key.begin, k.key.end - k.key.begin);
        return true;
    });
    return keys;
}
