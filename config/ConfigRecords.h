#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// One polled register block of an automatic-reading page, at the page's index.
struct TAutoRead {
    QString pro; // "MODBUS" means the page is polled
    qint32 equAddr = 0;
    qint32 startAddr = 0;
    qint32 readSize = 0;
};

// One batch: cmds[i] is sent, then the program waits inteMss[i] milliseconds.
struct TCMDS {
    QString caption;
    QStringList cmds;
    QList<qint32> inteMss;
};
