#pragma once

#include <QDateTime>
#include <QString>

// The version record a file carries: "major.minor.release.build", or "0.0.0.0" for a file
// without one (or one that cannot be read).
QString GetFileVersionText(const QString& path);
// The running executable's own version, "%d.%d.%d.%d".
QString GetExeVersionText();
// A file's time stamp in local time at even-second resolution: which 0 = creation (the last
// write where the file system keeps no birth time), 1 = last write, 2 = last access.
// A file that cannot be found gives 1899-12-30 00:00:00.
QDateTime GetFileTimeStamp(const QString& path, int which);
// The date-time that stands for "no time".
QDateTime ZeroDateTime();
