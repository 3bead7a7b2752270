// The benchmark page: machine, method, one table per question, every measurement at the end.
#include "report.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <optional>

namespace {

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

// Three significant figures in the given unit.
std::string duration(double seconds, double unitSeconds, const char* unit) {
    const double value = seconds / unitSeconds;
    const char* pattern = value < 10 ? "%.2f" : value < 100 ? "%.1f" : "%.0f";
    return format(pattern, value) + " " + unit;
}

std::string micros(double seconds) {
    return duration(seconds, 1e-6, "µs");
}

std::string millis(double seconds) {
    return duration(seconds, 1e-3, "ms");
}

std::string megabytesPerSecond(std::size_t bytes, double seconds) {
    return format("%.0f", static_cast<double>(bytes) / 1e6 / seconds);
}

std::string ratio(double value) {
    return format("%.2f", value);
}

std::string megabytes(std::size_t bytes) {
    return format("%.2f MB", static_cast<double>(bytes) / 1e6);
}

std::string firstLineStarting(const char* path, const std::string& key) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) == 0) {
            const auto colon = line.find(':');
            return colon == std::string::npos ? line : line.substr(colon + 2);
        }
    }
    return "unknown";
}

const char* const kNotRun = "not run";

// Why a run did not measure, if it did not. Google Benchmark 1.8 renamed the fields of a failed
// run (error_occurred, error_message became skipped, skip_message); the overload that compiles
// against the installed release is chosen, the newer names first.
template <class BenchmarkRun>
auto failureOf(const BenchmarkRun& run, int)
    -> decltype(run.skip_message, std::optional<std::string>()) {
    return run.skipped ? std::optional<std::string>(run.skip_message) : std::nullopt;
}

template <class BenchmarkRun>
auto failureOf(const BenchmarkRun& run, long)
    -> decltype(run.error_message, std::optional<std::string>()) {
    return run.error_occurred ? std::optional<std::string>(run.error_message) : std::nullopt;
}

double median(const std::vector<double>& sorted) {
    const std::size_t n = sorted.size();
    return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

} // namespace

void RecordingReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.run_type != Run::RT_Iteration) {
            continue;
        }
        const std::string& name = run.run_name.function_name;
        if (const auto failure = failureOf(run, 0)) {
            errors_[name] = *failure;
        } else if (run.iterations > 0) {
            const auto iterations = static_cast<double>(run.iterations);
            seconds_[name].push_back(run.real_accumulated_time / iterations);
            cpuSeconds_[name].push_back(run.cpu_accumulated_time / iterations);
        }
    }
}

const Timing* RecordingReporter::timing(const std::string& name) const {
    const auto found = seconds_.find(name);
    if (found == seconds_.end() || found->second.empty() || errors_.count(name) != 0) {
        return nullptr;
    }
    std::vector<double> sorted = found->second;
    std::sort(sorted.begin(), sorted.end());
    Timing& timing = timings_[name];
    timing.median = median(sorted);
    timing.low = sorted.front();
    timing.high = sorted.back();
    timing.repetitions = sorted.size();
    std::vector<double> cpu = cpuSeconds_.at(name);
    std::sort(cpu.begin(), cpu.end());
    timing.medianCpu = median(cpu);
    return &timing;
}

std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return in ? one + ", " + five + ", " + fifteen : "unknown";
}

MachineInfo describeMachine(const std::string& commit) {
    MachineInfo machine;
    machine.cpu = firstLineStarting("/proc/cpuinfo", "model name");
    machine.cores = sysconf(_SC_NPROCESSORS_ONLN);
    utsname system{};
    if (uname(&system) == 0) {
        machine.kernel = std::string(system.sysname) + " " + system.release;
    }
    machine.compiler = ORVESSA_COMPILER;
    machine.buildType = ORVESSA_BUILD_TYPE;
    machine.flags = ORVESSA_CXX_FLAGS;
    machine.loadBefore = loadAverage();
    machine.commit = commit.empty() ? "unknown" : commit;
    char date[64] = "unknown";
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    if (gmtime_r(&now, &utc) != nullptr) {
        std::strftime(date, sizeof date, "%Y-%m-%d %H:%M UTC", &utc);
    }
    machine.date = date;
    return machine;
}

namespace {

void writeMachine(std::ostream& out, const ReportInput& input) {
    const MachineInfo& m = input.machine;
    out << "| | |\n|---|---|\n";
    out << "| Measured | " << m.date << ", commit `" << m.commit << "` |\n";
    out << "| CPU | " << m.cpu << " (from /proc/cpuinfo) |\n";
    out << "| Cores | " << m.cores << " online |\n";
    out << "| System | " << m.kernel << " |\n";
    out << "| Compiler | " << m.compiler << ", " << m.buildType << " build, `" << m.flags
        << "` |\n";
    if (input.gl.available) {
        out << "| GL | " << input.gl.renderer << "; OpenGL " << input.gl.version << "; window "
            << input.gl.frameWidth << " × " << input.gl.frameHeight << " |\n";
    } else {
        out << "| GL | none: " << input.gl.whyUnavailable << " |\n";
    }
    out << "| Load average (1, 5, 15 min) | " << m.loadBefore << " before the run; " << m.loadAfter
        << " after it |\n\n";
}

void writeReaders24(std::ostream& out, const RecordingReporter& results,
                    const std::vector<PictureFile>& files) {
    out << "## 1. `loadBmp24` against the floor and `stbi_load`\n\n"
           "The floor opens the file, reads all of it with one `read` into a buffer allocated "
           "once, and closes it. `stbi_load` is stb_image from Debian's libstb-dev, asked for "
           "3 channels. The targets apply to 1024² and 2048²: `loadBmp24` at most 3 × the "
           "floor, and at least 4 × faster than `stbi_load` (a ratio of at most 0.25).\n\n";
    out << "| Picture | File | `loadBmp24` | floor | `stbi_load` | `loadBmp24` MB/s | floor MB/s "
           "| `stbi_load` MB/s | `loadBmp24` / floor | `loadBmp24` / `stbi_load` | Target |\n";
    out << "|---|---|---|---|---|---|---|---|---|---|---|\n";
    for (const PictureFile& file : files) {
        const Timing* ours = results.timing(caseName(cases::kLoad24, file));
        const Timing* floor = results.timing(caseName(cases::kFloor24, file));
        const Timing* stb = results.timing(caseName(cases::kStb, file));
        out << "| " << file.width << " × " << file.height << " | " << megabytes(file.bytes);
        for (const Timing* timing : {ours, floor, stb}) {
            out << " | " << (timing ? micros(timing->median) : kNotRun);
        }
        for (const Timing* timing : {ours, floor, stb}) {
            out << " | " << (timing ? megabytesPerSecond(file.bytes, timing->median) : kNotRun);
        }
        const bool targeted =
            file.width == file.height && (file.width == 1024 || file.width == 2048);
        if (ours == nullptr || floor == nullptr || stb == nullptr) {
            out << " | " << kNotRun << " | " << kNotRun << " | " << (targeted ? kNotRun : "none")
                << " |\n";
            continue;
        }
        const double toFloor = ours->median / floor->median;
        const double toStb = ours->median / stb->median;
        out << " | " << ratio(toFloor) << " | " << ratio(toStb) << " | ";
        if (!targeted) {
            out << "none |\n";
        } else if (toFloor <= 3.0 && toStb <= 0.25) {
            out << "met |\n";
        } else {
            out << "**missed**" << (toFloor > 3.0 ? ": over 3 × the floor" : "")
                << (toStb > 0.25 ? ": under 4 × faster than stb" : "") << " |\n";
        }
    }
    out << "\n";
}

void writeReader8(std::ostream& out, const RecordingReporter& results, const PictureFile& file) {
    out << "## 2. `loadBmp8` against the floor\n\n"
           "An 8-bit file with a 256-entry palette; each byte of it becomes three in the "
           "picture. No target is set.\n\n";
    out << "| Picture | File | `loadBmp8` | floor | `loadBmp8` MB/s | floor MB/s | "
           "`loadBmp8` / floor |\n|---|---|---|---|---|---|---|\n";
    const Timing* ours = results.timing(caseName(cases::kLoad8, file));
    const Timing* floor = results.timing(caseName(cases::kFloor8, file));
    out << "| " << file.width << " × " << file.height << " | " << megabytes(file.bytes);
    for (const Timing* timing : {ours, floor}) {
        out << " | " << (timing ? micros(timing->median) : kNotRun);
    }
    for (const Timing* timing : {ours, floor}) {
        out << " | " << (timing ? megabytesPerSecond(file.bytes, timing->median) : kNotRun);
    }
    out << " | " << (ours && floor ? ratio(ours->median / floor->median) : kNotRun) << " |\n\n";
}

void writeKeyPress(std::ostream& out, const RecordingReporter& results, const GlSetting& gl) {
    out << "## 3. A key press against its floor\n\n"
           "`onKey` for a key the program does not list, in a real GL context: two scene "
           "set-ups, so 12 reads and 12 uploads of the six textures the build generates ("
        << megabytes(gl.keyPressBytes)
        << " read per press). The floor reads the same 12 files (one open, one read, one close "
           "each) and makes the same 12 `glTexImage2D` calls with the already decoded pixels. "
           "Each press ends with `glFinish`. Target: at most 1.3 × the floor.\n\n";
    out << "| Case | Time | Calling thread's CPU | MB read / s | / floor | Target |\n"
           "|---|---|---|---|---|---|\n";
    const Timing* key = results.timing(cases::kKeyPress);
    const Timing* floor = results.timing(cases::kKeyPressFloor);
    out << "| `onKey('x')` | " << (key ? millis(key->median) : kNotRun) << " | "
        << (key ? millis(key->medianCpu) : kNotRun) << " | "
        << (key ? megabytesPerSecond(gl.keyPressBytes, key->median) : kNotRun) << " | ";
    if (key && floor) {
        const double value = key->median / floor->median;
        out << ratio(value) << " | " << (value <= 1.3 ? "met" : "**missed**") << " |\n";
    } else {
        out << kNotRun << " | " << kNotRun << " |\n";
    }
    out << "| floor: 12 reads + 12 `glTexImage2D` | " << (floor ? millis(floor->median) : kNotRun)
        << " | " << (floor ? millis(floor->medianCpu) : kNotRun) << " | "
        << (floor ? megabytesPerSecond(gl.keyPressBytes, floor->median) : kNotRun)
        << " | 1.00 | |\n\n";
}

void writeFrame(std::ostream& out, const RecordingReporter& results, const GlSetting& gl) {
    out << "## 4. A frame against clear-and-swap\n\n"
           "`onDisplay` (clear, the whole scene in immediate mode, swap, flush) at "
        << gl.frameWidth << " × " << gl.frameHeight
        << " from the start view, against a frame that only clears and swaps. Each frame ends "
           "with `glFinish`, so the rendering is inside the time. The calling thread's CPU time "
           "is what the program and Mesa spend on that thread: llvmpipe rasterises on threads "
           "of its own, which it leaves out. No target is set on the ratio.\n\n";
    out << "| Case | Time | Calling thread's CPU | Frames / s | / clear-and-swap |\n"
           "|---|---|---|---|---|\n";
    const Timing* frame = results.timing(cases::kFrame);
    const Timing* floor = results.timing(cases::kFrameFloor);
    out << "| `onDisplay` | " << (frame ? millis(frame->median) : kNotRun) << " | "
        << (frame ? millis(frame->medianCpu) : kNotRun) << " | "
        << (frame ? format("%.0f", 1 / frame->median) : kNotRun) << " | "
        << (frame && floor ? ratio(frame->median / floor->median) : kNotRun) << " |\n";
    out << "| clear and swap only | " << (floor ? millis(floor->median) : kNotRun) << " | "
        << (floor ? millis(floor->medianCpu) : kNotRun) << " | "
        << (floor ? format("%.0f", 1 / floor->median) : kNotRun) << " | 1.00 |\n\n";
}

void writeEveryCase(std::ostream& out, const RecordingReporter& results,
                    const std::vector<std::string>& names) {
    out << "## Every case\n\n"
           "Wall-clock time per call over the repetitions: the tables above use the median.\n\n"
           "| Case | Median | Fastest | Slowest | Repetitions |\n|---|---|---|---|---|\n";
    for (const std::string& name : names) {
        const Timing* timing = results.timing(name);
        if (timing == nullptr) {
            const auto error = results.errors().find(name);
            out << "| `" << name << "` | "
                << (error == results.errors().end() ? std::string(kNotRun)
                                                    : "failed: " + error->second)
                << " | | | |\n";
            continue;
        }
        const bool fast = timing->median < 1e-3;
        auto show = [fast](double seconds) { return fast ? micros(seconds) : millis(seconds); };
        out << "| `" << name << "` | " << show(timing->median) << " | " << show(timing->low)
            << " | " << show(timing->high) << " | " << timing->repetitions << " |\n";
    }
    out << "\n";
}

} // namespace

void writeReport(std::ostream& out, const RecordingReporter& results, const ReportInput& input) {
    out << "# Benchmarks\n\n"
           "Written by `tools/run_benchmarks.sh`; every number below is what that run measured "
           "on the machine described here. Run the script again rather than editing this "
           "page.\n\n"
           "Each time is the median wall-clock time of one call over the repetitions, which "
           "run interleaved in random order, so that a busy neighbour on the machine slows "
           "every case alike and the ratios, measured side by side, hold. MB is 10⁶ bytes; "
           "MB/s is the file's bytes over the time. All files are in the page cache.\n\n";
    writeMachine(out, input);
    writeReaders24(out, results, input.files24);
    writeReader8(out, results, input.file8);
    writeKeyPress(out, results, input.gl);
    writeFrame(out, results, input.gl);

    std::vector<std::string> names;
    for (const PictureFile& file : input.files24) {
        for (const std::string& reader : {cases::kLoad24, cases::kFloor24, cases::kStb}) {
            names.push_back(caseName(reader, file));
        }
    }
    names.push_back(caseName(cases::kLoad8, input.file8));
    names.push_back(caseName(cases::kFloor8, input.file8));
    names.insert(names.end(),
                 {cases::kKeyPress, cases::kKeyPressFloor, cases::kFrame, cases::kFrameFloor});
    writeEveryCase(out, results, names);
    if (!input.notes.empty()) {
        out << input.notes;
    }
}
