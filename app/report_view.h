// The last conversion's report in the window: how many notes and warnings, in
// a second part of the status bar, and the report itself in a message box.
#pragma once

#include <windows.h>

// Puts the report's counts into the status bar's second part, or takes that
// part away when there is nothing to report (called when the status changed).
void showReportCounts();

// True for a click on the status bar's second part.
bool isReportPartClick(const NMHDR& notification);

// The report in a message box owned by the main window.
void showReportBox();
