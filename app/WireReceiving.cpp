#include "app/MainFrm.h"

#include "console/Receiving.h"
#include "console/SessionLogging.h"

#include <QCheckBox>
#include <QPushButton>

// The receive options and the session log's controls drive their parts.
void TForm_Main::wireReceiving() {
    receiving = new Receiving({mmo_RX, chk_showDT, chk_autoClearRxmmo, rbtn_Ascii, rbtn_Hex, chk_AutoNewLine},
                              *Device, this);
    sessionLogging = new SessionLogging({chk_SessionLog}, *Device, AppDir + QStringLiteral("logs"), this);
    connect(btn_ClearRxmmo, &QPushButton::clicked, this, [this] { guarded([this] { receiving->clear(); }); });
    connect(chk_AutoNewLine, &QCheckBox::clicked, this,
            [this] { guarded([this] { receiving->followWrapping(); }); });
    connect(btn_SaveRx, &QPushButton::clicked, this, [this] { guarded([this] { receiving->saveAsked(); }); });
    connect(chk_SessionLog, &QCheckBox::toggled, this,
            [this] { guarded([this] { sessionLogging->followBox(); }); });
    connect(btn_OpenLogs, &QPushButton::clicked, this,
            [this] { guarded([this] { sessionLogging->openFolder(); }); });
}
