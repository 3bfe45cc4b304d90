#include "OldReceiveBox.h"

#include "app/MainFrm.h"
#include "comm/SerialComm.h"
#include "console/protocol/ModbusRtu.h"
#include "console/protocol/MonotonicClock.h"
#include "console/protocol/ReceivedBlock.h"
#include "console/protocol/ReplyAssembler.h"
#include "ui/ControlLook.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>

OldReceiveBox::OldReceiveBox(QPlainTextEdit* box) : QObject(box), m_box(box) {
    m_box->setUndoRedoEnabled(false);
    m_flush.setSingleShot(true);
    m_flush.setInterval(kFlushMs);
    connect(&m_flush, &QTimer::timeout, this, &OldReceiveBox::flush);
}

void OldReceiveBox::append(const QString& text) {
    if (text.isEmpty())
        return;
    m_pending += text;
    if (!m_flush.isActive())
        m_flush.start();
}

void OldReceiveBox::clear() {
    m_pending.clear();
    m_carriageReturnPending = false;
    m_lineLength = 0;
    m_box->clear();
}

void OldReceiveBox::flush() {
    if (m_pending.isEmpty())
        return;
    qsizetype n = std::min(m_pending.size(), kMaxFlushChars);
    if (n < m_pending.size() && (m_pending[n - 1] == QLatin1Char('\r') || m_pending[n - 1].isHighSurrogate()))
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

QString OldReceiveBox::displayForm(const QString& piece) {
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

OldReceiveBox* installOldReceiveBox(TForm_Main& form) {
    QWidget* shown = form.mmo_RX;
    auto* edit = new QPlainTextEdit(shown->parentWidget());
    edit->setGeometry(shown->geometry());
    edit->setFont(shown->font());
    setControlColor(edit, controlColor(shown));
    setFontColor(edit, fontColor(shown));
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    shown->hide();
    edit->show();
    auto* box = new OldReceiveBox(edit);
    TForm_Main* f = &form;
    auto replies = std::make_shared<ReplyAssembler>();
    form.Comm1->OnReceiveData = [f, box, replies](QObject*, const char* buffer, std::uint16_t length) {
        const QByteArray block(buffer, length);
        if (f->chk_autoClearRxmmo->isChecked() && ShouldAutoClear(box->length()))
            box->clear();
        if (f->chk_showDT->isChecked())
            box->append(TimeStampPrefix(QTime::currentTime(), RegionalFormats::system()));
        const QString text = BlockAsText(block);
        box->append(f->rbtn_Ascii->isChecked() ? text : BlockAsHex(block));
        const qsizetype frame = ModbusReplyFrameLength(block);
        replies->feed(QByteArrayView(block).sliced(frame), MonotonicMs());
    };
    return box;
}
