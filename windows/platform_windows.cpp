// Windows: lets go of a console window nobody else shares.
#include "app/platform.h"

#include <windows.h>

// A console program started from Explorer (a double click) gets a console window of its own,
// which the walk-through has nothing to say in; started from a terminal, it keeps the
// terminal, so that its diagnostics still show there.
void adaptToPlatform(const char* /*windowTitle*/) {
    // A console lists every process attached to it. When this one is alone, Windows made the
    // console for it; a terminal would list its shell too.
    DWORD processes[2];
    if (GetConsoleProcessList(processes, 2) == 1) {
        FreeConsole();
    }
}
