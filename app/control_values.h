// The controls of a window that show the settings table's rows of one place
// (the form's, or the More columns dialog's): their values to and from a
// settings record.
#pragma once

#include <windows.h>

#include "settings/conversion_settings.h"

// Whether the check box with the id is checked, and it checked or not.
bool isChecked(HWND dialog, int id);
void setCheck(HWND dialog, int id, bool on);

// Each row's control of the place into its field: a check box as 1 or 0, a
// text as the field's rule stores it; an emptied designator box stores "-".
void readSettingControls(HWND dialog, SettingPlace place, ConversionSettings& settings);
// Each row's field onto its control.
void writeSettingControls(HWND dialog, SettingPlace place, const ConversionSettings& settings);
