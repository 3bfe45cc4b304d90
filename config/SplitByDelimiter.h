#pragma once

#include <QString>
#include <QStringList>

// Replaces the list's contents with the pieces of text between delimiters. The remainder is
// always added, so "" gives one empty piece and "a|" gives "a" and "". An empty delimiter
// never matches: the whole text is the one piece. A null list is left alone.
void SplitByDelimiter(const QString& text, const QString& delimiter, QStringList* list);
