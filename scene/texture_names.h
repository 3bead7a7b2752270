// Fixed OpenGL texture names, shared by scene set-up (which fills them) and drawing.
#pragma once

inline constexpr unsigned TEX_MINARET = 1000;
inline constexpr unsigned TEX_GRASS = 1001;
inline constexpr unsigned TEX_DOOR = 1002;
inline constexpr unsigned TEX_POOL = 1003;
inline constexpr unsigned TEX_ROOF = 1004;
inline constexpr unsigned TEX_WALKWAY = 1005;
