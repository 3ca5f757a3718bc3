#include "variants/clsOCV.h"

#include "platform/Forms.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"

void clsOCV::GameModule(QString& keyword, QString& line) {
    Q_UNUSED(line);
    // The game's first line closes what led to it, without a word to the server.
    if (keyword == QLatin1String("OCVSTARTER")) {
        unload<frmchallengebox_single>();
        unload<frmchallengewaiting>();
    }
}
