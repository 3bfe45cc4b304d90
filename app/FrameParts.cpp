#include "app/MainFrm.h"

#include "appearance/WaterImage.h"
#include "comm/SerialComm.h"
#include "ui/BuiltInTexts.h"
#include "ui/DockLayout.h"
#include "device/AutoReadingSession.h"

#include <QAction>
#include <QTimer>

// The banner over Panel_Top, with the window's settings; its effect stays off until a
// picture is loaded.
TWaterImage* TForm_Main::createBanner(QWidget* parent) {
    auto* banner = new TWaterImage(parent);
    RegisterComponent(banner, QStringLiteral("WaterImage1"));
    setBuiltInAccessibleName(banner, QT_TRANSLATE_NOOP("Controls", "Banner picture"));
    banner->SetDamping(5);
    banner->SetRadius(3);
    banner->SetInterval(10);
    banner->SetRandomDelay(100);
    banner->setEnabled(false);
    (new DockLayout(parent))->dock(banner, DockAlign::Client);
    // The banner's own setting is on its right-click menu.
    Menu_BannerAlways = new QAction(tr("Keep the banner moving in the background"), banner);
    Menu_BannerAlways->setObjectName(QStringLiteral("Menu_BannerAlways"));
    Menu_BannerAlways->setCheckable(true);
    connect(Menu_BannerAlways, &QAction::triggered, this,
            [this] { guarded([this] { Menu_BannerAlwaysClick(); }); });
    banner->addAction(Menu_BannerAlways);
    banner->setContextMenuPolicy(Qt::ActionsContextMenu);
    return banner;
}

bool TForm_Main::loadBanner(const QString& path) {
    if (!WaterImage1->LoadPictureFromFile(path))
        return false;
    WaterImage1->setEnabled(true);
    return true;
}

// The serial component and automatic reading's polling over it; the parts that show the
// engine's work are made next.
TComm* TForm_Main::createComm() {
    Device = new DeviceSession(this);
    Polling = new AutoReadingSession(*Device, this);
    TComm* comm = &Device->comm();
    RegisterComponent(comm, QStringLiteral("Comm1"));
    return comm;
}

void TForm_Main::stopSerialPort() {
    if (Comm1)
        Comm1->StopComm();
}
