#include "variants/clsTeamOCV.h"

#include "platform/Forms.h"
#include "tables/frmchallengebox.h"
#include "tables/frmchallengewaiting.h"

void clsTeamOCV::GameModule(QString& keyword, QString& line) {
    Q_UNUSED(line);
    // The game's first line closes what led to it, without a word to the server.
    if (keyword == QLatin1String("TEAM_OCVSTARTER")) {
        unload<frmchallengebox>();
        unload<frmchallengewaiting>();
    }
}
