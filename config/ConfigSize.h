#pragma once

#include "config/XmlDocument.h"

// How many pages and rows a configuration may build. Each row is a few widgets; far beyond
// what a device needs, a file would take minutes and gigabytes to build (bench_startup
// measures the cost per row), so such a file is refused before anything is built.
constexpr int MaxConfigPages = 200;
constexpr int MaxConfigRows = 20000;

// Throws AppError naming the section when the page sections of root hold more pages or rows
// than the limits; a null root or missing sections are left to the page builder.
void CheckConfigSize(const XmlNode& root);
