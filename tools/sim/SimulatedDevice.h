#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

// A field device as the console sees it, without any I/O: bytes in, reply bytes out.
//
// Text protocol, one command per line (ended by CR, LF, or a pause in the data):
//   "$KRDV=<addr>#"          answers "$KRDV,<addr>=<value>" CR LF, so the console's reply
//                            rule (text between the first "=" and CR LF) yields the value;
//   "$KWRV=<addr>,<value>#"  stores the value and answers "OK KWRV,<addr>=<value>" CR LF,
//                            without "$" so that the acknowledgement is shown but never
//                            taken for a read reply;
//   any other "$" line       answers "ERR unknown command" CR LF (again without "$").
// Every address answers; stored values persist while the device runs; an address never
// written reads "0" unless the configuration seeded it. Chosen addresses can be made silent.
//
// Modbus RTU, function 3, for the configured stations: registers inside a configured block
// answer with values that change with time; a request reaching outside them gets exception
// 02, a count of 0 or above 125 exception 03, another function exception 01. Frames with a
// bad check sequence and frames for other stations are ignored, as on a shared bus.
//
// Options make it behave like devices that are harder on the console: answering chosen
// addresses late, acknowledging writes with a "$" line, handing text replies over in pieces with pauses
// between them, answering Modbus late or wrongly (not at all, a damaged check sequence, one register too
// many, an exception), and holding register values whose bytes spell text ("$", "=", CR LF).
class SimulatedDevice {
public:
    struct RegisterBlock {
        quint8 station = 1;
        quint16 first = 0;
        quint16 count = 0;
        bool operator==(const RegisterBlock&) const = default;
    };
    struct Setup {
        QList<RegisterBlock> blocks;
        QHash<qint32, QString> textValues; // initial values of text-protocol addresses
        // Text-protocol addresses whose reads and writes go unanswered and change nothing, as
        // if the device did not hear them.
        QSet<qint32> silentAddresses;
        // Text-protocol addresses whose writes are acknowledged but leave the value as it was,
        // as a device does with a value it refuses.
        QSet<qint32> ignoredWriteAddresses;
        // Text-protocol addresses whose replies (to reads and writes) go out this many
        // milliseconds after their request, as a slow device answers one parameter late.
        QHash<qint32, qint64> replyDelayMs;
        // A write is answered "$KWRV=OK" CR LF instead of the acknowledgement without "$".
        bool dollarWriteAck = false;
        // Each text reply goes out in this many pieces (1: whole), piecePauseMs apart; the
        // pause outlasts the console's read interval, so each piece is a block of its own.
        int textReplyPieces = 1;
        qint64 piecePauseMs = 150;
        // Every register reads 0x2431, 0x3D37 or 0x0D0A by address ("$1", "=7", CR LF).
        bool dollarRegisters = false;
        // Modbus replies go out this long after their request.
        qint64 modbusDelayMs = 0;
        // Every Modbus request of a configured block is answered wrongly in this way.
        enum class ModbusFault { None, Silent, BadCrc, WrongLength, Exception };
        ModbusFault modbusFault = ModbusFault::None;
    };

    // A pause this long ends a partial line or frame, as the silent interval does on a bus.
    static constexpr qint64 kGapMs = 50;

    explicit SimulatedDevice(Setup setup);

    // Takes bytes that arrived at nowMs (a monotonic millisecond clock) and returns the reply
    // bytes due by then, in order: the replies they complete, unless pieces or delays put
    // them later.
    QByteArray receive(QByteArrayView bytes, qint64 nowMs);
    // Called while no bytes arrive: returns the reply bytes that have fallen due; once the gap
    // has passed, a pending "$" line without a line end (a batch step) is answered and
    // anything else pending is dropped.
    QByteArray idle(qint64 nowMs);

    // Register values an option gives: each holds two bytes that read as text.
    static constexpr quint16 kDollarRegisterValues[3] = {0x2431, 0x3D37, 0x0D0A};

    // The value of a register at a moment; a slow wave per register so every register moves
    // and neighbours differ.
    static quint16 registerValue(quint8 station, quint16 address, qint64 nowMs);
    QString textValue(qint32 addr) const { return m_text.value(addr, QStringLiteral("0")); }

private:
    void process(qint64 nowMs, bool endOfBurst);
    void sendText(const QByteArray& reply, qint64 nowMs);
    void schedule(const QByteArray& bytes, qint64 dueMs);
    QByteArray takeDue(qint64 nowMs);
    // The reply to one line; *delayMs is set to how much later than now it is due.
    QByteArray answerLine(const QByteArray& line, qint64* delayMs);
    QByteArray answerModbus(QByteArrayView frame, qint64 nowMs) const;
    bool isStation(quint8 byte) const;
    bool hasRegisters(quint8 station, quint32 first, quint32 count) const;

    struct Outgoing {
        qint64 dueMs;
        QByteArray bytes;
    };

    Setup m_options; // the behaviour options; blocks and values live below
    QList<RegisterBlock> m_blocks;
    QHash<qint32, QString> m_text;
    QList<Outgoing> m_outbox; // in the order of their due times
    QByteArray m_pending;
    qint64 m_lastByteMs = 0;
};

// The device's setup from a console configuration file: one register block per
// automatic-reading page with protocol "MODBUS" (station = low 8 bits of equAddr, registers
// startReg .. startReg + regLen - 1), and for each choice-box parameter the first of its
// itemsValue as the initial value. Pages or items with unreadable numbers are skipped.
// Throws AppError when the file cannot be read.
SimulatedDevice::Setup LoadSimulatorSetup(const QString& configPath);
