// bench_receive: the window receiving through a pseudo-terminal, offscreen, banner off, so
// that only the receive path counts. Each case runs in a process of its own (so that its
// peak memory is its own) and prints, for the old QPlainTextEdit box and the window's view:
// processor seconds (the session log's writer thread included when it runs), peak memory,
// the longest pause of the event loop and the time until
// everything is shown; on the trickle, how long after its arrival each line is shown; on
// the floods (full speed for a while, automatic clearing off), how long the window needs
// after the line falls silent. The trickles (a slow steady line: 100 lines of 60 bytes a
// second for 20 s, as text, text with time stamps and hexadecimal) also run the window's view
// repainting its whole area at each catch-up, as it once did ("full"), as their baseline.
//
//   bench_receive                 every case; the old box is not flooded (it never catches up)
//   bench_receive --old-flood     every case, the old box flooded too
//   bench_receive VIEW STREAM     one case: VIEW old|full|new|new-log (with the session log on),
//                                 STREAM text|hex|trickle|trickle-stamps|trickle-hex|
//                                 flood-text|flood-hex|flood-text-stamps|flood-hex-stamps

#include "ReceiveCase.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

#include <cstdio>

namespace {

int runAll(const char* self, bool floodOld) {
    const QStringList bulk = {"text", "hex", "trickle"};
    const QStringList floods = {"flood-text", "flood-hex", "flood-text-stamps", "flood-hex-stamps"};
    int failures = 0;
    auto run = [&](const QString& view, const QString& stream) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QString::fromLocal8Bit(self), {view, stream});
        child.waitForFinished(-1);
        const QString prefix = QStringLiteral("receive_%1_%2_").arg(QString(stream).replace('-', '_'), view);
        for (const QByteArray& line : child.readAllStandardOutput().split('\n'))
            if (!line.isEmpty())
                std::printf("%s%s\n", qPrintable(prefix), line.constData());
        std::fflush(stdout);
        if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
            std::fprintf(stderr, "bench_receive: %s %s could not be measured\n", qPrintable(view),
                         qPrintable(stream));
            ++failures;
        }
    };
    for (const QString& stream : bulk)
        for (const char* view : {"old", "new", "new-log"})
            run(QString::fromLatin1(view), stream);
    for (const QString& stream : {"trickle", "trickle-stamps", "trickle-hex"})
        for (const char* view : {"full", "new"})
            run(QString::fromLatin1(view), stream);
    for (const QString& stream : floods) {
        if (floodOld)
            run(QStringLiteral("old"), stream);
        run(QStringLiteral("new"), stream);
    }
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3)
        return runReceiveCase(argc, argv);
    const bool floodOld = argc == 2 && QByteArray(argv[1]) == "--old-flood";
    if (argc > 2 || (argc == 2 && !floodOld)) {
        std::fprintf(stderr, "usage: bench_receive [--old-flood | VIEW STREAM]\n");
        return 2;
    }
    return runAll(argv[0], floodOld);
}
