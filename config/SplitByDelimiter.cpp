#include "config/SplitByDelimiter.h"

void SplitByDelimiter(const QString& text, const QString& delimiter, QStringList* list) {
    if (!list)
        return;
    list->clear();
    if (delimiter.isEmpty()) {
        list->append(text);
        return;
    }
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(delimiter); at >= 0; at = text.indexOf(delimiter, from)) {
        list->append(text.mid(from, at - from));
        from = at + delimiter.size();
    }
    list->append(text.mid(from));
}
