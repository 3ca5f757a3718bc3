#include "game/clsCVFunctions.h"

void clsCVFunctions::GameModule(QString& keyword, QString& line) {
    Q_UNUSED(keyword);
    Q_UNUSED(line);
}
