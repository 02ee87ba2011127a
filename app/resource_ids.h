// Resource and control ids shared by the program's code and vantrel.rc.
// Plain #defines only: the resource compiler reads this file too.
#pragma once

// Icons, menu, the templates of the settings form, the preview and More columns.
#define IDI_VANTREL_LARGE 107
#define IDI_VANTREL_SMALL 108
#define IDR_MAIN_MENU 109
#define IDD_SETTINGS_FORM 301
#define IDD_PREVIEW 302
#define IDD_MORE_COLUMNS 303

// The main window's class, and its title and About line.
#define VANTREL_WINDOW_CLASS "WindowClass"
#define VANTREL_ABOUT_LINE "Vantrel (Win32) Ver 0.03  Build 2014_1208_0000  by N0CALL"

// Menu commands.
#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDM_PREVIEW 106
#define IDM_REPORT 110
#define IDM_MORE_COLUMNS 111
// Not on the menu: the preview of a CSV file just chosen (Browse, a drop),
// shown where its title row gives other columns than the form's.
#define IDM_PREVIEW_CHOSEN 112

// The controls that show a setting.
#include "settings/setting_controls.h"

// Settings form: buttons.
#define IDC_CONVERT 1017
#define IDC_BROWSE 1018

// Settings form: labels.
#define IDC_LABEL_CSV_FILE 1101
#define IDC_LABEL_MY_CALLSIGN 1102
#define IDC_LABEL_YEAR 1103
#define IDC_LABEL_MONTH 1104
#define IDC_LABEL_DAY 1105
#define IDC_LABEL_HOUR 1106
#define IDC_LABEL_MINUTE 1107
#define IDC_LABEL_CALLSIGN 1108
#define IDC_LABEL_BAND 1109
#define IDC_LABEL_MODE 1110
#define IDC_LABEL_RST_SENT 1111
#define IDC_LABEL_RST_RCVD 1112
#define IDC_LABEL_FREQ 1113
#define IDC_LABEL_MY_GL 1114
#define IDC_LABEL_COMMENT 1115
#define IDC_LABEL_TIME_DIFF 1116

// Preview window: the report's lines below the grid, the grid, the line
// above it that tells what a title row gives, and the button that takes
// those columns (its Close button is IDCANCEL, as Escape is).
#define IDC_PREVIEW_TEXT 1201
#define IDC_PREVIEW_GRID 1202
#define IDC_PREVIEW_TITLES 1203
#define IDC_PREVIEW_USE_TITLES 1204

// More columns (OK and Cancel are IDOK and IDCANCEL): the line above the
// fields, the list of the other fields with a column, and the label and box
// of the k-th field the dialog shows (k below 30).
#define IDC_MORE_COLUMNS_HINT 1301
#define IDC_MORE_COLUMNS_OTHERS 1302
#define IDC_MORE_COLUMNS_LABELS 1310
#define IDC_MORE_COLUMNS_BOXES 1340
