#include "app/WindowGeometry.h"

#include "ui/ScreenPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace {

const QString geometryKey = QStringLiteral("window/geometry");
const QString maximisedKey = QStringLiteral("window/maximised");

// The free areas of the screens, the primary one first.
QList<QRect> screenAreas() {
    QList<QRect> areas;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        areas << primary->availableGeometry();
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            areas << screen->availableGeometry();
    return areas;
}

class CloseWatch : public QObject {
public:
    CloseWatch(QWidget& window, QSettings& settings) : QObject(&window), m_settings(settings) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close && watched->isWidgetType())
            SaveWindowGeometry(*static_cast<QWidget*>(watched), m_settings);
        return false;
    }

private:
    QSettings& m_settings;
};

} // namespace

void SaveWindowGeometry(const QWidget& window, QSettings& settings) {
    settings.setValue(geometryKey, window.normalGeometry());
    settings.setValue(maximisedKey, window.isMaximized());
    settings.sync();
}

bool RestoreWindowGeometry(QWidget& window, const QSettings& settings) {
    const QRect saved = settings.value(geometryKey).toRect();
    // A window smaller than its layout can hold would only clip; it opens as on a first start.
    if (!saved.isValid() || saved.width() < window.minimumWidth() || saved.height() < window.minimumHeight())
        return false;
    const QRect placed = RestoredPlacement(saved, screenAreas());
    if (!placed.isValid())
        return false;
    window.setGeometry(placed);
    if (settings.value(maximisedKey, false).toBool())
        window.showMaximized();
    else
        window.show();
    return true;
}

void RememberGeometryOnClose(QWidget& window, QSettings& settings) {
    new CloseWatch(window, settings);
}
