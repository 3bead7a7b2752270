// What the GL tests share: one real GL context per process, the program's state put back to
// its start, and the projection arithmetic that predicts where a world point lands on screen.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include "bmp_file_builder.h"
#include "camera/camera.h"

// The window the GL tests draw into, created on first use. Fails the test when there is no
// X display (./test.sh provides one).
inline constexpr int kTestWindowSize = 512;
void ensureGlContext();

using Matrix4 = std::array<double, 16>; // column-major, as GL stores it

Matrix4 multiply(const Matrix4& a, const Matrix4& b);
// The projection the scene is shown through: Perspective(60, 1, 0.01, 512) x Ortho(+-100).
Matrix4 sceneProjection();
Matrix4 toMatrix4(const std::array<float, 16>& m);
std::array<float, 16> currentMatrix(unsigned which); // GL_PROJECTION_MATRIX or GL_MODELVIEW_MATRIX

struct WindowPoint {
    double x, y;
};
// Where the camera shows a world point in a size x size viewport at the origin.
WindowPoint projectToWindow(const Camera& camera, double x, double y, double z,
                            int size = kTestWindowSize);

// One colour per texture file, written as 8 x 8 BMPs of that solid colour.
struct TextureColours {
    RgbPixel minaret, grass, door, pool, roof, walkway;
};
TextureColours distinctColours();
void writeSolidTextures(const ScratchDir& dir, const TextureColours& colours);

// Runs the test from another folder, since the program reads its textures from the current one.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& path);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::string previous_;
};

// Puts the program's globals back to how a fresh process starts, then runs main's set-up
// steps (pose, first scene set-up) in the current working directory.
void startProgramState();

RgbPixel readPixel(int x, int y); // from the back buffer

// A test that runs the program's start-up in a scratch folder holding one solid colour per
// texture file.
class ProgramInScratchFolder : public testing::Test {
protected:
    ScratchDir dir;
    TextureColours colours = distinctColours();
    std::optional<WorkingDirectory> inDir;

    void SetUp() override {
        writeSolidTextures(dir, colours);
        inDir.emplace(dir.path().string());
        startProgramState();
    }
};
