#include "appearance/ThemeManager.h"

#include "appearance/IndicatorStyle.h"

#include "ui/ControlLook.h"

#include "config/AppError.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QMetaEnum>
#include <QPointer>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleFactory>
#include <QToolTip>
#include <memory>
#include <vector>

// The themes live in a static library: without a reference from here the linker would drop
// their resource initialiser. Q_INIT_RESOURCE must be called outside any namespace.
static void initThemeResources() {
    Q_INIT_RESOURCE(themes);
}

namespace ThemeManager {
namespace {

struct Theme {
    QString name;     // registered name: menu caption and the value stored in the configuration
    QString resource; // embedded resource, :/themes/<resource>.qss
};

// Menu order. Spellings are deliberate: "TabletDark" has no space, "Tablet Light" has one.
const std::vector<Theme>& registry() {
    static const std::vector<Theme> themes = [] {
        initThemeResources();
        return std::vector<Theme>{
            {"Amakrits", "amakrits"},
            {"Amethyst Kamri", "amethystkamri"},
            {"Aqua Graphite", "aquagraphite"},
            {"Aqua Light Slate", "aqualightslate"},
            {"Auric", "auric"},
            {"Carbon", "carbon"},
            {"Charcoal Dark Slate", "charcoaldarkslate"},
            {"Cobalt XEMedia", "cobaltxemedia"},
            {"Cyan Dusk", "cyandusk"},
            {"Cyan Night", "cyannight"},
            {"Emerald Light Slate", "emeraldlightslate"},
            {"Glossy", "glossy"},
            {"Glow", "glow"},
            {"Golden Graphite", "goldengraphite"},
            {"Iceberg Classico", "icebergclassico"},
            {"Lavender Classico", "lavenderclassico"},
            {"Light", "light"},
            {"Luna", "luna"},
            {"Metropolis UI Black", "metropolisuiblack"},
            {"Metropolis UI Blue", "metropolisuiblue"},
            {"Metropolis UI Dark", "metropolisuidark"},
            {"Metropolis UI Green", "metropolisuigreen"},
            {"Obsidian", "obsidian"},
            {"Onyx Blue", "onyxblue"},
            {"Ruby Graphite", "rubygraphite"},
            {"Sapphire Kamri", "sapphirekamri"},
            {"Silver", "silver"},
            {"Sky", "sky"},
            {"Slate Classico", "slateclassico"},
            {"Smokey Quartz Kamri", "smokeyquartzkamri"},
            {"Tablet Light", "tabletlight"},
            {"TabletDark", "tabletdark"},
            {"Turquoise Gray", "turquoisegray"},
            {"Windows10", "windows"},
            {"Windows10 Blue", "windowsblue"},
            {"Windows10 Dark", "windowsdark"},
            {"Windows10 Green", "windowsgreen"},
            {"Windows10 Purple", "windowspurple"},
            {"Windows10 SlateGray", "windowsslategray"},
        };
    }();
    return themes;
}

QString g_current;

[[noreturn]] void notFound(const QString& name) {
    throw AppError(QString("Style '%1' not found").arg(name), AppError::Kind::Value);
}

bool isSystemLook(const QString& name) {
    return name.compare(SystemLook, Qt::CaseInsensitive) == 0;
}

const Theme* findTheme(const QString& name) {
    for (const Theme& theme : registry()) {
        if (theme.name.compare(name, Qt::CaseInsensitive) == 0)
            return &theme;
    }
    return nullptr;
}

const QPalette& fusionPalette() {
    static const QPalette palette = [] {
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
        return fusion->standardPalette();
    }();
    return palette;
}

struct LoadedTheme {
    QPalette palette;
    QString styleSheet;
};

QColor blend(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

// The palette is the block of "Role #rrggbb" lines after the word "palette" in the sheet's
// leading comment. Roles it leaves out keep Fusion's values; disabled text is derived so that
// greyed-out controls read as such on every background.
QPalette parsePalette(const Theme& theme, const QString& sheet) {
    const qsizetype end = sheet.indexOf("*/");
    const qsizetype start =
        sheet.indexOf(QRegularExpression("^\\s*palette\\s*$", QRegularExpression::MultilineOption));
    if (!sheet.startsWith("/*") || start < 0 || end < start)
        throw AppError(QString("Style '%1' has no palette").arg(theme.name));

    const QMetaEnum roles = QMetaEnum::fromType<QPalette::ColorRole>();
    static const QRegularExpression line("^\\s*(\\w+)\\s+(#[0-9a-fA-F]{6})\\s*$");
    QPalette palette = fusionPalette();
    int seen = 0;
    for (const QString& text : sheet.mid(start, end - start).split('\n')) {
        const QRegularExpressionMatch m = line.match(text);
        if (!m.hasMatch())
            continue;
        bool ok = false;
        const int role = roles.keyToValue(m.captured(1).toLatin1().constData(), &ok);
        if (!ok)
            throw AppError(
                QString("Style '%1' names an unknown palette role %2").arg(theme.name, m.captured(1)));
        palette.setColor(QPalette::All, QPalette::ColorRole(role), QColor(m.captured(2)));
        ++seen;
    }
    if (seen == 0)
        throw AppError(QString("Style '%1' has no palette").arg(theme.name));

    const std::pair<QPalette::ColorRole, QPalette::ColorRole> greyed[] = {
        {QPalette::WindowText, QPalette::Window},
        {QPalette::Text, QPalette::Base},
        {QPalette::ButtonText, QPalette::Button},
    };
    for (const auto& [fore, back] : greyed)
        palette.setColor(QPalette::Disabled, fore, blend(palette.color(fore), palette.color(back), 0.55));
    return palette;
}

const LoadedTheme& load(const Theme& theme) {
    static QHash<QString, LoadedTheme> cache;
    auto it = cache.find(theme.resource);
    if (it != cache.end())
        return *it;
    QFile file(":/themes/" + theme.resource + ".qss");
    if (!file.open(QIODevice::ReadOnly))
        notFound(theme.name);
    const QString sheet = QString::fromUtf8(file.readAll());
    return *cache.insert(theme.resource, LoadedTheme{parsePalette(theme, sheet), sheet});
}

// Set once: with a style sheet active QApplication::style() is the sheet's wrapper, so the
// style cannot be asked whether it is Fusion. The pointer clears if someone else replaces
// the application's style, which deletes ours.
void useFusion() {
    static QPointer<QStyle> fusion;
    if (!fusion) {
        fusion = new IndicatorStyle;
        QApplication::setStyle(fusion);
    }
}

} // namespace

QStringList themeNames() {
    QStringList names;
    for (const Theme& theme : registry())
        names << theme.name;
    return names;
}

QPalette themePalette(const QString& name) {
    if (isSystemLook(name))
        return fusionPalette();
    const Theme* theme = findTheme(name);
    if (!theme)
        notFound(name);
    return load(*theme).palette;
}

QString themeStyleSheet(const QString& name) {
    if (isSystemLook(name))
        return {};
    const Theme* theme = findTheme(name);
    if (!theme)
        notFound(name);
    return load(*theme).styleSheet;
}

void applyTheme(const QString& name) {
    // Everything that can fail happens before the application is touched.
    QPalette palette;
    QString sheet;
    QString registered;
    if (isSystemLook(name)) {
        palette = themePalette(SystemLook);
        registered = SystemLook;
    } else {
        const Theme* theme = findTheme(name);
        if (!theme)
            notFound(name);
        const LoadedTheme& loaded = load(*theme);
        palette = loaded.palette;
        sheet = loaded.styleSheet;
        registered = theme->name;
    }

    useFusion();
    // The palette goes first: the sheet's palette() references are resolved when the sheet
    // repolishes the widgets, and must see the new colours.
    QApplication::setPalette(palette);
    QToolTip::setPalette(palette);
    qApp->setStyleSheet(sheet);
    g_current = registered;
    // The window's coloured texts follow, so that they stay readable on the new background.
    refreshControlLooks();
}

QString currentTheme() {
    return g_current;
}

} // namespace ThemeManager
