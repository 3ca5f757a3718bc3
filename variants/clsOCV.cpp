#include "variants/clsOCV.h"

void clsOCV::GameModule(QString& keyword, QString& line) {
    Q_UNUSED(keyword);
    Q_UNUSED(line);
}
