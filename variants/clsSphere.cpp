#include "variants/clsSphere.h"

#include "platform/Forms.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"
#include "variants/frmsphere_setup.h"

void clsSphere::GameModule(QString& keyword, QString& line) {
    Q_UNUSED(line);
    // The game's first line closes what led to it, without a word to the server.
    if (keyword == QLatin1String("OBSTART")) {
        unload<frmchallengebox_single>();
        unload<frmchallengewaiting>();
        unload<frmsphere_setup>();
    }
}
