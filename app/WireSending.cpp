#include "app/MainFrm.h"

#include "console/Commissioning.h"
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
    if (Commissioning* commissioning = Console.commissioning) {
        connect(sending, &Sending::replyApplied, commissioning, &Commissioning::onReplyApplied);
        connect(sending, &Sending::writeSent, commissioning, &Commissioning::onWriteSent);
        connect(sending, &Sending::writeAnswered, commissioning, &Commissioning::onWriteAnswered);
    }
}
