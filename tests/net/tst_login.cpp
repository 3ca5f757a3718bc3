// The login road against a fake game server and a fake web service: the login window's checks,
// the connect window's steps and time-out, the refusals, the web-service fallback and the
// update path, up to the hand-over to the lobby.
#include "LoginDriver.h"

#include "app/Deployment.h"
#include "platform/Ini.h"
#include "platform/Paths.h"

#include <QtTest>

namespace {
const QString kCharacterRule = QStringLiteral(
    "Please use only numbers (0 to 9) and letters (lower case or capitals) or a hyphen (-) for your nickname/password.");
const QString kTimeoutQuestion = QStringLiteral(
    "The server could not be reached. If outage continues, post on the forums on the CVX website or change the firewall "
    "port (+5 recommended) below the login boxes to try another port. You can also try clicking on server options and "
    "entering: play2.corvadex.net as the server IP with port of 4000. Would you automatically like to try to connect "
    "using another port (Recommended: Yes)?");
const QString kClosedBeforeLogin =
    QStringLiteral("The server closed the connection before the login was complete.  Please try again.");

QString privatePort(const LoginDriver& d) {
    return ReadIni(QStringLiteral("Proxy"), QStringLiteral("Port"), d.fx->path(QStringLiteral("config/private.txt")));
}
}  // namespace

class tst_login : public QObject {
    Q_OBJECT

private slots:
    void loadPreparesTheWindow() {
        LoginDriver d;
        d.fx->write(QStringLiteral("tmp5000.ini"), "[x]\n");
        d.fx->services.random->values = {0.5};
        ClientConfig().CurrentVersion(QStringLiteral("3.4.5.332"));
        BorderCoins[12] = {7, 3};
        CoreCoins[4] = {9, 1};
        frmstart* w = d.open();
        QCOMPARE(w->windowTitle(), QStringLiteral("Corvadex Login"));
        QVERIFY(w->isVisible());
        // The temporary file named by this load's number is gone; the folders are made.
        QVERIFY(!d.fx->exists(QStringLiteral("tmp5000.ini")));
        for (const char* folder : {"config", "logs", "data"}) QVERIFY(d.fx->exists(QString::fromLatin1(folder)));
        QCOMPARE(w->cmdLogin->ButtonCaption(), QStringLiteral("Login"));
        QCOMPARE(w->cmdNewUser->ButtonCaption(), QStringLiteral("New User"));
        QCOMPARE(w->cmdLostPassword->ButtonCaption(), QStringLiteral("Lost Pass"));
        QCOMPARE(w->cmdServerOptions->ButtonCaption(), QStringLiteral("Server Options"));
        QCOMPARE(w->Label4->text(), QStringLiteral("Firewall Port:"));
        QCOMPARE(w->txtlogin_password->echoMode(), QLineEdit::Password);
        // No port setting yet: 1024. The server is the deployment's (here the fake's).
        QCOMPARE(w->txtproxy_port->text(), QStringLiteral("1024"));
        QCOMPARE(w->server_ip, QStringLiteral("127.0.0.1"));
        QCOMPARE(w->server_port, QString::number(d.server.port()));
        QCOMPARE(Language, QStringLiteral("english"));
        QVERIFY(TableSlot(50) != nullptr);
        // The coin board's slots start afresh.
        QCOMPARE(BorderCoins.size(), size_t(17));
        QCOMPARE(CoreCoins.size(), size_t(5));
        QCOMPARE(BorderCoins[12].CoinValue, uint8_t(0));
        QCOMPARE(BorderCoins[12].CoinState, int16_t(0));
        QCOMPARE(CoreCoins[4].CoinValue, uint8_t(0));
        QCOMPARE(CoreCoins[4].CoinState, int16_t(0));
        QCOMPARE(ClientConfig().PacketBlock(), QStringLiteral("False"));
        QVERIFY(!w->Timer1->isActive());
        QVERIFY(w->lblCV->isVisible() && w->lblYV->isVisible());
        QCOMPARE(w->lblVersion->text(), QStringLiteral("3.4.5.332"));
        QVERIFY(!w->lblPatchlink->isVisible());
        // The marker entry of the private settings file is written once the folder exists.
        QVERIFY(!d.fx->exists(QStringLiteral("config/private.txt")));
        unload<frmstart>();
        d.open();
        QCOMPARE(ReadIni(QStringLiteral("Private"), QStringLiteral("127.0.0.1"), d.fx->path(QStringLiteral("config/private.txt"))),
                 QStringLiteral("2000"));
    }

    void patchLinkShowsOnAnyVersionDifference() {
        LoginDriver d;
        // The newest version unknown (no web site): nothing to patch to.
        ClientConfig().CurrentVersion(QString());
        QVERIFY(!d.open()->lblPatchlink->isVisible());
        unload<frmstart>();
        d.fx->write(QStringLiteral("Updater.exe"), "stub");
        // Plain text comparison: a difference of letter case counts.
        ClientConfig().Version(QStringLiteral("3.4.5a"));
        ClientConfig().CurrentVersion(QStringLiteral("3.4.5A"));
        frmstart* w = d.open();
        QVERIFY(w->lblPatchlink->isVisible());
        QCOMPARE(w->lblPatchlink->text(), QStringLiteral("Run the Patcher to Upgrade"));
        w->lblPatchlink_Click();
        QCOMPARE(d.fx->services.shell->started, QStringList{d.fx->path(QStringLiteral("Updater.exe"))});
        QCOMPARE(d.fx->services.lifecycle->ends, 1);
    }

    void focusStartsInTheNicknameAndTabWalksBoxesThenButtons() {
        LoginDriver d;
        frmstart* w = d.open();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w->txtlogin_username));
        const QList<QWidget*> expected = {w->txtlogin_password, w->txtproxy_port, w->cmdLogin,
                                          w->cmdNewUser,        w->cmdLostPassword, w->cmdServerOptions,
                                          w->txtlogin_username};
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void enterInThePasswordBoxLogsIn() {
        LoginDriver d;
        frmstart* w = d.open();
        d.type(QStringLiteral("kira"), QStringLiteral("secret1"));
        QCOMPARE(w->txtlogin_password->displayText(), QStringLiteral("*******"));
        QTest::keyClick(w->txtlogin_password, Qt::Key_Return);
        QVERIFY(!w->cmdLogin->Enabled());
        QVERIFY(d.connectWindow() && d.connectWindow()->isVisible());
        QCOMPARE(d.progress, QList<int>{0});
        QCOMPARE(ClientConfig().Username(), QStringLiteral("kira"));
        QCOMPARE(ClientConfig().Password(), QStringLiteral("secret1"));
    }

    void localChecks_data() {
        QTest::addColumn<QString>("nick");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("nickname");
        QTest::newRow("underscore") << "kira_x" << "pw1" << "" << kCharacterRule << "txtlogin_username" << "";
        QTest::newRow("blank in nickname") << "ki ra" << "pw1" << "" << kCharacterRule << "txtlogin_username" << "";
        QTest::newRow("letter outside A-Z") << QStringLiteral("k\u00e9ra") << "pw1" << "" << kCharacterRule
                                            << "txtlogin_username" << "";
        QTest::newRow("password character") << "kira" << "pw!1" << "" << kCharacterRule << "txtlogin_password" << "";
        QTest::newRow("both empty") << "" << "" << "Error" << "An username is required to login."
                                    << "txtlogin_username" << "";
        QTest::newRow("empty password") << "kira" << "" << "Error" << "A password is required to login."
                                        << "txtlogin_password" << "kira";
        const QString caps = QStringLiteral(
            "You may not login to Corvadex with an username in all capital letters.  Please turn off caps lock and try again.");
        QTest::newRow("capitals") << "ABC" << "pw1" << "Corvadex" << caps << "txtlogin_username" << "ABC";
        QTest::newRow("digits only") << "1234" << "pw1" << "Corvadex" << caps << "txtlogin_username" << "1234";
        QTest::newRow("digits and hyphen") << "12-4" << "pw1" << "Corvadex" << caps << "txtlogin_username" << "12-4";
    }

    void localChecks() {
        QFETCH(QString, nick);
        QFETCH(QString, password);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(QString, focus);
        QFETCH(QString, nickname);
        LoginDriver d;
        frmstart* w = d.open();
        Nickname.clear();
        d.type(nick, password, QStringLiteral("2345"));
        w->txtproxy_port->setFocus();
        w->cmdLogin_Click();
        QCOMPARE(d.dialogs().boxes.size(), 1);
        QCOMPARE(d.dialogs().boxes[0].title, title);
        QCOMPARE(d.dialogs().boxes[0].text, text);
        QCOMPARE(w->focusWidget()->objectName(), focus);
        QCOMPARE(Nickname, nickname);
        QVERIFY(w->cmdLogin->Enabled());
        // Nothing connects: the connect window stays idle.
        QCOMPARE(d.progress, QList<int>{});
        QCOMPARE(d.server.connections, 0);
        if (title == QLatin1String("Error") || title == QLatin1String("Corvadex"))
            QCOMPARE(form<frmCon>()->Winsock->LocalPort, 2345);  // set before the emptiness checks
    }

    void mixedCaseNicknamePasses() {
        LoginDriver d;
        QVERIFY(d.connect(QStringLiteral("aBC"), QStringLiteral("Pw-9")));
        QVERIFY(d.dialogs().boxes.isEmpty());
        QCOMPARE(Nickname, QStringLiteral("aBC"));
    }

    void portBox_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::newRow("80") << "80" << "1024";
        QTest::newRow("999") << "999" << "1024";
        QTest::newRow("no number") << "abc" << "1024";
        QTest::newRow("empty") << "" << "1024";
        QTest::newRow("1000") << "1000" << "1000";
        QTest::newRow("65535") << "65535" << "65535";
        QTest::newRow("65536") << "65536" << "1024";
        QTest::newRow("negative") << "-5" << "1024";
    }

    void portBox() {
        QFETCH(QString, typed);
        QFETCH(QString, after);
        LoginDriver d;
        frmstart* w = d.open();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->txtproxy_port->setFocus();
        w->txtproxy_port->setText(typed);
        // Leaving the box by Tab runs its check; a refused value keeps the focus in the box.
        QTest::keyClick(w->txtproxy_port, Qt::Key_Tab);
        QTRY_COMPARE(w->txtproxy_port->text(), after);
        QTRY_COMPARE(QApplication::focusWidget(), after == typed ? static_cast<QWidget*>(w->cmdLogin)
                                                               : static_cast<QWidget*>(w->txtproxy_port));
    }

    void highPortsLogIn() {
        // Ports are unsigned 16-bit: 40000 works and is recorded as the port setting.
        LoginDriver d;
        frmstart* w = d.open();
        d.type(QStringLiteral("kira"), QStringLiteral("secret1"), QStringLiteral("40000"));
        w->cmdLogin_Click();
        QVERIFY(d.dialogs().boxes.isEmpty());
        QCOMPARE(form<frmCon>()->Winsock->LocalPort, 40000);
        QCOMPARE(privatePort(d), QStringLiteral("40000"));
        QCOMPARE(ClientConfig().IP(), QStringLiteral("127.0.0.1"));
        QCOMPARE(ClientConfig().Port(), QString::number(d.server.port()));
        QCOMPARE(d.connectWindow()->connectState(), QStringLiteral("debut"));
    }

    void portOutsideSixteenBitsGivesTheLoginErrorAndLoginBack() {
        LoginDriver d;
        frmstart* w = d.open();
        d.type(QStringLiteral("kira"), QStringLiteral("secret1"), QStringLiteral("70000"));
        w->cmdLogin_Click();
        QCOMPARE(d.dialogs().boxes.size(), 1);
        QCOMPARE(d.dialogs().boxes[0].text, QStringLiteral("A login error occured.  Please restart the game client."));
        QCOMPARE(d.dialogs().boxes[0].title, QString());
        QVERIFY(w->cmdLogin->Enabled());
        QCOMPARE(d.progress, QList<int>{});
    }

    void serverOptions() {
        LoginDriver d;
        frmstart* w = d.open();
        const QString ip = w->server_ip, port = w->server_port;
        auto& dialogs = d.dialogs();
        // Cancel, "2" for the address, and "2" for the port all keep what was there.
        w->cmdServerOptions_Click();
        dialogs.type(QStringLiteral("2"));
        w->cmdServerOptions_Click();
        dialogs.type(QStringLiteral("10.1.2.3"));
        dialogs.type(QStringLiteral("2"));
        w->cmdServerOptions_Click();
        QCOMPARE(w->server_ip, ip);
        QCOMPARE(w->server_port, port);
        QCOMPARE(dialogs.titles(), QStringList(4, QStringLiteral("Server Options")));
        QCOMPARE(dialogs.boxes[0].text, QStringLiteral("Enter Server IP"));
        QCOMPARE(dialogs.boxes[3].text, QStringLiteral("Enter Server Port"));
        dialogs.clear();
        dialogs.type(QStringLiteral("10.1.2.3"));
        dialogs.type(QStringLiteral("4100"));
        w->cmdServerOptions_Click();
        QCOMPARE(w->server_ip, QStringLiteral("10.1.2.3"));
        QCOMPARE(w->server_port, QStringLiteral("4100"));
        QCOMPARE(dialogs.boxes.last().title, QStringLiteral("Information Saved"));
        QCOMPARE(dialogs.boxes.last().text, QStringLiteral("Information Saved.  You may now try to login"));
        QCOMPARE(dialogs.boxes.last().style, int(vb::Information));
        // Nothing is saved: a new load starts from the deployment's server again.
        unload<frmstart>();
        frmstart* again = d.open();
        QCOMPARE(again->server_ip, ip);
        QCOMPARE(again->server_port, port);
    }

    void linksOpenTheWebSite() {
        LoginDriver d;
        frmstart* w = d.open();
        w->cmdNewUser_Click();
        w->cmdLostPassword_Click();
        QCOMPARE(d.fx->services.shell->opened,
                 (QStringList{d.web.baseUrl() + QStringLiteral("/Register.aspx"), d.web.baseUrl() + QStringLiteral("/LostPassword.aspx")}));
    }

    void closingTheLoginWindowEndsTheProgram() {
        LoginDriver d;
        frmstart* w = d.open();
        w->close();
        QCOMPARE(d.fx->services.lifecycle->ends, 1);
        QVERIFY(!ifLoaded<frmstart>());
    }

    void unloadFromCodeKeepsTheProgramAndRemovesTheTemporaryFile() {
        LoginDriver d;
        d.fx->services.random->values = {0.25};
        frmstart* w = d.open();
        QCOMPARE(w->tempFileName(), QStringLiteral("tmp2500.ini"));
        d.fx->write(w->tempFileName(), "x");
        int cancel = 0;
        w->Form_Unload(cancel);
        QVERIFY(!ifLoaded<frmstart>());
        QVERIFY(!d.fx->exists(QStringLiteral("tmp2500.ini")));
        QCOMPARE(d.fx->services.lifecycle->ends, 0);
        // Through the window registry it goes the same way.
        const QString name = d.open()->tempFileName();
        d.fx->write(name, "x");
        unload<frmstart>();
        QVERIFY(!d.fx->exists(name));
        QCOMPARE(d.fx->services.lifecycle->ends, 0);
    }

    void loginThroughTheWebService() {
        LoginDriver d;
        ConnectionState = 0;
        QVERIFY(d.loginToLobby());
        QCOMPARE(d.progress.mid(0, 7), (QList<int>{0, 15, 20, 40, 50, 75, 85}));
        // The lobby bring-up ran once.
        QCOMPARE(d.progress.count(85), 1);
        QCOMPARE(d.server.lines.mid(0, 2), (QStringList{QStringLiteral("VERSION 3.4.5"), QStringLiteral("LOADGAME kira secret1")}));
        QVERIFY(!d.server.lines.contains(QStringLiteral("QUERYPLAYERS")));
        // The player list, then the guild window's board comments.
        QCOMPARE(d.web.commands(), (QStringList{QStringLiteral("call sps_GetPlayers()"),
                                                QStringLiteral("call sps_GetLatestGuildComments('Night Owls')")}));
        QVERIFY(d.dialogs().boxes.isEmpty());
        QCOMPARE(ClientConfig().MainChatPacket(), LoginDriver::showMain());
        QCOMPARE(ClientConfig().MOTD(), QStringLiteral("Welcome back"));
        QCOMPARE(ClientConfig().ReconnectAttempts(), int16_t(10));
        QCOMPARE(ClientConfig().XMLError(), int16_t(0));
        QCOMPARE(ReadIni(QStringLiteral("Challenge"), QStringLiteral("Decline"), d.fx->path(QStringLiteral("config/kira.cvc"))),
                 QStringLiteral("0"));
        // Two records differing only in case make one entry; an empty guild shows no brackets.
        QCOMPARE(playerEntries(), (QStringList{QStringLiteral("kira 12 <Wolves>"), QStringLiteral("Nyx 7")}));
        QCOMPARE(ifLoaded<frmchildchat>()->lblActive->text(), QStringLiteral("2"));
        frmchildchat* lobby = ifLoaded<frmchildchat>();
        QVERIFY(!lobby->mnuawayon->isChecked());
        QVERIFY(lobby->mnuawayoff->isChecked());
    }

    void awayStatusOfTheUserFileChecksTheAwayItem() {
        LoginDriver d;
        d.fx->write(QStringLiteral("config/kira.cvc"), "[Away]\r\nStatus=1\r\n[Options]\r\nReconnect=3\r\n");
        QVERIFY(d.loginToLobby());
        QVERIFY(ifLoaded<frmchildchat>()->mnuawayon->isChecked());
        QVERIFY(!ifLoaded<frmchildchat>()->mnuawayoff->isChecked());
        QCOMPARE(ClientConfig().ReconnectAttempts(), int16_t(3));
    }

    void refusals_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("serverCloses");
        const QString online = QStringLiteral(
            "There is currently someone logged on as the nickname you provided.  Wait for them to timeout (5 minutes) or "
            "reboot to close your sockets if the problem persists.");
        const QString nosuch = QStringLiteral(
            "The nickname you gave dosen't exist on the server. If you want to register your account, use the New Account "
            "option. If your account does exist, check the typo and if it's ok, mail the support.");
        const QString wrong = QStringLiteral("The password you gave was wrong. Please check the typo and try again.");
        QTest::newRow("online") << "LOADGAME-ONLINE" << "User already online" << int(vb::Information) << online << false;
        QTest::newRow("no such nick") << "LOADGAME-NOSUCHNICK" << "Error" << int(vb::Critical) << nosuch << false;
        QTest::newRow("wrong password") << "LOADGAME-WRONGPASS" << "Error" << int(vb::Critical) << wrong << false;
        // A server that closes right after its refusal: the refusal speaks, nothing else.
        QTest::newRow("wrong password, then closed") << "LOADGAME-WRONGPASS" << "Error" << int(vb::Critical) << wrong << true;
        QTest::newRow("online, then closed") << "LOADGAME-ONLINE" << "User already online" << int(vb::Information) << online
                                             << true;
    }

    void refusals() {
        QFETCH(QString, reply);
        QFETCH(QString, title);
        QFETCH(int, style);
        QFETCH(QString, text);
        QFETCH(bool, serverCloses);
        LoginDriver d;
        QVERIFY(d.connect());
        QVERIFY(d.authenticate());
        d.server.send(reply);
        if (serverCloses) d.server.dropClient();
        QVERIFY(QTest::qWaitFor([&] { return !d.connectWindow(); }, 5000));
        QVERIFY(d.server.waitForDisconnect());
        QTest::qWait(100);
        QCOMPARE(d.dialogs().boxes.size(), 1);
        QCOMPARE(d.dialogs().boxes[0].title, title);
        QCOMPARE(d.dialogs().boxes[0].style, style);
        QCOMPARE(d.dialogs().boxes[0].text, text);
        QVERIFY(d.login->cmdLogin->Enabled());
        QCOMPARE(d.con()->Winsock->State(), int(SocketControl::sckClosed));
        QCOMPARE(ConnectionState, int16_t(0));
        QCOMPARE(d.fx->services.lifecycle->ends, 0);
        QCOMPARE(d.progress, (QList<int>{0, 15, 20}));
        // The player may log in again at once.
        d.progress.clear();
        d.watchProgress();
        const int before = d.server.connections;
        QVERIFY(d.connect());
        QCOMPARE(d.server.connections, before + 1);
        QCOMPARE(d.progress, (QList<int>{0, 15}));
    }

    void serverClosingWhileTheRefusalIsReadAddsNoSecondBox() {
        // The server hangs up while the player still reads its refusal (the box's own event
        // loop runs meanwhile): the refusal alone explains the end of the attempt.
        LoginDriver d;
        QVERIFY(d.connect());
        QVERIFY(d.authenticate());
        bool dropped = false;
        d.dialogs().onBox = [&](const BoxRecord&) {
            if (dropped) return;
            dropped = true;
            d.server.dropClient();
            QTest::qWait(400);
        };
        d.server.send(QStringLiteral("LOADGAME-WRONGPASS"));
        QVERIFY(QTest::qWaitFor([&] { return dropped && !d.connectWindow(); }, 5000));
        QTest::qWait(300);
        QCOMPARE(d.dialogs().titles(), QStringList{QStringLiteral("Error")});
        QVERIFY(d.login->cmdLogin->Enabled());
        QVERIFY(d.login->isVisible());
        QCOMPARE(d.con()->Winsock->State(), int(SocketControl::sckClosed));
        QCOMPARE(d.fx->services.lifecycle->ends, 0);
        // The player may log in again at once.
        QVERIFY(d.connect());
    }

    void unknownLoadGameRepliesAndLowerCaseAreIgnored() {
        LoginDriver d;
        QVERIFY(d.connect());
        QVERIFY(d.authenticate());
        d.server.sendLines({QStringLiteral("LOADGAME-MAYBE"), QStringLiteral("loadgame-ok"), QStringLiteral("PING")});
        QVERIFY(d.server.waitForLine(QStringLiteral("PING")));
        QVERIFY(d.dialogs().boxes.isEmpty());
        QCOMPARE(d.progress, (QList<int>{0, 15, 20}));
        // The connect time-out still runs.
        QVERIFY(d.connectWindow()->Timer1->isActive());
        QCOMPARE(d.connectWindow()->connectState(), QStringLiteral("connecting"));
    }

    void serverClosingBeforeLoginReturnsToTheLoginWindow() {
        LoginDriver d;
        QVERIFY(d.connect());
        d.server.dropClient();
        QVERIFY(QTest::qWaitFor([&] { return !d.connectWindow(); }, 5000));
        QCOMPARE(d.dialogs().boxes.size(), 1);
        QCOMPARE(d.dialogs().boxes[0].text, kClosedBeforeLogin);
        QVERIFY(d.login->cmdLogin->Enabled());
        QVERIFY(d.login->isVisible());
        QCOMPARE(d.fx->services.lifecycle->ends, 0);
        QCOMPARE(d.con()->Winsock->State(), int(SocketControl::sckClosed));
    }

    void closeWithoutTheLoginWindowEndsTheProgram() {
        // The login window is gone (the lobby bring-up under way) and the link drops before
        // ConnectionState says logged in: the old goodbye, then the end.
        LoginDriver d;
        QVERIFY(d.connect());
        int cancel = 0;
        d.login->Form_Unload(cancel);
        d.server.dropClient();
        QVERIFY(QTest::qWaitFor([&] { return d.fx->services.lifecycle->ends > 0; }, 5000));
        QCOMPARE(d.dialogs().boxes.size(), 1);
        QCOMPARE(d.dialogs().boxes[0].title, QStringLiteral("Corvadex"));
        QVERIFY(d.dialogs().boxes[0].text.startsWith(QStringLiteral("You were disconnected from the game server.")));
    }

    void webServiceDown_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("refused") << 0;
        QTest::newRow("error 500") << 1;
        QTest::newRow("not xml") << 2;
        QTest::newRow("no schema") << 3;
        QTest::newRow("no rows") << 4;
    }

    void webServiceDown() {
        QFETCH(int, kind);
        LoginDriver d;
        d.web.clearAnswers();
        switch (kind) {
        case 0: d.web.setMode(FakeWebService::Mode::Refuse); break;
        case 1: d.web.setMode(FakeWebService::Mode::Error500); break;
        case 2: d.web.setMode(FakeWebService::Mode::Garbage); break;
        case 3: d.web.answer(QStringLiteral("call sps_GetPlayers()"), FakeWebService::Reply{}); break;
        case 4:
            d.web.answer(QStringLiteral("call sps_GetPlayers()"),
                         FakeWebService::Reply{{{QStringLiteral("Player"), QStringLiteral("string")}}, {}});
            break;
        }
        QVERIFY(d.connect());
        QVERIFY(d.authenticate());
        d.server.sendLines({QStringLiteral("LOADGAME-OK"), LoginDriver::showMain(), QStringLiteral("MOTD hi"),
                            QStringLiteral("QUERYPLAYERS")});
        QVERIFY(d.server.waitForLine(QStringLiteral("QUERYPLAYERS")));
        QCOMPARE(d.progress, (QList<int>{0, 15, 20, 40, 50, 75, 80}));
        QCOMPARE(d.connectWindow()->status(), QStringLiteral("Could Not Contact Service, Asking Server for Player List"));
        QCOMPARE(ClientConfig().XMLError(), int16_t(-1));
        // The players come as lines; the lobby waits for the end of the list.
        d.server.sendLines({QStringLiteral("NEWPLAYER2 0 x y Gold kira%2012"), QStringLiteral("NEWPLAYER2 1 t b Diamond Nyx"),
                            QStringLiteral("NEWPLAYER2 0 x y Gold KIRA"), QStringLiteral("NEWPLAYER2 0 x y Gold %20")});
        QVERIFY(QTest::qWaitFor([] { return playerEntries().size() == 2; }, 5000));
        QTest::qWait(300);
        QCOMPARE(playerEntries(), (QStringList{QStringLiteral("kira 12"), QStringLiteral("Nyx")}));
        QCOMPARE(ifLoaded<frmchildchat>()->lblActive->text(), QStringLiteral("2"));
        QVERIFY(!d.progress.contains(85));
        d.server.send(QStringLiteral("PLAYERSLOADED"));
        QVERIFY(d.handedOver());
        QCOMPARE(d.progress.count(85), 1);
        QVERIFY(d.dialogs().boxes.isEmpty());
    }

    void updateOnConnect() {
        LoginDriver d;
        d.fx->write(QStringLiteral("Updater.exe"), "stub");
        QVERIFY(d.connect());
        d.server.send(QStringLiteral("UPDATE"));
        QVERIFY(QTest::qWaitFor([&] { return d.fx->services.lifecycle->ends > 0; }, 5000));
        QCOMPARE(d.dialogs().boxes[0].title, QStringLiteral("Update Is Available!"));
        QCOMPARE(d.dialogs().boxes[0].text,
                 QStringLiteral("An update is available, please run the updater, reinstall, or visit the forums. Please go to ") +
                     d.web.baseUrl() + QStringLiteral(" and download the update file or run the patcher."));
        QCOMPARE(d.fx->services.shell->started, QStringList{d.fx->path(QStringLiteral("Updater.exe"))});
    }

    void connectWindowLooksAndSteps() {
        LoginDriver d;
        frmConnect* c = form<frmConnect>();
        QCOMPARE(c->windowTitle(), QStringLiteral("Connection Status"));
        QCOMPARE(c->lblProgress->text(), QStringLiteral("0%"));
        QCOMPARE(c->status(), QStringLiteral("Connecting to the Server...."));
        QVERIFY(c->Timer1->isActive());
        QCOMPARE(c->Timer1->interval(), 1800);
        // Its ticks before a Connect do nothing.
        c->Timer1_Timer();
        QCOMPARE(d.server.connections, 0);
        const QList<std::pair<int, QString>> steps = {
            {0, QStringLiteral("Attempting to Connect to the Server")},
            {15, QStringLiteral("Connected, Preparing to Authenticate")},
            {20, QStringLiteral("Authenticating")},
            {40, QStringLiteral("Authenticated")},
            {50, QStringLiteral("Waiting for Additional Information from the Server")},
            {75, QStringLiteral("Getting Player List")},
            {80, QStringLiteral("Could Not Contact Service, Asking Server for Player List")},
            {85, QStringLiteral("Creating the Chat Interface")},
            {90, QStringLiteral("Getting Open Tables")},
        };
        for (const auto& [value, text] : steps) {
            c->ProgressBar(value);
            QCOMPARE(c->lblProgress->text(), QString::number(value) + u'%');
            QCOMPARE(c->status(), text);
            QCOMPARE(c->barProgress->value(), value);
        }
        // Values outside the table change the percentage only; a negative one empties the text.
        c->ProgressBar(100);
        QCOMPARE(c->lblProgress->text(), QStringLiteral("100%"));
        QCOMPARE(c->status(), QStringLiteral("Getting Open Tables"));
        c->ProgressBar(-1);
        QCOMPARE(c->lblProgress->text(), QStringLiteral("-1%"));
        QCOMPARE(c->status(), QString());
        QCOMPARE(d.fx->services.clock->pauses.count(0), steps.size() + 2);
        // The skin's loading picture is drawn behind the texts.
        const QImage shot = c->grab().toImage();
        const QImage picture(d.fx->path(QStringLiteral("skins/default/loadingscreen.jpg")));
        QCOMPARE(c->size(), picture.size());
        QVERIFY(qAbs(qGray(shot.pixel(8, 8)) - qGray(picture.pixel(8, 8))) < 24);
        QCOMPARE(ClientConfig().SkinOutofDate(), int16_t(0));
    }

    void missingLoadingPictureFallsBackToTheDefaultSkin() {
        LoginDriver d;
        d.fx->write(QStringLiteral("skins/dark.ini"), "[main]\r\ncardback=\\default\\cardback.jpg\r\ncursor=\\default\\cursor.gif\r\n"
                                                     "loadingscreen=\\dark\\missing.jpg\r\n[button]\r\nnormal=\\default\\button_normal.gif\r\n");
        SkinName = QStringLiteral("dark");
        frmConnect* c = form<frmConnect>();
        QVERIFY(!c->picBackground->pixmap().isNull());
        QCOMPARE(ClientConfig().SkinOutofDate(), int16_t(-1));
    }

    void connectWithoutHostOrPortGivesTheLoginBack() {
        LoginDriver d;
        frmstart* w = d.open();
        d.type(QStringLiteral("kira"), QStringLiteral("secret1"));
        w->server_ip.clear();
        w->server_port = QStringLiteral("4000");
        w->cmdLogin_Click();
        QVERIFY(!d.connectWindow());
        QVERIFY(w->cmdLogin->Enabled());
        QVERIFY(d.dialogs().boxes.isEmpty());
        QCOMPARE(d.progress, QList<int>{});
    }

    void timeoutQuestionRetriesFromANewPort() {
        LoginDriver d;
        const quint16 port = freeLocalPort();
        d.server.refuse();
        frmstart* w = d.open();
        d.type(QStringLiteral("kira"), QStringLiteral("secret1"), QString::number(port));
        w->cmdLogin_Click();
        frmConnect* c = d.connectWindow();
        c->Timer1_Timer();  // connects: refused, which leaves the time-out to ask
        QCOMPARE(c->Timer1->interval(), 25000);
        QTest::qWait(100);
        QVERIFY(d.dialogs().boxes.isEmpty());
        // 25 s later: the question. Draws outside 1000..19999 are drawn again.
        d.fx->services.random->values = {0.01, 0.9};
        d.dialogs().answer(vb::Yes);
        QVERIFY(d.server.listenAgain());
        c->Timer1_Timer();
        QCOMPARE(d.dialogs().boxes.size(), 1);
        QCOMPARE(d.dialogs().boxes[0].title, QStringLiteral("Server Cound Not Be Reached"));
        QCOMPARE(d.dialogs().boxes[0].text, kTimeoutQuestion);
        QCOMPARE(d.dialogs().boxes[0].style & 7, int(vb::YesNo));
        QCOMPARE(d.progress.mid(0, 2), (QList<int>{0, -1}));
        QCOMPARE(c->status(), QStringLiteral("Attempting to Connect to the Server"));
        QCOMPARE(d.progress.last(), 0);
        QCOMPARE(form<frmCon>()->Winsock->LocalPort, 18001);
        QCOMPARE(privatePort(d), QStringLiteral("18001"));
        QCOMPARE(c->connectState(), QStringLiteral("debut"));
        QCOMPARE(c->Timer1->interval(), 1000);
        QVERIFY(c->Timer1->isActive());
        c->Timer1_Timer();
        QVERIFY(d.server.waitForClient());
        QVERIFY(d.server.waitForLine(QStringLiteral("VERSION 3.4.5")));
        QCOMPARE(d.server.lastClientPort, quint16(18001));
    }

    void timeoutAnsweredNoAsksAgainEvery25Seconds() {
        LoginDriver d;
        d.server.refuse();
        d.begin();
        QPointer<frmConnect> c = d.connectWindow();
        d.dialogs().answer(vb::No);
        c->Timer1_Timer();
        QCOMPARE(d.dialogs().count(QStringLiteral("Server Cound Not Be Reached")), 1);
        QVERIFY(d.login->cmdLogin->Enabled());
        QCOMPARE(d.con()->Winsock->State(), int(SocketControl::sckClosed));
        // The window stays with its timer: 25 s later the question comes back.
        QVERIFY(c && c->isVisible());
        QCOMPARE(c->connectState(), QStringLiteral("connecting"));
        QVERIFY(c->Timer1->isActive());
        QCOMPARE(c->Timer1->interval(), 25000);
        d.dialogs().answer(vb::No);
        c->Timer1_Timer();
        QCOMPARE(d.dialogs().count(QStringLiteral("Server Cound Not Be Reached")), 2);
        QVERIFY(c && c->Timer1->isActive());
        QCOMPARE(d.fx->services.lifecycle->ends, 0);
        // Closing the window ends the asking.
        c->close();
        QTest::qWait(50);
        QVERIFY(!d.connectWindow());
    }

    void closingTheConnectWindowGivesTheLoginBack() {
        LoginDriver d;
        d.server.refuse();
        d.begin();
        d.connectWindow()->close();
        QVERIFY(!d.connectWindow());
        QVERIFY(d.login->cmdLogin->Enabled());
        QCOMPARE(d.con()->Winsock->State(), int(SocketControl::sckClosed));
    }

    void loginWindowLooksFinished() {
        LoginDriver d;
        ClientConfig().CurrentVersion(QStringLiteral("3.4.6.0"));
        frmstart* w = d.open();
        QVERIFY(w->lblPatchlink->isVisible());
        const QImage shot = w->grab().toImage();
        const QImage picture(d.fx->path(QStringLiteral("skins/default/login.jpg")));
        QCOMPARE(w->size(), picture.size());
        // The picture shows at a corner; every control lies inside the window.
        QVERIFY(qAbs(qGray(shot.pixel(4, 200)) - qGray(picture.pixel(4, 200))) < 24);
        for (QWidget* child : w->findChildren<QWidget*>()) {
            if (!child->isVisible() || child->parentWidget() != w) continue;
            QVERIFY2(w->rect().contains(child->geometry()), qPrintable(child->objectName()));
        }
        // The boxes and buttons do not overlap each other.
        const QList<QWidget*> controls = {w->txtlogin_username, w->txtlogin_password, w->txtproxy_port, w->cmdLogin,
                                          w->cmdNewUser,        w->cmdLostPassword,   w->cmdServerOptions, w->picFinished,
                                          w->lblCV,             w->lblCurrentVersion, w->lblYV,            w->lblVersion,
                                          w->lblPatchlink};
        for (int i = 0; i < controls.size(); ++i)
            for (int j = i + 1; j < controls.size(); ++j)
                QVERIFY2(!controls[i]->geometry().intersects(controls[j]->geometry()),
                         qPrintable(controls[i]->objectName() + u'/' + controls[j]->objectName()));
        const QByteArray shots = qgetenv("CORVADEX_SHOTS");
        if (!shots.isEmpty()) {
            shot.save(QString::fromLocal8Bit(shots) + QStringLiteral("/frmstart.png"));
            form<frmConnect>()->ProgressBar(50);
            form<frmConnect>()->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/frmConnect.png"));
        }
    }
};

QTEST_MAIN(tst_login)
#include "tst_login.moc"
