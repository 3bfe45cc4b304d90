#include "support/TestApp.h"

#include <QFile>
#include <QThread>

QApplication& testApp() {
    static int argc = 1;
    static char name[] = "tervalon-test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: a QApplication torn down by exit handlers, after Qt's own globals, crashes.
    static QApplication* app = [] {
        if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
            return existing;
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

RecordingPresenter::RecordingPresenter() {
    setMessagePresenter(this);
}
RecordingPresenter::~RecordingPresenter() {
    setMessagePresenter(nullptr);
}

void RecordingPresenter::show(Kind kind, const QString& text) {
    messages << text;
    if (kind == Kind::Error)
        errors << text;
}

bool RecordingPresenter::confirm(const QString& text) {
    questions << text;
    return confirmAnswer;
}

QString RecordingPresenter::chooseFile(FileUse, const QString&, const QString&, const QString&) {
    return chosenFile;
}

TempAppDir::TempAppDir() = default;

QString TempAppDir::path() const {
    return m_dir.path() + QLatin1Char('/');
}

void TempAppDir::write(const QString& name, const QByteArray& content) const {
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(content);
}

QByteArray TempAppDir::read(const QString& name) const {
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TempAppDir::copyExample(const QString& name) const {
    QFile::remove(file(name));
    QFile::copy(sourceDir() + QStringLiteral("/examples/") + name, file(name));
    QFile(file(name)).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return condition();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (!condition())
            QThread::msleep(2);
    }
    return true;
}

QString sourceDir() {
    const QByteArray env = qgetenv("TERVALON_SOURCE_DIR");
    return env.isEmpty() ? QStringLiteral(TERVALON_SOURCE_DIR_DEFAULT) : QString::fromLocal8Bit(env);
}

QString binDir() {
    const QByteArray env = qgetenv("TERVALON_BIN_DIR");
    return env.isEmpty() ? QStringLiteral(TERVALON_BIN_DIR_DEFAULT) : QString::fromLocal8Bit(env);
}
