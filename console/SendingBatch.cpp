// Batches: a person starts one, and its steps keep their pauses, waited with the event loop
// running; a confirmation step waits for the operator's Enter in the send box.

#include "console/Sending.h"

#include "console/protocol/BatchSteps.h"
#include "ui/ControlLook.h"
#include "ui/DelayWithMessages.h"
#include "ui/MessageBoxes.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <limits>

namespace {

// Red with white text, so what arrives meanwhile stays readable.
const QColor warningBackground(255, 0, 0);
const QColor warningText(255, 255, 255);

} // namespace

void Sending::runBatch() {
    // The box shows the batches in the current language, in the order they were read, so
    // the chosen position names the batch. Text the user typed that differs from the
    // chosen item names the item showing it, or else the batch of that caption.
    QComboBox* box = m_controls.batches;
    const QString shown = box->currentText();
    int index = box->currentIndex();
    if (index < 0 || box->itemText(index) != shown) {
        index = box->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index < 0)
            index = FindBatch(m_batches, shown);
    }
    if (index < 0 || index >= m_batches.size()) {
        showMessage(
            m_language.translate("Sending", "There is no batch named \"%1\"; nothing was sent").arg(shown));
        return;
    }
    // A copy: the run waits with the event loop running, and must not depend on the list.
    const TCMDS batch = m_batches[index];
    QPointer<Sending> alive(this);
    for (qsizetype i = 0; i < BatchStepCount(batch); ++i) {
        const BatchStep step = BatchStepAt(batch, i);
        stage(step.text);
        DeviceRequest request;
        request.expect = DeviceRequest::Expect::Nothing;
        if (step.confirm)
            confirmAndSend(request);
        else
            sendStaged(step.text, request, {});
        if (!alive)
            return;
        DelayWithMessages(static_cast<int>(std::min<qint64>(step.pauseMs, std::numeric_limits<int>::max())));
        if (!alive)
            return;
    }
}

void Sending::confirmAndSend(const DeviceRequest& request) {
    QWidget* receiveBox = m_controls.receiveBox;
    if (++m_warningDepth == 1) {
        m_normalBackground = controlColor(receiveBox);
        m_normalText = fontColor(receiveBox);
    }
    setControlColor(receiveBox, warningBackground);
    setFontColor(receiveBox, warningText);

    QPointer<Sending> alive(this);
    QPointer<QWidget> box = receiveBox;
    const int breaksAtStart = CountLineBreaks(m_controls.sendBox->toPlainText());
    for (int slice = 0; slice < kConfirmSlices; ++slice) {
        DelayWithMessages(kConfirmSliceMs);
        if (!alive)
            return;
        if (OperatorConfirmed(breaksAtStart, m_controls.sendBox->toPlainText()))
            break;
    }
    // What the send box holds now: the operator may have edited the step.
    sendStaged(std::nullopt, request, {});
    if (!alive)
        return;
    if (--m_warningDepth == 0 && box) {
        setControlColor(box, m_normalBackground);
        setFontColor(box, m_normalText);
    }
}
