#include "variants/clsCardWars.h"

void clsCardWars::GameModule(QString& keyword, QString& line) {
    Q_UNUSED(keyword);
    Q_UNUSED(line);
}
