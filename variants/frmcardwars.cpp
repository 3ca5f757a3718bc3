#include "variants/frmcardwars.h"

frmcardwars::frmcardwars() { setObjectName(QStringLiteral("frmcardwars")); }
