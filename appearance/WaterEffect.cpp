#include "appearance/WaterEffect.h"

#include <algorithm>
#include <cstring>

// The banner ticks every 10 ms across the whole window width, so the two per-cell passes are
// written as eight-cell vector kernels over the interior columns; the edge columns go through
// the clamped neighbour tables. GCC builds an AVX2 copy next to the baseline one and picks at
// load time.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && !defined(__SANITIZE_THREAD__)
#define TV_MULTIVERSION __attribute__((target_clones("avx2", "default")))
#else
#define TV_MULTIVERSION
#endif

// The vector helpers have internal linkage, so GCC's warning about the ABI of 32-byte vector
// arguments concerns no caller outside this file. They must always be inlined: the AVX2 copy
// of a kernel passes vectors in registers and the baseline helper expects them in memory, so
// an out-of-line call (as in an unoptimised build) would read garbage.
#pragma GCC diagnostic ignored "-Wpsabi"
#define TV_VECTOR_HELPER inline __attribute__((always_inline))

namespace {

typedef std::int32_t V8 __attribute__((vector_size(32)));

TV_VECTOR_HELPER V8 load8(const std::int32_t* p) {
    V8 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

TV_VECTOR_HELPER void store8(std::int32_t* p, V8 v) {
    std::memcpy(p, &v, sizeof v);
}

// Division by 4 and by 256 truncating toward zero, as the scalar `/` does.
TV_VECTOR_HELPER V8 div4(V8 v) {
    return (v + ((v >> 31) & 3)) >> 2;
}
TV_VECTOR_HELPER V8 div256(V8 v) {
    return (v + ((v >> 31) & 255)) >> 8;
}

inline std::int32_t step(std::int32_t sum, std::int32_t before, std::int32_t factor) {
    return (sum / 4 - before) * factor / 256;
}

// New heights of columns [from, to) of one row; up/mid/dn are the current rows, nw the
// row of the other buffer (the step before on entry, the new surface on return).
TV_MULTIVERSION void calcRow(const std::int32_t* up, const std::int32_t* mid, const std::int32_t* dn,
                             std::int32_t* nw, int from, int to, std::int32_t factor) {
    int x = from;
    for (; x + 8 <= to; x += 8) {
        const V8 s = load8(up + x - 1) + load8(up + x) + load8(up + x + 1) + load8(mid + x - 1) +
                     load8(mid + x + 1) + load8(dn + x - 1) + load8(dn + x) + load8(dn + x + 1);
        store8(nw + x, div256((div4(s) - load8(nw + x)) * factor));
    }
    for (; x < to; ++x) {
        const std::int32_t s =
            up[x - 1] + up[x] + up[x + 1] + mid[x - 1] + mid[x + 1] + dn[x - 1] + dn[x] + dn[x + 1];
        nw[x] = step(s, nw[x], factor);
    }
}

inline std::uint8_t clampByte(int v) {
    return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

struct DrawRow {
    const TRGBView* src;
    std::uint8_t* dst;
    int y;
    int width;
    int height;

    // One refracted pixel; the copied one stays when the slope is flat or points outside.
    void pixel(int x, int dx, int dy) const {
        if (dx == 0 && dy == 0)
            return;
        const int sx = x + dx;
        const int sy = y + dy;
        if (sx < 0 || sx >= width || sy < 0 || sy >= height)
            return;
        const std::uint8_t* s = src->bits + sy * src->stride + 3 * static_cast<std::ptrdiff_t>(sx);
        std::uint8_t* d = dst + 3 * static_cast<std::ptrdiff_t>(x);
        d[0] = clampByte(s[0] - dx);
        d[1] = clampByte(s[1] - dx);
        d[2] = clampByte(s[2] - dx);
    }
};

// Refracts columns [from, to) of one row. Most of a banner is calm at any moment, so eight
// flat cells at a time are skipped after one vector test.
TV_MULTIVERSION void drawRow(const DrawRow& row, const std::int32_t* up, const std::int32_t* mid,
                             const std::int32_t* dn, int from, int to) {
    int x = from;
    for (; x + 8 <= to; x += 8) {
        const V8 dx = load8(mid + x - 1) - load8(mid + x + 1);
        const V8 dy = load8(up + x) - load8(dn + x);
        const V8 any = dx | dy;
        std::uint64_t lanes[4];
        std::memcpy(lanes, &any, sizeof lanes);
        if ((lanes[0] | lanes[1] | lanes[2] | lanes[3]) == 0)
            continue;
        for (int i = 0; i < 8; ++i)
            row.pixel(x + i, dx[i], dy[i]);
    }
    for (; x < to; ++x)
        row.pixel(x, mid[x - 1] - mid[x + 1], up[x] - dn[x]);
}

} // namespace

TWaterEffect::TWaterEffect() : FRandom(QRandomGenerator::securelySeeded()) {}

void TWaterEffect::SetSize(int AWidth, int AHeight) {
    if (AWidth < 1 || AHeight < 1)
        AWidth = AHeight = 0;
    FWidth = AWidth;
    FHeight = AHeight;
    const std::size_t cells = static_cast<std::size_t>(AWidth) * static_cast<std::size_t>(AHeight);
    FBuff1.assign(cells, 0);
    FBuff2.assign(cells, 0);
    FScanLine1.resize(AHeight);
    FScanLine2.resize(AHeight);
    FYUp.resize(AHeight);
    FYDown.resize(AHeight);
    FXLeft.resize(AWidth);
    FXRight.resize(AWidth);
    for (int y = 0; y < AHeight; ++y) {
        FScanLine1[y] = FBuff1.data() + static_cast<std::size_t>(y) * AWidth;
        FScanLine2[y] = FBuff2.data() + static_cast<std::size_t>(y) * AWidth;
        FYUp[y] = std::max(y - 1, 0);
        FYDown[y] = std::min(y + 1, AHeight - 1);
    }
    for (int x = 0; x < AWidth; ++x) {
        FXLeft[x] = std::max(x - 1, 0);
        FXRight[x] = std::min(x + 1, AWidth - 1);
    }
}

void TWaterEffect::ClearWater() {
    std::fill(FBuff1.begin(), FBuff1.end(), 0);
    std::fill(FBuff2.begin(), FBuff2.end(), 0);
}

void TWaterEffect::SetDamping(int ADamping) {
    if (ADamping >= 1 && ADamping <= 99)
        FDamping = static_cast<TWaterDamping>(ADamping);
}

int TWaterEffect::Random(int n) {
    return n < 1 ? 0 : static_cast<int>(FRandom.bounded(n));
}

bool TWaterEffect::Render(const TRGBView& Src, const TRGBView& Dst) {
    if (FWidth == 0 || !Src.bits || !Dst.bits || Src.width != FWidth || Src.height != FHeight ||
        Dst.width != FWidth || Dst.height != FHeight)
        return false;
    CalcWater();
    DrawWater(Src, Dst);
    return true;
}

bool TWaterEffect::Step() {
    if (FWidth == 0)
        return false;
    CalcWater();
    return true;
}

bool TWaterEffect::Draw(const TRGBView& Src, const TRGBView& Dst) {
    if (FWidth == 0 || !Src.bits || !Dst.bits || Src.width != FWidth || Src.height != FHeight ||
        Dst.width != FWidth || Dst.height != FHeight)
        return false;
    DrawWater(Src, Dst);
    return true;
}

void TWaterEffect::CalcWater() {
    const std::int32_t factor = ((100 - FDamping) * 256) / 100;
    const int last = FWidth - 1;
    for (int y = 0; y < FHeight; ++y) {
        const std::int32_t* up = FScanLine1[FYUp[y]];
        const std::int32_t* mid = FScanLine1[y];
        const std::int32_t* dn = FScanLine1[FYDown[y]];
        std::int32_t* nw = FScanLine2[y];
        for (int x : {0, last}) {
            const int l = FXLeft[x];
            const int r = FXRight[x];
            nw[x] = step(up[l] + up[x] + up[r] + mid[l] + mid[r] + dn[l] + dn[x] + dn[r], nw[x], factor);
            if (last == 0)
                break;
        }
        if (last > 1)
            calcRow(up, mid, dn, nw, 1, last, factor);
    }
    std::swap(FBuff1, FBuff2);
    std::swap(FScanLine1, FScanLine2);
}

void TWaterEffect::DrawWater(const TRGBView& Src, const TRGBView& Dst) {
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(FWidth);
    const int last = FWidth - 1;
    for (int y = 0; y < FHeight; ++y) {
        std::uint8_t* dstRow = Dst.bits + y * Dst.stride;
        std::memcpy(dstRow, Src.bits + y * Src.stride, rowBytes);
        const std::int32_t* up = FScanLine1[FYUp[y]];
        const std::int32_t* mid = FScanLine1[y];
        const std::int32_t* dn = FScanLine1[FYDown[y]];
        const DrawRow row{&Src, dstRow, y, FWidth, FHeight};
        row.pixel(0, mid[FXLeft[0]] - mid[FXRight[0]], up[0] - dn[0]);
        if (last > 0)
            row.pixel(last, mid[FXLeft[last]] - mid[FXRight[last]], up[last] - dn[last]);
        if (last > 1)
            drawRow(row, up, mid, dn, 1, last);
    }
}

void TWaterEffect::Blob(int x, int y, int ARadius, int AHeight) {
    if (FWidth == 0)
        return;
    if (x < 0 || x > FWidth - 1) {
        const int span = FWidth - 2 * ARadius - 1;
        if (span <= 0)
            return;
        x = Random(32767) % span + ARadius + 1;
    }
    if (y < 0 || y > FHeight - 1) {
        const int span = FHeight - 2 * ARadius - 1;
        if (span <= 0)
            return;
        y = Random(32767) % span + ARadius + 1;
    }
    const int left = std::min(x, ARadius);
    const int right = std::min(FWidth - 1 - x, ARadius);
    const int up = std::min(y, ARadius);
    const int down = std::min(FHeight - 1 - y, ARadius);
    const long long r2 = static_cast<long long>(ARadius) * ARadius;
    for (int j = -up; j <= down; ++j) {
        std::int32_t* row = FScanLine1[y + j];
        for (int i = -left; i <= right; ++i)
            if (static_cast<long long>(i) * i + static_cast<long long>(j) * j <= r2)
                row[x + i] += AHeight;
    }
}
