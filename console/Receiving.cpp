#include "app/MainFrm.h"

#include "app/ComponentRegistry.h"
#include "app/ControlLook.h"
#include "config/AppError.h"
#include "console/ConsoleWiring.h"
#include "console/ItemLookupIndex.h"
#include "console/PageRows.h"
#include "console/protocol/CommandText.h"
#include "console/protocol/ModbusRtu.h"
#include "console/protocol/MonotonicClock.h"
#include "console/protocol/ReceivedBlock.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>

namespace {

const QColor hexFieldColor(255, 255, 0);

// Received text goes to the box in batches: the receive handler appends to a pending text and
// a short timer moves it into the box, so the cost of laying out and painting is paid a few
// dozen times a second however many blocks arrive, and each append costs time in proportion
// to what is appended, never to what the box already holds. The box's text for the handler's
// own rules (automatic clearing) is the shown text plus the pending one.
class ReceiveView : public QObject {
public:
    static constexpr int kFlushMs = 30;
    // One flush moves at most this much, so a burst never stalls the window in one go.
    static constexpr qsizetype kMaxFlushChars = 16 * 1024;
    // The box lays out a whole line each time it grows, which for a line of millions of
    // characters (hexadecimal display adds no line breaks) takes seconds; so the display
    // continues a longer line on the next one. Only lines no one can read at once in the box
    // are affected.
    static constexpr qsizetype kMaxShownLine = 4096;

    explicit ReceiveView(QPlainTextEdit* box) : QObject(box), m_box(box) {
        setObjectName(QStringLiteral("tervalonReceiveView"));
        // An undo history of everything received would grow without bound.
        m_box->setUndoRedoEnabled(false);
        m_flush.setSingleShot(true);
        m_flush.setInterval(kFlushMs);
        connect(&m_flush, &QTimer::timeout, this, &ReceiveView::flush);
    }

    static ReceiveView* of(QPlainTextEdit* box) {
        return box->findChild<ReceiveView*>(QStringLiteral("tervalonReceiveView"),
                                            Qt::FindDirectChildrenOnly);
    }

    qsizetype length() const { return m_box->document()->characterCount() - 1 + m_pending.size(); }

    void append(const QString& text) {
        if (text.isEmpty())
            return;
        m_pending += text;
        if (!m_flush.isActive())
            m_flush.start();
    }

    void clear() {
        m_pending.clear();
        m_carriageReturnPending = false;
        m_lineLength = 0;
        m_box->clear();
    }

    void flush() {
        if (m_pending.isEmpty())
            return;
        qsizetype n = std::min(m_pending.size(), kMaxFlushChars);
        // Never split a CR LF pair or a surrogate pair between two flushes.
        if (n < m_pending.size() &&
            (m_pending[n - 1] == QLatin1Char('\r') || m_pending[n - 1].isHighSurrogate()))
            ++n;
        QString piece = m_pending.left(n);
        m_pending.remove(0, n);
        QTextCursor end(m_box->document());
        end.movePosition(QTextCursor::End);
        end.insertText(displayForm(piece));
        QScrollBar* bar = m_box->verticalScrollBar();
        bar->setValue(bar->maximum());
        if (!m_pending.isEmpty())
            m_flush.start(0);
    }

private:
    // The box keeps line breaks as paragraph ends; CR LF is one line break, as is a lone CR
    // or LF, so that "OK" CR LF does not leave an empty line behind it.
    QString displayForm(const QString& piece) {
        QString out;
        out.reserve(piece.size());
        for (QChar ch : piece) {
            if (m_carriageReturnPending) {
                m_carriageReturnPending = false;
                if (ch == QLatin1Char('\n'))
                    continue;
            }
            if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
                m_carriageReturnPending = ch == QLatin1Char('\r');
                out += QLatin1Char('\n');
                m_lineLength = 0;
                continue;
            }
            if (m_lineLength == kMaxShownLine && !ch.isLowSurrogate()) {
                out += QLatin1Char('\n');
                m_lineLength = 0;
            }
            out += ch;
            ++m_lineLength;
        }
        return out;
    }

    QPlainTextEdit* m_box;
    QString m_pending;
    QTimer m_flush;
    bool m_carriageReturnPending = false;
    qsizetype m_lineLength = 0; // characters shown since the last line break
};

// True when the reply went into the target; a value a hexadecimal field cannot take (not a
// number) leaves it as it was and waiting.
bool applyReply(TForm_Main& form, QWidget* target, const QString& value) {
    if (isEdit(target)) {
        auto* edit = static_cast<QLineEdit*>(target);
        if (controlColor(edit) != hexFieldColor) {
            edit->setText(value);
            return true;
        }
        const auto hex = ReplyValueToHexField(value);
        if (hex)
            edit->setText(*hex);
        return hex.has_value();
    }
    if (isComboBox(target)) {
        // Translated by the box's own row, which may share its address with other rows. The
        // box is editable, so a value that matches no choice still shows.
        const auto index = ItemLookupIndex::of(form.ConfigPath);
        static_cast<QComboBox*>(target)->setCurrentText(
            index->textForValue(rowTagOf(target), value, form.LanguageCode == QLatin1String("EN")));
        return true;
    }
    return false;
}

// One reply per Read: the first reply line that fills the target spends it, so a later "$"
// line (a write's acknowledgement, an unsolicited report) cannot overwrite the value read.
void applyReplyLines(TForm_Main& form, const QList<QByteArray>& lines) {
    for (const QByteArray& line : lines) {
        QWidget* target = form.ReadTarget;
        if (!target)
            return;
        // A reply that cannot be applied is dropped without a message.
        try {
            if (applyReply(form, target, ReplyLineValue(line))) {
                form.ReadTarget = nullptr;
                if (form.ReplyApplied)
                    form.ReplyApplied(target);
            }
        } catch (const AppError&) {
        } catch (const std::exception&) {
        }
    }
}

} // namespace

void installReceiveView(TForm_Main& form) {
    new ReceiveView(form.mmo_RX);
}

// Runs to its end without processing other events, so that blocks are shown and parsed in
// the order they arrived; the window stays responsive because the box is updated in batches.
void TForm_Main::Comm1ReceiveData(QObject*, const char* Buffer, int BufferLength) {
    tmr_RxLed->start();
    const QByteArray block(Buffer, BufferLength);
    ReceiveView* view = ReceiveView::of(mmo_RX);

    if (chk_autoClearRxmmo->isChecked() && ShouldAutoClear(view->length()))
        view->clear();
    if (chk_showDT->isChecked())
        view->append(TimeStampPrefix(QTime::currentTime(), RegionalFormats::system()));
    const QString text = BlockAsText(block);
    view->append(rbtn_Ascii->isChecked() ? text : BlockAsHex(block));

    // A Modbus reply at the start of the block is no text, whatever its values' bytes are;
    // the text after it is. The display above still shows every byte as it came.
    const qsizetype frame = ModbusReplyFrameLength(block);
    applyReplyLines(*this, ReplyLines.feed(QByteArrayView(block).sliced(frame), MonotonicMs()));
    ShowAutoValue(block);
    if (BlockReceived)
        BlockReceived(block);
}

void TForm_Main::btn_ClearRxmmoClick() {
    ReceiveView::of(mmo_RX)->clear();
}

void TForm_Main::chk_AutoNewLineClick() {
    if (chk_AutoNewLine->isChecked()) {
        mmo_RX->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        mmo_RX->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    } else {
        mmo_RX->setLineWrapMode(QPlainTextEdit::NoWrap);
        mmo_RX->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
}
