// The lines of --help that differ between the ways Orvessa ships; one file per way, picked by
// the build: packaging/help_installed.cpp, windows/help_windows.cpp, portable/help_portable.cpp.
#pragma once

namespace help_text {
// Which folder the program runs in, and so reads its pictures from: whole lines.
extern const char* const kWhereItRuns;
// GLUT's options that apply: one whole line.
extern const char* const kGlutOptions;
// Where the manual is, to end "The manual: ".
extern const char* const kManual;
} // namespace help_text
