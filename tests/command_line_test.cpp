// The program's options: what each command line asks for, before GLUT or a display is needed.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace {

enum Outcome { OpensWindow, PrintsHelp, PrintsVersion, Refused };

CommandLineAnswer read(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "orvessa");
    return readCommandLine(static_cast<int>(arguments.size()), arguments.data());
}

Outcome outcomeOf(const CommandLineAnswer& answer) {
    if (answer.run) {
        return OpensWindow;
    }
    if (answer.exitCode == 2 && answer.out.empty() && !answer.err.empty()) {
        return Refused;
    }
    if (answer.exitCode == 0 && answer.err.empty() && answer.out.rfind("Usage: ", 0) == 0) {
        return PrintsHelp;
    }
    if (answer.exitCode == 0 && answer.err.empty() &&
        std::regex_match(answer.out, std::regex("orvessa [0-9]+\\.[0-9]+\\.[0-9]+\n"))) {
        return PrintsVersion;
    }
    ADD_FAILURE() << "exit " << answer.exitCode << ", out: " << answer.out << "err: " << answer.err;
    return OpensWindow;
}

TEST(CommandLine, EachCommandLineRunsAnswersOrIsRefused) {
    struct Row {
        std::vector<const char*> arguments;
        Outcome outcome;
    };
    const Row rows[] = {
        {{}, OpensWindow},
        {{"--help"}, PrintsHelp},
        {{"--version"}, PrintsVersion},
        {{"--help", "--version"}, PrintsHelp},
        {{"--version", "--fly"}, PrintsVersion},
        {{"--fly", "--help"}, Refused},
        {{"-h"}, Refused},
        {{"--help=keys"}, Refused},
        {{"scene"}, Refused},
        {{""}, Refused},
        // GLUT's own X options, and the values of those that take one, go to glutInit.
        {{"-display", ":1"}, OpensWindow},
        {{"-display", "--help"}, OpensWindow},
        {{"-geometry", "640x480+0+0", "-direct", "-indirect", "-iconic", "-gldebug", "-sync"},
         OpensWindow},
        {{"-sync", "--version"}, PrintsVersion},
        {{"-display"}, Refused},
        {{"-iconic", "-geometry"}, Refused},
        {{"--display", ":1"}, Refused},
    };
    for (const Row& row : rows) {
        std::string line;
        for (const char* argument : row.arguments) {
            line += std::string(" '") + argument + "'";
        }
        EXPECT_EQ(outcomeOf(read(row.arguments)), row.outcome) << "orvessa" << line;
    }
}

TEST(CommandLine, RefusalsNameTheArgumentAndHintAtHelp) {
    EXPECT_EQ(read({"--fly"}).err, "orvessa: unknown option '--fly'\n"
                                   "Try 'orvessa --help' for more information.\n");
    EXPECT_EQ(read({"scene"}).err, "orvessa: unexpected argument 'scene'\n"
                                   "Try 'orvessa --help' for more information.\n");
    EXPECT_EQ(read({"-sync", "-display"}).err, "orvessa: option '-display' needs a value\n"
                                               "Try 'orvessa --help' for more information.\n");
}

TEST(CommandLine, HelpFitsATerminalAndNamesTheTexturesAndTheManual) {
    const std::string help = read({"--help"}).out;
    std::istringstream lines(help);
    std::string line;
    while (std::getline(lines, line)) {
        EXPECT_LE(line.size(), 80u) << line;
    }
    for (const char* name : {"minar.bmp", "grass.bmp", "door.bmp", "pool.bmp", "roof.bmp", "sw.bmp",
                             "\nThe manual: "}) {
        EXPECT_NE(help.find(name), std::string::npos) << name;
    }
}

} // namespace
