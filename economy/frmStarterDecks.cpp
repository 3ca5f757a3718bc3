#include "economy/frmStarterDecks.h"

frmStarterDecks::frmStarterDecks() { setObjectName(QStringLiteral("frmStarterDecks")); }
void frmStarterDecks::RefreshGrid() {}
