#include "app/MainFrm.h"

#include "console/AutoValueLabels.h"
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
    connect(connection, &Connection::portClosed, this, [this] {
        guarded([this] { markAllAutoValuesStale(*this, {ModbusStale::PortClosed, 0, 0}); });
    });
    connect(connection, &Connection::awaitingDevice, this, [this](bool waiting) {
        if (waiting)
            guarded([this] { markAllAutoValuesStale(*this, {ModbusStale::WaitingForDevice, 0, 0}); });
    });
}
