// The operator's Read and Write of a parameter row.

#include "console/Sending.h"

#include "config/AppError.h"
#include "console/RowValues.h"
#include "console/protocol/CommandText.h"
#include "console/protocol/ReceivedBlock.h"
#include "device/ParameterModel.h"
#include "ui/MessageBoxes.h"

void Sending::readRow(const QString& tag) {
    const Parameter* parameter = m_parameters.byTag(tag);
    const auto row = m_rows.constFind(tag);
    if (!parameter || row == m_rows.constEnd() || !row->value)
        return;
    const QString line = ReadCommand(parameter->address);
    QPointer<QWidget> field = row->value;
    m_readTarget = field;
    DeviceRequest request;
    request.expect = DeviceRequest::Expect::ReplyLine;
    request.timeoutMs = m_parameters.readTimeoutMs();
    QPointer<Sending> self(this);
    // Converted when the reply comes, with the model's texts and the language of then.
    request.accepts = [self, field](const QByteArray& reply) {
        if (!self || !field)
            return false;
        // A reply that cannot be applied is passed over without a message.
        try {
            return showRowValue(self->m_parameters, self->m_rows, self->m_language, field,
                                ReplyLineValue(reply));
        } catch (const std::exception&) {
            return false;
        }
    };
    stage(line);
    sendStaged(line, request, [self, field](const DeviceResult& result) {
        if (!self)
            return;
        if (self->m_readTarget == field)
            self->m_readTarget = nullptr;
        if (result.answered() && field)
            emit self->replyApplied(field);
    });
}

void Sending::writeRow(const QString& tag) {
    const Parameter* parameter = m_parameters.byTag(tag);
    const auto row = m_rows.constFind(tag);
    if (!parameter || row == m_rows.constEnd())
        return;
    QWidget* field = row->value;
    if (!field || rowShownText(field).isEmpty()) {
        showMessage(m_language.translate("Sending", "The parameter value cannot be empty"));
        return;
    }
    // A value the field cannot give (a hexadecimal text that is no number, a choice without
    // a value) is named by the conversion.
    QString error;
    const std::optional<QString> converted = rowWriteValue(m_parameters, m_rows, m_language, field, &error);
    if (!converted)
        throw AppError(error);
    const qint32 address = parameter->address;
    const QString value = *converted;
    const QString line = WriteCommand(address, value);
    stage(line);
    // Refused lines are not written, so nobody hears of them as writes.
    if (FirstUnsendableCharacter(line)) {
        sendStaged(line, {}, {});
        return;
    }
    // The device acknowledges a write with a line of its own; the next request waits for it.
    DeviceRequest request;
    request.expect = DeviceRequest::Expect::AnyLine;
    request.timeoutMs = m_parameters.readTimeoutMs();
    emit writeSent(field, address, value);
    QPointer<Sending> self(this);
    sendStaged(line, request, [self](const DeviceResult& result) {
        if (!self)
            return;
        if (result.status == DeviceResult::Status::NotSent)
            emit self->writeAnswered(std::nullopt);
        else
            emit self->writeAnswered(result.answered() ? BlockAsText(result.line).trimmed() : QString());
    });
}
