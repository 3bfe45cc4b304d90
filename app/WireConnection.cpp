#include "app/MainFrm.h"

#include "console/AutoReading.h"
#include "console/Connection.h"
#include "console/PortList.h"

#include <QPushButton>

// The port group drives the connection; automatic reading's values go stale with the port.
void TForm_Main::wireConnection() {
    connection = new Connection({cbb_Port, cbb_Baud, cbb_CheckBit, cbb_DataBit, cbb_StopBit, chk_Reconnect,
                                 btn_Connect, shp_led, shp_TX, shp_RX},
                                *Device, this);
    installPortList(cbb_Port);
    connect(btn_Connect, &QPushButton::clicked, this, [this] { guarded([this] { connection->toggle(); }); });
    connect(connection, &Connection::portOpened, autoReading, &AutoReading::onPortOpened);
    connect(connection, &Connection::portClosed, autoReading, &AutoReading::onPortClosed);
    connect(connection, &Connection::awaitingDevice, autoReading, &AutoReading::onAwaitingDevice);
}
