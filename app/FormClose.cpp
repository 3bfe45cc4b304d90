#include "app/MainFrm.h"

#include "ui/MessageBoxes.h"
#include "config/AppError.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>

void TForm_Main::FormClose() {
    stopSerialPort();

    // Without the file, its root or COMM there is nothing to write back to, and closing
    // must not be held up by it. Port boxes that never received the file's values hold
    // the template's defaults, not the user's choice.
    const QString& path = ConfigPath;
    if (!PortSettingsLoaded || !QFileInfo(path).isFile())
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
    comm.writeAttribute(QStringLiteral("Port"), cbb_Port->currentText());
    comm.writeAttribute(QStringLiteral("Baud"), cbb_Baud->currentText());
    comm.writeAttribute(QStringLiteral("Parity"), cbb_CheckBit->currentText());
    comm.writeAttribute(QStringLiteral("ByteSize"), cbb_DataBit->currentText());
    comm.writeAttribute(QStringLiteral("StopBits"), cbb_StopBit->currentText());
    // A file that never had the option keeps its old shape until the user turns it on.
    if (chk_Reconnect->isChecked() || comm.hasAttribute(QStringLiteral("Reconnect")))
        comm.writeAttribute(QStringLiteral("Reconnect"), chk_Reconnect->isChecked() ? QStringLiteral("1")
                                                                                    : QStringLiteral("0"));
    doc.save(path);
}
