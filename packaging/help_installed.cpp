// --help of the Linux program as packages and source builds install it, behind its launcher.
#include "app/help_text.h"

namespace help_text {
const char* const kWhereItRuns =
    "The installed orvessa command runs it in the current folder when that holds\n"
    "all six, else in the folder of the installed ones (/usr/share/orvessa from\n"
    "the Debian package).\n";
const char* const kGlutOptions =
    "GLUT's options, such as -display NAME or -geometry WxH+X+Y, go to GLUT.\n";
const char* const kManual = "man 6 orvessa";
} // namespace help_text
