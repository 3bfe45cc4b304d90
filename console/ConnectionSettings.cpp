#include "config/XmlDocument.h"
#include "console/Connection.h"

#include <QCheckBox>
#include <QComboBox>

// Each of the five is required: a file without one names it, with its line, and keeps the
// boxes as they were.
void Connection::loadSettings(const XmlNode& comm) {
    const QString port = comm.readAttribute(QStringLiteral("Port"));
    const QString baud = comm.readAttribute(QStringLiteral("Baud"));
    const QString parity = comm.readAttribute(QStringLiteral("Parity"));
    const QString dataBits = comm.readAttribute(QStringLiteral("ByteSize"));
    const QString stopBits = comm.readAttribute(QStringLiteral("StopBits"));
    m_settingsLoaded = true;
    m_controls.port->setCurrentText(port);
    m_controls.baud->setCurrentText(baud);
    m_controls.parity->setCurrentText(parity);
    m_controls.dataBits->setCurrentText(dataBits);
    m_controls.stopBits->setCurrentText(stopBits);
    // Off unless the file asks for it: files written before the option lack the attribute.
    m_controls.reconnect->setChecked(comm.attributeEquals(QStringLiteral("Reconnect"), QStringLiteral("1")));
}

void Connection::saveSettings(XmlNode& comm) const {
    comm.writeAttribute(QStringLiteral("Port"), m_controls.port->currentText());
    comm.writeAttribute(QStringLiteral("Baud"), m_controls.baud->currentText());
    comm.writeAttribute(QStringLiteral("Parity"), m_controls.parity->currentText());
    comm.writeAttribute(QStringLiteral("ByteSize"), m_controls.dataBits->currentText());
    comm.writeAttribute(QStringLiteral("StopBits"), m_controls.stopBits->currentText());
    // A file that never had the option keeps its old shape until the user turns it on.
    const bool reconnect = m_controls.reconnect->isChecked();
    if (reconnect || comm.hasAttribute(QStringLiteral("Reconnect")))
        comm.writeAttribute(QStringLiteral("Reconnect"),
                            reconnect ? QStringLiteral("1") : QStringLiteral("0"));
}
