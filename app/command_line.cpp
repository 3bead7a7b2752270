// The program's own options: --help and --version answer at once, GLUT's X options pass
// through, anything else is a usage error (status 2, as for other command-line tools).
#include "app/command_line.h"

#include <cstddef>
#include <cstring>

#include "app/help_text.h"

namespace {

std::string helpText() {
    return std::string(
               "Usage: orvessa [--help | --version | GLUT options]\n"
               "\n"
               "Orvessa is a full-screen, first-person walk-through of one built-in scene: a\n"
               "lawn, a long pool, a main hall with a great arched door, and four minarets.\n"
               "\n"
               "It reads its six pictures, 24-bit BMP files, from the folder it runs in:\n"
               "  " ORVESSA_TEXTURE_NAMES "\n") +
           help_text::kWhereItRuns +
           "\n"
           "Keys:\n"
           "  Up, Down        walk forward, back (in look mode: tilt the view)\n"
           "  Left, Right     turn (in slide mode: step sideways)\n"
           "  Page Up, Down   fly up, down\n"
           "  End             turn round\n"
           "  +, -            roll\n"
           "  p, s            look mode, slide mode: on or off\n"
           "  i               back to the start pose\n"
           "  any other key   reload the pictures\n"
           "  Escape          quit\n"
           "\n" +
           help_text::kGlutOptions + "The manual: " + help_text::kManual + "\n";
}

const char* const kHint = "Try 'orvessa --help' for more information.\n";

// The X options freeglut's glutInit takes out of the arguments; the first two take a value.
const char* const kGlutOptionsWithValue[] = {"-display", "-geometry"};
const char* const kGlutFlags[] = {"-direct", "-indirect", "-iconic", "-gldebug", "-sync"};

template <std::size_t N> bool isOneOf(const char* argument, const char* const (&names)[N]) {
    for (const char* name : names) {
        if (std::strcmp(argument, name) == 0) {
            return true;
        }
    }
    return false;
}

CommandLineAnswer usageError(const std::string& what) {
    return {false, 2, "", "orvessa: " + what + "\n" + kHint};
}

} // namespace

CommandLineAnswer readCommandLine(int argc, const char* const argv[]) {
    // The first argument that is not GLUT's decides, as with most programs' --help.
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--help") == 0) {
            return {false, 0, helpText(), ""};
        }
        if (std::strcmp(argument, "--version") == 0) {
            return {false, 0, "orvessa " ORVESSA_VERSION "\n", ""};
        }
        if (isOneOf(argument, kGlutOptionsWithValue)) {
            // GLUT itself would end the program on a missing value, with status 1.
            if (i + 1 == argc) {
                return usageError("option '" + std::string(argument) + "' needs a value");
            }
            ++i;
            continue;
        }
        if (isOneOf(argument, kGlutFlags)) {
            continue;
        }
        if (argument[0] == '-') {
            return usageError("unknown option '" + std::string(argument) + "'");
        }
        return usageError("unexpected argument '" + std::string(argument) + "'");
    }
    return {true, 0, "", ""};
}
