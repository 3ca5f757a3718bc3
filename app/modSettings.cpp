#include "app/modSettings.h"

#include "app/storedvars.h"
#include "platform/Paths.h"

QString GetIniFile() {
    // Asked for on every chat line: both paths are remembered until the folders change.
    bool folder = false;
    knownClientPath(QStringLiteral("config"), &folder);
    if (!folder) EnsureFolder(QStringLiteral("config"));
    return knownClientPath(QStringLiteral("config/") + Nickname + QStringLiteral(".cvc"));
}

QString MainIniPath() { return clientPath(QStringLiteral("main.ini")); }
