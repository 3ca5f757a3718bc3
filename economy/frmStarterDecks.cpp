#include "economy/frmStarterDecks.h"

#include "app/RunQuery.h"

frmStarterDecks::frmStarterDecks() {
    setObjectName(QStringLiteral("frmStarterDecks"));
    setWindowTitle(QStringLiteral("Starter Decks"));
}
void frmStarterDecks::RefreshGrid() {}

void frmStarterDecks::LoadCombo() {
    QString call = QStringLiteral("call sps_FindStarterDecks()");
    RunQuery(call);
}
