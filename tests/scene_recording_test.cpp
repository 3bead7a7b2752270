// The scene's draw calls, recorded by stand-ins for the GL entry points drawScene uses, so the
// stream of calls can be checked call by call without a display.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "scene/scene.h"
#include "scene/scene_faces.h"
#include "scene/texture_names.h"

namespace {

enum class Call { Enable, Bind, Begin, End, Normal, TexCoord, Vertex };

struct Recorded {
    Call call;
    float a = 0, b = 0, c = 0;
};

std::vector<Recorded> calls;

} // namespace

// These definitions take the place of libGL's for every call made from this executable.
extern "C" {
void glEnable(GLenum capability) {
    calls.push_back({Call::Enable, static_cast<float>(capability)});
}
void glBindTexture(GLenum, GLuint texture) {
    calls.push_back({Call::Bind, static_cast<float>(texture)});
}
void glBegin(GLenum mode) {
    calls.push_back({Call::Begin, static_cast<float>(mode)});
}
void glEnd() {
    calls.push_back({Call::End});
}
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    calls.push_back({Call::Normal, x, y, z});
}
void glTexCoord2f(GLfloat s, GLfloat t) {
    calls.push_back({Call::TexCoord, s, t});
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    calls.push_back({Call::Vertex, x, y, z});
}
}

namespace {

// One polygon as the recording shows it.
struct DrawnFace {
    int boundBefore = -1; // texture bound since the previous polygon, or -1
    Recorded normal{};
    std::vector<Recorded> corners; // texture coordinate followed by vertex, flattened
    int normals = 0;
};

std::vector<DrawnFace> recordFrame() {
    calls.clear();
    Scene().drawScene();
    std::vector<DrawnFace> faces;
    int pendingBind = -1;
    DrawnFace* open = nullptr;
    for (const Recorded& r : calls) {
        switch (r.call) {
        case Call::Bind:
            pendingBind = static_cast<int>(r.a);
            break;
        case Call::Begin:
            faces.emplace_back();
            faces.back().boundBefore = pendingBind;
            pendingBind = -1;
            open = &faces.back();
            break;
        case Call::Normal:
            if (open != nullptr) {
                ++open->normals;
                open->normal = r;
            }
            break;
        case Call::TexCoord:
        case Call::Vertex:
            if (open != nullptr) {
                open->corners.push_back(r);
            }
            break;
        case Call::End:
            open = nullptr;
            break;
        case Call::Enable:
            break;
        }
    }
    return faces;
}

TEST(SceneDrawing, EnablesTexturingFirstAndDrawsTwentySevenQuads) {
    const std::vector<DrawnFace> faces = recordFrame();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().call, Call::Enable);
    EXPECT_EQ(calls.front().a, static_cast<float>(GL_TEXTURE_2D));
    ASSERT_EQ(faces.size(), 27u);
    for (std::size_t i = 0; i < faces.size(); ++i) {
        SCOPED_TRACE("face " + std::to_string(i + 1));
        EXPECT_EQ(faces[i].normals, 1);
        ASSERT_EQ(faces[i].corners.size(), 8u);
        for (std::size_t k = 0; k < 8; k += 2) {
            EXPECT_EQ(faces[i].corners[k].call, Call::TexCoord) << "each corner its own";
            EXPECT_EQ(faces[i].corners[k + 1].call, Call::Vertex);
        }
    }
    const auto begins = std::count_if(calls.begin(), calls.end(), [](const Recorded& r) {
        return r.call == Call::Begin && r.a == static_cast<float>(GL_POLYGON);
    });
    EXPECT_EQ(begins, 27);
}

TEST(SceneDrawing, BindsSixTexturesBeforeTheFirstFaceOfEachRun) {
    const std::vector<DrawnFace> faces = recordFrame();
    ASSERT_EQ(faces.size(), 27u);
    const std::pair<int, unsigned> binds[] = {{1, TEX_GRASS},   {2, TEX_POOL},  {3, TEX_WALKWAY},
                                              {7, TEX_MINARET}, {23, TEX_DOOR}, {27, TEX_ROOF}};
    int bindCount = 0;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        bindCount += faces[i].boundBefore >= 0;
    }
    EXPECT_EQ(bindCount, 6);
    for (const auto& [faceNumber, texture] : binds) {
        EXPECT_EQ(faces[faceNumber - 1].boundBefore, static_cast<int>(texture))
            << "before face " << faceNumber;
    }
}

// Spot checks against the surveyed layout: the lawn, the water, one border face, one minaret
// face, the front wall and the roof, corner by corner.
TEST(SceneDrawing, CornersMatchTheSurveyedLayout) {
    const std::vector<DrawnFace> faces = recordFrame();
    ASSERT_EQ(faces.size(), 27u);
    struct Expected {
        int face;
        float corners[4][5]; // x, y, z, s, t
    };
    const Expected expected[] = {
        {1,
         {{-100, 0, -100, 0, 0}, {100, 0, -100, 3, 0}, {100, 0, 100, 3, 3}, {-100, 0, 100, 0, 3}}},
        {2, {{-10, 1, 10, 0, 0}, {10, 1, 10, 2, 0}, {10, 1, 70, 2, 2}, {-10, 1, 70, 0, 2}}},
        {5, {{-10, 0, 10, 0, 0}, {-10, 2, 10, 1, 0}, {10, 2, 10, 1, 1}, {10, 0, 10, 0, 1}}},
        {17,
         {{-50, 0, -80, 0, 0}, {-50, 70, -80, 0, 1}, {-50, 70, -75, 1, 1}, {-50, 0, -75, 1, 0}}},
        {23, {{-30, 0, -10, 0, 0}, {-30, 50, -10, 0, 1}, {30, 50, -10, 1, 1}, {30, 0, -10, 1, 0}}},
        {27,
         {{-30, 45, -10, 0, 0}, {-30, 45, -70, 2, 0}, {30, 45, -70, 2, 2}, {30, 45, -10, 0, 2}}},
    };
    for (const Expected& e : expected) {
        const DrawnFace& face = faces[e.face - 1];
        ASSERT_EQ(face.corners.size(), 8u);
        for (int k = 0; k < 4; ++k) {
            const Recorded& st = face.corners[2 * k];
            const Recorded& xyz = face.corners[2 * k + 1];
            EXPECT_EQ(xyz.a, e.corners[k][0]) << "face " << e.face << " corner " << k + 1;
            EXPECT_EQ(xyz.b, e.corners[k][1]) << "face " << e.face << " corner " << k + 1;
            EXPECT_EQ(xyz.c, e.corners[k][2]) << "face " << e.face << " corner " << k + 1;
            EXPECT_EQ(st.a, e.corners[k][3]) << "face " << e.face << " corner " << k + 1;
            EXPECT_EQ(st.b, e.corners[k][4]) << "face " << e.face << " corner " << k + 1;
        }
    }
}

// Rules every face obeys; a mistyped coordinate in the table breaks at least one.
TEST(SceneDrawing, EveryFaceIsAFlatAxisAlignedRectangleWithItsAxisNormal) {
    for (std::size_t i = 0; i < kSceneFaces.size(); ++i) {
        SCOPED_TRACE("face " + std::to_string(i + 1));
        const Face& face = kSceneFaces[i];
        const float normal[3] = {face.normal.x, face.normal.y, face.normal.z};
        const int axis = normal[0] == 1 ? 0 : normal[1] == 1 ? 1 : 2;
        EXPECT_EQ(normal[0] + normal[1] + normal[2], 1.0f) << "a unit axis";
        auto coordinate = [](const Corner& c, int a) { return a == 0 ? c.x : a == 1 ? c.y : c.z; };
        for (const Corner& corner : face.corners) {
            EXPECT_EQ(coordinate(corner, axis), coordinate(face.corners[0], axis))
                << "corners share the plane the normal names";
            EXPECT_TRUE(std::abs(corner.x) <= 100 && std::abs(corner.z) <= 100 && corner.y >= 0 &&
                        corner.y <= 70);
            EXPECT_EQ(corner.x, std::round(corner.x));
            EXPECT_EQ(corner.s, std::round(corner.s));
        }
        if (axis != 1) { // upright: bottom, top, top, bottom
            EXPECT_EQ(face.corners[0].y, 0);
            EXPECT_GT(face.corners[1].y, 0);
            EXPECT_EQ(face.corners[2].y, face.corners[1].y);
            EXPECT_EQ(face.corners[3].y, 0);
        }
        // Opposite corners differ in both in-plane coordinates: a rectangle, not a sliver.
        EXPECT_NE(coordinate(face.corners[0], (axis + 1) % 3) ==
                          coordinate(face.corners[2], (axis + 1) % 3) ||
                      coordinate(face.corners[0], (axis + 2) % 3) ==
                          coordinate(face.corners[2], (axis + 2) % 3),
                  true);
    }
}

} // namespace
