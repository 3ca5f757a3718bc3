#include "economy/clsAA.h"

void clsAA::AAModule(QString& keyword, QString& line) {
    Q_UNUSED(keyword);
    Q_UNUSED(line);
}
