#pragma once
// Small helpers the tournament window's files share.
#include "app/modText.h"

#include <QListWidget>
#include <QStringList>

namespace tourny {
inline QStringList entries(const QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i) out << l->item(i)->text();
    return out;
}
// A text argument of a stored-procedure call, quoted.
inline QString quoted(const QString& text) { return u'\'' + SqlQuote(text) + u'\''; }
}  // namespace tourny
