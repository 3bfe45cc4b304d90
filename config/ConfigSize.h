#pragma once

#include "config/XmlDocument.h"

// How many pages and rows a configuration may build. bench_startup builds 3000 rows in about
// 1 s, peaking near 210 MB (about 0.3 ms and 45 KB per row on a 2-core machine), so 10000
// rows take some 3 s and 500 MB: far beyond any device's parameters, while a damaged or
// hostile file is refused before it takes minutes and gigabytes.
constexpr int MaxConfigPages = 200;
constexpr int MaxConfigRows = 10000;

// Throws AppError naming the section when the page sections of root hold more pages or rows
// than the limits; a null root or missing sections are left to the page builder.
void CheckConfigSize(const XmlNode& root);
