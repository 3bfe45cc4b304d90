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

QString languageGapsMessage(const QString& languageCode, const QStringList& lines) {
    const bool english = languageCode == QLatin1String("EN");
    QString text = english ? QStringLiteral("The language table in config.xml lacks the following; the "
                                            "controls concerned keep their texts:")
                           : QStringLiteral("config.xml 的语言表缺少以下内容，相关控件保留原有文字：");
    for (int i = 0; i < lines.size() && i < kNamedGaps; ++i)
        text += u'\n' + lines[i];
    const qsizetype more = lines.size() - kNamedGaps;
    if (more > 0)
        text +=
            english ? QStringLiteral("\nand %1 more").arg(more) : QStringLiteral("\n另有 %1 处").arg(more);
    return text;
}
