#include "net/clsUpdateFunctions.h"

void clsUpdateFunctions::IncomingModule(QString& keyword, QString& line) {
    Q_UNUSED(keyword);
    Q_UNUSED(line);
}
