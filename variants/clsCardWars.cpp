#include "variants/clsCardWars.h"

#include "platform/Forms.h"
#include "tables/frmchallengebox_single.h"

void clsCardWars::GameModule(QString& keyword, QString& line) {
    Q_UNUSED(line);
    // The game's first line closes what led to it, without a word to the server.
    if (keyword == QLatin1String("CARDWARSLOAD")) {
        unload<frmchallengebox_single>();
    }
}
