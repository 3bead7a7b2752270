// Generates the six textures Orvessa loads at start-up and writes them as 24-bit BMP files.
// Usage: make_textures OUTPUT_DIR
//
// Everything below is integer arithmetic driven by one fixed hash, so the files come out
// byte-identical on every compiler, library and machine.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

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

    bool writeBmp(const std::string& path) const {
        const uint32_t rowBytes = (static_cast<uint32_t>(w_) * 3 + 3) & ~3u;
        const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(h_);
        std::vector<uint8_t> out;
        out.reserve(54 + imageBytes);
        auto put16 = [&out](uint32_t v) {
            out.push_back(static_cast<uint8_t>(v));
            out.push_back(static_cast<uint8_t>(v >> 8));
        };
        auto put32 = [&put16](uint32_t v) {
            put16(v & 0xFFFFu);
            put16(v >> 16);
        };
        out.push_back('B');
        out.push_back('M');
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
            for (int x = 0; x < w_; ++x) {
                const Rgb& c = px_[static_cast<std::size_t>(y) * w_ + x];
                out.push_back(static_cast<uint8_t>(clampi(c.b, 0, 255)));
                out.push_back(static_cast<uint8_t>(clampi(c.g, 0, 255)));
                out.push_back(static_cast<uint8_t>(clampi(c.r, 0, 255)));
            }
            for (uint32_t pad = static_cast<uint32_t>(w_) * 3; pad < rowBytes; ++pad)
                out.push_back(0);
        }
        std::ofstream file(path, std::ios::binary);
        if (!file)
            return false;
        file.write(reinterpret_cast<const char*>(out.data()),
                   static_cast<std::streamsize>(out.size()));
        file.close();
        return !file.fail();
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

uint32_t hash(int x, int y, uint32_t seed) {
    return mix32(mix32(mix32(seed + 0x9E3779B9u) ^ static_cast<uint32_t>(x)) ^
                 static_cast<uint32_t>(y));
}

// Hash as a small signed jitter in [-range, range].
int jitter(int x, int y, uint32_t seed, int range) {
    return static_cast<int>(hash(x, y, seed) % static_cast<uint32_t>(2 * range + 1)) - range;
}

// Cubic ease 3f^2 - 2f^3 on [0, 256].
int smooth(int f) {
    return f * f * (768 - 2 * f) / 65536;
}

// Value noise in [0, 255] on a lattice of cw x ch pixel cells that wraps every pw x ph pixels;
// with the period equal to the image size the texture tiles without seams.
int valueNoise(int x, int y, int cw, int ch, int pw, int ph, uint32_t seed) {
    const int nx = pw / cw, ny = ph / ch;
    const int gx = x / cw, gy = y / ch;
    const int fx = smooth((x % cw) * 256 / cw), fy = smooth((y % ch) * 256 / ch);
    auto at = [&](int i, int j) { return static_cast<int>(hash(i % nx, j % ny, seed) & 255u); };
    const int bottom = at(gx, gy) + (at(gx + 1, gy) - at(gx, gy)) * fx / 256;
    const int top = at(gx, gy + 1) + (at(gx + 1, gy + 1) - at(gx, gy + 1)) * fx / 256;
    return bottom + (top - bottom) * fy / 256;
}

// Several octaves of value noise, each half the cell size and half the weight of the last.
int fbm(int x, int y, int cw, int ch, int pw, int ph, int octaves, uint32_t seed) {
    int sum = 0, norm = 0, amp = 256;
    for (int o = 0; o < octaves; ++o) {
        sum += valueNoise(x, y, std::max(cw >> o, 1), std::max(ch >> o, 1), pw, ph,
                          seed + static_cast<uint32_t>(o)) *
               amp;
        norm += amp;
        amp /= 2;
    }
    return sum / norm;
}

// Push a noise value away from the middle, since summed octaves cluster around 128.
int contrast(int v, int gain) {
    return clampi(128 + (v - 128) * gain, 0, 256);
}

// Sine with period 1024 returning [-1024, 1024]; Bhaskara's rational form keeps it integer.
int isin(int phase) {
    const int p = ((phase % 1024) + 1024) % 1024;
    const int64_t t = p % 512;
    const int64_t u = t * (512 - t);
    const int v = static_cast<int>(16 * u * 1024 / (5 * 512 * 512 - 4 * u));
    return p < 512 ? v : -v;
}

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
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const int cloud = contrast(fbm(x, y, 128, 8, n, n, 4, 101), 2);
            // Rows are coarse on the tower, so veins run mostly upward and meander gently;
            // near-horizontal veins would break into dashes.
            const int turb = fbm(x, y, 128, 32, n, n, 3, 102) - 128;
            const int veinWave = absi(isin(x * 3 + y * 6 + turb * 3));
            Rgb c = mix(marble, marbleLight, cloud);
            const int faintWave = absi(isin(x * -2 + y * 5 + turb * 5 + 300));
            if (veinWave < 200)
                c = mix(c, vein, (200 - veinWave) / 2);
            if (faintWave < 120)
                c = mix(c, vein, (120 - faintWave) / 3);
            c = shade(c, 256 + jitter(x, y, 103, 4));

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
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            // Broad variation kept gentle: the lawn repeats this tile 3x3 and strong blotches
            // would give the repetition away.
            Rgb c = mix(dark, light, contrast(fbm(x, y, 128, 128, n, n, 4, 201), 1));
            c = mix(c, dark, contrast(fbm(x, y, 32, 32, n, n, 2, 208), 2) / 3);
            const int patch = fbm(x, y, 64, 64, n, n, 3, 202);
            if (patch > 150)
                c = mix(c, dry, (patch - 150) * 2);
            // Short blades: each column and each diagonal is cut into strokes of four pixels at a
            // random offset; every index wraps with the tile.
            const int diag = (x + y) % n;
            const int strokeA = hash(x, ((y + hash(x, 0, 203) % 4) % n) / 4, 204) & 255;
            const int strokeB = hash(diag, ((y + hash(diag, 0, 205) % 4) % n) / 4, 206) & 255;
            const int blade = (strokeA + strokeB) / 2;
            c = shade(c, 180 + blade * 120 / 255);
            c = shade(c, 256 + (valueNoise(x, y, 2, 2, n, n, 207) - 128) / 6);
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
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const int u = (2 * x + 1) * 3000 / n, v = (2 * y + 1) * 2500 / n;
            const int grain = fbm(x, y, 64, 64, n, n, 4, 301);
            Rgb c = mix(marble, marbleLight, contrast(grain, 2));
            c = shade(c, 256 + jitter(x, y, 302, 3));
            // Faint ashlar joints: a line wherever the block changes from the neighbour pixel.
            const int left = (2 * x - 1) * 3000 / n, below = (2 * y - 1) * 2500 / n;
            if (blockOf(u, v) != blockOf(left, v) || blockOf(u, v) != blockOf(u, below))
                c = shade(c, 215);

            if (v < 150)
                c = shade(sandstone, 240 + jitter(x, y, 303, 10));
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
                    const int woodGrain = fbm(x, y, 4, 64, n, n, 3, 304);
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
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const int warp = (fbm(x, y, 64, 64, n, n, 3, 401) - 128) * 10;
            int height = 0, ridge = 0;
            for (const auto& w : waves) {
                const int s = isin((w[0] * x + w[1] * y) * 1024 / n + warp * w[2] / 2);
                height += s * w[2];
                ridge = std::max(ridge, 1024 - absi(s));
            }
            Rgb c = mix(deep, mid, (height + 8192) * 256 / 16384);
            const int glint = ridge > 900 ? (ridge - 900) * 256 / 124 : 0;
            c = mix(c, light, glint * glint / 256 * 3 / 4);
            c = shade(c, 256 + (valueNoise(x, y, 4, 4, n, n, 402) - 128) / 16);
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
            c = shade(c, 256 + (fbm(x, y, 16, 16, n, n, 3, 503) - 128) / 4);
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
            c = shade(c, 256 + (fbm(x, y, 32, 32, n, n, 4, 603) - 128) / 3);
            c = shade(c, 256 + jitter(x, y, 604, 10));
            // Slight bevel: light catches the upper and left edges, the others fall in shade.
            const int edge = std::min(std::min(lx, slabW - 1 - lx), std::min(ly, rowH - 1 - ly));
            if (edge < 6)
                c = shade(c, (ly >= rowH - 6 || lx < 6) ? 272 : 230);
            if (lx < 3 || ly < 3)
                c = shade(mortar, 256 + jitter(x, y, 605, 20));
            img.set(x, y, c);
        }
    }
    return img;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argc > 0 ? argv[0] : "make_textures");
        return 2;
    }
    const std::string dir = argv[1];
    struct Job {
        const char* name;
        Canvas (*make)();
    };
    const Job jobs[] = {{"minar.bmp", makeMinar}, {"grass.bmp", makeGrass},
                        {"door.bmp", makeDoor},   {"pool.bmp", makePool},
                        {"roof.bmp", makeRoof},   {"sw.bmp", makeStoneWalk}};
    for (const Job& job : jobs) {
        const std::string path = dir + "/" + job.name;
        if (!job.make().writeBmp(path)) {
            std::fprintf(stderr, "make_textures: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
