#include "app/modSettings.h"

#include "app/storedvars.h"
#include "platform/Paths.h"

QString GetIniFile() {
    // Asked for on every chat line: both paths are remembered until the folders change.
    bool folder = false;
    knownClientPath(QStringLiteral("config"), &folder);
    if (!folder) EnsureFolder(QStringLiteral("config"));
    static QString nick, relative;
    if (relative.isEmpty() || nick != Nickname) {
        nick = Nickname;
        relative = QStringLiteral("config/") + Nickname + QStringLiteral(".cvc");
    }
    return knownClientPath(relative);
}

QString MainIniPath() { return clientPath(QStringLiteral("main.ini")); }
