// The preview window: the first records of the CSV file as Convert would
// write them with the form's settings, a grid shown beside the main window
// while the window stays usable, and the columns a title row gives taken in
// one click. Nothing is written.
#pragma once

#include <windows.h>

// Reads the form as Convert does, previews the CSV file and shows the grid,
// opening the preview window or bringing the open one up to date.
void showPreview();
// The same for a CSV file just chosen, but the window opens by itself only
// where the file's title row gives other columns than the form's.
void previewChosenCsv();
