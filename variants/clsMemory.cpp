#include "variants/clsMemory.h"

void clsMemory::GameModule(QString& keyword, QString& line) {
    Q_UNUSED(keyword);
    Q_UNUSED(line);
}
