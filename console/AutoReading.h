#pragma once

#include "config/ConfigRecords.h"
#include "config/Language.h"
#include "console/AutoValueLabels.h"
#include "console/RowControls.h"
#include "console/protocol/ModbusExchange.h"
#include "device/DeviceRequest.h"

#include <QList>
#include <QObject>

class AutoReadingSession;
class DeviceSession;
class FittedLinesLabel;
class ParameterModel;
class QCheckBox;
class QLineEdit;
class QTabWidget;
class QTimer;
class TTabSheet;

// The controls automatic reading shows and reads; the window made them.
struct AutoReadingControls {
    QCheckBox* enabled = nullptr;       // polling on or off
    QLineEdit* interval = nullptr;      // ms between ticks
    FittedLinesLabel* health = nullptr; // how the link to the device fares
    QTabWidget* pages = nullptr;        // the page in view is the one polled
};

// What the page builder made for automatic reading: each page's sheet and polling block
// (index-aligned; a block left empty is not polled), and every value row in page order.
struct AutoReadPages {
    QList<TTabSheet*> sheets;
    QList<TAutoRead> blocks;
    QList<AutoValueControls> rows;
};

// Automatic reading as the console shows it: a tick polls the page in view through the
// polling session, good replies fill the value labels, anything else greys them with the
// reason, and the health line beside the pages counts how the link fares. Ticks come from
// its own timer, which runs for the part's whole life; only the check box's state decides
// whether a tick asks anything.
class AutoReading : public QObject {
    Q_OBJECT
public:
    AutoReading(const AutoReadingControls& controls, DeviceSession& device, AutoReadingSession& polling,
                const ParameterModel& model, QObject* parent = nullptr);

    // Filled by the page builder.
    AutoReadPages& pages() { return m_pages; }
    const AutoReadPages& pages() const { return m_pages; }

    // The health line and the reasons of greyed values in the language.
    void setLanguage(Language language);
    Language language() const { return m_language; }

    // The timer of the ticks (tests stop it and tick by hand).
    QTimer* ticker() const { return m_ticker; }

public slots:
    // Polling on: a new run with fresh counts. Off: what waits is dropped.
    void setRunning(bool on);
    // Polls the page in view, unless polling is off or a request still waits; takes up the
    // interval box's value for the ticks after this one.
    void tick();
    void showHealth();

    // The port's state, as the connection tells it: closed values are not live, and while
    // the device is awaited they say so.
    void onPortOpened();
    void onPortClosed();
    void onAwaitingDevice(bool waiting);

signals:
    // Polling was switched on: what is recorded from now on is a new run.
    void runStarted();
    // A good reply's values, shown on the labels of their registers.
    void valuesRead(const ModbusExchange::Request& request, const QList<quint16>& values);

private:
    void showResult(const DeviceResult& result);
    int pageInView() const;

    AutoReadingControls m_controls;
    DeviceSession& m_device;
    AutoReadingSession& m_polling;
    AutoReadPages m_pages;
    AutoValueLabels m_labels;
    Language m_language;
    QTimer* m_ticker = nullptr;
    bool m_awaitingDevice = false;
};
