#include "economy/frmAvatars.h"

#include "app/RunQuery.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat.h"

frmAvatars::frmAvatars() {
    setObjectName(QStringLiteral("frmAvatars"));
    setWindowTitle(QStringLiteral("Zorvium General Store"));
}

void frmAvatars::AvatarGridRefresh(const QString& kind) {
    const frmchildchat* lobby = ifLoaded<frmchildchat>();
    const QString gender = lobby ? lobby->AvatarGender() : QString();
    QString call = QStringLiteral("call sps_GetAvatars('") + SqlQuote(gender) + QStringLiteral("', '") + SqlQuote(kind) + QStringLiteral("')");
    RunQuery(call);
}

void frmAvatars::AvatarInventoryRefresh() {
    QString call = QStringLiteral("call sps_GetAvatarInventory('") + SqlQuote(Nickname) + QStringLiteral("')");
    RunQuery(call);
}
