// The preview window: the first records of the CSV file as Convert would
// write them with the form's settings, shown beside the main window while the
// window stays usable. Nothing is written.
#pragma once

#include <windows.h>

// Reads the form as Convert does, previews the CSV file and shows the text,
// opening the preview window or bringing the open one up to date.
void showPreview();
