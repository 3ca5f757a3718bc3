#include "game/frmplaying.h"

frmplaying::frmplaying() { setObjectName(QStringLiteral("frmplaying")); }

