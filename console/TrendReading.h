#pragma once

#include "config/Language.h"
#include "console/RowControls.h"
#include "console/protocol/ModbusExchange.h"
#include "console/protocol/TrendStore.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class ParameterModel;
class QLabel;
class QPushButton;
class QTabWidget;
class QWidget;
class TrendWindow;
class XmlDocument;

// What the trend chart needs of the console window.
struct TrendControls {
    QWidget* console = nullptr;  // the chart opens on its screen, as its own window over it
    QPushButton* open = nullptr; // its caption is the chart's title
    QTabWidget* pages = nullptr; // the chart draws the automatic-reading page in view
};

// The trend of automatic reading: every value a polling run showed, kept in a store for the
// chart window and the CSV export. Values are named as their rows show them; where a row has
// no caption of its own in the language in use, the other language's caption from
// config.xml's language table names it, then the row's tag.
class TrendReading : public QObject {
    Q_OBJECT
public:
    // rows: automatic reading's value rows; configuration: the window's document, replaced
    // by each language pass (read through the pointer each time).
    TrendReading(const TrendControls& controls, const QList<AutoValueControls>& rows,
                 const ParameterModel& model, const std::unique_ptr<XmlDocument>& configuration,
                 QObject* parent = nullptr);
    ~TrendReading() override;

    // The chart window, hidden until asked for.
    TrendWindow* window() const;
    // Every value of this run.
    const TrendStore& store() const { return m_store; }
    TrendStore& store() { return m_store; }

    // Messages and the export's column of times in the language; the chart's title follows
    // its button's caption.
    void setLanguage(Language language);

    // Asks where to export (the suggested path given); empty: cancelled. Unset, a file dialog
    // asks.
    void setPathChooser(std::function<QString(const QString& suggested)> choose) {
        m_choosePath = std::move(choose);
    }

public slots:
    // Polling started: a new run.
    void startRun();
    // The values a good reply showed, scaled as their labels show them.
    void record(const ModbusExchange::Request& request, const QList<quint16>& values);
    // Shows the chart window and brings it to the front.
    void showWindow();
    // Asks for a file and writes the run into it, whole or not at all, and says how it went.
    void exportCsv();

private:
    QString textOf(QLabel* label, const QString& fallback) const;
    QString otherLanguageCaption(const QString& controlName) const;

    TrendControls m_controls;
    const QList<AutoValueControls>& m_rows;
    const ParameterModel& m_model;
    const std::unique_ptr<XmlDocument>& m_configuration;
    TrendStore m_store;
    QPointer<TrendWindow> m_window;
    Language m_language;
    std::function<QString(const QString&)> m_choosePath;
};
