#include "conversion/logbook_format.h"

#include <string.h>

namespace {

const unsigned char kByteOrderMark[] = {0xEF, 0xBB, 0xBF};

// The separator the first line holds most often outside quotes. Quotes mean
// what they mean to the splitter: one opens quoting anywhere; inside quotes a
// doubled quote is a quote and a single one closes; CR, LF and NUL end
// quoting.
unsigned char firstLineSeparator(const unsigned char* p, const unsigned char* end,
                                 unsigned char terminator) {
    size_t commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (; p < end && *p != terminator; ++p) {
        const unsigned char c = *p;
        if (c == '"') {
            if (quoted && p + 1 < end && p[1] == '"') {
                ++p;  // a doubled quote inside quotes
            } else {
                quoted = !quoted;
            }
        } else if (c == '\r' || c == '\n' || c == '\0') {
            quoted = false;
        } else if (!quoted) {
            commas += c == ',';
            semicolons += c == ';';
            tabs += c == '\t';
        }
    }
    if (tabs > commas && tabs > semicolons) return '\t';
    if (semicolons > commas) return ';';
    return ',';
}

}  // namespace

LogbookFormat settleLogbookFormat(const char* block, size_t length) {
    if (length > kFormatWindow) length = kFormatWindow;
    const unsigned char* const begin = reinterpret_cast<const unsigned char*>(block);
    const unsigned char* const end = begin + length;
    LogbookFormat format = {true, 0, '\n', ','};
    if (memchr(begin, '\0', length) != nullptr) {
        format.isText = false;
        return format;
    }
    if (length >= sizeof kByteOrderMark &&
        memcmp(begin, kByteOrderMark, sizeof kByteOrderMark) == 0)
        format.skip = sizeof kByteOrderMark;
    if (memchr(begin, '\n', length) == nullptr && memchr(begin, '\r', length) != nullptr)
        format.terminator = '\r';
    format.separator = firstLineSeparator(begin + format.skip, end, format.terminator);
    return format;
}
