#include "cli/CliConfig.h"

#include "app/ConfigLocation.h"
#include "config/AppError.h"
#include "config/BatchCommands.h"
#include "config/PollingBlock.h"
#include "config/StrToInt.h"
#include "config/XmlDocument.h"

#include <QFileInfo>

namespace {

QString attr(const XmlNode& node, const QString& name) {
    return node.hasAttribute(name) ? node.readAttribute(name) : QString();
}

// The language table's captions of one kind of control by its name.
QHash<QString, QHash<QString, QString>> tableCaptions(const XmlNode& root, const QString& kind) {
    QHash<QString, QHash<QString, QString>> tabs;
    const XmlNode list =
        root.findChild(QStringLiteral("LANGUAGE")).findChild(QStringLiteral("COMPONETS")).findChild(kind);
    for (int i = 0; !list.isNull() && i < list.childCount(); ++i) {
        const XmlNode entry = list.child(i);
        const QString name = attr(entry, QStringLiteral("name"));
        if (tabs.contains(name))
            continue;
        for (const char* code : {"CN", "EN"}) {
            const QString text = attr(entry, QStringLiteral("caption") + QLatin1String(code));
            if (!text.isEmpty())
                tabs[name].insert(QLatin1String(code), text);
        }
    }
    return tabs;
}

QList<PolledPage> readPolledPages(const XmlNode& root, Language language) {
    QList<PolledPage> pages;
    const auto tabs = tableCaptions(root, QStringLiteral("TABSHEET"));
    const auto labels = tableCaptions(root, QStringLiteral("LABEL"));
    const XmlNode group = root.findChild(QStringLiteral("GROUP_AUTO"));
    for (int t = 0; !group.isNull() && t < group.childCount(); ++t) {
        const XmlNode tab = group.child(t);
        PolledPage page;
        page.index = t;
        page.tag = tab.tagName();
        page.caption = attr(tab, QStringLiteral("caption"));
        page.captions = tabs.value(QStringLiteral("tbs_") + page.tag);
        for (int i = 0; i < tab.childCount(); ++i) {
            const XmlNode item = tab.child(i);
            page.ownCaptions.insert(item.tagName(), attr(item, QStringLiteral("caption")));
            page.valueCaptions.insert(item.tagName(), labels.value(QStringLiteral("lbl_") + item.tagName()));
        }
        page.block.pro = attr(tab, QStringLiteral("protocol"));
        const bool numbers = TryStrToInt(attr(tab, QStringLiteral("equAddr")), &page.block.equAddr) &&
                             TryStrToInt(attr(tab, QStringLiteral("startReg")), &page.block.startAddr) &&
                             TryStrToInt(attr(tab, QStringLiteral("regLen")), &page.block.readSize);
        if (page.block.pro != QLatin1String("MODBUS"))
            page.problem = QStringLiteral("protocol");
        else if (!numbers)
            page.problem = QStringLiteral("numbers");
        else
            page.problem = PollingBlockProblem(page.block, page.caption, language);
        pages.append(page);
    }
    return pages;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

Language LanguageBeforeConfig(const CliOptions& options) {
    return options.lang == QLatin1String("zh") ? Language::chinese() : Language::english();
}

QString CliConfig::journalPath() const {
    return QFileInfo(path).absolutePath() + QStringLiteral("/write-journal.csv");
}

QString CliConfig::pageCaption(int page) const {
    if (page < 0 || page >= model.pages().size())
        return {};
    const ParameterPage& p = model.pages()[page];
    return p.captions.value(languageCode, p.caption);
}

std::optional<QList<int>> CliConfig::parameterPages(const QStringList& names, QString* unknown) const {
    QList<int> chosen;
    for (const QString& name : names) {
        int found = -1;
        for (int i = 0; i < model.pages().size() && found < 0; ++i) {
            const ParameterPage& p = model.pages()[i];
            if (sameName(name, p.tag) || sameName(name, p.caption))
                found = i;
            for (const QString& c : p.captions)
                if (found < 0 && sameName(name, c))
                    found = i;
        }
        if (found < 0) {
            if (unknown)
                *unknown = name;
            return std::nullopt;
        }
        if (!chosen.contains(found))
            chosen << found;
    }
    return chosen;
}

const PolledPage* CliConfig::polledPage(const QString& name) const {
    for (const PolledPage& p : polledPages) {
        if (sameName(name, p.tag) || sameName(name, p.caption))
            return &p;
        for (const QString& c : p.captions)
            if (sameName(name, c))
                return &p;
    }
    return nullptr;
}

QString CliConfig::valueCaption(const PolledPage& page, const QString& tag) const {
    QString caption = page.valueCaptions.value(tag).value(languageCode);
    if (caption.isEmpty())
        caption = page.ownCaptions.value(tag);
    return caption.isEmpty() ? tag : caption;
}

CliConfig LoadCliConfig(const CliOptions& options) {
    const ConfigLocation location = FindConfigFile(DefaultConfigSearch(options.configPath));
    const Language early = LanguageBeforeConfig(options);
    if (!QFileInfo(location.path).isFile()) {
        const QString text = early.translate("Cli", "cannot read the configuration %1").arg(location.path);
        throw AppError(location.error.isEmpty() ? text
                                                : early.translate("Cli", "%1: %2").arg(text, location.error));
    }
    CliConfig config;
    config.path = location.path;
    const XmlDocument document = XmlDocument::openForWriting(location.path);
    const XmlNode root = document.findRoot();
    if (root.isNull())
        throw AppError(early.translate("Cli", "%1 has no element TERVALON").arg(location.path));
    config.model = ParameterModel::fromDocument(document);
    config.port = PortSettingsOf(root.findChild(QStringLiteral("COMM")));
    const XmlNode language = root.findChild(QStringLiteral("LANGUAGE"));
    if (!language.isNull() && attr(language, QStringLiteral("value")) == QLatin1String("EN"))
        config.languageCode = QStringLiteral("EN");
    if (!options.lang.isEmpty())
        config.languageCode =
            options.lang == QLatin1String("en") ? QStringLiteral("EN") : QStringLiteral("CN");
    QStringList captions;
    ReadBatchCommands(root.findChild(QStringLiteral("CMDS")), config.batches, captions);
    config.polledPages = readPolledPages(root, config.language());

    const std::pair<const QString*, QString*> overrides[] = {{&options.port, &config.port.port},
                                                             {&options.baud, &config.port.baud},
                                                             {&options.parity, &config.port.parity},
                                                             {&options.dataBits, &config.port.dataBits},
                                                             {&options.stopBits, &config.port.stopBits}};
    for (const auto& [given, setting] : overrides)
        if (!given->isEmpty())
            *setting = *given;
    return config;
}
