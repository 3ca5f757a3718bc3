#include "tables/clsChallengeBoxes.h"

void clsChallengeBoxes::ChallengeModule(QString& keyword, QString& line) {
    Q_UNUSED(keyword);
    Q_UNUSED(line);
}
