// The scene as data: 27 textured rectangles in world coordinates, in drawing order.
#pragma once

#include <array>

#include "scene/texture_names.h"

struct Corner {
    float x, y, z; // position
    float s, t;    // texture coordinate
};

struct Normal {
    float x, y, z;
};

struct Face {
    unsigned texture;
    Normal normal;
    std::array<Corner, 4> corners;
};

namespace facing {
inline constexpr Normal kX{1, 0, 0};
inline constexpr Normal kY{0, 1, 0};
inline constexpr Normal kZ{0, 0, 1};
} // namespace facing

// Faces sharing a texture are consecutive so each run binds once. Upright faces list their
// corners bottom, top, top, bottom; the border's walkway image lies on its side (s runs up).
// One face per line reads as the table it is.
// clang-format off
inline constexpr std::array<Face, 27> kSceneFaces{{
    // Lawn, water and the pool's border.
    {TEX_GRASS, facing::kY, {{{-100, 0, -100, 0, 0}, {100, 0, -100, 3, 0}, {100, 0, 100, 3, 3}, {-100, 0, 100, 0, 3}}}},
    {TEX_POOL, facing::kY, {{{-10, 1, 10, 0, 0}, {10, 1, 10, 2, 0}, {10, 1, 70, 2, 2}, {-10, 1, 70, 0, 2}}}},
    {TEX_WALKWAY, facing::kX, {{{-10, 0, 10, 0, 0}, {-10, 2, 10, 1, 0}, {-10, 2, 70, 1, 1}, {-10, 0, 70, 0, 1}}}},
    {TEX_WALKWAY, facing::kX, {{{10, 0, 10, 0, 0}, {10, 2, 10, 1, 0}, {10, 2, 70, 1, 1}, {10, 0, 70, 0, 1}}}},
    {TEX_WALKWAY, facing::kZ, {{{-10, 0, 10, 0, 0}, {-10, 2, 10, 1, 0}, {10, 2, 10, 1, 1}, {10, 0, 10, 0, 1}}}},
    {TEX_WALKWAY, facing::kZ, {{{-10, 0, 70, 0, 0}, {-10, 2, 70, 1, 0}, {10, 2, 70, 1, 1}, {10, 0, 70, 0, 1}}}},
    // Front-left minaret.
    {TEX_MINARET, facing::kZ, {{{-50, 0, 0, 0, 0}, {-50, 70, 0, 0, 1}, {-45, 70, 0, 1, 1}, {-45, 0, 0, 1, 0}}}},
    {TEX_MINARET, facing::kZ, {{{-50, 0, -5, 0, 0}, {-50, 70, -5, 0, 1}, {-45, 70, -5, 1, 1}, {-45, 0, -5, 1, 0}}}},
    {TEX_MINARET, facing::kX, {{{-50, 0, 0, 0, 0}, {-50, 70, 0, 0, 1}, {-50, 70, -5, 1, 1}, {-50, 0, -5, 1, 0}}}},
    {TEX_MINARET, facing::kX, {{{-45, 0, 0, 0, 0}, {-45, 70, 0, 0, 1}, {-45, 70, -5, 1, 1}, {-45, 0, -5, 1, 0}}}},
    // Front-right minaret.
    {TEX_MINARET, facing::kZ, {{{50, 0, 0, 0, 0}, {50, 70, 0, 0, 1}, {45, 70, 0, 1, 1}, {45, 0, 0, 1, 0}}}},
    {TEX_MINARET, facing::kZ, {{{50, 0, -5, 0, 0}, {50, 70, -5, 0, 1}, {45, 70, -5, 1, 1}, {45, 0, -5, 1, 0}}}},
    {TEX_MINARET, facing::kX, {{{50, 0, 0, 0, 0}, {50, 70, 0, 0, 1}, {50, 70, -5, 1, 1}, {50, 0, -5, 1, 0}}}},
    {TEX_MINARET, facing::kX, {{{45, 0, 0, 0, 0}, {45, 70, 0, 0, 1}, {45, 70, -5, 1, 1}, {45, 0, -5, 1, 0}}}},
    // Back-left minaret.
    {TEX_MINARET, facing::kZ, {{{-50, 0, -75, 0, 0}, {-50, 70, -75, 0, 1}, {-45, 70, -75, 1, 1}, {-45, 0, -75, 1, 0}}}},
    {TEX_MINARET, facing::kZ, {{{-50, 0, -80, 0, 0}, {-50, 70, -80, 0, 1}, {-45, 70, -80, 1, 1}, {-45, 0, -80, 1, 0}}}},
    {TEX_MINARET, facing::kX, {{{-50, 0, -80, 0, 0}, {-50, 70, -80, 0, 1}, {-50, 70, -75, 1, 1}, {-50, 0, -75, 1, 0}}}},
    {TEX_MINARET, facing::kX, {{{-45, 0, -80, 0, 0}, {-45, 70, -80, 0, 1}, {-45, 70, -75, 1, 1}, {-45, 0, -75, 1, 0}}}},
    // Back-right minaret.
    {TEX_MINARET, facing::kZ, {{{50, 0, -80, 0, 0}, {50, 70, -80, 0, 1}, {45, 70, -80, 1, 1}, {45, 0, -80, 1, 0}}}},
    {TEX_MINARET, facing::kZ, {{{50, 0, -75, 0, 0}, {50, 70, -75, 0, 1}, {45, 70, -75, 1, 1}, {45, 0, -75, 1, 0}}}},
    {TEX_MINARET, facing::kX, {{{50, 0, -80, 0, 0}, {50, 70, -80, 0, 1}, {50, 70, -75, 1, 1}, {50, 0, -75, 1, 0}}}},
    {TEX_MINARET, facing::kX, {{{45, 0, -80, 0, 0}, {45, 70, -80, 0, 1}, {45, 70, -75, 1, 1}, {45, 0, -75, 1, 0}}}},
    // Hall walls, rising 5 above the roof.
    {TEX_DOOR, facing::kZ, {{{-30, 0, -10, 0, 0}, {-30, 50, -10, 0, 1}, {30, 50, -10, 1, 1}, {30, 0, -10, 1, 0}}}},
    {TEX_DOOR, facing::kZ, {{{-30, 0, -70, 0, 0}, {-30, 50, -70, 0, 1}, {30, 50, -70, 1, 1}, {30, 0, -70, 1, 0}}}},
    {TEX_DOOR, facing::kX, {{{-30, 0, -10, 0, 0}, {-30, 50, -10, 0, 1}, {-30, 50, -70, 1, 1}, {-30, 0, -70, 1, 0}}}},
    {TEX_DOOR, facing::kX, {{{30, 0, -10, 0, 0}, {30, 50, -10, 0, 1}, {30, 50, -70, 1, 1}, {30, 0, -70, 1, 0}}}},
    // Roof: s grows towards -z, t with x.
    {TEX_ROOF, facing::kY, {{{-30, 45, -10, 0, 0}, {-30, 45, -70, 2, 0}, {30, 45, -70, 2, 2}, {30, 45, -10, 0, 2}}}},
}};
// clang-format on
