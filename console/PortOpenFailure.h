#pragma once

#include "config/Language.h"

#include <QString>

// The line the port's opening message gains: what really stood in the way of opening
// commName (the serial component's failure startError, and the system's reason behind it),
// starting with a line break, in the given language.
QString openFailureReason(const QString& commName, const QString& startError, Language language);
