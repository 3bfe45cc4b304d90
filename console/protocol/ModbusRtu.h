#pragma once

#include "config/Language.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>

// Modbus RTU framing for function 3 (read holding registers), used by the console's
// automatic reading and by the simulated device.

constexpr quint8 kModbusReadHolding = 0x03;
constexpr quint8 kModbusExceptionFlag = 0x80;
constexpr quint8 kModbusIllegalFunction = 0x01;
constexpr quint8 kModbusIllegalAddress = 0x02;
constexpr quint8 kModbusIllegalValue = 0x03;

// The frame check sequence over bytes. The low byte of the result goes on the wire first.
quint16 ModbusCrc16(QByteArrayView bytes);
// Appends the check sequence, low byte first.
void AppendModbusCrc(QByteArray& frame);
// True when the frame is at least three bytes and ends with the check sequence of the rest.
bool HasValidModbusCrc(QByteArrayView frame);

// The 8-byte request: low 8 bits of the station, function 3, bits 0-15 of the first
// register and of the count (high byte first), check sequence.
QByteArray ModbusReadRequest(qint32 station, qint32 firstRegister, qint32 count);

// The register values of a function-3 reply from station at the start of block. The reply
// counts only when its byte count is even and non-zero and the check sequence over the
// frame that byte count gives matches; bytes after that frame are ignored. A station
// outside 0-255 never matches. Exception replies and anything else give no value.
std::optional<QList<quint16>> ParseReadReply(QByteArrayView block, qint32 station);

// The length of the sound function-3 reply or exception reply (check sequence right) that
// starts the block, from any station; 0 when the block does not start with one. Such a frame
// is never a text reply, whatever bytes its values hold.
qsizetype ModbusReplyFrameLength(QByteArrayView block);

// Replies a device sends.
QByteArray ModbusReadReply(quint8 station, const QList<quint16>& values);
QByteArray ModbusExceptionReply(quint8 station, quint8 function, quint8 code);

// What an exception code means, in English or Chinese; unknown codes are named by number.
QString ModbusExceptionMeaning(int code, Language language);
