// Resource and control ids shared by the program's code and vantrel.rc.
// Plain #defines only: the resource compiler reads this file too.
#pragma once

// Icons, menu, the settings form's template.
#define IDI_VANTREL_LARGE 107
#define IDI_VANTREL_SMALL 108
#define IDR_MAIN_MENU 109
#define IDD_SETTINGS_FORM 301

// Menu commands.
#define IDM_ABOUT 104
#define IDM_EXIT 105

// Settings form: edit boxes.
#define IDC_CSV_PATH 1001
#define IDC_MY_CALLSIGN 1002
#define IDC_COLUMN_YEAR 1003
#define IDC_COLUMN_MONTH 1004
#define IDC_COLUMN_DAY 1005
#define IDC_COLUMN_HOUR 1006
#define IDC_COLUMN_MINUTE 1007
#define IDC_COLUMN_CALLSIGN 1008
#define IDC_COLUMN_BAND 1009
#define IDC_COLUMN_MODE 1010
#define IDC_COLUMN_RST_SENT 1011
#define IDC_COLUMN_RST_RCVD 1012
#define IDC_COLUMN_FREQ 1013
#define IDC_COLUMN_GL 1014
#define IDC_COLUMN_COMMENT 1015
#define IDC_TIME_ZONE 1016

// Settings form: buttons and check boxes.
#define IDC_CONVERT 1017
#define IDC_BROWSE 1018
#define IDC_CHECK_MHZ 1019
#define IDC_CHECK_KHZ 1020
#define IDC_CHECK_RST_RCVD 1021
#define IDC_CHECK_MY_GL 1022
#define IDC_CHECK_COMMENT 1023

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
