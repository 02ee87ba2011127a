#include "cli/settings_check.h"

#include <algorithm>

#include <vector>

#include "common/text.h"
#include "platform/ini_text.h"
#include "settings/conversion_settings.h"
#include "settings/settings_file.h"

namespace {

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// How alike two keys are, letter case aside: twice their longest common
// subsequence over their lengths together (1 for the same key). Unlike an
// edit distance this favours the key a shortened or misspelt one was taken
// from: COLUMN_CALL is nearer COLUMN_CALLSIGN than COLUMN_DAY.
double likeness(const std::string& a, const char* b) {
    const std::string other(b);
    std::vector<size_t> row(other.size() + 1, 0);
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = 0;
        for (size_t j = 1; j <= other.size(); ++j) {
            const size_t above = row[j];
            row[j] =
                upper(a[i - 1]) == upper(other[j - 1]) ? diagonal + 1 : std::max(above, row[j - 1]);
            diagonal = above;
        }
    }
    return 2.0 * static_cast<double>(row[other.size()]) /
           static_cast<double>(a.size() + other.size());
}

bool beginsWith(const char* text, const std::string& start) {
    for (size_t i = 0; i < start.size(); ++i) {
        if (text[i] == '\0' || upper(text[i]) != upper(start[i])) return false;
    }
    return true;
}

// Each key of the settings: the table's, then COLUMN_<FIELD> of every ADIF
// field that takes a column.
template <typename Visit>
void forEachKnownKey(Visit visit) {
    for (const SettingDescriptor& row : kSettingsTable)
        visit(row.key);
    for (size_t k = 0; k < kColumnFieldCount; ++k) {
        char key[kColumnKeyCapacity];
        columnFieldKey(k, key);
        visit(key);
    }
}

}  // namespace

void warnAboutSettings(FILE* to, const char* path, const std::string& text) {
    for (const std::string& key : iniKeys(text, kSettingsSection)) {
        // A line commented out, ";COLUMN_CALL=F" or "# note=1", is no key
        // the user meant.
        if (key[0] == ';' || key[0] == '#') continue;
        std::string nearest;
        double best = -1;
        bool known = false;
        forEachKnownKey([&](const char* knownKey) {
            // A key cut short (COLUMN_CALL of COLUMN_CALLSIGN) is nearest
            // the keys it begins.
            const double alike = likeness(key, knownKey) + (beginsWith(knownKey, key) ? 1 : 0);
            known = known || alike == 2.0;  // the same key, letter case aside
            if (alike > best) {
                best = alike;
                nearest = knownKey;
            }
        });
        if (!known)
            fprintf(to, "%s: warning: unknown key %s; did you mean %s?\n", path, key.c_str(),
                    nearest.c_str());
    }
    for (const SettingDescriptor& row : kSettingsTable) {
        std::string value;
        if (row.control != kCheckBox || !iniValue(text, kSettingsSection, row.key, value)) continue;
        const int32_t number = parseLeadingInt(value.c_str());
        if (!value.empty() && number != 0 && number != 1)
            fprintf(to, "%s: warning: %s=%s counts as off here; the window shows it checked\n",
                    path, row.key, value.c_str());
    }
}
