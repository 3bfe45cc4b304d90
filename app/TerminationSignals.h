#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT (logout, `kill`, Ctrl+C in the starting terminal) into a Qt signal
// on the thread that made this object, so that the program can close its window the way the
// close box does instead of dying with unsaved settings.
//
// The signal handler only writes the signal's number into a pipe (write() is safe in a
// handler; nothing else is done there); a socket notifier reads it in the event loop. A
// signal that arrives before the event loop runs waits in the pipe. One object at a time;
// the previous handlers come back when it is destroyed.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    // False when the pipe or the handlers could not be set up (the default actions stay).
    bool isActive() const { return m_notifier != nullptr; }

signals:
    void received(int signalNumber);

private:
    void drain();
    QSocketNotifier* m_notifier = nullptr;
};
