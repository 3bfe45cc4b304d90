#pragma once

// Everything a command takes from config.xml, read once: the parameter model, the port
// settings (with the command line's overrides), the language, the batches and the
// automatic-reading pages. Nothing is ever written back to the file.

#include "cli/CliOptions.h"
#include "config/ConfigRecords.h"
#include "config/Language.h"
#include "device/ParameterModel.h"
#include "device/PortOpening.h"

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

// An automatic-reading page: the block it polls and the values it shows.
struct PolledPage {
    int index = -1;
    QString tag, caption;
    QHash<QString, QString> captions; // by language code
    TAutoRead block;
    // Item captions by tag: the language table's label where it has one, else the item's.
    QHash<QString, QHash<QString, QString>> valueCaptions;
    QHash<QString, QString> ownCaptions;
    QString problem; // why the block cannot be polled; empty when it can
};

struct CliConfig {
    QString path; // absolute
    ParameterModel model;
    PortSettings port;
    QString languageCode = QStringLiteral("CN"); // "CN" or "EN"
    QList<TCMDS> batches;
    QList<PolledPage> polledPages;

    Language language() const { return Language::fromCode(languageCode); }
    // A text of the tool in the run's language: source is its English, written with
    // QT_TRANSLATE_NOOP("Cli", ...) (QT_TRANSLATE_N_NOOP with a count n for "%n") so that
    // lupdate finds it.
    QString text(const char* source, qsizetype n = -1) const {
        return language().translate("Cli", source, nullptr, static_cast<int>(n));
    }
    // write-journal.csv beside config.xml, as the window keeps it.
    QString journalPath() const;
    // A page's caption in the run's language.
    QString pageCaption(int page) const;
    // The parameter pages named by tag or caption (any language, any letter case), in the
    // order given; the name that matches none in *unknown.
    std::optional<QList<int>> parameterPages(const QStringList& names, QString* unknown) const;
    const PolledPage* polledPage(const QString& name) const;
    // A polled value's caption in the run's language (its tag when it has none).
    QString valueCaption(const PolledPage& page, const QString& tag) const;
};

// Reads the configuration the options name (or the one the window would use) and applies
// the port overrides; throws AppError with one line when it cannot be read.
CliConfig LoadCliConfig(const CliOptions& options);

// The language a message before the configuration is read (or when it cannot be) is in:
// --lang when given, otherwise English.
Language LanguageBeforeConfig(const CliOptions& options);
