// Collects what the benchmarks measured and writes it out as the Markdown page
// docs/benchmarks.md.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "bench_cases.h"

// Wall-clock seconds per iteration over a case's repetitions, and the median CPU seconds of
// the calling thread (GL's rendering threads are not in it).
struct Timing {
    double median = 0;
    double low = 0;
    double high = 0;
    double medianCpu = 0;
    std::size_t repetitions = 0;
};

// Prints to the console as usual and keeps every repetition's time for the report.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // Null when the case did not run (filtered out, or failed).
    const Timing* timing(const std::string& name) const;
    const std::map<std::string, std::string>& errors() const { return errors_; }

private:
    std::map<std::string, std::vector<double>> seconds_;
    std::map<std::string, std::vector<double>> cpuSeconds_;
    mutable std::map<std::string, Timing> timings_;
    std::map<std::string, std::string> errors_;
};

struct MachineInfo {
    std::string cpu;
    long cores = 0;
    std::string kernel;
    std::string compiler;
    std::string buildType;
    std::string flags;
    std::string loadBefore; // 1, 5 and 15-minute load averages
    std::string loadAfter;
    std::string commit;
    std::string date;
};

MachineInfo describeMachine(const std::string& commit);
std::string loadAverage();

struct ReportInput {
    MachineInfo machine;
    std::vector<PictureFile> files24;
    PictureFile file8;
    GlSetting gl;
    std::string notes; // Markdown appended as it is, or empty
};

void writeReport(std::ostream& out, const RecordingReporter& results, const ReportInput& input);
