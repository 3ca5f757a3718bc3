#include "tables/frmchallengewaiting.h"

frmchallengewaiting::frmchallengewaiting() { setObjectName(QStringLiteral("frmchallengewaiting")); }

