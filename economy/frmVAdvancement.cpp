#include "economy/frmVAdvancement.h"

#include "app/RunQuery.h"
#include "app/modText.h"
#include "app/storedvars.h"

frmVAdvancement::frmVAdvancement() {
    setObjectName(QStringLiteral("frmVAdvancement"));
    setWindowTitle(QStringLiteral("Veteran Advancement"));
}

void frmVAdvancement::RefreshGrid() {
    const QString nick = SqlQuote(Nickname);
    QString grid = QStringLiteral("call sps_PlayerVA('") + nick + QStringLiteral("')");
    RunQuery(grid);
    QString figures = QStringLiteral("call sps_PlayerVAStats('") + nick + QStringLiteral("')");
    RunQuery(figures);
}
