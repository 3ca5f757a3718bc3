#include "lobby/frmmenu.h"

frmmenu::frmmenu()
    : command(new QMenu(QStringLiteral("Command"), this)),
      mnuadmincontrols(command->addMenu(QStringLiteral("Admin Controls"))),
      mnuendmatches(new QMenu(QStringLiteral("Admin End Matches"), this)),
      mnuchallengemenu(new QMenu(QStringLiteral("Games"), this)),
      mnuTables(new QMenu(QStringLiteral("Tables"), this)) {
    setObjectName(QStringLiteral("frmmenu"));
    command->setObjectName(QStringLiteral("command"));
    mnuadmincontrols->setObjectName(QStringLiteral("mnuadmincontrols"));
    mnuadmincontrols->menuAction()->setVisible(false);
    mnuendmatches->setObjectName(QStringLiteral("mnuendmatches"));
    mnuchallengemenu->setObjectName(QStringLiteral("mnuchallengemenu"));
    mnuTables->setObjectName(QStringLiteral("mnuTables"));
}
