#include "lobby/frmMsgWind.h"

frmMsgWind::frmMsgWind() { setObjectName(QStringLiteral("frmMsgWind")); }
