#include "variants/clsChinchin.h"

#include "platform/Forms.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"

void clsChinchin::GameModule(QString& keyword, QString& line) {
    Q_UNUSED(line);
    // The game's first lines close what led to it, without a word to the server.
    if (keyword == QLatin1String("CHINCHINYES")) {
        unload<frmchallengebox_single>();
        unload<frmchallengewaiting>();
    } else if (keyword == QLatin1String("CHINCHINTURN")) {
        unload<frmchallengebox_single>();
    }
}
