// --help of orvessa.exe, which a double click starts in its own folder.
#include "app/help_text.h"

namespace help_text {
const char* const kWhereItRuns =
    "Double-clicked, orvessa.exe runs in its own folder, beside the six that come\n"
    "with it; from a terminal, it runs in the terminal's current folder.\n";
const char* const kGlutOptions = "GLUT's options, such as -geometry WxH+X+Y, go to GLUT.\n";
const char* const kManual = "README.txt beside orvessa.exe";
} // namespace help_text
