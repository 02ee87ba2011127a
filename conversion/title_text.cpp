#include "conversion/title_text.h"

namespace {

enum : size_t { kMaxTitleCharacters = 40 };

// A title's characters while its key is made.
struct TitleCharacters {
    uint32_t at[kMaxTitleCharacters];
    size_t count;
};

// The next character of UTF-8 text, or -1 where the bytes are no UTF-8 (an
// overlong form, a surrogate, beyond U+10FFFF, a sequence cut short).
int32_t nextUtf8(const unsigned char*& p, const unsigned char* end) {
    const unsigned lead = *p++;
    if (lead < 0x80) return static_cast<int32_t>(lead);
    size_t extra;
    uint32_t c, least;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, c = lead & 0x1Fu, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, c = lead & 0x0Fu, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, c = lead & 0x07u, least = 0x10000;
    } else {
        return -1;
    }
    if (static_cast<size_t>(end - p) < extra) return -1;
    for (size_t i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) return -1;
        c = c << 6 | (p[i] & 0x3Fu);
    }
    p += extra;
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return -1;
    return static_cast<int32_t>(c);
}

// The next character of Shift-JIS text, or -1 for one the table does not hold
// (half-width katakana among them).
int32_t nextShiftJis(const unsigned char*& p, const unsigned char* end) {
    const unsigned lead = *p++;
    if (lead < 0x80) return static_cast<int32_t>(lead);
    if (!((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) || p == end) return -1;
    const unsigned code = lead << 8 | *p++;
    size_t low = 0, high = kShiftJisTitleCharacterCount;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (kShiftJisTitleCharacters[middle].code < code) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low == kShiftJisTitleCharacterCount || kShiftJisTitleCharacters[low].code != code)
        return -1;
    return kShiftJisTitleCharacters[low].codePoint;
}

// Keeps a character as titles are compared: full-width ASCII as ASCII, ASCII
// letters in lower case, blanks and the punctuation titles vary in dropped
// (brackets are dropped later, after the endings they mark); false when the
// title has no room left.
bool keep(TitleCharacters& title, uint32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;
    if (c == 0x3000 || c == ' ' || c == '\t' || c == '_' || c == '-' || c == '.' || c == '/')
        return true;
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
    if (title.count == kMaxTitleCharacters) return false;
    title.at[title.count++] = c;
    return true;
}

bool isUtf8(const unsigned char* p, const unsigned char* end) {
    while (p < end) {
        if (nextUtf8(p, end) < 0) return false;
    }
    return true;
}

// Reads the characters of the text, as UTF-8 where it is valid UTF-8, else as
// Shift-JIS; false at a character unknown or where the title has no room.
bool readCharacters(const unsigned char* p, const unsigned char* end, TitleCharacters& title) {
    int32_t (*const next)(const unsigned char*&, const unsigned char*) =
        isUtf8(p, end) ? nextUtf8 : nextShiftJis;
    title.count = 0;
    while (p < end) {
        const int32_t c = next(p, end);
        if (c < 0 || !keep(title, static_cast<uint32_t>(c))) return false;
    }
    return true;
}

// True when the title ends with the ASCII text (in lower case).
bool endsWith(const TitleCharacters& title, const char* ending, size_t length) {
    if (title.count < length) return false;
    const uint32_t* tail = title.at + title.count - length;
    for (size_t i = 0; i < length; ++i) {
        if (tail[i] != static_cast<unsigned char>(ending[i])) return false;
    }
    return true;
}

const struct {
    const char* text;
    TitleEnding ending;
} kEndings[] = {
    {"utc", kEndingUtc}, {"gmt", kEndingUtc}, {"jst", kEndingJst},
    {"mhz", kEndingMhz}, {"khz", kEndingKhz},
};

// Drops the endings: "(w)" or "[w]", then the brackets, then a time zone or
// frequency unit, which it notes.
TitleEnding dropEndings(TitleCharacters& title) {
    if (title.count > 3 && (endsWith(title, "(w)", 3) || endsWith(title, "[w]", 3)))
        title.count -= 3;
    size_t kept = 0;
    for (size_t i = 0; i < title.count; ++i) {
        const uint32_t c = title.at[i];
        if (c != '(' && c != ')' && c != '[' && c != ']') title.at[kept++] = c;
    }
    title.count = kept;
    for (const auto& known : kEndings) {
        if (!endsWith(title, known.text, 3)) continue;
        if (title.count > 3) title.count -= 3;
        return known.ending;
    }
    return kEndingNone;
}

// The characters as UTF-8 into the key; false when they do not fit.
bool encodeKey(const TitleCharacters& title, TitleKey& key) {
    char* p = key.text;
    char* const end = key.text + sizeof key.text - 1;
    for (size_t i = 0; i < title.count; ++i) {
        const uint32_t c = title.at[i];
        const size_t bytes = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        if (static_cast<size_t>(end - p) < bytes) return false;
        if (bytes == 1) {
            *p++ = static_cast<char>(c);
            continue;
        }
        static const unsigned char kLeadMark[] = {0, 0, 0xC0, 0xE0, 0xF0};
        *p++ = static_cast<char>(kLeadMark[bytes] | c >> (6 * (bytes - 1)));
        for (size_t shift = 6 * (bytes - 1); shift > 0;) {
            shift -= 6;
            *p++ = static_cast<char>(0x80 | ((c >> shift) & 0x3F));
        }
    }
    *p = '\0';
    key.length = static_cast<size_t>(p - key.text);
    return true;
}

}  // namespace

bool makeTitleKey(const char* text, size_t length, TitleKey& key) {
    key.text[0] = '\0';
    key.length = 0;
    key.ending = kEndingNone;
    const unsigned char* const begin = reinterpret_cast<const unsigned char*>(text);
    TitleCharacters title;
    if (!readCharacters(begin, begin + length, title)) return false;
    key.ending = dropEndings(title);
    return encodeKey(title, key);
}

// Code page 932's mapping of the characters the titles are written with, the
// ideographic space and the full-width forms U+FF01 to U+FF5E: each
// character's code as Python's cp932 codec encodes it, by code.
const ShiftJisCharacter kShiftJisTitleCharacters[] = {
    {0x8140, 0x3000}, {0x8143, 0xFF0C}, {0x8144, 0xFF0E}, {0x8146, 0xFF1A}, {0x8147, 0xFF1B},
    {0x8148, 0xFF1F}, {0x8149, 0xFF01}, {0x814D, 0xFF40}, {0x814F, 0xFF3E}, {0x8151, 0xFF3F},
    {0x815B, 0x30FC}, {0x815E, 0xFF0F}, {0x815F, 0xFF3C}, {0x8160, 0xFF5E}, {0x8162, 0xFF5C},
    {0x8169, 0xFF08}, {0x816A, 0xFF09}, {0x816D, 0xFF3B}, {0x816E, 0xFF3D}, {0x816F, 0xFF5B},
    {0x8170, 0xFF5D}, {0x817B, 0xFF0B}, {0x817C, 0xFF0D}, {0x8181, 0xFF1D}, {0x8183, 0xFF1C},
    {0x8184, 0xFF1E}, {0x8190, 0xFF04}, {0x8193, 0xFF05}, {0x8194, 0xFF03}, {0x8195, 0xFF06},
    {0x8196, 0xFF0A}, {0x8197, 0xFF20}, {0x824F, 0xFF10}, {0x8250, 0xFF11}, {0x8251, 0xFF12},
    {0x8252, 0xFF13}, {0x8253, 0xFF14}, {0x8254, 0xFF15}, {0x8255, 0xFF16}, {0x8256, 0xFF17},
    {0x8257, 0xFF18}, {0x8258, 0xFF19}, {0x8260, 0xFF21}, {0x8261, 0xFF22}, {0x8262, 0xFF23},
    {0x8263, 0xFF24}, {0x8264, 0xFF25}, {0x8265, 0xFF26}, {0x8266, 0xFF27}, {0x8267, 0xFF28},
    {0x8268, 0xFF29}, {0x8269, 0xFF2A}, {0x826A, 0xFF2B}, {0x826B, 0xFF2C}, {0x826C, 0xFF2D},
    {0x826D, 0xFF2E}, {0x826E, 0xFF2F}, {0x826F, 0xFF30}, {0x8270, 0xFF31}, {0x8271, 0xFF32},
    {0x8272, 0xFF33}, {0x8273, 0xFF34}, {0x8274, 0xFF35}, {0x8275, 0xFF36}, {0x8276, 0xFF37},
    {0x8277, 0xFF38}, {0x8278, 0xFF39}, {0x8279, 0xFF3A}, {0x8281, 0xFF41}, {0x8282, 0xFF42},
    {0x8283, 0xFF43}, {0x8284, 0xFF44}, {0x8285, 0xFF45}, {0x8286, 0xFF46}, {0x8287, 0xFF47},
    {0x8288, 0xFF48}, {0x8289, 0xFF49}, {0x828A, 0xFF4A}, {0x828B, 0xFF4B}, {0x828C, 0xFF4C},
    {0x828D, 0xFF4D}, {0x828E, 0xFF4E}, {0x828F, 0xFF4F}, {0x8290, 0xFF50}, {0x8291, 0xFF51},
    {0x8292, 0xFF52}, {0x8293, 0xFF53}, {0x8294, 0xFF54}, {0x8295, 0xFF55}, {0x8296, 0xFF56},
    {0x8297, 0xFF57}, {0x8298, 0xFF58}, {0x8299, 0xFF59}, {0x829A, 0xFF5A}, {0x8343, 0x30A4},
    {0x834F, 0x30B0}, {0x8350, 0x30B1}, {0x8352, 0x30B3}, {0x8354, 0x30B5}, {0x835E, 0x30BF},
    {0x8362, 0x30C3}, {0x8367, 0x30C8}, {0x8368, 0x30C9}, {0x836F, 0x30D0}, {0x8381, 0x30E1},
    {0x8382, 0x30E2}, {0x838A, 0x30EA}, {0x838B, 0x30EB}, {0x838D, 0x30ED}, {0x8393, 0x30F3},
    {0x895E, 0x904B}, {0x8AD4, 0x9593}, {0x8BC7, 0x5C40}, {0x8BF3, 0x7A7A}, {0x8C5E, 0x578B},
    {0x8C60, 0x5F62}, {0x8C8E, 0x6708}, {0x8CC4, 0x547C}, {0x8CF0, 0x4EA4}, {0x8D6C, 0x8003},
    {0x8D86, 0x53F7}, {0x8D8F, 0x523B}, {0x8E81, 0x6C0F}, {0x8E9E, 0x6642}, {0x8EA9, 0x81EA},
    {0x8EAE, 0x5F0F}, {0x8EE8, 0x624B}, {0x8EF3, 0x53D7}, {0x8EFC, 0x5468}, {0x8F6F, 0x51FA},
    {0x904D, 0x4FE1}, {0x9094, 0x6570}, {0x90FC, 0x7DDA}, {0x914F, 0x524D}, {0x918A, 0x76F8},
    {0x9197, 0x9001}, {0x926E, 0x5730}, {0x9286, 0x4E2D}, {0x9364, 0x96FB}, {0x93FA, 0x65E5},
    {0x944E, 0x5E74}, {0x9467, 0x6CE2}, {0x94F5, 0x5099}, {0x9574, 0x4ED8}, {0x9584, 0x7B26},
    {0x95AA, 0x5206}, {0x96BC, 0x540D}, {0x9770, 0x7528}, {0x97CD, 0x529B}, {0xEEFB, 0xFF07},
    {0xEEFC, 0xFF02},
};
const size_t kShiftJisTitleCharacterCount =
    sizeof kShiftJisTitleCharacters / sizeof kShiftJisTitleCharacters[0];
