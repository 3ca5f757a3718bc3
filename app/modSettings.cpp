#include "app/modSettings.h"

#include "app/storedvars.h"
#include "platform/Paths.h"

QString GetIniFile() {
    if (!FileExists(clientPath(QStringLiteral("config")))) EnsureFolder(QStringLiteral("config"));
    return clientPath(QStringLiteral("config/") + Nickname + QStringLiteral(".cvc"));
}

QString MainIniPath() { return clientPath(QStringLiteral("main.ini")); }
