#include "app/window_state.h"

#include <string.h>

MainWindow theMainWindow;

void constructMainWindow() {
    memset(&theMainWindow, 0, sizeof theMainWindow);
}
