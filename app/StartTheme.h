#pragma once

// Applies the starting theme before any window exists; shows the error and goes on in the
// plain look when it cannot.
void applyStartTheme();
