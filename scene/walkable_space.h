// Where the eye may stand: inside the world, outside the hall and minaret boxes.
#pragma once

#include <array>

// An open box: a point on any face counts as outside.
struct OpenBox {
    float minX, maxX;
    float minY, maxY;
    float minZ, maxZ;

    constexpr bool containsStrictly(float x, float y, float z) const {
        return minX < x && x < maxX && minY < y && y < maxY && minZ < z && z < maxZ;
    }
};

inline constexpr OpenBox kWorldBox{-200, 200, 2, 500, -200, 200};

// The hall and the four minarets, each with its own margin.
inline constexpr std::array<OpenBox, 5> kObstacleBoxes{{
    {-35, 35, 0, 55, -75, -5},   // hall
    {-57, -43, 0, 70, -10, 5},   // front-left minaret
    {42, 53, 0, 70, -10, 5},     // front-right minaret
    {-57, -43, 0, 70, -85, -70}, // back-left minaret
    {40, 55, 0, 70, -85, -70},   // back-right minaret
}};

bool isBlocked(float x, float y, float z);
