#pragma once

#include "config/ConfigRecords.h"
#include "config/Language.h"
#include "console/RowControls.h"
#include "device/DeviceSession.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

class ParameterModel;
class QComboBox;
class QPlainTextEdit;
class QPushButton;

// The controls sending shows or reads; the window fills them in.
struct SendingControls {
    QPlainTextEdit* sendBox = nullptr; // the line composed or sent last; the operator may edit it
    QPushButton* send = nullptr;       // sends the send box; off while a send waits its pause
    QComboBox* batches = nullptr;      // the batches' captions, in the order they were read
    QWidget* receiveBox = nullptr;     // in its warning look while a batch step waits for the operator
};

// Everything the operator sends: a row's Read and Write, the fixed commands, the send box and
// its button, batches, and free lines. Each goes through the device engine's queue, so a line
// never goes out while another request waits for its reply.
//
// What a person presses keeps its pace: 100 ms before a button's line goes out, and a batch's
// step pauses, both waited with the event loop running (further clicks and received data are
// handled meanwhile, also a second batch). Nothing else here waits in a nested loop.
//
// Works from the parameter model, the rows the page builder made (by tag) and the batch list,
// all owned by the window and read when used; the destructor touches none of them.
class Sending : public QObject {
    Q_OBJECT
public:
    Sending(const SendingControls& controls, DeviceSession& device, const ParameterModel& parameters,
            const QHash<QString, RowControls>& rows, const QList<TCMDS>& batches, QObject* parent = nullptr);

    // The language of messages and of the choice texts a Read shows or a Write converts.
    void setLanguage(Language language) { m_language = language; }
    Language language() const { return m_language; }

    // The operator's Read of the row of a parameter (by its tag): "$KRDV=<addr>#". The first
    // reply line the row's field can show fills it and answers the Read, so a later "$" line
    // (a write's acknowledgement, an unsolicited report) cannot overwrite the value read; a
    // line the field cannot take leaves the Read waiting until its time-out.
    void readRow(const QString& tag);
    // The operator's Write of a row: "$KWRV=<addr>,<value>#" with the value the field gives.
    // An empty field is named in a message; a value the field cannot give throws AppError.
    void writeRow(const QString& tag);
    // A fixed-command button's command, with the time of the click for every "[NOW]".
    void sendFixedCommand(const QObject* button);
    // The Send button: the send box's line.
    void sendBox();
    // The batch chosen in the batch box, step by step.
    void runBatch();
    // A free line, sent as it stands (no line end is added) and shown in the send box. False,
    // with the reason shown, when a character of it has no one-byte form: nothing is sent
    // then, rather than other characters in its place.
    bool send(const QString& line);

    // The fixed-command buttons the page builder made, each with its command; the language
    // pass replaces a command with the language's (false for a button of no fixed command).
    void addFixedCommand(const QObject* button, const FixedCommandControls& record);
    bool setFixedCommand(const QObject* button, const QString& command);
    const FixedCommandControls* fixedCommand(const QObject* button) const;

    // The field of the operator's Read still waiting for its reply; nullptr when none waits.
    QWidget* readTarget() const { return m_readTarget; }

signals:
    // A reply filled the field of an operator's Read.
    void replyApplied(QWidget* field);
    // A row's Write went to the engine with this value for this address.
    void writeSent(QWidget* field, qint32 address, const QString& value);
    // What the device answered that Write: nothing when it never went out, an empty text when
    // no answer came in time.
    void writeAnswered(const std::optional<QString>& reply);
    // A line was handed to the engine. The send lamp answers it even when the port is closed
    // and nothing goes out: the person sees that the press was taken.
    void lineQueued();

private:
    // The send box shows a line with its line breaks as the text box keeps them, which is not
    // always the bytes that were put in (a lone CR, CR LF). What code staged is therefore kept
    // beside the box and sent exactly as long as the box still shows it; once the operator has
    // edited it, the box's text is sent with each line break as CR LF, as the device expects.
    void stage(const QString& line);
    QString lineToSend() const;
    // The pace of a person's press, then a line into the engine's queue: own, the line composed
    // for a row, a command or a batch step, goes whatever the send box shows after the pause
    // (a click during the pause stages its own line there, and a reply to that line must not
    // be taken for this one's); without it, the send box's line goes as it is then.
    void sendStaged(const std::optional<QString>& own, DeviceRequest request, DeviceSession::Callback done);
    void queueLine(const QString& line, DeviceRequest request, DeviceSession::Callback done);
    // Refused, with the message shown, when a character cannot go out as one byte.
    bool sendable(const QString& line) const;
    // A confirmation step: waits for the operator, then sends what the send box holds, with
    // the receive box in its warning look meanwhile.
    void confirmAndSend(const DeviceRequest& request);

    SendingControls m_controls;
    DeviceSession& m_device;
    const ParameterModel& m_parameters;
    const QHash<QString, RowControls>& m_rows;
    const QList<TCMDS>& m_batches;
    Language m_language;

    QPointer<QWidget> m_readTarget;
    QHash<const QObject*, FixedCommandControls> m_fixedCommands;

    std::optional<QString> m_stagedLine;
    QString m_stagedShown;
    // Nested sends (a click inside another send's pause) keep the Send button off until the
    // outermost one has queued its line.
    int m_sendDepth = 0;
    // Nested confirmation waits count; the outermost puts back the look the first one found.
    int m_warningDepth = 0;
    QColor m_normalBackground;
    QColor m_normalText;
};
