#include "ui/DelayWithMessages.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

void DelayWithMessages(int ms) {
    if (ms <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}
