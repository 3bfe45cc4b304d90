#pragma once

#include "config/Language.h"
#include "console/RowControls.h"
#include "console/protocol/ModbusExchange.h"
#include "console/protocol/ModbusHealthText.h"

#include <QDateTime>
#include <QList>
#include <optional>

class ParameterModel;
class QLabel;

// The value labels of the automatic-reading pages, as automatic reading keeps them honest: a
// fresh value shows live; a value that could not be refreshed stays, greyed, with why and
// when it was last read good as its tooltip, so a stale number is never taken for a live one.
// The rows and the model are the page builder's and the window's; they outlive these labels'
// use, and are read afresh on every call (the builder fills the rows after this is made).
class AutoValueLabels {
public:
    AutoValueLabels(const QList<AutoValueControls>& rows, const ParameterModel& model);

    // Rewords the reasons of greyed labels in the language, and again whenever something (a
    // language pass) has put another text over a reason.
    void setLanguage(Language language);

    // Shows a register's value (scaled as the parameter model says) live, and notes when it
    // was read.
    void show(qint32 address, quint16 value, const QString& decimalSeparator);
    // Greys the labels of one request's registers with the reason.
    void markStale(const ModbusExchange::Request& request, const ModbusStale& why);
    // Greys every value label with the reason.
    void markAllStale(const ModbusStale& why);
    // Gives the labels greyed for one reason another reason.
    void restale(ModbusStale::Reason from, const ModbusStale& to);

private:
    void writeStaleText(QLabel* label, const ModbusStale& why);
    void greyWith(QLabel* label, const ModbusStale& why);

    const QList<AutoValueControls>& m_rows;
    const ParameterModel& m_model;
    Language m_language;
};

// The automatic-reading row that shows a register; nullptr when none does.
const AutoValueControls* autoValueRowAt(const QList<AutoValueControls>& rows, qint32 address);
// When the label last showed a fresh value; invalid before any.
QDateTime autoValueLastGood(const QObject* label);
// Why the label is greyed; nothing while it is live.
std::optional<ModbusStale::Reason> autoValueStaleReason(const QObject* label);
