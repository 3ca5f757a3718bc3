#include "variants/clsSphere.h"

void clsSphere::GameModule(QString& keyword, QString& line) {
    Q_UNUSED(keyword);
    Q_UNUSED(line);
}
