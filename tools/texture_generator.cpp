// The six textures, drawn procedurally (texture_generator.h).
//
// Everything below is integer arithmetic driven by one fixed hash, so the files come out
// byte-identical on every compiler, library and machine. The noise is worked out a whole image
// at a time, its lattice hashed once per point, so that the page can afford to make the six at
// start-up; each value is the one the pixel-by-pixel formula gives.

#include "tools/texture_generator.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace texture_generator {

const char* const kTextureNames[kTextureCount] = {"minar.bmp", "grass.bmp", "door.bmp",
                                                  "pool.bmp",  "roof.bmp",  "sw.bmp"};

namespace {

struct Rgb {
    int r, g, b;
};

int clampi(int v, int lo, int hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}
int absi(int v) {
    return v < 0 ? -v : v;
}

// Blend from a to b, t in [0, 256].
Rgb mix(Rgb a, Rgb b, int t) {
    t = clampi(t, 0, 256);
    return {a.r + (b.r - a.r) * t / 256, a.g + (b.g - a.g) * t / 256, a.b + (b.b - a.b) * t / 256};
}

// Scale brightness, f = 256 leaves the colour unchanged.
Rgb shade(Rgb c, int f) {
    return {c.r * f / 256, c.g * f / 256, c.b * f / 256};
}

class Canvas {
public:
    Canvas(int w, int h) : w_(w), h_(h), px_(static_cast<std::size_t>(w) * h, Rgb{0, 0, 0}) {}

    // y = 0 is the bottom row, the same order BMP stores rows in.
    void set(int x, int y, Rgb c) { px_[static_cast<std::size_t>(y) * w_ + x] = c; }

    std::vector<uint8_t> bmp() const {
        const uint32_t rowBytes = (static_cast<uint32_t>(w_) * 3 + 3) & ~3u;
        const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(h_);
        std::vector<uint8_t> out(54 + imageBytes, 0);
        std::size_t at = 0;
        auto put16 = [&out, &at](uint32_t v) {
            out[at++] = static_cast<uint8_t>(v);
            out[at++] = static_cast<uint8_t>(v >> 8);
        };
        auto put32 = [&put16](uint32_t v) {
            put16(v & 0xFFFFu);
            put16(v >> 16);
        };
        out[at++] = 'B';
        out[at++] = 'M';
        put32(54 + imageBytes);
        put32(0);  // two reserved 16-bit fields
        put32(54); // pixel data offset
        put32(40); // BITMAPINFOHEADER size
        put32(static_cast<uint32_t>(w_));
        put32(static_cast<uint32_t>(h_)); // positive height: rows stored bottom-up
        put16(1);                         // planes
        put16(24);                        // bits per pixel
        put32(0);                         // no compression
        put32(imageBytes);
        put32(2835); // 72 dpi, horizontally and vertically
        put32(2835);
        put32(0);
        put32(0);
        for (int y = 0; y < h_; ++y) {
            uint8_t* row = &out[54 + static_cast<std::size_t>(y) * rowBytes];
            for (int x = 0; x < w_; ++x) {
                const Rgb& c = px_[static_cast<std::size_t>(y) * w_ + x];
                row[3 * x] = static_cast<uint8_t>(clampi(c.b, 0, 255));
                row[3 * x + 1] = static_cast<uint8_t>(clampi(c.g, 0, 255));
                row[3 * x + 2] = static_cast<uint8_t>(clampi(c.r, 0, 255));
            }
            // The row's padding stays zero.
        }
        return out;
    }

private:
    int w_, h_;
    std::vector<Rgb> px_;
};

uint32_t mix32(uint32_t h) {
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

uint32_t seedHash(uint32_t seed) {
    return mix32(seed + 0x9E3779B9u);
}

uint32_t hash(int x, int y, uint32_t seed) {
    return mix32(mix32(seedHash(seed) ^ static_cast<uint32_t>(x)) ^ static_cast<uint32_t>(y));
}

// Hash as a small signed jitter in [-range, range].
int jitter(int x, int y, uint32_t seed, int range) {
    return static_cast<int>(hash(x, y, seed) % static_cast<uint32_t>(2 * range + 1)) - range;
}

// hash(x, y, seed) for x in [0, width): the two rounds that do not depend on y are kept per
// column, leaving one round per pixel.
class ColumnHash {
public:
    ColumnHash(int width, uint32_t seed) : columns_(static_cast<std::size_t>(width)) {
        const uint32_t s = seedHash(seed);
        for (int x = 0; x < width; ++x)
            columns_[x] = mix32(s ^ static_cast<uint32_t>(x));
    }
    uint32_t operator()(int x, int y) const {
        return mix32(columns_[x] ^ static_cast<uint32_t>(y));
    }
    int jitter(int x, int y, int range) const {
        return static_cast<int>((*this)(x, y) % static_cast<uint32_t>(2 * range + 1)) - range;
    }

private:
    std::vector<uint32_t> columns_;
};

// Cubic ease 3f^2 - 2f^3 on [0, 256].
int smooth(int f) {
    return f * f * (768 - 2 * f) / 65536;
}

// One value per pixel of a w x h image, row by row from y = 0.
class Field {
public:
    Field(int w, int h) : w_(w), h_(h), v_(static_cast<std::size_t>(w) * h, 0) {}
    int width() const { return w_; }
    int height() const { return h_; }
    int operator()(int x, int y) const { return v_[static_cast<std::size_t>(y) * w_ + x]; }
    int* row(int y) { return &v_[static_cast<std::size_t>(y) * w_]; }

private:
    int w_, h_;
    std::vector<int> v_;
};

// Value noise in [0, 255] on a lattice of cw x ch pixel cells that wraps every pw x ph pixels,
// times `weight`, added to every pixel of `sum`; with the period equal to the image size the
// texture tiles without seams.
void addValueNoise(Field& sum, int weight, int cw, int ch, int pw, int ph, uint32_t seed) {
    const int w = sum.width(), h = sum.height();
    const int nx = pw / cw, ny = ph / ch;
    std::vector<int> lattice(static_cast<std::size_t>(nx) * ny);
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i)
            lattice[static_cast<std::size_t>(j) * nx + i] =
                static_cast<int>(hash(i, j, seed) & 255u);
    // Per column: the lattice columns either side and the eased weight between them.
    std::vector<int> left(w), right(w), fx(w);
    for (int x = 0; x < w; ++x) {
        left[x] = (x / cw) % nx;
        right[x] = (x / cw + 1) % nx;
        fx[x] = smooth((x % cw) * 256 / cw);
    }
    // The noise along the lattice rows below and above the current cell, redone once per cell
    // row; between them each pixel is one step of interpolation.
    std::vector<int> bottom(w), top(w);
    for (int y = 0; y < h; ++y) {
        if (y % ch == 0) {
            const int* below = &lattice[static_cast<std::size_t>((y / ch) % ny) * nx];
            const int* above = &lattice[static_cast<std::size_t>((y / ch + 1) % ny) * nx];
            for (int x = 0; x < w; ++x) {
                bottom[x] = below[left[x]] + (below[right[x]] - below[left[x]]) * fx[x] / 256;
                top[x] = above[left[x]] + (above[right[x]] - above[left[x]]) * fx[x] / 256;
            }
        }
        const int fy = smooth((y % ch) * 256 / ch);
        int* row = sum.row(y);
        for (int x = 0; x < w; ++x)
            row[x] += (bottom[x] + (top[x] - bottom[x]) * fy / 256) * weight;
    }
}

Field valueNoise(int w, int h, int cw, int ch, int pw, int ph, uint32_t seed) {
    Field noise(w, h);
    addValueNoise(noise, 1, cw, ch, pw, ph, seed);
    return noise;
}

// Several octaves of value noise, each half the cell size and half the weight of the last.
Field fbm(int w, int h, int cw, int ch, int pw, int ph, int octaves, uint32_t seed) {
    Field sum(w, h);
    int norm = 0, amp = 256;
    for (int o = 0; o < octaves; ++o) {
        addValueNoise(sum, amp, std::max(cw >> o, 1), std::max(ch >> o, 1), pw, ph,
                      seed + static_cast<uint32_t>(o));
        norm += amp;
        amp /= 2;
    }
    for (int y = 0; y < h; ++y) {
        int* row = sum.row(y);
        for (int x = 0; x < w; ++x)
            row[x] /= norm;
    }
    return sum;
}

// Push a noise value away from the middle, since summed octaves cluster around 128.
int contrast(int v, int gain) {
    return clampi(128 + (v - 128) * gain, 0, 256);
}

// Sine with period 1024 returning [-1024, 1024]; Bhaskara's rational form keeps it integer.
// The period's values are worked out once: the textures take up to four per pixel.
class Sine {
public:
    Sine() {
        for (int p = 0; p < 1024; ++p) {
            const int64_t t = p % 512;
            const int64_t u = t * (512 - t);
            const int v = static_cast<int>(16 * u * 1024 / (5 * 512 * 512 - 4 * u));
            table_[p] = p < 512 ? v : -v;
        }
    }
    int operator()(int phase) const { return table_[((phase % 1024) + 1024) % 1024]; }

private:
    int table_[1024];
};

// Pointed arch opening: straight jambs half-width `half` apart from `base` up to `spring`, then
// two arcs of radius half + off whose centres sit off units either side of the axis.
bool inArch(int u, int v, int cx, int base, int spring, int half, int off) {
    if (v < base)
        return false;
    const int dx = absi(u - cx);
    if (v <= spring)
        return dx <= half;
    const int64_t r = half + off, ax = dx + off, ay = v - spring;
    return ax * ax + ay * ay <= r * r;
}

// Marble minaret skin. The 512x512 image stretches over a 5 x 70 face, so one row is as tall
// as about fourteen columns are wide; noise and motifs are squashed vertically to compensate.
Canvas makeMinar() {
    const int n = 512;
    Canvas img(n, n);
    const Rgb marble{232, 227, 216}, marbleLight{247, 245, 239}, vein{156, 150, 146};
    const Rgb inlay{54, 50, 54}, sandstone{150, 78, 58};
    const int bandRows[] = {146, 293, 424}; // 20, 40 and 58 units up the tower
    const Field clouds = fbm(n, n, 128, 8, n, n, 4, 101),
                turbulence = fbm(n, n, 128, 32, n, n, 3, 102);
    const ColumnHash speckle(n, 103);
    const Sine isin;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const int cloud = contrast(clouds(x, y), 2);
            // Rows are coarse on the tower, so veins run mostly upward and meander gently;
            // near-horizontal veins would break into dashes.
            const int turb = turbulence(x, y) - 128;
            const int veinWave = absi(isin(x * 3 + y * 6 + turb * 3));
            Rgb c = mix(marble, marbleLight, cloud);
            const int faintWave = absi(isin(x * -2 + y * 5 + turb * 5 + 300));
            if (veinWave < 200)
                c = mix(c, vein, (200 - veinWave) / 2);
            if (faintWave < 120)
                c = mix(c, vein, (120 - faintWave) / 3);
            c = shade(c, 256 + speckle.jitter(x, y, 4));

            // Thin dark trim down both edges marks the corners of the tower.
            if (x < 3 || x >= n - 3)
                c = inlay;
            else if (x < 6 || x >= n - 6)
                c = sandstone;

            // Plain sandstone courses where the shaft meets its base and its balcony.
            if (y < 10 || y >= n - 10)
                c = (y == 9 || y == n - 10) ? inlay : sandstone;

            for (int b = 0; b < 3; ++b) {
                const int dy = y - bandRows[b], ady = absi(dy);
                if (ady > 9 || x < 6 || x >= n - 6)
                    continue;
                if (ady >= 8) {
                    c = inlay;
                } else if (ady == 7) {
                    c = sandstone;
                } else if (b == 1) {
                    // Marble zigzag chevrons on the dark inlay.
                    const int zig = absi((x % 64) - 32) * 10 / 32 - 5;
                    c = absi(dy - zig) <= 1 ? marbleLight : inlay;
                } else {
                    // Lozenges of marble, each with a sandstone heart.
                    const int lx = absi((x % 128) - 64);
                    const int d = lx * 6 + ady * 56;
                    c = d <= 60 ? sandstone : (d <= 336 ? marbleLight : inlay);
                }
            }
            img.set(x, y, c);
        }
    }
    return img;
}

Canvas makeGrass() {
    const int n = 512;
    Canvas img(n, n);
    const Rgb dark{52, 94, 30}, light{92, 138, 46}, dry{128, 138, 64};
    const Field broad = fbm(n, n, 128, 128, n, n, 4, 201),
                blotches = fbm(n, n, 32, 32, n, n, 2, 208);
    const Field patches = fbm(n, n, 64, 64, n, n, 3, 202), fine = valueNoise(n, n, 2, 2, n, n, 207);
    const ColumnHash offsetA(n, 203), strokesA(n, 204), offsetB(n, 205), strokesB(n, 206);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            // Broad variation kept gentle: the lawn repeats this tile 3x3 and strong blotches
            // would give the repetition away.
            Rgb c = mix(dark, light, contrast(broad(x, y), 1));
            c = mix(c, dark, contrast(blotches(x, y), 2) / 3);
            const int patch = patches(x, y);
            if (patch > 150)
                c = mix(c, dry, (patch - 150) * 2);
            // Short blades: each column and each diagonal is cut into strokes of four pixels at a
            // random offset; every index wraps with the tile.
            const int diag = (x + y) % n;
            const int strokeA = strokesA(x, ((y + offsetA(x, 0) % 4) % n) / 4) & 255;
            const int strokeB = strokesB(diag, ((y + offsetB(diag, 0) % 4) % n) / 4) & 255;
            const int blade = (strokeA + strokeB) / 2;
            c = shade(c, 180 + blade * 120 / 255);
            c = shade(c, 256 + (fine(x, y) - 128) / 6);
            img.set(x, y, c);
        }
    }
    return img;
}

// Hall facade, 512x512 over a 60 x 50 wall. Layout is worked out in hundredths of a world unit
// (u across 0..6000, v up 0..5000) so the arch proportions come out right on the wall.
Canvas makeDoor() {
    const int n = 512;
    Canvas img(n, n);
    const Rgb marble{226, 220, 208}, marbleLight{242, 238, 230}, sandstone{158, 80, 60};
    const Rgb inlay{56, 52, 56}, wood{112, 68, 38}, iron{40, 38, 38};
    const int cx = 3000, nicheX[] = {750, 5250}, nicheBase[] = {500, 2600};
    auto blockOf = [](int u, int v) {
        const int row = v / 250;
        return row * 1000 + (u + (row % 2) * 250) / 500;
    };
    const Field grains = fbm(n, n, 64, 64, n, n, 4, 301),
                woodGrains = fbm(n, n, 4, 64, n, n, 3, 304);
    const ColumnHash speckle(n, 302), plinthSpeckle(n, 303);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const int u = (2 * x + 1) * 3000 / n, v = (2 * y + 1) * 2500 / n;
            const int grain = grains(x, y);
            Rgb c = mix(marble, marbleLight, contrast(grain, 2));
            c = shade(c, 256 + speckle.jitter(x, y, 3));
            // Faint ashlar joints: a line wherever the block changes from the neighbour pixel.
            const int left = (2 * x - 1) * 3000 / n, below = (2 * y - 1) * 2500 / n;
            if (blockOf(u, v) != blockOf(left, v) || blockOf(u, v) != blockOf(u, below))
                c = shade(c, 215);

            if (v < 150)
                c = shade(sandstone, 240 + plinthSpeckle.jitter(x, y, 10));
            if (v >= 4650 && v < 4850) {
                const int a = absi(u % 200 - 100), b = absi(v - 4750);
                c = (b > 80) ? sandstone : (a + b <= 70 ? marbleLight : inlay);
            }

            // Two stacked blind niches on either side of the portal.
            for (int nx : nicheX) {
                for (int nb : nicheBase) {
                    const int spring = nb + 1100;
                    if (inArch(u, v, nx, nb, spring, 350, 175))
                        c = shade(mix(marble, marbleLight, grain), 200 - (v - nb) * 40 / 1600);
                    else if (inArch(u, v, nx, nb - 60, spring, 410, 175))
                        c = sandstone;
                }
            }

            // Portal frame: a dark inlaid border carrying a chain of marble lozenges.
            const bool inOuter = u >= 1450 && u < 4550 && v < 4450;
            const bool inInner = u >= 1600 && u < 4400 && v < 4300;
            if (inOuter && !inInner) {
                const int along = v >= 4300 ? u - 1450 : v;
                const int across = v >= 4300 ? v - 4300 : (u < 1600 ? u - 1450 : 4550 - u);
                const int d = absi(along % 150 - 75) + absi(across - 75);
                if (across < 15 || across >= 135)
                    c = marbleLight;
                else
                    c = d <= 22 ? sandstone : (d <= 55 ? marbleLight : inlay);
            } else if (inInner) {
                c = mix(marbleLight, marble, grain);
                // Star rosettes in the spandrels.
                for (int rx : {2200, 3800}) {
                    const int dx = u - rx, dy = v - 3950;
                    const int r2 = dx * dx + dy * dy;
                    const int adx = absi(dx), ady = absi(dy);
                    if (r2 <= 35 * 35)
                        c = sandstone;
                    else if (adx + ady <= 150 || std::max(adx, ady) <= 105)
                        c = marbleLight;
                    else if (r2 <= 170 * 170)
                        c = inlay;
                    else if (r2 <= 220 * 220)
                        c = sandstone;
                }
            }

            // The great arch: sandstone moulding, then the shadowed recess.
            if (inArch(u, v, cx, 0, 2400, 1120, 500) && !inArch(u, v, cx, 0, 2400, 1000, 500)) {
                c = sandstone;
                if (inArch(u, v, cx, 0, 2400, 1070, 500) && !inArch(u, v, cx, 0, 2400, 1050, 500))
                    c = marbleLight;
            } else if (inArch(u, v, cx, 0, 2400, 1000, 500)) {
                c = mix(Rgb{128, 118, 108}, Rgb{66, 62, 68}, v * 256 / 3800);
                c = shade(c, 256 + (grain - 128) / 5);
                // Ribs of the half-dome above the springing line.
                for (int k = 1; k <= 4; ++k) {
                    const int h = 1000 - k * 140;
                    if (v > 2400 && inArch(u, v, cx, 0, 2400, h + 12, 500) &&
                        !inArch(u, v, cx, 0, 2400, h, 500))
                        c = shade(c, 150);
                }
                // Lattice window above the door.
                if (inArch(u, v, cx, 2450, 2900, 260, 130)) {
                    const bool bar = (u + v) % 120 < 28 || (u - v + 12000) % 120 < 28;
                    c = bar ? Rgb{170, 160, 150} : Rgb{24, 22, 26};
                } else if (inArch(u, v, cx, 2400, 2900, 320, 130)) {
                    c = sandstone;
                }
                // Wooden door with a marble surround, planks, straps and studs.
                if (inArch(u, v, cx, 0, 1300, 600, 300)) {
                    const int woodGrain = woodGrains(x, y);
                    c = shade(wood, 200 + woodGrain * 90 / 255);
                    const int plankU = (u - 2400) % 150;
                    if (plankU < 12 || absi(u - cx) < 14)
                        c = shade(wood, 120);
                    if (absi(v - 400) < 30 || absi(v - 1100) < 30)
                        c = iron;
                    const int su = (u - 2400 + 50) % 100 - 50, sv = (v + 75) % 150 - 75;
                    if (su * su + sv * sv < 22 * 22)
                        c = (su + sv < -8) ? Rgb{120, 116, 110} : iron;
                } else if (inArch(u, v, cx, 0, 1300, 680, 300)) {
                    c = Rgb{188, 180, 170};
                }
            }
            img.set(x, y, c);
        }
    }
    return img;
}

// Water: a few wave trains with whole numbers of cycles per tile, bent by tiling noise, with
// thin bright lines where crests cross.
Canvas makePool() {
    const int n = 256;
    Canvas img(n, n);
    const Rgb deep{18, 72, 128}, mid{38, 118, 172}, light{150, 214, 236};
    const int waves[][3] = {{3, 1, 3}, {-2, 5, 2}, {5, -2, 2}, {1, 7, 1}};
    const Field warps = fbm(n, n, 64, 64, n, n, 3, 401),
                ripples = valueNoise(n, n, 4, 4, n, n, 402);
    const Sine isin;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const int warp = (warps(x, y) - 128) * 10;
            int height = 0, ridge = 0;
            for (const auto& w : waves) {
                const int s = isin((w[0] * x + w[1] * y) * 1024 / n + warp * w[2] / 2);
                height += s * w[2];
                ridge = std::max(ridge, 1024 - absi(s));
            }
            Rgb c = mix(deep, mid, (height + 8192) * 256 / 16384);
            const int glint = ridge > 900 ? (ridge - 900) * 256 / 124 : 0;
            c = mix(c, light, glint * glint / 256 * 3 / 4);
            c = shade(c, 256 + (ripples(x, y) - 128) / 16);
            img.set(x, y, c);
        }
    }
    return img;
}

// Terracotta barrel tiles in staggered rows, eight by eight per image.
Canvas makeRoof() {
    const int n = 256, tile = 32;
    Canvas img(n, n);
    const Rgb clay{176, 86, 54}, gap{52, 26, 20};
    const Field weathering = fbm(n, n, 16, 16, n, n, 3, 503);
    const Sine isin;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const int row = y / tile, ly = y % tile;
            const int sx = (x + (row % 2) * tile / 2) % n;
            const int col = sx / tile, lx = sx % tile;
            Rgb c = mix(clay, Rgb{150, 110, 80}, static_cast<int>(hash(col, row, 501) % 70));
            c = shade(c, 236 + jitter(col, row, 502, 20));
            // Rounded profile across the tile and shadow under the overlapping row above.
            const int across = isin(lx * 512 / tile + 8) / 8;
            c = shade(c, 150 + across * 130 / 128);
            if (ly > 22)
                c = shade(c, 256 - (ly - 22) * 14);
            c = shade(c, 256 + (weathering(x, y) - 128) / 4);
            if (ly < 2 || lx == 0)
                c = gap;
            img.set(x, y, c);
        }
    }
    return img;
}

// Stone slabs of mixed widths in four courses, set in mortar.
Canvas makeStoneWalk() {
    const int n = 256;
    Canvas img(n, n);
    const Rgb stone{178, 170, 156}, warm{196, 180, 150}, mortar{120, 112, 100};
    const int rowTop[] = {64, 112, 192, 256};
    const std::vector<int> cuts[] = {{0, 96, 176}, {40, 112, 200}, {20, 150}, {70, 140, 210}};
    const Field wear = fbm(n, n, 32, 32, n, n, 4, 603);
    const ColumnHash speckle(n, 604), mortarSpeckle(n, 605);
    for (int y = 0; y < n; ++y) {
        const int row = y < 64 ? 0 : (y < 112 ? 1 : (y < 192 ? 2 : 3));
        const int rowBottom = row == 0 ? 0 : rowTop[row - 1];
        const int ly = y - rowBottom, rowH = rowTop[row] - rowBottom;
        const std::vector<int>& cut = cuts[row];
        for (int x = 0; x < n; ++x) {
            int k = static_cast<int>(cut.size()) - 1;
            for (int i = 0; i < static_cast<int>(cut.size()); ++i)
                if (cut[i] <= x)
                    k = i;
            const int start = cut[k];
            const int end = k + 1 < static_cast<int>(cut.size()) ? cut[k + 1] : cut[0] + n;
            const int lx = (x - start + n) % n, slabW = end - start;
            Rgb c = mix(stone, warm, static_cast<int>(hash(row, k, 601) % 200));
            c = shade(c, 226 + jitter(row, k, 602, 24));
            c = shade(c, 256 + (wear(x, y) - 128) / 3);
            c = shade(c, 256 + speckle.jitter(x, y, 10));
            // Slight bevel: light catches the upper and left edges, the others fall in shade.
            const int edge = std::min(std::min(lx, slabW - 1 - lx), std::min(ly, rowH - 1 - ly));
            if (edge < 6)
                c = shade(c, (ly >= rowH - 6 || lx < 6) ? 272 : 230);
            if (lx < 3 || ly < 3)
                c = shade(mortar, 256 + mortarSpeckle.jitter(x, y, 20));
            img.set(x, y, c);
        }
    }
    return img;
}

} // namespace

std::vector<std::uint8_t> textureFile(int index) {
    switch (index) {
    case 0:
        return makeMinar().bmp();
    case 1:
        return makeGrass().bmp();
    case 2:
        return makeDoor().bmp();
    case 3:
        return makePool().bmp();
    case 4:
        return makeRoof().bmp();
    case 5:
        return makeStoneWalk().bmp();
    default:
        return {};
    }
}

} // namespace texture_generator
