#pragma once

// The receive box as it was before the drawn-on-demand view: a QPlainTextEdit fed in batches
// from a pending text. Kept here only so that the receive benchmark can measure both views
// in one run; the product no longer uses it.

#include <QObject>
#include <QPlainTextEdit>
#include <QString>
#include <QTimer>

class TForm_Main;

class OldReceiveBox : public QObject {
public:
    static constexpr int kFlushMs = 30;
    static constexpr qsizetype kMaxFlushChars = 16 * 1024;
    static constexpr qsizetype kMaxShownLine = 4096;

    explicit OldReceiveBox(QPlainTextEdit* box);

    qsizetype length() const { return m_box->document()->characterCount() - 1 + m_pending.size(); }
    // Characters in the box, line breaks not counted.
    qint64 shownCharacters() const {
        return m_box->document()->characterCount() - m_box->document()->blockCount();
    }
    bool caughtUp() const { return m_pending.isEmpty(); }
    // Characters given but not yet in the box, line breaks not counted.
    qint64 pendingCharacters() const {
        return m_pending.size() - m_pending.count(QLatin1Char('\r')) - m_pending.count(QLatin1Char('\n'));
    }
    void append(const QString& text);
    void clear();
    void flush();

private:
    QString displayForm(const QString& piece);

    QPlainTextEdit* m_box;
    QString m_pending;
    QTimer m_flush;
    bool m_carriageReturnPending = false;
    qsizetype m_lineLength = 0;
};

// Puts an old box over the window's receive view and routes received blocks to it, doing
// the same work per block as the window's own handler did.
OldReceiveBox* installOldReceiveBox(TForm_Main& form);
