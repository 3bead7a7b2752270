// --help of the portable program, which runs in whatever folder it is started in.
#include "app/help_text.h"

namespace help_text {
const char* const kWhereItRuns =
    "That is the current folder: start it in its own folder (cd there first) for\n"
    "the six that come with it, or in a folder of your own six.\n";
const char* const kGlutOptions =
    "GLUT's options, such as -display NAME or -geometry WxH+X+Y, go to GLUT.\n";
const char* const kManual = "README.txt beside orvessa";
} // namespace help_text
