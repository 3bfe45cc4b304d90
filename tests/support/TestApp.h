#pragma once

#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QByteArray>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <ostream>

// Failed comparisons show texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// The one application object of a test program (offscreen).
QApplication& testApp();

// Records message boxes instead of showing them; installed for its lifetime.
class RecordingPresenter : public MessagePresenter {
public:
    RecordingPresenter();
    ~RecordingPresenter() override;
    void show(Kind kind, const QString& text) override;
    // Records the question and answers it with confirmAnswer.
    bool confirm(const QString& text) override;
    // Answers with chosenFile.
    QString chooseFile(FileUse use, const QString& title, const QString& suggested,
                       const QString& filter) override;

    QStringList messages;  // every shown text, in order
    QStringList errors;    // the general error box's texts
    QStringList questions; // every confirmation asked, in order
    bool confirmAnswer = true;
    QString chosenFile;
};

// A temporary folder standing in for the executable's folder.
class TempAppDir {
public:
    TempAppDir();
    QString path() const; // with trailing '/'
    QString file(const QString& name) const { return path() + name; }
    void write(const QString& name, const QByteArray& content) const;
    QByteArray read(const QString& name) const;
    // Copies a file of the source tree's examples/ folder in.
    void copyExample(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

// Processes events until the condition holds or the deadline passes; true when it held.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000);

// The source tree, for example files.
QString sourceDir();
// The folder of the built programs (the simulator, for end-to-end tests).
QString binDir();
