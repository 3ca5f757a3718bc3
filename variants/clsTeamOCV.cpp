#include "variants/clsTeamOCV.h"

void clsTeamOCV::GameModule(QString& keyword, QString& line) {
    Q_UNUSED(keyword);
    Q_UNUSED(line);
}
