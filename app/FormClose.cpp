#include "app/MainFrm.h"

#include "config/AppError.h"
#include "console/Connection.h"
#include "ui/MessageBoxes.h"

#include <QFileInfo>

void TForm_Main::FormClose() {
    stopSerialPort();

    // Without the file, its root or COMM there is nothing to write back to, and closing
    // must not be held up by it.
    const QString& path = ConfigPath;
    if (!connection->settingsLoaded() || !QFileInfo(path).isFile())
        return;
    XmlDocument doc;
    try {
        doc.load(path);
    } catch (const AppError&) {
        return;
    }
    doc.prepareForWriting();
    XmlNode root = doc.findRoot();
    XmlNode comm = root ? root.findChild(QStringLiteral("COMM")) : XmlNode();
    if (!comm)
        return;
    connection->saveSettings(comm);
    doc.save(path);
}
