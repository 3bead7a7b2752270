// The benchmark cases: their names, shared by the registration and the report, and what the
// report needs to know about each one's input.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "bench_files.h"

namespace cases {
inline const std::string kLoad24 = "loadBmp24";
inline const std::string kFloor24 = "floor24";
inline const std::string kStb = "stbi_load";
inline const std::string kLoad8 = "loadBmp8";
inline const std::string kFloor8 = "floor8";
inline const std::string kKeyPress = "keyPress/onKey";
inline const std::string kKeyPressFloor = "keyPress/floor";
inline const std::string kFrame = "frame/onDisplay";
inline const std::string kFrameFloor = "frame/clearAndSwap";
} // namespace cases

struct PictureFile {
    int width = 0;
    int height = 0;
    std::string path;
    std::size_t bytes = 0; // the whole file, headers included

    std::string size() const { return std::to_string(width) + "x" + std::to_string(height); }
};

// "loadBmp24/1024x1024"
inline std::string caseName(const std::string& reader, const PictureFile& file) {
    return reader + "/" + file.size();
}

// Registers a case timed by the wall clock, which also counts the kernel's reads and Mesa's
// threads, in `unit`; `args` are the case function and what it is given.
template <class... Args>
void registerTimedCase(const std::string& name, benchmark::TimeUnit unit, Args&&... args) {
    benchmark::RegisterBenchmark(name.c_str(), std::forward<Args>(args)...)
        ->UseRealTime()
        ->Unit(unit);
}

// Writes the reader benchmarks' files into the folder, checks that loadBmp24 and stbi_load
// agree on every pixel of each (and loadBmp8 with the palette), and registers the cases.
// False, with a message on stderr, when a reader gives a wrong picture.
bool registerReaderBenchmarks(const ScratchDir& folder, std::vector<PictureFile>& files24,
                              PictureFile& file8);

// What the GL cases measured against, for the report.
struct GlSetting {
    bool available = false;
    std::string renderer; // GL_RENDERER
    std::string version;  // GL_VERSION
    int frameWidth = 0;
    int frameHeight = 0;
    std::size_t keyPressBytes = 0; // the bytes one key press reads from disk
    std::string whyUnavailable;
};

// Opens a GLUT window of the frame's size, sets the program up as main does, from the folder
// that holds the six textures, and registers the key-press and frame cases.
GlSetting registerGlBenchmarks(int frameWidth, int frameHeight, const std::string& textureFolder);
