#include "platform/ini_text.h"

#include <string.h>

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

// The line at pos, ended by LF, CR LF or a lone CR.
Line lineAt(const std::string& s, size_t pos) {
    const size_t end = s.find_first_of("\r\n", pos);
    if (end == std::string::npos) return Line{{pos, s.size()}, s.size()};
    const size_t next =
        (s[end] == '\r' && end + 1 < s.size() && s[end + 1] == '\n') ? end + 2 : end + 1;
    return Line{{pos, end}, next};
}

// For a section line, the span of its name; false for other lines. A line
// that opens with '[' but has no ']' starts no section.
bool sectionName(const std::string& s, const Line& line, Span& name) {
    const Span t = trimmed(s, line.bytes);
    if (t.begin == t.end || s[t.begin] != '[') return false;
    const size_t close = s.find(']', t.begin + 1);
    if (close == std::string::npos || close >= t.end) return false;
    name = trimmed(s, Span{t.begin + 1, close});
    return true;
}

// For a key line, the spans of key and value; false for lines without '='.
bool keyValue(const std::string& s, const Line& line, Span& key, Span& value) {
    const size_t eq = s.find('=', line.bytes.begin);
    if (eq == std::string::npos || eq >= line.bytes.end) return false;
    key = trimmed(s, Span{line.bytes.begin, eq});
    value = trimmed(s, Span{eq + 1, line.bytes.end});
    // A value in a pair of matching quotes is read without them.
    if (value.end - value.begin >= 2) {
        const char first = s[value.begin];
        if ((first == '"' || first == '\'') && s[value.end - 1] == first) {
            ++value.begin;
            --value.end;
        }
    }
    return true;
}

// Calls visit(line, key, value) for each key line of the first section named
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
            Span key, value;
            if (keyValue(s, line, key, value)) {
                insertAt = line.next;
                if (!visit(line, key, value)) break;
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
    const size_t end = s.find_first_of("\r\n");
    if (end == std::string::npos) return "\r\n";
    if (s[end] == '\n') return "\n";
    return end + 1 < s.size() && s[end + 1] == '\n' ? "\r\n" : "\r";
}

}  // namespace

bool iniValue(const std::string& text, const char* section, const char* key, std::string& value) {
    bool found = false;
    value.clear();
    walkSection(text, section, [&](const Line&, Span k, Span v) {
        if (!equalsIgnoreCase(text, k, key)) return true;
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
    const size_t insertAt = walkSection(text, section, [&](const Line& line, Span k, Span) {
        if (!equalsIgnoreCase(text, k, key)) return true;
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
    walkSection(text, section, [&](const Line&, Span k, Span) {
        keys.emplace_back(text, k.begin, k.end - k.begin);
        return true;
    });
    return keys;
}
