#include "economy/clsAvatars.h"

void clsAvatars::IncomingHandler(QString& keyword, QString& line) {
    Q_UNUSED(keyword);
    Q_UNUSED(line);
}
