#include "console/PortList.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSerialPortInfo>

namespace {

// Marks the port box's entries that were found on this machine rather than configured.
constexpr int kDeviceRole = Qt::UserRole + 1;

// Adds the serial devices present after the box's own names whenever the list is about to
// open; the added entries are marked so that the next refresh replaces them.
class PortList : public QObject {
public:
    explicit PortList(QComboBox* box) : QObject(box), m_box(box) {
        box->installEventFilter(this);
        refresh();
    }

    void refresh() {
        const QString text = m_box->currentText();
        for (int i = m_box->count() - 1; i >= 0; --i)
            if (m_box->itemData(i, kDeviceRole).toBool())
                m_box->removeItem(i);
        for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
            const QString about = QStringList{port.description(), port.manufacturer()}.join(QLatin1Char(' '));
            addDetectedPort(m_box, port.systemLocation(), about.trimmed());
        }
        for (const auto& [link, device] : stablePortNames(QStringLiteral("/dev/serial/by-id")))
            addDetectedPort(m_box, link, device);
        m_box->setCurrentText(text);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_box) {
            if (event->type() == QEvent::MouseButtonPress) {
                refresh();
            } else if (event->type() == QEvent::KeyPress) {
                const auto* key = static_cast<QKeyEvent*>(event);
                const bool alt = key->modifiers() & Qt::AltModifier;
                if (key->key() == Qt::Key_F4 ||
                    (alt && (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up)))
                    refresh();
            }
        }
        return false;
    }

private:
    QComboBox* m_box;
};

} // namespace

void installPortList(QComboBox* box) {
    new PortList(box);
}

void addDetectedPort(QComboBox* box, const QString& path, const QString& about) {
    if (path.isEmpty() || box->findText(path, Qt::MatchExactly) >= 0)
        return;
    box->addItem(path);
    const int i = box->count() - 1;
    box->setItemData(i, true, kDeviceRole);
    if (!about.isEmpty())
        box->setItemData(i, about, Qt::ToolTipRole);
}

QStringList configuredPortNames(const QComboBox* box) {
    QStringList names;
    for (int i = 0; i < box->count(); ++i)
        if (!box->itemData(i, kDeviceRole).toBool())
            names << box->itemText(i);
    return names;
}

QList<std::pair<QString, QString>> stablePortNames(const QString& folder) {
    QList<std::pair<QString, QString>> names;
    const QFileInfoList links = QDir(folder).entryInfoList(QDir::System | QDir::Files, QDir::Name);
    for (const QFileInfo& link : links) {
        const QString device = link.canonicalFilePath();
        if (link.isSymLink() && !device.isEmpty())
            names.append({link.absoluteFilePath(), QFileInfo(device).fileName()});
    }
    return names;
}
