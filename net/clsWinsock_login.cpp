// The dispatcher's handlers of the login conversation and of a completed reconnect.
#include "app/modSettings.h"
#include "app/storedvars.h"
#include "lobby/fancychat.h"
#include "net/clsWinsock.h"
#include "net/frmCon.h"
#include "net/frmConnect.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/VbCompat.h"

void clsWinsock::QueryReconnectPlayers() {
    frmConnect* connect = form<frmConnect>();
    connect->GetReconnectPlayers();
    PrintChatLine(QStringLiteral("Reconnected"), QString(), QStringLiteral("Reconnect Successful"), 65535);
    if (frmCon* con = ifLoaded<frmCon>()) con->iAttempts = 0;
    unload<frmConnect>();
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
    int16_t attempts = 0;
    // A number outside 16 bits or no number at all gives no reconnects, as an unreadable setting does.
    if (!tryInt16(QString::number(vbVal(limit), 'f', 0), attempts)) attempts = 0;
    ClientConfig().ReconnectAttempts(attempts);
}
