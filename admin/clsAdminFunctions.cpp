#include "admin/clsAdminFunctions.h"

void clsAdminFunctions::IncomingModule(QString& keyword, QString& line) {
    Q_UNUSED(keyword);
    Q_UNUSED(line);
}
