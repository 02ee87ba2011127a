#include "app/control_values.h"

#include <string.h>

#include "common/text.h"

bool isChecked(HWND dialog, int id) {
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void setCheck(HWND dialog, int id, bool on) {
    SendDlgItemMessageA(dialog, id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void readSettingControls(HWND dialog, SettingPlace place, ConversionSettings& settings) {
    for (const SettingDescriptor& row : kSettingsTable) {
        if (row.place != place) continue;
        void* field = settingField(settings, row);
        if (row.control == kCheckBox) {
            const int32_t on = isChecked(dialog, row.controlId) ? 1 : 0;
            memcpy(field, &on, sizeof on);
            continue;
        }
        // Read with room to spare: the field's own rule cuts a text too long
        // for it without splitting a double-byte character, and a number is
        // read from up to 255 bytes of text.
        char text[kSettingValueCapacity];
        GetDlgItemTextA(dialog, row.controlId, text, static_cast<int>(sizeof text));
        // An emptied designator box leaves its item out for good.
        if (row.control == kDesignatorBox && text[0] == '\0') copyText(text, kNoColumnDesignator);
        storeSettingValue(row, field, text);
    }
}

void writeSettingControls(HWND dialog, SettingPlace place, const ConversionSettings& settings) {
    for (const SettingDescriptor& row : kSettingsTable) {
        if (row.place != place) continue;
        const void* field = settingField(settings, row);
        if (row.control == kCheckBox) {
            int32_t value;
            memcpy(&value, field, sizeof value);
            setCheck(dialog, row.controlId, value != 0);
            continue;
        }
        char text[kSettingValueCapacity];
        formatSettingValue(row, field, text);
        SetDlgItemTextA(dialog, row.controlId, text);
    }
}
