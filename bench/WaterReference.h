#pragma once

// The ripple rule written the plain way: one loop per cell through the clamped neighbour
// tables, no vector kernels. The benchmark times it against TWaterEffect and the tests use it
// as an independent check of the fast passes' edge handling.

#include "appearance/WaterEffect.h"

#include <algorithm>
#include <cstring>
#include <vector>

class WaterReference {
public:
    void SetSize(int w, int h) {
        width = w;
        height = h;
        cur.assign(static_cast<std::size_t>(w) * h, 0);
        old.assign(cur.size(), 0);
        left.resize(w);
        right.resize(w);
        upRow.resize(h);
        downRow.resize(h);
        for (int x = 0; x < w; ++x) {
            left[x] = std::max(x - 1, 0);
            right[x] = std::min(x + 1, w - 1);
        }
        for (int y = 0; y < h; ++y) {
            upRow[y] = std::max(y - 1, 0);
            downRow[y] = std::min(y + 1, h - 1);
        }
    }

    void SetDamping(int d) { damping = d; }

    // Drop at a position inside the grid (the caller chooses it).
    void Blob(int x, int y, int radius, int amount) {
        for (int j = -radius; j <= radius; ++j)
            for (int i = -radius; i <= radius; ++i)
                if (x + i >= 0 && x + i < width && y + j >= 0 && y + j < height &&
                    i * i + j * j <= radius * radius)
                    at(cur, x + i, y + j) += amount;
    }

    void Render(const TRGBView& src, const TRGBView& dst) {
        const int factor = ((100 - damping) * 256) / 100;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int u = upRow[y], d = downRow[y], l = left[x], r = right[x];
                const int s = at(cur, l, u) + at(cur, x, u) + at(cur, r, u) + at(cur, l, y) + at(cur, r, y) +
                              at(cur, l, d) + at(cur, x, d) + at(cur, r, d);
                const int t = s / 4 - at(old, x, y);
                at(old, x, y) = t * factor / 256;
            }
        std::swap(cur, old);

        for (int y = 0; y < height; ++y)
            std::memcpy(dst.bits + y * dst.stride, src.bits + y * src.stride,
                        3 * static_cast<std::size_t>(width));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int dx = at(cur, left[x], y) - at(cur, right[x], y);
                const int dy = at(cur, x, upRow[y]) - at(cur, x, downRow[y]);
                if (dx == 0 && dy == 0)
                    continue;
                const int sx = x + dx, sy = y + dy;
                if (sx < 0 || sx >= width || sy < 0 || sy >= height)
                    continue;
                for (int c = 0; c < 3; ++c) {
                    const int v = src.bits[sy * src.stride + 3 * sx + c] - dx;
                    dst.bits[y * dst.stride + 3 * x + c] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
                }
            }
    }

    int heightAt(int x, int y) const { return cur[static_cast<std::size_t>(y) * width + x]; }

private:
    int& at(std::vector<int>& b, int x, int y) { return b[static_cast<std::size_t>(y) * width + x]; }

    int width = 0, height = 0, damping = 20;
    std::vector<int> cur, old, left, right, upRow, downRow;
};
