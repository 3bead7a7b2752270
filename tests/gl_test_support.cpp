// GL test plumbing: context creation, matrix arithmetic and program-state reset.
#include "gl_test_support.h"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "app/app_state.h"
#include "app/keyboard.h"
#include "app/scene_setup.h"

void ensureGlContext() {
    static bool created = false;
    if (created) {
        return;
    }
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        FAIL() << "GL tests need an X display; run them through ./test.sh, which starts Xvfb";
    }
    int argc = 1;
    char name[] = "orvessa_gl_tests";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(kTestWindowSize, kTestWindowSize);
    glutCreateWindow("orvessa GL tests");
    glViewport(0, 0, kTestWindowSize, kTestWindowSize);
    created = true;
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 result{};
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += a[k * 4 + row] * b[col * 4 + k];
            }
            result[col * 4 + row] = sum;
        }
    }
    return result;
}

Matrix4 sceneProjection() {
    const double f = 1.0 / std::tan(30.0 * M_PI / 180.0);
    const double zNear = 0.01, zFar = 512;
    const Matrix4 perspective{f,
                              0,
                              0,
                              0,
                              0,
                              f,
                              0,
                              0,
                              0,
                              0,
                              (zFar + zNear) / (zNear - zFar),
                              -1,
                              0,
                              0,
                              2 * zFar * zNear / (zNear - zFar),
                              0};
    const Matrix4 ortho{0.01, 0, 0, 0, 0, 0.01, 0, 0, 0, 0, -0.01, 0, 0, 0, 0, 1};
    return multiply(perspective, ortho);
}

Matrix4 toMatrix4(const std::array<float, 16>& m) {
    Matrix4 result{};
    for (int i = 0; i < 16; ++i) {
        result[i] = m[i];
    }
    return result;
}

std::array<float, 16> currentMatrix(unsigned which) {
    std::array<float, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}

WindowPoint projectToWindow(const Camera& camera, double x, double y, double z, int size) {
    const Matrix4 m = multiply(sceneProjection(), toMatrix4(camera.viewMatrix()));
    double clip[4];
    for (int row = 0; row < 4; ++row) {
        clip[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
    }
    return {(clip[0] / clip[3] + 1) / 2 * size, (clip[1] / clip[3] + 1) / 2 * size};
}

TextureColours distinctColours() {
    return {{200, 0, 200}, {0, 160, 0}, {200, 40, 40}, {0, 0, 220}, {90, 60, 20}, {128, 128, 0}};
}

void writeSolidTextures(const ScratchDir& dir, const TextureColours& colours) {
    const std::pair<const char*, RgbPixel> files[] = {
        {"minar.bmp", colours.minaret}, {"grass.bmp", colours.grass}, {"door.bmp", colours.door},
        {"pool.bmp", colours.pool},     {"roof.bmp", colours.roof},   {"sw.bmp", colours.walkway}};
    for (const auto& [name, colour] : files) {
        const RgbPixel solid = colour;
        writeFile(dir.path() / name, bmp24File(8, 8, [solid](int, int) { return solid; }));
    }
}

WorkingDirectory::WorkingDirectory(const std::string& path)
    : previous_(std::filesystem::current_path().string()) {
    std::filesystem::current_path(path);
}

WorkingDirectory::~WorkingDirectory() {
    std::filesystem::current_path(previous_);
}

void startProgramState() {
    ensureGlContext();
    turnMode = true;
    lookMode = false;
    blockedForward = blockedBack = blockedLeft = blockedRight = blockedRise = blockedSink = false;
    firstSetupDone = false;
    for (RgbImage& image : textureImages) {
        image.replace(0, 0, nullptr);
    }
    poseCameraAtStart();
    initScene();
}

RgbPixel readPixel(int x, int y) {
    std::uint8_t rgb[3] = {};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}
