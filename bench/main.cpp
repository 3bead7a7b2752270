// orvessa_bench: the texture readers, a key press and a frame, each measured side by side with
// the least work it could be. Google Benchmark's flags apply; besides them:
//   --report=FILE   write the results as a Markdown page
//   --notes=FILE    append this Markdown to the page
//   --commit=REV    the revision measured, for the page
// The GL cases need an X display; tools/run_benchmarks.sh provides one and writes the page.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench_cases.h"
#include "report.h"

namespace {

constexpr int kFrameWidth = 1024;
constexpr int kFrameHeight = 768;

// Takes --name=value out of argv, leaving the rest for Google Benchmark.
std::string takeOption(int& argc, char** argv, const char* name) {
    const std::string prefix = std::string("--") + name + "=";
    std::string value;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) == 0) {
            value = argv[i] + prefix.size();
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return value;
}

std::string absolute(const std::string& path) {
    return path.empty() ? path : std::filesystem::absolute(path).string();
}

std::string readText(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int run(int argc, char** argv) {
    // Absolute now: the GL cases move into the texture folder.
    const std::string reportPath = absolute(takeOption(argc, argv, "report"));
    const std::string notesPath = absolute(takeOption(argc, argv, "notes"));
    const std::string commit = takeOption(argc, argv, "commit");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }

    ReportInput input;
    input.machine = describeMachine(commit);
    if (!notesPath.empty()) {
        input.notes = readText(notesPath);
        if (input.notes.empty()) {
            std::fprintf(stderr, "error: cannot read the notes %s\n", notesPath.c_str());
            return 2;
        }
    }
    const ScratchDir folder;
    if (!registerReaderBenchmarks(folder, input.files24, input.file8)) {
        return 1;
    }
    input.gl = registerGlBenchmarks(kFrameWidth, kFrameHeight, ORVESSA_TEXTURE_DIR);

    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    input.machine.loadAfter = loadAverage();

    if (!reportPath.empty()) {
        std::ofstream out(reportPath);
        writeReport(out, reporter, input);
        if (!out) {
            std::fprintf(stderr, "error: cannot write %s\n", reportPath.c_str());
            return 1;
        }
    }
    return reporter.errors().empty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "error: %s\n", error.what());
        return 1;
    }
}
