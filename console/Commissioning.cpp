#include "console/Commissioning.h"

#include "console/RowValues.h"
#include "device/DeviceSession.h"
#include "ui/ControlLook.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>

namespace {

const char kObjectName[] = "tervalonCommissioning";

} // namespace

Commissioning::Commissioning(DeviceSession& device, const ParameterModel& parameters,
                             const QHash<QString, RowControls>& rows, const CommissioningControls& controls,
                             std::function<QString()> folder, QObject* parent)
    : QObject(parent), m_device(device), m_parameters(parameters), m_rowControls(rows), m_controls(controls),
      m_folder(std::move(folder)) {
    setObjectName(QString::fromLatin1(kObjectName));
}

// Runs while the window is being torn down, when its members are gone: only this object's
// own state is used.
Commissioning::~Commissioning() {
    flushJournal(false);
}

void Commissioning::setBusy(bool busy) {
    m_busy = busy;
    for (QPushButton* b : {m_controls.readPage, m_controls.readAll, m_controls.saveSnapshot,
                           m_controls.loadSnapshot, m_controls.compare, m_controls.writeSnapshot})
        if (b)
            b->setEnabled(!busy);
    if (m_controls.progress)
        m_controls.progress->setVisible(busy || m_controls.progress->value() > 0);
    if (m_controls.cancel)
        m_controls.cancel->setVisible(busy);
}

void Commissioning::setLanguage(Language language) {
    m_language = language;
    for (const QPointer<QLabel>& label : std::as_const(m_marks))
        if (label && !label->isHidden())
            wordMark(label);
}

QString Commissioning::tr(const char* source, const char* disambiguation, int n) const {
    return m_language.translate("Commissioning", source, disambiguation, n);
}

QString Commissioning::captionOf(const ParameterRow& row) const {
    return row.label ? row.label->text() : row.tag;
}

std::optional<QString> Commissioning::deviceValueOfField(const QWidget* field) const {
    return deviceValueOf(m_parameters, m_rowControls, m_language, field);
}

bool Commissioning::showInField(QWidget* field, const QString& deviceValue) const {
    return showRowValue(m_parameters, m_rowControls, m_language, field, deviceValue);
}

QList<ParameterRow> Commissioning::rowsOfPage(int page) const {
    return parameterRows(m_parameters, m_rowControls, page);
}

QString Commissioning::pageNameOf(const ParameterRow& row) const {
    if (!m_controls.pages)
        return {};
    for (QWidget* w = row.value; w; w = w->parentWidget())
        if (const int index = m_controls.pages->indexOf(w); index >= 0)
            return m_controls.pages->tabText(index);
    return {};
}

void Commissioning::mark(const ParameterRow& row, Mark kind, const char* tip, const QStringList& tipArgs) {
    QPointer<QLabel>& label = m_marks[row.value];
    if (kind == Mark::None) {
        if (label)
            label->hide();
        placeMarks();
        return;
    }
    if (!label) {
        label = new QLabel(row.value->parentWidget());
        label->setObjectName(QStringLiteral("mark_") + row.tag);
        setFontColor(label, QColor(255, 0, 0));
    }
    label->setProperty("markKind", static_cast<int>(kind));
    label->setProperty("markTip", QByteArray(tip ? tip : ""));
    label->setProperty("markTipArgs", tipArgs);
    wordMark(label);
    label->show();
    placeMarks();
}

// A mark takes the right end of its row's value box, which gives up that room: right of the
// Write button the row reaches the page's edge, and a mark there would be cut off.
void Commissioning::placeMarks() {
    for (auto it = m_marks.cbegin(); it != m_marks.cend(); ++it) {
        QWidget* value = it.key();
        const QLabel* label = it.value();
        const int full = value->property("rowSpanWidth").isValid() ? value->property("rowSpanWidth").toInt()
                                                                   : value->width();
        if (!label || label->isHidden()) {
            value->resize(full, value->height());
            continue;
        }
        const int width = qMax(full - label->width() - 4, value->minimumSizeHint().width());
        value->resize(width, value->height());
        it.value()->move(value->x() + width + 4, value->y() + (value->height() - label->height()) / 2);
    }
}

void Commissioning::wordMark(QLabel* label) const {
    const auto kind = static_cast<Mark>(label->property("markKind").toInt());
    label->setText(kind == Mark::Silent    ? tr("no reply")
                   : kind == Mark::Differs ? tr("differs")
                                           : tr("failed"));
    const QByteArray tip = label->property("markTip").toByteArray();
    QString tipText = tip.isEmpty() ? QString() : tr(tip.constData());
    // All arguments at once: a value holding "%2" must not be taken for a place-holder.
    const QStringList args = label->property("markTipArgs").toStringList();
    if (args.size() == 1)
        tipText = tipText.arg(args[0]);
    else if (args.size() == 2)
        tipText = tipText.arg(args[0], args[1]);
    label->setToolTip(tipText);
    label->adjustSize();
}

void Commissioning::clearMarks() {
    for (const QPointer<QLabel>& label : std::as_const(m_marks))
        if (label)
            label->hide();
    placeMarks();
}

QString Commissioning::journalPath() const {
    return (m_folder ? m_folder() : QString()) + QStringLiteral("write-journal.csv");
}

void Commissioning::onPortClosed() {
    cancel();
}
