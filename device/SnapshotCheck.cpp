#include "device/SnapshotCheck.h"

#include "config/StrToInt.h"
#include "console/protocol/CommandText.h"
#include "console/protocol/SnapshotMatch.h"

#include <QRegularExpression>

namespace {

QString text(Language language, const char* source) {
    return language.translate("SnapshotCheck", source);
}

bool plainNumber(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)([eE][+-]?\\d+)?$"));
    return number.match(text).hasMatch();
}

bool wholeNumber(const QString& text, qint32* value) {
    static const QRegularExpression whole(QStringLiteral("^[+-]?\\d+$"));
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok);
    if (!whole.match(text).hasMatch() || !ok || v < INT32_MIN || v > INT32_MAX)
        return false;
    *value = static_cast<qint32>(v);
    return true;
}

CellCheck refuse(const QString& reason) {
    return {std::nullopt, reason};
}

// Why a value cannot go on a protocol line as it stands, or empty.
QString lineProblem(const QString& value, Language language) {
    for (const QChar c : value)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return text(language, QT_TRANSLATE_NOOP("SnapshotCheck", "it holds a control character"));
    if (value.contains(QLatin1Char('#')) || value.contains(QLatin1Char('$')))
        return text(language,
                    QT_TRANSLATE_NOOP("SnapshotCheck", "it holds # or $, which would cut the command short"));
    // The command puts a comma between address and value; and a spreadsheet of a locale with
    // decimal commas turns 1.5 into 1,5, which must not reach the device as something else.
    if (value.contains(QLatin1Char(',')))
        return text(language,
                    QT_TRANSLATE_NOOP("SnapshotCheck",
                                      "it holds a comma, which the command uses between address and value"));
    if (const auto c = FirstUnsendableCharacter(value))
        return UnsendableCharacterMessage(*c, language);
    return {};
}

CellCheck checkHex(const QString& value, const QString& shown, Language language) {
    if (value.isEmpty()) {
        // Written by hand with only the shown column: its digits as the field would send them.
        try {
            return {HexFieldToDecimal(shown), {}};
        } catch (const std::exception&) {
            return refuse(
                text(language, QT_TRANSLATE_NOOP("SnapshotCheck", "\"%1\" is no hexadecimal number"))
                    .arg(shown));
        }
    }
    qint32 number = 0;
    if (!wholeNumber(value, &number))
        return refuse(text(language, QT_TRANSLATE_NOOP(
                                         "SnapshotCheck",
                                         "device value \"%1\" of a hexadecimal parameter is no whole number"))
                          .arg(value));
    return {QString::number(number), {}};
}

CellCheck checkChoice(const Parameter& p, const QString& value, Language language) {
    if (p.values.contains(value))
        return {value, {}};
    for (const QStringList& texts :
         {p.choicesIn(QStringLiteral("CN")), p.choicesIn(QStringLiteral("EN")), p.items}) {
        const qsizetype k = texts.indexOf(value);
        if (k >= 0 && k < p.values.size())
            return {p.values[k], {}};
    }
    return refuse(
        text(language, QT_TRANSLATE_NOOP("SnapshotCheck", "\"%1\" is not one of the choices")).arg(value));
}

} // namespace

bool LooksLikeFormula(const QString& cell) {
    const QString t = cell.trimmed();
    if (t.startsWith(QLatin1Char('=')) || t.startsWith(QLatin1Char('@')))
        return true;
    return (t.startsWith(QLatin1Char('+')) || t.startsWith(QLatin1Char('-'))) && !plainNumber(t);
}

CellCheck CheckSnapshotRow(const Parameter& p, const SnapshotRow& row, Language language) {
    // Blanks at either end are what a spreadsheet adds or drops; a Write never sends them.
    const QString value = row.deviceValue.trimmed();
    const QString shown = row.shownText.trimmed();
    if (value.isEmpty() && (p.kind != Parameter::Kind::Hex || shown.isEmpty()))
        return refuse(text(language, QT_TRANSLATE_NOOP("SnapshotCheck", "no value")));
    if (LooksLikeFormula(value.isEmpty() ? shown : value))
        return refuse(text(language, QT_TRANSLATE_NOOP("SnapshotCheck", "\"%1\" looks like a formula"))
                          .arg(value.isEmpty() ? shown : value));
    switch (p.kind) {
    case Parameter::Kind::Hex:
        return checkHex(value, shown, language);
    case Parameter::Kind::Choice:
        return checkChoice(p, value, language);
    case Parameter::Kind::Text:
        if (const QString problem = lineProblem(value, language); !problem.isEmpty())
            return refuse(problem);
        return {value, {}};
    case Parameter::Kind::Separator:
        break;
    }
    return refuse(text(language, QT_TRANSLATE_NOOP("SnapshotCheck", "no parameter")));
}

qsizetype SnapshotLoadPlan::loaded() const {
    qsizetype n = 0;
    for (const auto& v : values)
        n += v.has_value();
    return n;
}

SnapshotLoadPlan PlanSnapshotLoad(const QList<const Parameter*>& parameters, const SnapshotParse& parse,
                                  Language language) {
    SnapshotLoadPlan plan;
    plan.values.resize(parameters.size());
    QList<RowKey> keys;
    for (const Parameter* p : parameters)
        keys << RowKey{p->tag, p->address};
    const SnapshotPlacement placement = PlaceSnapshot(keys, parse.rows);
    QList<std::optional<QString>> reasons(parse.rows.size());
    for (qsizetype s : placement.unplaced)
        reasons[s] =
            text(language, QT_TRANSLATE_NOOP("SnapshotCheck", "no parameter has this tag and address"));
    for (qsizetype r = 0; r < parameters.size(); ++r) {
        const qsizetype s = placement.snapshotOfRow[r];
        if (s < 0)
            continue;
        const CellCheck check = CheckSnapshotRow(*parameters[r], parse.rows[s], language);
        if (check.deviceValue)
            plan.values[r] = check.deviceValue;
        else
            reasons[s] = check.reason;
    }
    for (qsizetype s = 0; s < parse.rows.size(); ++s)
        if (reasons[s])
            plan.refused << SnapshotLoadPlan::Refused{parse.rowLines.value(s),
                                                      parse.rows[s].address.trimmed(),
                                                      parse.rows[s].tag.trimmed(), *reasons[s]};
    return plan;
}

QString SnapshotLoadText(const SnapshotLoadPlan& plan, Language language, qsizetype listed) {
    const auto counted = [language](const char* source, qsizetype n) {
        return language.translate("SnapshotCheck", source, nullptr, static_cast<int>(n));
    };
    const QString loaded =
        counted(QT_TRANSLATE_N_NOOP("SnapshotCheck", "%n parameter(s) loaded"), plan.loaded());
    if (plan.refused.isEmpty())
        return loaded;
    QStringList lines;
    for (qsizetype i = 0; i < plan.refused.size() && i < listed; ++i) {
        const SnapshotLoadPlan::Refused& r = plan.refused[i];
        lines << text(language, QT_TRANSLATE_NOOP("SnapshotCheck", "line %1  %2  %3: %4"))
                     .arg(r.line)
                     .arg(r.address, r.tag, r.reason);
    }
    if (plan.refused.size() > listed)
        lines << counted(QT_TRANSLATE_N_NOOP("SnapshotCheck", "... and %n more row(s)"),
                         plan.refused.size() - listed);
    return loaded +
           counted(QT_TRANSLATE_N_NOOP("SnapshotCheck",
                                       "; %n row(s) not loaded, their parameters left as they were:\n"),
                   plan.refused.size()) +
           lines.join(QLatin1Char('\n'));
}
