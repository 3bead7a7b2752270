// The program's own options, read before GLUT sees the arguments: --help, --version, errors.
#pragma once

#include <string>

// What the arguments ask for: either open the window (GLUT then takes its own X options from
// them), or print an answer and end with a status, without touching the display.
struct CommandLineAnswer {
    bool run;
    int exitCode;
    std::string out; // for the standard output
    std::string err; // for the standard error
};

CommandLineAnswer readCommandLine(int argc, const char* const argv[]);
