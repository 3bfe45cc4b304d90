#pragma once

#include <QString>

// Whether a path names a configuration file the console can use, found out without opening
// anything that could hold the program (a FIFO waits for its other side) or act on being
// opened (a device). The texts say what is wrong in both languages, since the language is
// only known once the file has been read.
struct ConfigFileCheck {
    enum class State { Usable, Missing, Folder, NotRegular, Unreadable };
    State state = State::Usable;
    QString chinese; // what is wrong, naming the path; empty when usable
    QString english;

    bool usable() const { return state == State::Usable; }
    // Both texts on one line, for standard error.
    QString oneLine() const { return chinese + QStringLiteral(" / ") + english; }
    // Both texts, one under the other, for a message box.
    QString twoLines() const { return chinese + u'\n' + english; }
};

ConfigFileCheck CheckConfigFile(const QString& path);
