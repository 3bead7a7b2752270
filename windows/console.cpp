// Windows only: lets go of a console window nobody else shares.
#include "windows/console.h"

#include <windows.h>

void releaseOwnConsole() {
    // A console lists every process attached to it. When this one is alone, Windows made the
    // console for it (a double click); a terminal would list its shell too.
    DWORD processes[2];
    if (GetConsoleProcessList(processes, 2) == 1) {
        FreeConsole();
    }
}
