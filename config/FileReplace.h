#pragma once

#include "config/Language.h"

#include <QByteArray>
#include <QString>

// Puts bytes in place of the file at path: a temporary file in the same folder is written,
// flushed to the disk and renamed over path, so a failure at any point leaves the previous
// file whole. The file keeps its mode, and its owner and group where the process may set them
// (a run as root must not leave the user's file owned by root). 0 on success, else the errno
// of the step that failed; nothing of the attempt stays behind.
//
// When path is a symbolic link (or a chain of them) the file it leads to is replaced, in that
// file's folder, and the link stays: users keep their configuration in a managed folder and
// link it. Only a regular file (or a name not yet taken) is ever replaced: a FIFO, device or
// folder gives EINVAL or EISDIR and is neither opened nor touched.
int ReplaceFileContent(const QString& path, const QByteArray& bytes);

// The file a save to path replaces: path with every symbolic link on it followed, as an
// absolute path. A link that leads nowhere gives the path it names. Empty with *err set
// (ELOOP) for a chain of links that never ends.
QString SaveTarget(const QString& path, int* err = nullptr);

// What an errno means for a save, in the language given; the ones users meet on saving (full
// disk, no permission, read-only file system) in words they can act on.
QString FileErrorText(int err, Language language);

// Why the file at path could not be replaced (its folder or the file not writable, a
// read-only file system, not a regular file), as an errno for FileErrorText; 0 when a save
// can be tried. Links are followed: what counts is the file and folder a save would write.
int WriteProblem(const QString& path);

// A file that cannot be written is used read-only for the rest of the run: saves to it
// change nothing on disk and report nothing, since the user was told once. What they would
// have written is kept in memory instead and read by later loads of the path, so the
// choices made apply for the run.
void UseReadOnly(const QString& path);
bool UsedReadOnly(const QString& path);
void KeepForRun(const QString& path, const QByteArray& bytes);
// The bytes kept for a path used read-only; null when nothing was kept.
QByteArray KeptForRun(const QString& path);
