// The dispatcher's handlers of the login conversation and of a completed reconnect.
#include "app/modSettings.h"
#include "app/storedvars.h"
#include "lobby/fancychat.h"
#include "net/clsWinsock.h"
#include "net/frmCon.h"
#include "net/frmConnect.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/RuntimeError.h"
#include "platform/VbCompat.h"

#include <QPointer>

void clsWinsock::QueryReconnectPlayers() {
    // The lobby bring-up that the reload ends with unloads the window itself.
    QPointer<frmConnect> connect = form<frmConnect>();
    connect->GetReconnectPlayers();
    PrintChatLine(QStringLiteral("Reconnected"), QString(), QStringLiteral("Reconnect Successful"), 65535);
    if (frmCon* con = ifLoaded<frmCon>()) {
        con->iAttempts = 0;
        con->bReconnecting = false;
    }
    if (connect) unloadWidget(connect);
}

void clsWinsock::ShowMenu() {
    if (frmConnect* c = ifLoaded<frmConnect>()) c->ProgressBar(20);
    if (frmCon* con = ifLoaded<frmCon>())
        con->SendToServer(QStringLiteral("LOADGAME ") + ClientConfig().Username() + u' ' + ClientConfig().Password());
}

void clsWinsock::Motd(QString& line) {
    // A bare "MOTD" without its blank stores an empty message.
    ClientConfig().MOTD(line.mid(5));
}

void clsWinsock::ShowMain(QString& line) {
    ClientConfig().MainChatPacket(line);
    QString limit = ReadIni(QStringLiteral("Options"), QStringLiteral("Reconnect"), GetIniFile());
    if (limit.isEmpty()) limit = QStringLiteral("10");
    // No number, or one outside 16 bits, gives no reconnects, as an unreadable setting does.
    int16_t attempts = 0;
    try {
        attempts = vbCInt(vbVal(limit));
    } catch (const RuntimeError&) {
        attempts = 0;
    }
    ClientConfig().ReconnectAttempts(attempts);
}
