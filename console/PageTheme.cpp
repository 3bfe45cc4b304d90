#include "console/PageTheme.h"

#include "config/AppError.h"

#include <QStringList>

// Until the theme manager is in the tree, the configured name is only checked against the
// names it will offer, so a configuration that starts now also starts with real themes.
void applyConfiguredTheme(const QString& name) {
    static const QStringList known = {
        "Windows",
        "Amakrits",
        "Amethyst Kamri",
        "Aqua Graphite",
        "Aqua Light Slate",
        "Auric",
        "Carbon",
        "Charcoal Dark Slate",
        "Cobalt XEMedia",
        "Cyan Dusk",
        "Cyan Night",
        "Emerald Light Slate",
        "Glossy",
        "Glow",
        "Golden Graphite",
        "Iceberg Classico",
        "Lavender Classico",
        "Light",
        "Luna",
        "Metropolis UI Black",
        "Metropolis UI Blue",
        "Metropolis UI Dark",
        "Metropolis UI Green",
        "Obsidian",
        "Onyx Blue",
        "Ruby Graphite",
        "Sapphire Kamri",
        "Silver",
        "Sky",
        "Slate Classico",
        "Smokey Quartz Kamri",
        "Tablet Light",
        "TabletDark",
        "Turquoise Gray",
        "Windows10",
        "Windows10 Blue",
        "Windows10 Dark",
        "Windows10 Green",
        "Windows10 Purple",
        "Windows10 SlateGray",
    };
    if (!known.contains(name, Qt::CaseInsensitive))
        throw AppError(QStringLiteral("Style '%1' not found").arg(name));
}
