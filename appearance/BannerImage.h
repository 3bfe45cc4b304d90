#pragma once

#include "config/Language.h"

#include <QImage>
#include <QString>

// Largest picture the banner accepts. The banner is a strip across the window; anything
// beyond this is a damaged or hostile header, refused before any pixel memory is allocated.
constexpr int MaxBannerSide = 16384;
constexpr qint64 MaxBannerPixels = 40LL * 1000 * 1000;
constexpr qint64 MaxBannerFileBytes = 64LL * 1024 * 1024;

// Decodes a JPEG file into an RGB888 image with libjpeg-turbo. A missing, damaged or
// truncated file, or one declaring absurd dimensions, gives a null image and, when `error`
// is given, a short English description of the cause. Never aborts the process.
QImage LoadBannerJpeg(const QString& path, QString* error = nullptr);

// The text that replaces the banner panel's caption when the picture cannot be loaded.
QString BannerLoadErrorText(const QString& path, Language language);
