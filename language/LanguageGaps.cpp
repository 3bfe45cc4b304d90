#include "language/LanguageGaps.h"

namespace {
constexpr int kNamedGaps = 5;
} // namespace

void LanguageGaps::addAttribute(const QString& group, const QString& name, const QString& attribute) {
    addLine(QStringLiteral("%1 name=\"%2\": %3").arg(group, name, attribute));
}

void LanguageGaps::addGroup(const QString& group) {
    addLine(QStringLiteral("COMPONETS/%1").arg(group));
}

void LanguageGaps::addLine(const QString& line) {
    if (!m_lines.contains(line))
        m_lines << line;
}

QStringList takeUnreported(const LanguageGaps& gaps, QSet<QString>* reported) {
    QStringList fresh;
    for (const QString& line : gaps.lines())
        if (!reported->contains(line)) {
            reported->insert(line);
            fresh << line;
        }
    return fresh;
}

QString languageGapsMessage(Language language, const QStringList& lines) {
    QString text = language.translate("LanguageGaps",
                                      "The language table in config.xml lacks the following; the controls "
                                      "concerned show their built-in texts or keep the ones they had:");
    for (int i = 0; i < lines.size() && i < kNamedGaps; ++i)
        text += QLatin1Char('\n') + lines[i];
    const qsizetype more = lines.size() - kNamedGaps;
    if (more > 0)
        text += QLatin1Char('\n') + language.translate("LanguageGaps", "and %n more", nullptr, int(more));
    return text;
}
