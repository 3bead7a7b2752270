// The six textures, drawn procedurally (texture_generator.h).
//
// Everything below is integer arithmetic driven by one fixed hash, so the files come out
// byte-identical on every compiler, library and machine. The page makes the six at start-up,
// before its first frame, so the work is arranged for speed: the noise lattice is hashed once
// per point and interpolated a row at a time, all octaves of a row together; the pixels go
// straight into the file; and what is the same along a row is worked out once per row. Each
// value is still the one the pixel-by-pixel formula gives.

#include "textures/texture_generator.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
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

// A 24-bit BMP file filled in place, a row at a time: the pixels go straight into the file's
// bytes rather than through an image of their own.
class BmpFile {
public:
    BmpFile(int w, int h)
        : rowBytes_((static_cast<uint32_t>(w) * 3 + 3) & ~3u),
          bytes_(kHeaderBytes + static_cast<std::size_t>(rowBytes_) * h, 0) {
        const uint32_t imageBytes = rowBytes_ * static_cast<uint32_t>(h);
        std::size_t at = 0;
        auto put16 = [this, &at](uint32_t v) {
            bytes_[at++] = static_cast<uint8_t>(v);
            bytes_[at++] = static_cast<uint8_t>(v >> 8);
        };
        auto put32 = [&put16](uint32_t v) {
            put16(v & 0xFFFFu);
            put16(v >> 16);
        };
        bytes_[at++] = 'B';
        bytes_[at++] = 'M';
        put32(kHeaderBytes + imageBytes);
        put32(0);            // two reserved 16-bit fields
        put32(kHeaderBytes); // pixel data offset
        put32(40);           // BITMAPINFOHEADER size
        put32(static_cast<uint32_t>(w));
        put32(static_cast<uint32_t>(h)); // positive height: rows stored bottom-up
        put16(1);                        // planes
        put16(24);                       // bits per pixel
        put32(0);                        // no compression
        put32(imageBytes);
        put32(2835); // 72 dpi, horizontally and vertically
        put32(2835);
        put32(0);
        put32(0);
        // The rows' padding stays zero.
    }

    // y = 0 is the bottom row, the same order BMP stores rows in.
    uint8_t* row(int y) { return &bytes_[kHeaderBytes + static_cast<std::size_t>(y) * rowBytes_]; }

    // Pixel x of a row from row(), stored blue first.
    static void set(uint8_t* row, int x, Rgb c) {
        row[3 * x] = static_cast<uint8_t>(clampi(c.b, 0, 255));
        row[3 * x + 1] = static_cast<uint8_t>(clampi(c.g, 0, 255));
        row[3 * x + 2] = static_cast<uint8_t>(clampi(c.r, 0, 255));
    }

    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    static constexpr uint32_t kHeaderBytes = 54;
    uint32_t rowBytes_;
    std::vector<uint8_t> bytes_;
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

// One row of an octave of value noise: the noise at column x is one interpolation step between
// the lattice rows below and above. Held by value, so a loop writing rows of ints can keep it in
// registers.
struct NoiseRow {
    const int* base;
    const int* slope;
    int fy;
    int operator()(int x) const { return (base[x] + slope[x] * fy) >> 8; }
};

// Value noise in [0, 255] on a lattice of cw x ch pixel cells that wraps every pw x ph pixels,
// one row of pixels at a time; with the period equal to the image size the texture tiles
// without seams.
class NoiseOctave {
public:
    NoiseOctave(int w, int cw, int ch, int pw, int ph, uint32_t seed)
        : w_(w), ch_(ch), nx_(pw / cw), ny_(ph / ch), lattice_(static_cast<std::size_t>(nx_) * ny_),
          left_(w), right_(w), fx_(w), bottom_(w), top_(w), base_(w), slope_(w) {
        for (int j = 0; j < ny_; ++j)
            for (int i = 0; i < nx_; ++i)
                lattice_[static_cast<std::size_t>(j) * nx_ + i] =
                    static_cast<int>(hash(i, j, seed) & 255u);
        // Per column: the lattice columns either side and the eased weight between them.
        for (int x = 0; x < w; ++x) {
            left_[x] = (x / cw) % nx_;
            right_[x] = (x / cw + 1) % nx_;
            fx_[x] = smooth((x % cw) * 256 / cw);
        }
    }

    // Row y, valid until the next call. The noise along the lattice rows below and above is
    // worked out only when y is in another cell row than last time, and going up one cell row
    // the old top is the new bottom.
    NoiseRow startRow(int y) {
        const int cellRow = y / ch_;
        if (cellRow != cellRow_) {
            if (cellRow_ < 0 || cellRow != cellRow_ + 1)
                interpolateLatticeRow(cellRow, top_);
            std::swap(bottom_, top_);
            cellRow_ = cellRow;
            const int* above = latticeRow(cellRow + 1);
            for (int x = 0; x < w_; ++x) {
                const int bottom = bottom_[x];
                const int top = interpolate(above, x);
                top_[x] = top;
                // bottom + (top - bottom) * fy / 256, the division rounding toward zero, is
                // (bottom * 256 + (top - bottom) * fy + bias) >> 8 with a bias of 255 when the
                // product can be negative: one multiply, add and shift per pixel.
                base_[x] = bottom * 256 + (top < bottom ? 255 : 0);
                slope_[x] = top - bottom;
            }
        }
        return NoiseRow{base_.data(), slope_.data(), smooth((y % ch_) * 256 / ch_)};
    }

private:
    const int* latticeRow(int j) const {
        return &lattice_[static_cast<std::size_t>(j % ny_) * nx_];
    }
    // The noise at column x along a lattice row.
    int interpolate(const int* lattice, int x) const {
        const int l = lattice[left_[x]], r = lattice[right_[x]];
        return l + (r - l) * fx_[x] / 256;
    }
    void interpolateLatticeRow(int j, std::vector<int>& out) const {
        const int* lattice = latticeRow(j);
        for (int x = 0; x < w_; ++x)
            out[x] = interpolate(lattice, x);
    }

    int w_, ch_, nx_, ny_;
    std::vector<int> lattice_;
    std::vector<int> left_, right_, fx_;
    std::vector<int> bottom_, top_, base_, slope_;
    int cellRow_ = -1;
};

// Floor division of a non-negative n by a fixed d as a multiply and a shift, exact while
// n * d < 2^32: the rounded-up reciprocal makes n / d come out at most n / 2^32 < 1 / d too
// large, short of the next whole number.
class ExactDivider {
public:
    explicit ExactDivider(uint32_t d) : reciprocal_((uint64_t{1} << 32) / d + 1) {}
    int operator()(int n) const {
        return static_cast<int>((static_cast<uint64_t>(n) * reciprocal_) >> 32);
    }

private:
    uint64_t reciprocal_;
};

// Several octaves of value noise, each half the cell size and half the weight of the last,
// a row at a time: row() gives the weighted mean of the octaves, value by value the same as
// summing whole images octave by octave and dividing at the end. One octave is plain value
// noise.
class Fbm {
public:
    Fbm(int w, int cw, int ch, int pw, int ph, int octaves, uint32_t seed)
        : sum_(w), divide_(octaves > 1 ? 512u - (512u >> octaves) : 1u) {
        for (int o = 0; o < octaves; ++o)
            octaves_.emplace_back(w, std::max(cw >> o, 1), std::max(ch >> o, 1), pw, ph,
                                  seed + static_cast<uint32_t>(o));
    }

    // The values of row y for columns x0 to x1 - 1, indexed by x; rows may come in any order,
    // though in order each cell row's interpolation is worked out once.
    const int* row(int y, int x0, int x1) {
        int* sum = sum_.data();
        const int count = static_cast<int>(octaves_.size());
        if (count == 1) {
            const NoiseRow only = octaves_[0].startRow(y);
            for (int x = x0; x < x1; ++x)
                sum[x] = only(x);
            return sum;
        }
        // Weights 256, 128, 64, ... (whole for up to nine octaves) sum to 512 - 512 / 2^octaves,
        // the divisor; a sum is at most 255 times that, well inside the divider's exact range.
        for (int o = 0; o < count; ++o) {
            const NoiseRow octave = octaves_[o].startRow(y);
            const int shift = 8 - o;
            if (o == 0) {
                for (int x = x0; x < x1; ++x)
                    sum[x] = octave(x) << shift;
            } else if (o + 1 < count) {
                for (int x = x0; x < x1; ++x)
                    sum[x] += octave(x) << shift;
            } else {
                for (int x = x0; x < x1; ++x)
                    sum[x] = divide_(sum[x] + (octave(x) << shift));
            }
        }
        return sum;
    }
    const int* row(int y) { return row(y, 0, static_cast<int>(sum_.size())); }

private:
    std::vector<NoiseOctave> octaves_;
    std::vector<int> sum_;
    ExactDivider divide_;
};

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
    // The low ten bits are the phase modulo 1024, negative phases included.
    int operator()(int phase) const { return table_[phase & 1023]; }
    // The absolute value: the second half of the period is the first negated.
    int magnitude(int phase) const { return table_[phase & 511]; }

private:
    int table_[1024];
};

// An arch cut down to one row of the image: the points of the row within `reach` of the axis
// (none when the reach is negative).
struct ArchRow {
    int cx, reach;
    bool contains(int u) const { return absi(u - cx) <= reach; }
};

// Pointed arch opening: straight jambs half-width `half` apart from `base` up to `spring`, then
// two arcs of radius half + off whose centres sit off units either side of the axis.
struct Arch {
    int cx, base, spring, half, off;

    bool contains(int u, int v) const {
        if (v < base)
            return false;
        const int dx = absi(u - cx);
        if (v <= spring)
            return dx <= half;
        const int64_t r = half + off, ax = dx + off, ay = v - spring;
        return ax * ax + ay * ay <= r * r;
    }

    // Row v of the arch, so that a row of pixels tests each arch once rather than per pixel.
    // Moving away from the axis only ever leaves the arch, and nothing beyond `half` is in it,
    // so the reach is found by bisection on contains itself.
    ArchRow across(int v) const {
        if (!contains(cx, v))
            return {cx, -1};
        int inside = 0, outside = half + 1;
        while (outside - inside > 1) {
            const int mid = (inside + outside) / 2;
            (contains(cx + mid, v) ? inside : outside) = mid;
        }
        return {cx, inside};
    }
};

// Marble minaret skin. The 512x512 image stretches over a 5 x 70 face, so one row is as tall
// as about fourteen columns are wide; noise and motifs are squashed vertically to compensate.
std::vector<uint8_t> makeMinar() {
    const int n = 512;
    BmpFile img(n, n);
    const Rgb marble{232, 227, 216}, marbleLight{247, 245, 239}, vein{156, 150, 146};
    const Rgb inlay{54, 50, 54}, sandstone{150, 78, 58};
    const int bandRows[] = {146, 293, 424}; // 20, 40 and 58 units up the tower
    Fbm clouds(n, 128, 8, n, n, 4, 101), turbulence(n, 128, 32, n, n, 3, 102);
    const ColumnHash speckle(n, 103);
    const Sine isin;
    // The marble before its veins, for each contrasted cloud value.
    Rgb clouded[257];
    for (int t = 0; t <= 256; ++t)
        clouded[t] = mix(marble, marbleLight, t);
    // Thin dark trim down both edges marks the corners of the tower; the marble and the bands
    // lie between.
    const int trim = 6;
    for (int y = 0; y < n; ++y) {
        uint8_t* pixels = img.row(y);

        // Plain sandstone courses where the shaft meets its base and its balcony.
        if (y < 10 || y >= n - 10) {
            const Rgb course = (y == 9 || y == n - 10) ? inlay : sandstone;
            for (int x = 0; x < n; ++x)
                BmpFile::set(pixels, x, course);
            continue;
        }

        for (int x = 0; x < trim; ++x) {
            const Rgb edge = x < 3 ? inlay : sandstone;
            BmpFile::set(pixels, x, edge);
            BmpFile::set(pixels, n - 1 - x, edge);
        }

        // The bands are far enough apart that a row crosses at most one.
        int band = -1;
        for (int b = 0; b < 3; ++b)
            if (absi(y - bandRows[b]) <= 9)
                band = b;
        if (band >= 0) {
            const int dy = y - bandRows[band], ady = absi(dy);
            for (int x = trim; x < n - trim; ++x) {
                Rgb c;
                if (ady >= 8) {
                    c = inlay;
                } else if (ady == 7) {
                    c = sandstone;
                } else if (band == 1) {
                    // Marble zigzag chevrons on the dark inlay.
                    const int zig = absi((x % 64) - 32) * 10 / 32 - 5;
                    c = absi(dy - zig) <= 1 ? marbleLight : inlay;
                } else {
                    // Lozenges of marble, each with a sandstone heart.
                    const int lx = absi((x % 128) - 64);
                    const int d = lx * 6 + ady * 56;
                    c = d <= 60 ? sandstone : (d <= 336 ? marbleLight : inlay);
                }
                BmpFile::set(pixels, x, c);
            }
            continue;
        }

        const int* cloudRow = clouds.row(y, trim, n - trim);
        const int* turbulenceRow = turbulence.row(y, trim, n - trim);
        for (int x = trim; x < n - trim; ++x) {
            Rgb c = clouded[contrast(cloudRow[x], 2)];
            // Rows are coarse on the tower, so veins run mostly upward and meander gently;
            // near-horizontal veins would break into dashes.
            const int turb = turbulenceRow[x] - 128;
            const int veinWave = isin.magnitude(x * 3 + y * 6 + turb * 3);
            const int faintWave = isin.magnitude(x * -2 + y * 5 + turb * 5 + 300);
            if (veinWave < 200)
                c = mix(c, vein, (200 - veinWave) / 2);
            if (faintWave < 120)
                c = mix(c, vein, (120 - faintWave) / 3);
            c = shade(c, 256 + speckle.jitter(x, y, 4));
            BmpFile::set(pixels, x, c);
        }
    }
    return img.take();
}

// Short grass blades along one direction of the tile: each line of it (a column, or a
// diagonal) is cut into strokes of four pixels starting at the line's own random offset, each
// stroke a random value in [0, 255]; every index wraps with the tile. The row index drawn per
// stroke is ((y + offset) % n) / 4, which with n a multiple of four moves on only at rows where
// (y + offset) % 4 == 0, so going up a row only those lines are hashed again.
class BladeStrokes {
public:
    BladeStrokes(int n, uint32_t offsetSeed, uint32_t strokeSeed)
        : n_(n), strokes_(n, strokeSeed), offsets_(n), values_(n) {
        const ColumnHash offsets(n, offsetSeed);
        for (int line = 0; line < n; ++line) {
            offsets_[line] = static_cast<int>(offsets(line, 0) % 4);
            linesByOffset_[offsets_[line]].push_back(line);
        }
    }

    // The value of every line at row y, indexed by line; rows must come one at a time from 0.
    const int* row(int y) {
        if (y == 0) {
            for (int line = 0; line < n_; ++line)
                update(line, y);
        } else {
            for (int line : linesByOffset_[(4 - y % 4) % 4])
                update(line, y);
        }
        return values_.data();
    }

private:
    void update(int line, int y) {
        values_[line] = static_cast<int>(strokes_(line, ((y + offsets_[line]) % n_) / 4) & 255);
    }

    int n_;
    ColumnHash strokes_;
    std::vector<int> offsets_, values_;
    std::vector<int> linesByOffset_[4];
};

std::vector<uint8_t> makeGrass() {
    const int n = 512; // a multiple of four, as BladeStrokes needs
    BmpFile img(n, n);
    const Rgb dark{52, 94, 30}, light{92, 138, 46}, dry{128, 138, 64};
    Fbm broad(n, 128, 128, n, n, 4, 201), blotches(n, 32, 32, n, n, 2, 208);
    Fbm patches(n, 64, 64, n, n, 3, 202), fine(n, 2, 2, n, n, 1, 207);
    BladeStrokes columnStrokes(n, 203, 204), diagonalStrokes(n, 205, 206);
    // The lawn before its blotches, for each contrasted value of the broad noise.
    Rgb lawn[257];
    for (int t = 0; t <= 256; ++t)
        lawn[t] = mix(dark, light, t);
    // The blades' shading for each sum of the two strokes a pixel lies on.
    int bladeShade[511];
    for (int sum = 0; sum <= 510; ++sum)
        bladeShade[sum] = 180 + (sum / 2) * 120 / 255;
    for (int y = 0; y < n; ++y) {
        uint8_t* pixels = img.row(y);
        const int* broadRow = broad.row(y);
        const int* blotchRow = blotches.row(y);
        const int* patchRow = patches.row(y);
        const int* fineRow = fine.row(y);
        const int* columnStroke = columnStrokes.row(y);
        const int* diagonalStroke = diagonalStrokes.row(y);
        for (int x = 0; x < n; ++x) {
            // Broad variation kept gentle: the lawn repeats this tile 3x3 and strong blotches
            // would give the repetition away.
            Rgb c = lawn[contrast(broadRow[x], 1)];
            c = mix(c, dark, contrast(blotchRow[x], 2) / 3);
            const int patch = patchRow[x];
            if (patch > 150)
                c = mix(c, dry, (patch - 150) * 2);
            // Short blades, down each column and each diagonal.
            const int diagonal = (x + y) % n;
            c = shade(c, bladeShade[columnStroke[x] + diagonalStroke[diagonal]]);
            c = shade(c, 256 + (fineRow[x] - 128) / 6);
            BmpFile::set(pixels, x, c);
        }
    }
    return img.take();
}

// Hall facade, 512x512 over a 60 x 50 wall. Layout is worked out in hundredths of a world unit
// (u across 0..6000, v up 0..5000) so the arch proportions come out right on the wall.
std::vector<uint8_t> makeDoor() {
    const int n = 512;
    BmpFile img(n, n);
    const Rgb marble{226, 220, 208}, marbleLight{242, 238, 230}, sandstone{158, 80, 60};
    const Rgb inlay{56, 52, 56}, wood{112, 68, 38}, iron{40, 38, 38};
    const int cx = 3000, nicheX[] = {750, 5250}, nicheBase[] = {500, 2600};
    auto blockOf = [](int u, int v) {
        const int row = v / 250;
        return row * 1000 + (u + (row % 2) * 250) / 500;
    };
    // Across and up the wall at the centre of column x and row y; x - 1 and y - 1 give the
    // neighbours to the left and below.
    auto uOf = [](int x) { return (2 * x + 1) * 3000 / n; };
    auto vOf = [](int y) { return (2 * y + 1) * 2500 / n; };

    // Two stacked blind niches on either side of the portal, each in a sandstone frame.
    Arch niches[4], nicheFrames[4];
    for (int i = 0; i < 4; ++i) {
        const int nx = nicheX[i / 2], nb = nicheBase[i % 2], spring = nb + 1100;
        niches[i] = Arch{nx, nb, spring, 350, 175};
        nicheFrames[i] = Arch{nx, nb - 60, spring, 410, 175};
    }
    // The great arch with its moulding, the ribs of its half-dome, the lattice window and the
    // door.
    const Arch greatArch{cx, 0, 2400, 1120, 500}, recess{cx, 0, 2400, 1000, 500};
    const Arch mouldingOuter{cx, 0, 2400, 1070, 500}, mouldingInner{cx, 0, 2400, 1050, 500};
    Arch ribOuter[4], ribInner[4];
    for (int k = 1; k <= 4; ++k) {
        const int h = 1000 - k * 140;
        ribOuter[k - 1] = Arch{cx, 0, 2400, h + 12, 500};
        ribInner[k - 1] = Arch{cx, 0, 2400, h, 500};
    }
    const Arch lattice{cx, 2450, 2900, 260, 130}, latticeFrame{cx, 2400, 2900, 320, 130};
    const int doorHalf = 600;
    const Arch door{cx, 0, 1300, doorHalf, 300}, doorFrame{cx, 0, 1300, 680, 300};

    // A block's column changes between a pixel and its left neighbour at the same places on
    // every row of the same parity.
    std::vector<uint8_t> columnJoint[2];
    for (int parity = 0; parity < 2; ++parity)
        for (int x = 0; x < n; ++x)
            columnJoint[parity].push_back(blockOf(uOf(x), 250 * parity) !=
                                          blockOf(uOf(x - 1), 250 * parity));

    Fbm grains(n, 64, 64, n, n, 4, 301), woodGrains(n, 4, 64, n, n, 3, 304);
    const ColumnHash speckle(n, 302), plinthSpeckle(n, 303);
    // The door's grain is worked out only in the columns within its half-width of the axis,
    // and only in rows that reach the door.
    int doorX0 = n, doorX1 = 0;
    for (int x = 0; x < n; ++x) {
        if (absi(uOf(x) - cx) <= doorHalf) {
            doorX0 = std::min(doorX0, x);
            doorX1 = x + 1;
        }
    }

    for (int y = 0; y < n; ++y) {
        uint8_t* pixels = img.row(y);
        const int* grainRow = grains.row(y);
        const int* woodGrainRow = nullptr;
        const int v = vOf(y);
        // Blocks are 1000 apart from course to course and the column part stays below 1000,
        // so the block below differs exactly when the course does, whatever the column.
        const bool courseJoint = v / 250 != vOf(y - 1) / 250;
        const std::vector<uint8_t>& joints = columnJoint[(v / 250) % 2];
        ArchRow nicheRows[4], nicheFrameRows[4], ribOuterRows[4], ribInnerRows[4];
        for (int i = 0; i < 4; ++i) {
            nicheRows[i] = niches[i].across(v);
            nicheFrameRows[i] = nicheFrames[i].across(v);
            ribOuterRows[i] = ribOuter[i].across(v);
            ribInnerRows[i] = ribInner[i].across(v);
        }
        const ArchRow greatArchRow = greatArch.across(v), recessRow = recess.across(v);
        const ArchRow mouldingOuterRow = mouldingOuter.across(v);
        const ArchRow mouldingInnerRow = mouldingInner.across(v);
        const ArchRow latticeRow = lattice.across(v), latticeFrameRow = latticeFrame.across(v);
        const ArchRow doorRow = door.across(v), doorFrameRow = doorFrame.across(v);
        for (int x = 0; x < n; ++x) {
            const int u = uOf(x);
            const int grain = grainRow[x];
            Rgb c = mix(marble, marbleLight, contrast(grain, 2));
            c = shade(c, 256 + speckle.jitter(x, y, 3));
            // Faint ashlar joints: a line wherever the block changes from the neighbour pixel.
            if (joints[x] || courseJoint)
                c = shade(c, 215);

            if (v < 150)
                c = shade(sandstone, 240 + plinthSpeckle.jitter(x, y, 10));
            if (v >= 4650 && v < 4850) {
                const int a = absi(u % 200 - 100), b = absi(v - 4750);
                c = (b > 80) ? sandstone : (a + b <= 70 ? marbleLight : inlay);
            }

            for (int i = 0; i < 4; ++i) {
                if (nicheRows[i].contains(u))
                    c = shade(mix(marble, marbleLight, grain),
                              200 - (v - niches[i].base) * 40 / 1600);
                else if (nicheFrameRows[i].contains(u))
                    c = sandstone;
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
            if (greatArchRow.contains(u) && !recessRow.contains(u)) {
                c = sandstone;
                if (mouldingOuterRow.contains(u) && !mouldingInnerRow.contains(u))
                    c = marbleLight;
            } else if (recessRow.contains(u)) {
                c = mix(Rgb{128, 118, 108}, Rgb{66, 62, 68}, v * 256 / 3800);
                c = shade(c, 256 + (grain - 128) / 5);
                // Ribs of the half-dome above the springing line.
                for (int k = 0; k < 4; ++k) {
                    if (v > 2400 && ribOuterRows[k].contains(u) && !ribInnerRows[k].contains(u))
                        c = shade(c, 150);
                }
                // Lattice window above the door.
                if (latticeRow.contains(u)) {
                    const bool bar = (u + v) % 120 < 28 || (u - v + 12000) % 120 < 28;
                    c = bar ? Rgb{170, 160, 150} : Rgb{24, 22, 26};
                } else if (latticeFrameRow.contains(u)) {
                    c = sandstone;
                }
                // Wooden door with a marble surround, planks, straps and studs.
                if (doorRow.contains(u)) {
                    if (woodGrainRow == nullptr)
                        woodGrainRow = woodGrains.row(y, doorX0, doorX1);
                    const int woodGrain = woodGrainRow[x];
                    c = shade(wood, 200 + woodGrain * 90 / 255);
                    const int plankU = (u - 2400) % 150;
                    if (plankU < 12 || absi(u - cx) < 14)
                        c = shade(wood, 120);
                    if (absi(v - 400) < 30 || absi(v - 1100) < 30)
                        c = iron;
                    const int su = (u - 2400 + 50) % 100 - 50, sv = (v + 75) % 150 - 75;
                    if (su * su + sv * sv < 22 * 22)
                        c = (su + sv < -8) ? Rgb{120, 116, 110} : iron;
                } else if (doorFrameRow.contains(u)) {
                    c = Rgb{188, 180, 170};
                }
            }
            BmpFile::set(pixels, x, c);
        }
    }
    return img.take();
}

// Water: a few wave trains with whole numbers of cycles per tile, bent by tiling noise, with
// thin bright lines where crests cross.
std::vector<uint8_t> makePool() {
    const int n = 256;
    BmpFile img(n, n);
    const Rgb deep{18, 72, 128}, mid{38, 118, 172}, light{150, 214, 236};
    const int waves[][3] = {{3, 1, 3}, {-2, 5, 2}, {5, -2, 2}, {1, 7, 1}};
    Fbm warps(n, 64, 64, n, n, 3, 401), ripples(n, 4, 4, n, n, 1, 402);
    const Sine isin;
    for (int y = 0; y < n; ++y) {
        uint8_t* pixels = img.row(y);
        const int* warpRow = warps.row(y);
        const int* rippleRow = ripples.row(y);
        for (int x = 0; x < n; ++x) {
            const int warp = (warpRow[x] - 128) * 10;
            int height = 0, ridge = 0;
            for (const auto& w : waves) {
                const int s = isin((w[0] * x + w[1] * y) * 1024 / n + warp * w[2] / 2);
                height += s * w[2];
                ridge = std::max(ridge, 1024 - absi(s));
            }
            Rgb c = mix(deep, mid, (height + 8192) * 256 / 16384);
            const int glint = ridge > 900 ? (ridge - 900) * 256 / 124 : 0;
            c = mix(c, light, glint * glint / 256 * 3 / 4);
            c = shade(c, 256 + (rippleRow[x] - 128) / 16);
            BmpFile::set(pixels, x, c);
        }
    }
    return img.take();
}

// Terracotta barrel tiles in staggered rows, eight by eight per image.
std::vector<uint8_t> makeRoof() {
    const int n = 256, tile = 32;
    BmpFile img(n, n);
    const Rgb clay{176, 86, 54}, gap{52, 26, 20};
    Fbm weathering(n, 16, 16, n, n, 3, 503);
    const Sine isin;
    // Rounded profile across the tile, the same for every tile.
    int profile[tile];
    for (int lx = 0; lx < tile; ++lx) {
        const int across = isin(lx * 512 / tile + 8) / 8;
        profile[lx] = 150 + across * 130 / 128;
    }
    for (int y = 0; y < n; ++y) {
        uint8_t* pixels = img.row(y);
        const int* weatheringRow = weathering.row(y);
        const int row = y / tile, ly = y % tile;
        // Each tile of the row has a colour of its own.
        Rgb tileColours[n / tile];
        for (int col = 0; col < n / tile; ++col) {
            const Rgb c = mix(clay, Rgb{150, 110, 80}, static_cast<int>(hash(col, row, 501) % 70));
            tileColours[col] = shade(c, 236 + jitter(col, row, 502, 20));
        }
        for (int x = 0; x < n; ++x) {
            const int sx = (x + (row % 2) * tile / 2) % n;
            const int col = sx / tile, lx = sx % tile;
            Rgb c = shade(tileColours[col], profile[lx]);
            // Shadow under the overlapping row above.
            if (ly > 22)
                c = shade(c, 256 - (ly - 22) * 14);
            c = shade(c, 256 + (weatheringRow[x] - 128) / 4);
            if (ly < 2 || lx == 0)
                c = gap;
            BmpFile::set(pixels, x, c);
        }
    }
    return img.take();
}

// Stone slabs of mixed widths in four courses, set in mortar.
std::vector<uint8_t> makeStoneWalk() {
    const int n = 256;
    BmpFile img(n, n);
    const Rgb stone{178, 170, 156}, warm{196, 180, 150}, mortar{120, 112, 100};
    const int rowTop[] = {64, 112, 192, 256};
    const std::vector<int> cuts[] = {{0, 96, 176}, {40, 112, 200}, {20, 150}, {70, 140, 210}};
    Fbm wear(n, 32, 32, n, n, 4, 603);
    const ColumnHash speckle(n, 604), mortarSpeckle(n, 605);
    for (int y = 0; y < n; ++y) {
        const int row = y < 64 ? 0 : (y < 112 ? 1 : (y < 192 ? 2 : 3));
        const int rowBottom = row == 0 ? 0 : rowTop[row - 1];
        const int ly = y - rowBottom, rowH = rowTop[row] - rowBottom;
        const std::vector<int>& cut = cuts[row];
        // Each slab of the course has a colour of its own.
        std::vector<Rgb> slabColours;
        for (int k = 0; k < static_cast<int>(cut.size()); ++k) {
            const Rgb c = mix(stone, warm, static_cast<int>(hash(row, k, 601) % 200));
            slabColours.push_back(shade(c, 226 + jitter(row, k, 602, 24)));
        }
        uint8_t* pixels = img.row(y);
        const int* wearRow = wear.row(y);
        for (int x = 0; x < n; ++x) {
            int k = static_cast<int>(cut.size()) - 1;
            for (int i = 0; i < static_cast<int>(cut.size()); ++i)
                if (cut[i] <= x)
                    k = i;
            const int start = cut[k];
            const int end = k + 1 < static_cast<int>(cut.size()) ? cut[k + 1] : cut[0] + n;
            const int lx = (x - start + n) % n, slabW = end - start;
            Rgb c = shade(slabColours[k], 256 + (wearRow[x] - 128) / 3);
            c = shade(c, 256 + speckle.jitter(x, y, 10));
            // Slight bevel: light catches the upper and left edges, the others fall in shade.
            const int edge = std::min(std::min(lx, slabW - 1 - lx), std::min(ly, rowH - 1 - ly));
            if (edge < 6)
                c = shade(c, (ly >= rowH - 6 || lx < 6) ? 272 : 230);
            if (lx < 3 || ly < 3)
                c = shade(mortar, 256 + mortarSpeckle.jitter(x, y, 20));
            BmpFile::set(pixels, x, c);
        }
    }
    return img.take();
}

} // namespace

std::vector<std::uint8_t> textureFile(int index) {
    switch (index) {
    case 0:
        return makeMinar();
    case 1:
        return makeGrass();
    case 2:
        return makeDoor();
    case 3:
        return makePool();
    case 4:
        return makeRoof();
    case 5:
        return makeStoneWalk();
    default:
        return {};
    }
}

} // namespace texture_generator
