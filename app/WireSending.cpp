#include "app/MainFrm.h"

#include "console/Commissioning.h"
#include "console/Connection.h"
#include "console/Sending.h"

#include <QPushButton>

// Sending over the engine, the send area's controls and the parameter rows; the rows' own
// buttons are connected as the page builder makes them. Commissioning hears of the
// operator's Reads and Writes to keep its journal and marks.
void TForm_Main::wireSending() {
    SendingControls controls;
    controls.sendBox = mmo_TX;
    controls.send = btn_Send;
    controls.batches = cmb_CMDS;
    controls.receiveBox = mmo_RX;
    sending = new Sending(controls, *Device, Parameters, ParameterControls, BatchCommands, this);
    connect(btn_Send, &QPushButton::clicked, sending, [this] { guarded([this] { sending->sendBox(); }); });
    connect(btn_Cmds, &QPushButton::clicked, sending, [this] { guarded([this] { sending->runBatch(); }); });
    // Looked up when told, so that the order in which the frame makes its parts does not matter.
    connect(sending, &Sending::replyApplied, this, [this](QWidget* field) {
        if (commissioning)
            commissioning->onReplyApplied(field);
    });
    connect(sending, &Sending::writeSent, this, [this](QWidget* field, qint32 address, const QString& value) {
        if (commissioning)
            commissioning->onWriteSent(field, address, value);
    });
    connect(sending, &Sending::lineQueued, this, [this] {
        if (connection)
            connection->flashSendLamp();
    });
    connect(sending, &Sending::writeAnswered, this, [this](const std::optional<QString>& reply) {
        if (commissioning)
            commissioning->onWriteAnswered(reply);
    });
}
