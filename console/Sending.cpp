#include "app/MainFrm.h"

#include "comm/SerialComm.h"
#include "console/CommissioningRows.h"
#include "console/ConsoleState.h"
#include "console/HexField.h"
#include "ui/DelayWithMessages.h"
#include "console/ItemLookupIndex.h"
#include "console/PageRows.h"
#include "console/RowValues.h"
#include "config/AppError.h"
#include "console/protocol/BatchSteps.h"
#include "console/protocol/CommandText.h"
#include "console/protocol/ReceivedBlock.h"
#include "ui/ComponentRegistry.h"
#include "ui/ControlLook.h"
#include "ui/MessageBoxes.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <limits>

namespace {

const QColor warningBackground(255, 0, 0);
const QColor warningText(255, 255, 255);

// The send box shows a line with its line breaks as the text box keeps them, which is not
// always the bytes that were put in (a lone CR, CR LF). What code staged is therefore kept
// beside the box and sent exactly as long as the box still shows it; once the operator has
// edited it, the box's text is sent with each line break as CR LF, as the device expects.
void stage(ConsoleState& state, QPlainTextEdit* box, const QString& line) {
    box->setPlainText(line);
    state.stagedLine = line;
    state.stagedShown = box->toPlainText();
}

QString sendBoxLine(const ConsoleState& state, const QPlainTextEdit* box) {
    const QString shown = box->toPlainText();
    if (state.stagedLine && state.stagedShown == shown)
        return *state.stagedLine;
    QString line = shown;
    line.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    line.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return line;
}

// Counts nested holders: the outermost one saves what it changes and puts it back.
class NestedCount {
public:
    explicit NestedCount(int& depth) : m_depth(depth) { ++m_depth; }
    ~NestedCount() { --m_depth; }
    bool outermost() const { return m_depth == 1; }

private:
    int& m_depth;
};

// The receive box's warning look while a batch step waits for the operator: red with white
// text, so what arrives meanwhile stays readable.
class WarningLook {
public:
    WarningLook(QWidget* box, ConsoleState& state) : m_box(box), m_state(state), m_count(state.warningDepth) {
        if (m_count.outermost()) {
            m_state.normalBackground = controlColor(box);
            m_state.normalText = fontColor(box);
        }
        setControlColor(box, warningBackground);
        setFontColor(box, warningText);
    }
    ~WarningLook() {
        if (m_count.outermost()) {
            setControlColor(m_box, m_state.normalBackground);
            setFontColor(m_box, m_state.normalText);
        }
    }

private:
    QWidget* m_box;
    ConsoleState& m_state;
    NestedCount m_count;
};

// The value box a Read or Write button acts on: its own row's. A button outside the pages'
// rows falls back to the value box of the last parameter with its address.
QWidget* valueControlOf(const TForm_Main& form, const QObject* button) {
    if (QWidget* own = rowValueControl(form, button))
        return own;
    const qint32 addr = componentTag(button);
    QWidget* found = nullptr;
    for (const Parameter* parameter : form.Parameters.rows())
        if (parameter->address == addr)
            if (auto row = form.ParameterControls.constFind(parameter->tag);
                row != form.ParameterControls.constEnd())
                found = row->value;
    return found;
}

} // namespace

// The operator's Read: the first reply line that the row's field can show fills it and
// answers the Read, so a later "$" line (a write's acknowledgement, an unsolicited report)
// cannot overwrite the value read; a line the field cannot take leaves the Read waiting.
void TForm_Main::ReadButtonClick(QObject* Sender) {
    const qint32 addr = rowAddressOf(*this, Sender);
    QPointer<QWidget> field = valueControlOf(*this, Sender);
    ReadTarget = field;
    DeviceRequest request;
    request.expect = DeviceRequest::Expect::ReplyLine;
    request.timeoutMs = Parameters.readTimeoutMs();
    request.accepts = [this, field](const QByteArray& line) {
        if (!field)
            return false;
        // A reply that cannot be applied is passed over without a message.
        try {
            return showRowValue(*this, field, ReplyLineValue(line));
        } catch (const std::exception&) {
            return false;
        }
    };
    stage(Console, mmo_TX, ReadCommand(addr));
    sendStaged(request, [this, field](const DeviceResult& result) {
        if (ReadTarget == field)
            ReadTarget = nullptr;
        if (result.answered() && field && ReplyApplied)
            ReplyApplied(field);
    });
}

void TForm_Main::WriteButtonClick(QObject* Sender) {
    const qint32 addr = rowAddressOf(*this, Sender);
    QWidget* c = valueControlOf(*this, Sender);
    if (!c || rowShownText(c).isEmpty()) {
        showMessage(language().translate("Sending", "The parameter value cannot be empty"));
        return;
    }
    // A value the field cannot give (a hexadecimal text that is no number, a choice without
    // a value) is named by the conversion.
    QString error;
    const std::optional<QString> converted = rowWriteValue(*this, c, &error);
    if (!converted)
        throw AppError(error);
    const QString value = *converted;
    const QString line = WriteCommand(addr, value);
    stage(Console, mmo_TX, line);
    // The device acknowledges a write with a line of its own; the next request waits for it.
    DeviceRequest request;
    request.expect = DeviceRequest::Expect::AnyLine;
    request.timeoutMs = Parameters.readTimeoutMs();
    const bool sendable = !FirstUnsendableCharacter(line);
    if (sendable && WriteSent)
        WriteSent(c, addr, value);
    sendStaged(request, [this, sendable](const DeviceResult& result) {
        if (!sendable || !WriteAnswered)
            return;
        if (result.status == DeviceResult::Status::NotSent)
            WriteAnswered(std::nullopt);
        else
            WriteAnswered(result.answered() ? BlockAsText(result.line).trimmed() : QString());
    });
}

void TForm_Main::FixedButtonClick(QObject* Sender) {
    const auto record = Console.fixedCommands.constFind(Sender);
    if (record == Console.fixedCommands.constEnd())
        return;
    stage(Console, mmo_TX,
          FixedCommand(record->command, QDateTime::currentDateTime(), RegionalFormats::system()));
    btn_SendClick();
}

void TForm_Main::btn_SendClick() {
    DeviceRequest request;
    request.expect = DeviceRequest::Expect::Nothing;
    sendStaged(request, {});
}

void TForm_Main::sendStaged(DeviceRequest request, DeviceSession::Callback done) {
    // Every line goes out one byte per character; one that cannot is refused whole rather
    // than sent with other characters in its place.
    if (const auto unsendable = FirstUnsendableCharacter(sendBoxLine(Console, mmo_TX))) {
        showMessage(UnsendableCharacterMessage(*unsendable, language()));
        return;
    }
    // Nested sends (a click inside another send's wait) keep the button off until the
    // outermost one has queued its bytes.
    struct Disabled {
        QPushButton* button;
        NestedCount count;
        Disabled(QPushButton* b, int& depth) : button(b), count(depth) { button->setEnabled(false); }
        ~Disabled() {
            if (count.outermost())
                button->setEnabled(true);
        }
    } disabled(btn_Send, Console.sendDepth);
    DelayWithMessages(100);
    sendLine(sendBoxLine(Console, mmo_TX), std::move(request), std::move(done));
}

void TForm_Main::CommSendStr(const QString& text) {
    DeviceRequest request;
    request.expect = DeviceRequest::Expect::Nothing;
    sendLine(text, request, {});
}

void TForm_Main::sendLine(const QString& text, DeviceRequest request, DeviceSession::Callback done) {
    stage(Console, mmo_TX, text);
    DelayWithMessages(10);
    // Through the engine's queue, so a line never goes out while another request waits for
    // its reply; the engine logs the bytes as they go.
    request.kind = DeviceRequest::Kind::Text;
    request.bytes = LineToBytes(text);
    Device->request(std::move(request), [this, done = std::move(done)](const DeviceResult& result) {
        if (done)
            guarded([&] { done(result); });
    });
}

void TForm_Main::btn_CmdsClick() {
    // The box shows the batches in the current language, in the order they were read, so
    // the chosen position names the batch. Text the user typed that differs from the
    // chosen item names the item showing it, or else the batch of that caption.
    const QString shown = cmb_CMDS->currentText();
    int index = cmb_CMDS->currentIndex();
    if (index < 0 || cmb_CMDS->itemText(index) != shown) {
        index = cmb_CMDS->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index < 0)
            index = FindBatch(BatchCommands, shown);
    }
    if (index < 0 || index >= BatchCommands.size()) {
        showMessage(language()
                        .translate("Sending", "There is no batch named \"%1\"; nothing was sent")
                        .arg(cmb_CMDS->currentText()));
        return;
    }
    // A copy: the run waits with the event loop running, and must not depend on the list.
    const TCMDS batch = BatchCommands[index];
    for (qsizetype i = 0; i < BatchStepCount(batch); ++i) {
        const BatchStep step = BatchStepAt(batch, i);
        stage(Console, mmo_TX, step.text);
        if (step.confirm) {
            WarningLook warning(mmo_RX, Console);
            const int breaksAtStart = CountLineBreaks(mmo_TX->toPlainText());
            for (int slice = 0; slice < kConfirmSlices; ++slice) {
                DelayWithMessages(kConfirmSliceMs);
                if (OperatorConfirmed(breaksAtStart, mmo_TX->toPlainText()))
                    break;
            }
            btn_SendClick();
        } else {
            btn_SendClick();
        }
        DelayWithMessages(static_cast<int>(std::min<qint64>(step.pauseMs, std::numeric_limits<int>::max())));
    }
}
