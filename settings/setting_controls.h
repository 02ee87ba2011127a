// Ids of the settings form's controls that show a setting: the edit boxes and
// check boxes named in the settings table (the form's, and two of the More
// columns dialog). Plain #defines only: the resource
// compiler reads this file too.
#pragma once

// Edit boxes.
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

// Check boxes.
#define IDC_CHECK_MHZ 1019
#define IDC_CHECK_KHZ 1020
#define IDC_CHECK_RST_RCVD 1021
#define IDC_CHECK_MY_GL 1022
#define IDC_CHECK_COMMENT 1023

// Check boxes of the More columns dialog.
#define IDC_CHECK_BAND_FROM_FREQ 1024
#define IDC_CHECK_MODE_TO_ADIF 1025
