#include "admin/frmTournyHelper.h"

frmTournyHelper::frmTournyHelper() {
    setObjectName(QStringLiteral("frmTournyHelper"));
    setWindowTitle(QStringLiteral("Tournament Helper"));
}

// Not yet built: the tournament rounds come with the administration tools.
void frmTournyHelper::HandleMatch(const QString&, const QString&, int16_t, int16_t, int16_t) {}
void frmTournyHelper::RegisterPlayer(const QString&, bool) {}
