// File > More columns...: the columns of the ADIF fields beyond the form's
// items, in a modal dialog.
#pragma once

// Shows the dialog over the main window; OK takes its values into the
// settings, Cancel and Escape change nothing.
void showMoreColumns();
