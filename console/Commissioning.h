#pragma once

#include "config/Language.h"
#include "console/CommissioningControls.h"
#include "console/CommissioningRows.h"
#include "console/RowControls.h"
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

class DeviceSession;
class QLabel;
class QWidget;

// Commissioning a device from the parameter pages: reading a page or every page in one go,
// keeping what was read as a snapshot file, comparing the device with a snapshot and writing
// back what differs, and journalling every write. Runs are clients of the device engine: each
// read or write is a request, the next one asked when the last one's result comes, at the
// line's pace and without nested event loops, so the window stays usable and the run can be
// cancelled.
//
// It works from records, never from the window: the parameter model (kept up to date with
// the texts the settings editor changes), the controls of each parameter's row by tag, and
// its own controls. Those are held by reference and must outlive it; its destructor touches
// none of them.
//
// No Q_OBJECT: its tr() words built-in texts in the language it was given, not in the
// application's; its slots are connected by address.
class Commissioning : public QObject {
public:
    // folder: where the write journal goes and snapshots are suggested, the configuration
    // file's folder with a trailing '/'; asked each time, since the window learns it late.
    Commissioning(DeviceSession& device, const ParameterModel& parameters,
                  const QHash<QString, RowControls>& rows, const CommissioningControls& controls,
                  std::function<QString()> folder, QObject* parent = nullptr);
    ~Commissioning() override;

    void readPage();
    void readAllPages();
    void cancel();
    void saveSnapshot();
    void loadSnapshot();
    void compareWithDevice();
    void writeSnapshot();

    bool busy() const { return m_busy; }
    const CommissioningControls& controls() const { return m_controls; }
    // Words messages, lists and the row marks shown in the language from now on.
    void setLanguage(Language language);
    Language language() const { return m_language; }
    // The snapshot loaded or saved last.
    const QList<SnapshotRow>& snapshot() const { return m_snapshot; }
    QString journalPath() const;
    // Puts the shown row marks in their rows again after the rows were laid out.
    void placeMarks();

public slots:
    // A reply filled the field of an operator's Read: what the device holds now.
    void onReplyApplied(QWidget* field);
    // A Write went out (its field, address and value) and what the device answered it
    // (nothing: the write never went out; empty: no answer in time); writes are journalled
    // once answered.
    void onWriteSent(QWidget* field, qint32 address, const QString& value);
    void onWriteAnswered(const std::optional<QString>& reply);
    // The port closed, by the person or because the device vanished: a run stops there
    // rather than going on through rows that can no longer answer.
    void onPortClosed();

private:
    enum class Outcome { Answered, Silent, Cancelled };
    using Then = std::function<void(Outcome)>;
    enum class Mark { None, Silent, Differs, Failed };

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

    // A device value of a row as its field shows it, the device value in brackets where they differ.
    QString asShown(const ParameterRow& row, const QString& deviceValue) const;
    SnapshotRow snapshotRowOf(const ParameterRow& row) const;
    // The name of the row's page as its tab shows it.
    QString pageNameOf(const ParameterRow& row) const;
    // The row's field as a Write would send it; nullopt where it would send nothing.
    std::optional<QString> deviceValueOfField(const QWidget* field) const;
    bool showInField(QWidget* field, const QString& deviceValue) const;
    QList<ParameterRow> rowsOfPage(int page = -1) const;
    QList<SnapshotDifference> differences(const QList<ParameterRow>& rows,
                                          const QList<ParameterRow>& silent) const;
    void restoreOne(const SnapshotDifference& d);
    void finishRestore();
    void reportDifferences(const QList<ParameterRow>& rows, const QList<SnapshotDifference>& diffs,
                           const QList<ParameterRow>& silent);
    // A built-in text in the current language (context "Commissioning"); n counts
    // for texts with plural forms.
    QString tr(const char* source, const char* disambiguation = nullptr, int n = -1) const;
    QString captionOf(const ParameterRow& row) const;
    void reportSilent(const QList<ParameterRow>& silent);
    // The lines naming rows that did not answer, under a title saying what was not done.
    QString silentSection(const QList<ParameterRow>& silent, const QString& title) const;
    // Lines for a message, the longest lists cut short with a count of the rest.
    QString listOf(const QStringList& lines) const;

    DeviceSession& m_device;
    const ParameterModel& m_parameters;
    const QHash<QString, RowControls>& m_rowControls;
    CommissioningControls m_controls;
    std::function<QString()> m_folder;
    Language m_language;
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
