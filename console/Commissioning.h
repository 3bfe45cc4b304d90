#pragma once

#include "console/CommissioningRows.h"
#include "console/protocol/ReadSequence.h"
#include "console/protocol/SnapshotCsv.h"
#include "console/protocol/SnapshotMatch.h"
#include "console/protocol/WriteJournal.h"
#include "device/DeviceRequest.h"
#include "device/ParameterModel.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class QProgressBar;
class QPushButton;
class QLabel;
class TForm_Main;
class TPanel;

// Commissioning a device from the parameter pages: reading a page or every page in one go,
// keeping what was read as a snapshot file, comparing the device with a snapshot and writing
// back what differs, and journalling every write. Runs are clients of the device engine: each
// read or write is a request, the next one asked when the last one's result comes, at the
// line's pace and without nested event loops, so the window stays usable and the run can be
// cancelled.
class Commissioning : public QObject {
public:
    explicit Commissioning(TForm_Main& form);
    ~Commissioning() override;
    static Commissioning* of(const TForm_Main& form);

    void readPage();
    void readAllPages();
    void cancel();
    void saveSnapshot();
    void loadSnapshot();
    void compareWithDevice();
    void writeSnapshot();

    bool busy() const { return m_busy; }
    // Words the row marks shown in the window's current language.
    void retranslate();
    // The snapshot loaded or saved last.
    const QList<SnapshotRow>& snapshot() const { return m_snapshot; }
    QString journalPath() const;
    // Puts the shown row marks in their rows again after the rows were laid out.
    void placeMarks();

    TPanel* panel = nullptr;
    QPushButton* btn_ReadPage = nullptr;
    QPushButton* btn_ReadAll = nullptr;
    QPushButton* btn_CancelRead = nullptr;
    QPushButton* btn_SaveSnapshot = nullptr;
    QPushButton* btn_LoadSnapshot = nullptr;
    QPushButton* btn_Compare = nullptr;
    QPushButton* btn_WriteSnapshot = nullptr;
    QProgressBar* prg_Read = nullptr;

public slots:
    void onReplyApplied(QWidget* field);
    void onWriteSent(QWidget* field, qint32 addr, const QString& value);
    void onWriteAnswered(const std::optional<QString>& reply);

private:
    enum class Outcome { Answered, Silent, Cancelled };
    using Then = std::function<void(Outcome)>;
    enum class Mark { None, Silent, Differs, Failed };

    void createBar();
    // Reads the row's parameter into its field; then() gets whether it answered.
    void readRow(const ParameterRow& row, Then then);
    // Writes the row's field to the device and journals it; then() once the device answered
    // (or did not in time).
    void writeRow(const ParameterRow& row, Then then);
    static Outcome outcomeOf(const DeviceResult& result);
    // Reads the rows one by one; done() gets the rows that did not answer.
    void readRows(const QList<ParameterRow>& rows, std::function<void(QList<ParameterRow> silent)> done);
    void readNext();
    void restoreNext();
    void setBusy(bool busy);
    bool portOpen();
    bool readyToCompare();
    int readTimeoutMs() const;
    // Marks a row; the tip is a built-in text (QT_TRANSLATE_NOOP("Commissioning", ...)) with
    // its arguments, so that a language switch words mark and tip again.
    void mark(const ParameterRow& row, Mark kind, const char* tip = nullptr, const QStringList& tipArgs = {});
    void wordMark(QLabel* label) const;
    void clearMarks();

    void flushJournal(bool report = true);

    // The parameters as config.xml gives them now (texts may have been edited since start).
    ParameterModel parameterModel() const;
    // A device value of a row as its field shows it, the device value in brackets where they differ.
    QString asShown(const ParameterModel& model, const ParameterRow& row, const QString& deviceValue) const;
    SnapshotRow snapshotRowOf(const ParameterModel& model, const ParameterRow& row) const;
    QList<SnapshotDifference> differences(const QList<ParameterRow>& rows,
                                          const QList<ParameterRow>& silent) const;
    void restoreOne(const SnapshotDifference& d);
    void finishRestore();
    void reportDifferences(const QList<ParameterRow>& rows, const QList<SnapshotDifference>& diffs,
                           const QList<ParameterRow>& silent);
    // A built-in text in the window's current language (context "Commissioning"); n counts
    // for texts with plural forms.
    QString tr(const char* source, const char* disambiguation = nullptr, int n = -1) const;
    QString captionOf(const ParameterRow& row) const;
    void reportSilent(const QList<ParameterRow>& silent);
    // The lines naming rows that did not answer, under a title saying what was not done.
    QString silentSection(const QList<ParameterRow>& silent, const QString& title) const;
    // Lines for a message, the longest lists cut short with a count of the rest.
    QString listOf(const QStringList& lines) const;

    TForm_Main& m_form;
    bool m_busy = false;

    // A read run.
    ReadSequence m_sequence;
    QList<ParameterRow> m_rows;
    std::function<void(QList<ParameterRow>)> m_readDone;

    // A restore run.
    QList<SnapshotDifference> m_restore;
    QList<ParameterRow> m_restoreRows;
    qsizetype m_restoreAt = 0;
    QStringList m_written, m_verified, m_failed;
    QStringList m_unacknowledged;     // writes the device sent no answer to
    QList<ParameterRow> m_notWritten; // rows left out because they did not answer the read

    // What the device last answered per field, and when.
    QHash<QWidget*, QString> m_lastRead;
    QHash<QWidget*, QDateTime> m_readTime;
    QList<SnapshotRow> m_snapshot;
    QHash<QWidget*, QPointer<QLabel>> m_marks;

    // Writes waiting for the device's answer before they are journalled, in the order they
    // were sent; the engine answers them in that order.
    std::unique_ptr<WriteJournal> m_journal;
    QList<JournalEntry> m_pendingWrites;
    void journalFirst(const QString& reply, bool report);
};
