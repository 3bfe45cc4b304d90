#include "cli/CliOptions.h"
#include "cli/CliOutput.h"
#include "cli/Commands.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

// Stable names first: a /dev/serial/by-id name finds the same adapter again whatever ttyUSB
// number it gets after replugging, so that is the name a script should use.
int RunPorts(const CliOptions& options) {
    QList<QStringList> rows;
    QStringList listed;
    const QFileInfoList links =
        QDir(QStringLiteral("/dev/serial/by-id")).entryInfoList(QDir::System | QDir::Files, QDir::Name);
    for (const QFileInfo& link : links) {
        const QString device = link.canonicalFilePath();
        if (!link.isSymLink() || device.isEmpty())
            continue;
        rows << QStringList{link.absoluteFilePath(), device, QString()};
        listed << device;
    }
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        const QString about =
            QStringList{port.description(), port.manufacturer()}.join(QLatin1Char(' ')).trimmed();
        const QString path = port.systemLocation();
        for (QStringList& row : rows)
            if (row[1] == path && row[2].isEmpty())
                row[2] = about;
        if (!listed.contains(path))
            rows << QStringList{path, path, about};
    }
    if (options.json) {
        QJsonArray ports;
        for (const QStringList& row : rows)
            ports.append(QJsonObject{{"path", row[0]}, {"device", row[1]}, {"description", row[2]}});
        PrintJson(QJsonObject{{"ports", ports}});
    } else {
        PrintOut(TableText({QStringLiteral("port"), QStringLiteral("device"), QStringLiteral("description")},
                           rows));
    }
    return cliexit::kDone;
}
