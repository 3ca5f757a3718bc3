#include "net/clsLoadGame.h"

#include "app/ErrorHandler.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "net/frmConnect.h"
#include "net/frmstart.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/Services.h"

void clsLoadGame::IncomingHandler(QString& keyword, QString& line) {
    Q_UNUSED(line);
    if (keyword == QLatin1String("LOADGAME-ONLINE"))
        LoadGameOnline();
    else if (keyword == QLatin1String("LOADGAME-NOSUCHNICK"))
        LoadGameNoSuchNick();
    else if (keyword == QLatin1String("LOADGAME-WRONGPASS"))
        LoadGameWrongPass();
    else if (keyword == QLatin1String("LOADGAME-OK"))
        LoadGameOK();
}

void clsLoadGame::refused() {
    resumeNext([] {
        if (frmstart* login = ifLoaded<frmstart>()) login->cmdLogin->Enabled(true);
    });
    resumeNext([] {
        if (frmConnect* c = ifLoaded<frmConnect>()) c->Timer1->stop();
    });
    resumeNext([] { unload<frmConnect>(); });
    resumeNext([] {
        if (frmCon* con = ifLoaded<frmCon>()) con->Winsock->Close();
    });
}

void clsLoadGame::LoadGameOnline() {
    MsgBox(QStringLiteral("There is currently someone logged on as the nickname you provided.  Wait for them to timeout "
                          "(5 minutes) or reboot to close your sockets if the problem persists."),
           vb::Information, QStringLiteral("User already online"));
    refused();
}

void clsLoadGame::LoadGameNoSuchNick() {
    MsgBox(QStringLiteral("The nickname you gave dosen't exist on the server. If you want to register your account, use "
                          "the New Account option. If your account does exist, check the typo and if it's ok, mail the support."),
           vb::Critical, QStringLiteral("Error"));
    refused();
}

void clsLoadGame::LoadGameWrongPass() {
    MsgBox(QStringLiteral("The password you gave was wrong. Please check the typo and try again."), vb::Critical,
           QStringLiteral("Error"));
    refused();
}

void clsLoadGame::LoadGameOK() {
    const QString file = clientPath(QStringLiteral("config/") + ClientConfig().Username() + QStringLiteral(".cvc"));
    resumeNext([] {
        if (frmConnect* c = ifLoaded<frmConnect>()) c->Timer1->stop();
    });
    resumeNext([] {
        if (frmConnect* c = ifLoaded<frmConnect>()) c->ProgressBar(40);
    });
    resumeNext([&] { WriteIni(QStringLiteral("Challenge"), QStringLiteral("Decline"), QStringLiteral("0"), file); });
    resumeNext([] { Pause(0); });
    resumeNext([&] {
        const bool away = ReadIni(QStringLiteral("Away"), QStringLiteral("Status"), file) == QLatin1String("1");
        frmchildchat* lobby = form<frmchildchat>();
        lobby->mnuawayon->setChecked(away);
        lobby->mnuawayoff->setChecked(!away);
    });
    resumeNext([] {
        if (frmConnect* c = ifLoaded<frmConnect>()) c->ProgressBar(50);
    });
}
