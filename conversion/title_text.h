// A column's text read as a title: its characters decoded whether the file is
// UTF-8 or Shift-JIS, full-width ASCII read as ASCII, and the blanks,
// punctuation, letter case and endings that titles vary in set aside, so that
// one list of titles (written in UTF-8) serves every encoding.
#pragma once

#include <stddef.h>
#include <stdint.h>

// What a title's ending says: the times' zone or the frequency's unit.
enum TitleEnding : uint8_t { kEndingNone, kEndingUtc, kEndingJst, kEndingMhz, kEndingKhz };

enum : size_t { kTitleKeyCapacity = 96 };

// A title as it is looked up: UTF-8, ASCII letters in lower case, without
// blanks (U+3000 too), '_', '-', '.', '(', ')', '[', ']' and '/'.
struct TitleKey {
    char text[kTitleKeyCapacity];
    size_t length;
    TitleEnding ending;  // the ending dropped from it, or the one it is
};

// The key of length bytes of text: decoded as UTF-8 when they are valid
// UTF-8, else as Shift-JIS (code page 932); the full-width forms U+FF01 to
// U+FF5E read as ASCII; blanks and the punctuation above dropped; then an
// ending "(W)" or "[W]" dropped, and an ending UTC, GMT, JST, MHz or kHz
// (in any case, bracketed or not) dropped and noted, each only where
// something is left ("UTC" alone stays "utc", and notes UTC). False where the
// text holds a character the Shift-JIS reading does not know (only those of
// the program's titles and full-width ASCII), or is too long for a title.
bool makeTitleKey(const char* text, size_t length, TitleKey& key);

// The characters of code page 932 the titles need: each character's
// Shift-JIS code (lead byte high) and its Unicode code point, by code.
struct ShiftJisCharacter {
    uint16_t code;
    uint16_t codePoint;
};
extern const ShiftJisCharacter kShiftJisTitleCharacters[];
extern const size_t kShiftJisTitleCharacterCount;
