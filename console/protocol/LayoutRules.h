#pragma once

// The proportions the window keeps when it or a column changes size. All divisions are
// integer divisions rounded down, so the figures are exact and testable.
namespace layout {

struct Span {
    int left;
    int width;
};

struct ColumnWidths {
    int left;  // Panel_Left
    int right; // Panel_Right
    int bannerHeight;
    int webLeft; // the contact label, 8 pixels from the right edge
};

// The narrowest the side columns may get: the connection bar and the automatic-reading
// rows sit at fixed positions and would be cut off below these widths (a 1280-pixel
// window would give the left column only 426).
inline constexpr int minLeftColumn = 492;
inline constexpr int minRightColumn = 280;

// windowWidth: the client width; webWidth: the contact label's width. The left column is a
// third and the right a fifth of the width, but never narrower than the minimums above.
ColumnWidths columns(int windowWidth, int webWidth);
// Height of the parameter group in a middle column of the given height: two thirds.
int parameterGroupHeight(int middleHeight);

// A parameter page's rows, for a tab control of full width w and client width c.
struct ParameterRow {
    int separatorWidth;
    int labelWidth;
    Span value;
    Span readButton;
    Span writeButton;
};
ParameterRow parameterRow(int w, int c);

// A fixed-command page's rows, for a tab control of client width c.
struct FixedRow {
    int labelWidth;
    Span button;
};
FixedRow fixedRow(int c);

// The batch box and its button on the send row: the button sits 8 pixels right of the box at
// its configured width. Where the row is too narrow for both, the box gives up width first
// (down to boxLeast, what its text needs), then the button (down to buttonLeast), so neither
// runs past the row's end while they can fit.
struct BatchRow {
    Span box;
    Span button;
};
BatchRow batchRow(int boxLeft, int boxWidth, int buttonWidth, int rowRight, int boxLeast = 80,
                  int buttonLeast = 60);

} // namespace layout
