#include "variants/clsChinchin.h"

void clsChinchin::GameModule(QString& keyword, QString& line) {
    Q_UNUSED(keyword);
    Q_UNUSED(line);
}
