#pragma once

#include <QRandomGenerator>
#include <cstddef>
#include <cstdint>
#include <vector>

// A 24-bit image as the water effect sees it: rows of 3-byte pixels, `stride` bytes apart
// (negative when rows run bottom-up). The three bytes of a pixel are treated alike, so
// their order (blue-green-red or red-green-blue) does not matter.
struct TRGBView {
    std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
};

// Percentage of amplitude lost per step, 1..99.
using TWaterDamping = std::uint8_t;

// The water surface under the banner: a grid of integer heights (one cell per pixel),
// advanced by a damped wave rule, and the refraction of a source image through it.
// Free of widgets; all arithmetic is integer and truncates toward zero.
class TWaterEffect {
public:
    TWaterEffect();

    // Reallocates for the new size and calms the water; a side below 1 makes the grid empty.
    void SetSize(int AWidth, int AHeight);
    void ClearWater();

    // One step of the wave rule, then Src drawn refracted into Dst. Both images must have the
    // grid's size; returns false (and does nothing) when they do not or the grid is empty.
    bool Render(const TRGBView& Src, const TRGBView& Dst);
    // The two halves of Render, for a caller that advances the water more often than it
    // shows it: a step of the wave rule alone, and the refraction of the current surface.
    bool Step();
    bool Draw(const TRGBView& Src, const TRGBView& Dst);

    // Adds AHeight to every cell within ARadius of (x, y), clipped to the grid. A coordinate
    // outside the grid is replaced by a random one that keeps the whole drop inside; when the
    // grid is too small for that, the drop is skipped.
    void Blob(int x, int y, int ARadius, int AHeight);

    int Damping() const { return FDamping; }
    // Values outside 1..99 are ignored.
    void SetDamping(int ADamping);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Height of the current surface at a cell inside the grid.
    std::int32_t HeightAt(int x, int y) const { return FScanLine1[y][x]; }
    // The surface of the step before, which the next step reads as well.
    std::int32_t PreviousHeightAt(int x, int y) const { return FScanLine2[y][x]; }

    // Uniform integer from 0 to n - 1 (0 when n < 1) from the effect's generator, which the
    // banner's random drops share. Seeding makes the drops reproducible.
    int Random(int n);
    void SeedRandom(std::uint32_t seed) { FRandom.seed(seed); }

private:
    void CalcWater();
    void DrawWater(const TRGBView& Src, const TRGBView& Dst);

    int FWidth = 0;
    int FHeight = 0;
    std::vector<std::int32_t> FBuff1;
    std::vector<std::int32_t> FBuff2;
    // Row starts of the current surface (1) and the other one (2); swapped with the buffers.
    std::vector<std::int32_t*> FScanLine1;
    std::vector<std::int32_t*> FScanLine2;
    // Clamped neighbours: an edge cell is its own missing neighbour, so the inner loops need
    // no bounds tests.
    std::vector<int> FXLeft;
    std::vector<int> FXRight;
    std::vector<int> FYUp;
    std::vector<int> FYDown;
    TWaterDamping FDamping = 20;
    QRandomGenerator FRandom;
};
