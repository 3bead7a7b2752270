// A key press and a frame in a real GL context, each against the least work it could be.
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/app_state.h"
#include "app/display.h"
#include "app/keyboard.h"
#include "app/scene_setup.h"
#include "bench_cases.h"

namespace {

// Not one of the program's keys: the press reloads and re-uploads the textures, twice.
constexpr unsigned char kUnlistedKey = 'x';
constexpr int kSetupsPerKey = 2;

void keyPressCase(benchmark::State& state) {
    for (auto _ : state) {
        onKey(kUnlistedKey, 0, 0);
        glFinish();
    }
}

// What a key press cannot do without: read each texture file (one open, one read, one close)
// and hand GL the decoded pixels, as many times as the key does.
struct KeyPressFloor {
    struct Texture {
        std::string path;
        unsigned name = 0;
        std::vector<std::uint8_t> fileBytes;
        RgbImage decoded;
    };
    std::array<Texture, 6> textures;
};

void keyPressFloorCase(benchmark::State& state, const std::shared_ptr<KeyPressFloor>& floor) {
    for (auto _ : state) {
        for (int setup = 0; setup < kSetupsPerKey; ++setup) {
            for (KeyPressFloor::Texture& texture : floor->textures) {
                if (readWholeFile(texture.path, texture.fileBytes.data(),
                                  texture.fileBytes.size()) != texture.fileBytes.size()) {
                    state.SkipWithError("short read");
                    return;
                }
                glBindTexture(GL_TEXTURE_2D, texture.name);
                glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, texture.decoded.cols, texture.decoded.rows,
                             0, GL_RGB, GL_UNSIGNED_BYTE, texture.decoded.pixels.get());
            }
        }
        glFinish();
    }
}

void frameCase(benchmark::State& state) {
    for (auto _ : state) {
        onDisplay();
        glFinish();
    }
}

void frameFloorCase(benchmark::State& state) {
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glutSwapBuffers();
        glFinish();
    }
}

void unavailableCase(benchmark::State& state, const std::string& why) {
    for (auto _ : state) {
        state.SkipWithError(why.c_str());
        break;
    }
}

std::string glString(GLenum which) {
    const auto* text = reinterpret_cast<const char*>(glGetString(which));
    return text == nullptr ? "unknown" : text;
}

} // namespace

GlSetting registerGlBenchmarks(int frameWidth, int frameHeight, const std::string& textureFolder) {
    GlSetting setting;
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        setting.whyUnavailable = "no X display (run through tools/run_benchmarks.sh)";
    } else if (chdir(textureFolder.c_str()) != 0) {
        setting.whyUnavailable = "cannot enter the texture folder " + textureFolder;
    }
    auto floor = std::make_shared<KeyPressFloor>();
    for (std::size_t i = 0; setting.whyUnavailable.empty() && i < kTextureTable.size(); ++i) {
        KeyPressFloor::Texture& texture = floor->textures[i];
        texture.path = textureFolder + "/" + kTextureTable[i].file;
        texture.name = kTextureTable[i].textureName;
        std::error_code error;
        const auto bytes = std::filesystem::file_size(texture.path, error);
        if (error || texture.decoded.loadBmp24(texture.path.c_str()) != 0) {
            setting.whyUnavailable = "cannot read " + texture.path + " (build the textures target)";
            break;
        }
        texture.fileBytes.resize(bytes);
        setting.keyPressBytes += kSetupsPerKey * texture.fileBytes.size();
    }
    if (!setting.whyUnavailable.empty()) {
        for (const std::string& name :
             {cases::kKeyPress, cases::kKeyPressFloor, cases::kFrame, cases::kFrameFloor}) {
            benchmark::RegisterBenchmark(name.c_str(), unavailableCase, setting.whyUnavailable);
        }
        return setting;
    }

    // The program's own start-up, in a window of the frame's size.
    int argc = 1;
    char program[] = "orvessa_bench";
    char* argv[] = {program, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(frameWidth, frameHeight);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("orvessa benchmarks");
    glutDisplayFunc(onDisplay);
    poseCameraAtStart();
    initScene();
    // Let the window be mapped and exposed, so that a swap really reaches the screen.
    for (int i = 0; i < 10; ++i) {
        glutMainLoopEvent();
    }
    glViewport(0, 0, frameWidth, frameHeight);
    glFinish();

    setting.available = true;
    setting.renderer = glString(GL_RENDERER);
    setting.version = glString(GL_VERSION);
    setting.frameWidth = glutGet(GLUT_WINDOW_WIDTH);
    setting.frameHeight = glutGet(GLUT_WINDOW_HEIGHT);

    registerTimedCase(cases::kKeyPress, benchmark::kMillisecond, keyPressCase);
    registerTimedCase(cases::kKeyPressFloor, benchmark::kMillisecond, keyPressFloorCase, floor);
    registerTimedCase(cases::kFrame, benchmark::kMillisecond, frameCase);
    registerTimedCase(cases::kFrameFloor, benchmark::kMillisecond, frameFloorCase);
    return setting;
}
