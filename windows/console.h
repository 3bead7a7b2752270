// Windows only: what a double click on orvessa.exe would otherwise leave on the screen.
#pragma once

// Closes the console window that Windows opens for a console program started from Explorer,
// since the walk-through has nothing to say there. Started from a terminal, the program keeps
// the terminal, so that its answers and diagnostics still show in it.
void releaseOwnConsole();
