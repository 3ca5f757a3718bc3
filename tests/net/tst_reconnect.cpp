// Connection loss and reconnection against a fake game server: the reconnect after a drop, the
// attempt limit (socket errors start the count afresh), a limit of zero, the ports drawn for a
// reconnect, and what the close and error events do before login and while quitting.
#include "LoginDriver.h"

#include "net/LocalPorts.h"
#include "platform/Ini.h"

#include <QtTest>

namespace {
const QString kMaxed = QStringLiteral(
    "You have reached the maximum attempts to reconnect with the server.  The application will now end.  If the server "
    "continues to be down or you cannot connect for a long period of time, contact technical support at "
    "support@corvadex.net");
const QString kZero = QStringLiteral(
    "You have lost connection with the server and have set the reconnection attempts as zero.  The application will now "
    "end.  If you wish to change this setting, relog and open configuration to change the value.");

QString lobbyLog() {
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    return lobby ? lobby->chatin->toPlainText() : QString();
}

// A client whose socket is connected to the fake server and which counts as logged in.
struct Session {
    LoginDriver d;
    QPointer<frmCon> con;

    explicit Session(int limit) {
        con = form<frmCon>();
        Nickname = QStringLiteral("kira");
        ClientConfig().Username(QStringLiteral("kira"));
        ClientConfig().Password(QStringLiteral("secret1"));
        ClientConfig().IP(QStringLiteral("127.0.0.1"));
        ClientConfig().Port(QString::number(d.server.port()));
        ClientConfig().ReconnectAttempts(int16_t(limit));
        con->Winsock->LocalPort = 0;
        con->Winsock->Connect(QStringLiteral("127.0.0.1"), d.server.port());
        if (!d.server.waitForClient() || !d.server.waitForLine(QStringLiteral("VERSION 3.4.5"))) qFatal("no session");
        ConnectionState = 1;
    }
    ScriptedDialogs& dialogs() { return d.dialogs(); }
    int ends() const { return d.fx->services.lifecycle->ends; }
    bool waitAttempt(int n) {
        return QTest::qWaitFor([&] { return con->iAttempts == n; }, 5000);
    }
    bool waitReconnectLine(int connections) {
        return QTest::qWaitFor([&] { return d.server.connections == connections; }, 5000) &&
               d.server.waitForLine(QStringLiteral("RECONNECT kira secret1"));
    }
};
}  // namespace

class tst_reconnect : public QObject {
    Q_OBJECT

private slots:
    void droppedConnectionReconnectsAndTheServerConfirms() {
        LoginDriver d;
        QVERIFY(d.loginToLobby());
        QCOMPARE(ConnectionState, int16_t(1));
        frmCon* con = d.con();
        d.server.lines.clear();
        d.fx->services.random->values = {0.5};
        d.server.dropClient();
        QVERIFY(QTest::qWaitFor([&] { return d.server.connections == 2; }, 5000));
        QVERIFY(d.server.waitForLine(QStringLiteral("RECONNECT kira secret1")));
        QCOMPARE(d.server.lastClientPort, quint16(2501));
        QCOMPARE(con->iAttempts, int16_t(1));
        QVERIFY(!con->IsReconnecting());
        QVERIFY(d.dialogs().boxes.isEmpty());
        // The server confirms: players reloaded from the web service, the lobby brought up again.
        d.web.clearRecords();
        d.server.sendLines({LoginDriver::showMain(), QStringLiteral("QUERYRECONNECTPLAYERS")});
        QVERIFY(QTest::qWaitFor([] { return lobbyLog().contains(QStringLiteral("Reconnect Successful")); }, 8000));
        QCOMPARE(d.web.commands(), QStringList{QStringLiteral("call sps_GetPlayers()")});
        QCOMPARE(con->iAttempts, int16_t(0));
        QVERIFY(!con->bReconnecting);
        QVERIFY(d.server.waitForLine(QStringLiteral("TABLEQUERY 1")));
        QTest::qWait(100);
        QVERIFY(!d.connectWindow());
        QCOMPARE(playerEntries(), (QStringList{QStringLiteral("kira 12 <Wolves>"), QStringLiteral("Nyx 7")}));
        QCOMPARE(d.fx->services.lifecycle->ends, 0);
        QVERIFY(d.dialogs().boxes.isEmpty());
    }

    void reloadFromTheServerAfterAReconnectDropsPlayersWhoLeft() {
        // The web service is down when the server confirms the reconnect: the player list is
        // emptied and asked of the server, so players who left during the outage are gone.
        LoginDriver d;
        QVERIFY(d.loginToLobby());
        QVERIFY(QTest::qWaitFor([&] { return !d.connectWindow(); }, 5000));
        QCOMPARE(playerEntries(), (QStringList{QStringLiteral("kira 12 <Wolves>"), QStringLiteral("Nyx 7")}));
        d.server.lines.clear();
        d.server.dropClient();
        QVERIFY(QTest::qWaitFor([&] { return d.server.connections == 2; }, 5000));
        QVERIFY(d.server.waitForLine(QStringLiteral("RECONNECT kira secret1")));
        d.web.setMode(FakeWebService::Mode::Error500);
        d.server.sendLines({LoginDriver::showMain(), QStringLiteral("QUERYRECONNECTPLAYERS")});
        QVERIFY(d.server.waitForLine(QStringLiteral("QUERYRECONNECTPLAYERS")));
        QVERIFY(playerEntries().isEmpty());
        QCOMPARE(ifLoaded<frmchildchat>()->lblActive->text(), QStringLiteral("0"));
        d.server.sendLines({QStringLiteral("NEWPLAYER2 0 x y Gold Zed%204")});
        QVERIFY(QTest::qWaitFor([] { return playerEntries() == QStringList{QStringLiteral("Zed 4")}; }, 5000));
        QCOMPARE(ClientConfig().XMLError(), int16_t(-1));
        QCOMPARE(d.fx->services.lifecycle->ends, 0);
    }

    void firewallWarningAlsoFollowsAReconnect() {
        // At login the player list had to come from the server: the lobby warns, and warns again
        // when a reconnect brings it up, even though the web service answers by then.
        LoginDriver d;
        d.web.setMode(FakeWebService::Mode::Error500);
        QVERIFY(d.connect() && d.authenticate());
        d.server.sendLines({QStringLiteral("LOADGAME-OK"), LoginDriver::showMain(), QStringLiteral("MOTD Welcome back"),
                            QStringLiteral("QUERYPLAYERS")});
        QVERIFY(d.server.waitForLine(QStringLiteral("QUERYPLAYERS")));
        d.server.sendLines({QStringLiteral("NEWPLAYER2 0 x y Gold Zed%204"), QStringLiteral("PLAYERSLOADED")});
        QVERIFY(d.handedOver());
        QVERIFY(QTest::qWaitFor([&] { return !d.connectWindow(); }, 5000));
        const QString warning = QStringLiteral("<Warning>  The application could not contact the service");
        QCOMPARE(lobbyLog().count(warning), 1);
        d.server.lines.clear();
        d.server.dropClient();
        QVERIFY(QTest::qWaitFor([&] { return d.server.connections == 2; }, 5000));
        QVERIFY(d.server.waitForLine(QStringLiteral("RECONNECT kira secret1")));
        d.web.setMode(FakeWebService::Mode::Normal);
        d.server.sendLines({LoginDriver::showMain(), QStringLiteral("QUERYRECONNECTPLAYERS")});
        QVERIFY(QTest::qWaitFor([] { return lobbyLog().contains(QStringLiteral("Reconnect Successful")); }, 8000));
        QCOMPARE(lobbyLog().count(warning), 2);
        QCOMPARE(playerEntries(), (QStringList{QStringLiteral("kira 12 <Wolves>"), QStringLiteral("Nyx 7")}));
        // Once the list came from the web service, the warning is over.
        QCOMPARE(ClientConfig().XMLError(), int16_t(0));
    }

    void loginCompletedByLinesThatCameBeforeTheCloseReconnects() {
        // The server sends the rest of the login and hangs up at once: the queued lines still
        // bring the lobby up, and the lost link is then taken back like any other.
        LoginDriver d;
        QVERIFY(d.connect());
        QVERIFY(d.authenticate());
        d.server.lines.clear();
        d.server.sendLines({QStringLiteral("LOADGAME-OK"), LoginDriver::showMain(), QStringLiteral("MOTD Welcome back"),
                            QStringLiteral("QUERYPLAYERS")});
        d.server.dropClient();
        QVERIFY(QTest::qWaitFor([&] { return d.server.connections == 2; }, 8000));
        QVERIFY(d.server.waitForLine(QStringLiteral("RECONNECT kira secret1")));
        QCOMPARE(ConnectionState, int16_t(1));
        QVERIFY(ifLoaded<frmchildchat>());
        QVERIFY(!d.connectWindow());
        QVERIFY(d.dialogs().boxes.isEmpty());
        QCOMPARE(d.fx->services.lifecycle->ends, 0);
    }

    void serverDownExhaustsTheAttempts() {
        Session s(3);
        s.d.server.refuse();
        QVERIFY(s.waitAttempt(1));
        QVERIFY(s.con->IsReconnecting());
        for (int tick = 1; tick <= 3; ++tick) {
            QTest::qWait(30);  // the refusal arrives; it starts nothing by itself
            QCOMPARE(s.con->iAttempts, int16_t(tick));
            QVERIFY(s.dialogs().boxes.isEmpty());
            s.con->tmrReconnect_Timer();
            QVERIFY(lobbyLog().contains(QStringLiteral("Reconnection Failed. Attempting Again (Try #%1)").arg(tick)));
        }
        QCOMPARE(s.dialogs().boxes.size(), 1);
        QCOMPARE(s.dialogs().boxes[0].title, QStringLiteral("Reconnect Attempts Maxed"));
        QCOMPARE(s.dialogs().boxes[0].text, kMaxed);
        QCOMPARE(s.dialogs().boxes[0].style, int(vb::Information));
        QCOMPARE(s.ends(), 1);
        QVERIFY(!lobbyLog().contains(QStringLiteral("(Try #4)")));
        QCOMPARE(s.con->Winsock->State(), int(SocketControl::sckClosed));
    }

    void zeroOrNegativeAttemptsEndAtOnce_data() {
        QTest::addColumn<int>("limit");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -3;
    }

    void zeroOrNegativeAttemptsEndAtOnce() {
        QFETCH(int, limit);
        Session s(limit);
        s.d.server.dropClient();
        QVERIFY(QTest::qWaitFor([&] { return s.ends() > 0; }, 5000));
        QCOMPARE(s.dialogs().boxes.size(), 1);
        QCOMPARE(s.dialogs().boxes[0].title, QStringLiteral("Disconnected"));
        QCOMPARE(s.dialogs().boxes[0].text, kZero);
        QTest::qWait(100);
        QCOMPARE(s.d.server.connections, 1);
        QVERIFY(!s.con->IsReconnecting());
    }

    void socketErrorsStartTheCountAfresh() {
        Session s(2);
        s.d.fx->services.random->values = {0.5, 0.6, 0.7, 0.8};
        // However many errors come, each one starts the count again: errors alone never end it.
        for (int connections = 2; connections <= 4; ++connections) {
            s.d.server.lines.clear();
            s.con->Winsock_Error(SocketControl::sckConnectionReset, QStringLiteral("reset"));
            QVERIFY(s.waitReconnectLine(connections));
            QCOMPARE(s.con->iAttempts, int16_t(1));
        }
        QCOMPARE(lobbyLog().count(QStringLiteral("You have lost connection with the server.  Attempting to reconnect.")), 3);
        QVERIFY(s.dialogs().boxes.isEmpty());
        // Attempts that time out use the limit up.
        s.con->tmrReconnect_Timer();
        QCOMPARE(s.con->iAttempts, int16_t(2));
        QVERIFY(s.dialogs().boxes.isEmpty());
        s.con->tmrReconnect_Timer();
        QCOMPARE(s.dialogs().titles(), QStringList{QStringLiteral("Reconnect Attempts Maxed")});
        QCOMPARE(s.ends(), 1);
    }

    void closeInsideARunKeepsCountingConfirmationStartsAfresh() {
        Session s(1);
        s.d.fx->services.random->values = {0.5, 0.6, 0.7};
        s.d.server.dropClient();
        QVERIFY(s.waitReconnectLine(2));
        QCOMPARE(s.con->iAttempts, int16_t(1));
        // Confirmed: the run is over and the count is back to 0.
        s.d.server.send(QStringLiteral("QUERYRECONNECTPLAYERS"));
        QVERIFY(QTest::qWaitFor([] { return lobbyLog().contains(QStringLiteral("Reconnect Successful")); }, 8000));
        QCOMPARE(s.con->iAttempts, int16_t(0));
        // A new loss gets its own attempt, although the limit is 1.
        s.d.server.lines.clear();
        s.d.server.dropClient();
        QVERIFY(s.waitReconnectLine(3));
        QVERIFY(s.dialogs().boxes.isEmpty());
        // Dropped again before the server confirmed: that is the second attempt of this run.
        s.d.server.dropClient();
        QVERIFY(QTest::qWaitFor([&] { return s.ends() > 0; }, 5000));
        QCOMPARE(s.dialogs().titles(), QStringList{QStringLiteral("Reconnect Attempts Maxed")});
    }

    void refusedConnectionsNeverStartAReconnect() {
        Session s(5);
        s.con->Winsock_Error(SocketControl::sckConnectionRefused, QStringLiteral("refused"));
        ConnectionState = 0;
        s.con->Winsock_Error(SocketControl::sckConnectionRefused, QStringLiteral("refused"));
        QVERIFY(!s.con->IsReconnecting());
        QCOMPARE(s.con->iAttempts, int16_t(0));
        QVERIFY(s.con->Winsock->connected());
        QVERIFY(s.dialogs().boxes.isEmpty());
        QVERIFY(!ifLoaded<frmchildchat>());
    }

    void quittingIgnoresCloseAndErrors() {
        Session s(5);
        ConnectionState = 2;
        s.con->Winsock_Error(SocketControl::sckConnectionReset, QStringLiteral("reset"));
        s.d.server.dropClient();
        QTest::qWait(200);
        QCOMPARE(s.d.server.connections, 1);
        QVERIFY(!s.con->IsReconnecting());
        QVERIFY(s.dialogs().boxes.isEmpty());
        QCOMPARE(s.ends(), 0);
    }

    void connectEventOutsideAReconnectSendsNothing() {
        Session s(5);
        s.d.server.lines.clear();
        s.con->Winsock_Connect();
        QTest::qWait(100);
        QCOMPARE(s.d.server.lines, QStringList{});
    }

    void reconnectPortsSkipWhatCannotBeBound() {
        Session s(5);
        QTcpServer occupant;
        occupant.listen(QHostAddress::AnyIPv4, 3001);
        // 1 is out of range, 3001 taken: drawn again until 3501.
        s.d.fx->services.random->values = {0.0001, 0.6, 0.7};
        s.d.server.dropClient();
        QVERIFY(s.waitReconnectLine(2));
        QCOMPARE(s.d.server.lastClientPort, quint16(3501));
        QCOMPARE(s.con->Winsock->LocalPort, 3501);
    }

    void localPorts() {
        LoginDriver d;
        // Whether a privileged port is usable is what the system says for this process.
        QTcpServer probe;
        const bool bindable = probe.listen(QHostAddress::AnyIPv4, 1000);
        probe.close();
        QCOMPARE(localPortUsable(1000), bindable);
        QVERIFY(!localPortUsable(0));
        QVERIFY(!localPortUsable(70000));
        QTcpServer taken;
        QVERIFY(taken.listen(QHostAddress::AnyIPv4, 0));
        QVERIFY(!localPortUsable(taken.serverPort()));
        QVERIFY(localPortUsable(freeLocalPort()));
        // A draw that never finds a usable port gives up and leaves the port to the system.
        QCOMPARE(drawLocalPort(5000, 1000, 4999, [](int) { return false; }), 0);
        // Draws outside the range are drawn again; both ends of the range are taken.
        d.fx->services.random->values = {0.0, 0.19, 0.1998, 0.9998, 0.9996};
        QCOMPARE(drawLocalPort(5000, 1000, 4999, [](int) { return true; }), 1000);
        QCOMPARE(drawLocalPort(5000, 1000, 4999, [](int) { return true; }), 4999);
        // A random source stuck outside the range cannot hang the client.
        d.fx->services.random->values = std::deque<double>(200000, 0.0);
        QCOMPARE(drawLocalPort(5000, 1000, 4999, [](int) { return true; }), 0);
    }

    void errorBeforeLoginWithoutConnectWindowOnlyCloses() {
        Session s(5);
        ConnectionState = 0;
        s.con->Winsock_Error(SocketControl::sckConnectionReset, QStringLiteral("reset"));
        QCOMPARE(s.con->Winsock->State(), int(SocketControl::sckClosed));
        QTest::qWait(100);
        QCOMPARE(s.d.server.connections, 1);
        QVERIFY(s.dialogs().boxes.isEmpty());
        QVERIFY(!ifLoaded<frmchildchat>());
    }

    void errorBeforeLoginRetriesFromAnotherPort_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("retries");
        QTest::newRow("address in use") << int(SocketControl::sckAddressInUse) << true;
        QTest::newRow("reset") << int(SocketControl::sckConnectionReset) << true;
        QTest::newRow("timed out") << int(SocketControl::sckTimedout) << true;
        QTest::newRow("host not found") << int(SocketControl::sckHostNotFound) << true;
        QTest::newRow("network unreachable") << int(SocketControl::sckNetworkUnreachable) << true;
        // Refused: the connect time-out takes over.
        QTest::newRow("refused") << int(SocketControl::sckConnectionRefused) << false;
    }
    void errorBeforeLoginRetriesFromAnotherPort() {
        QFETCH(int, number);
        QFETCH(bool, retries);
        LoginDriver d;
        d.server.refuse();
        d.begin();
        frmConnect* c = d.connectWindow();
        QCOMPARE(c->connectState(), QStringLiteral("connecting"));
        const QString privateFile = d.fx->path(QStringLiteral("config/private.txt"));
        const QString portBefore = ReadIni(QStringLiteral("Proxy"), QStringLiteral("Port"), privateFile);
        d.fx->services.random->values = {0.7};
        d.con()->Winsock_Error(number, QStringLiteral("failed"));
        QCOMPARE(ReadIni(QStringLiteral("Proxy"), QStringLiteral("Port"), privateFile), retries ? QStringLiteral("3501") : portBefore);
        QCOMPARE(c->connectState(), retries ? QStringLiteral("debut") : QStringLiteral("connecting"));
        if (retries) {
            QCOMPARE(d.con()->Winsock->LocalPort, 3501);
            QCOMPARE(d.progress, (QList<int>{0, 0}));
        } else {
            QCOMPARE(d.progress, (QList<int>{0}));
        }
        QVERIFY(d.dialogs().boxes.isEmpty());
    }

    void wrongStateErrorEndsTheProgram() {
        Session s(5);
        s.con->Winsock_Error(SocketControl::sckBadState, QStringLiteral("bad state"));
        QCOMPARE(s.dialogs().boxes.size(), 1);
        QCOMPARE(s.dialogs().boxes[0].text,
                 QStringLiteral("A connection error occured.  The application will now shut down.  Please restart and try again."));
        QCOMPARE(s.ends(), 1);
    }

    void reloadDuringAReconnectDoesNotBringTheLobbyUp() {
        Session s(5);
        s.d.watchProgress();
        s.con->tmrReconnect->start();
        form<frmConnect>()->GetReconnectPlayers();
        QCOMPARE(playerEntries(), (QStringList{QStringLiteral("kira 12 <Wolves>"), QStringLiteral("Nyx 7")}));
        QVERIFY(!s.d.progress.contains(85));
        QCOMPARE(ClientConfig().XMLError(), int16_t(0));
        s.con->tmrReconnect->stop();
        // Without the web service the server is asked instead.
        s.d.web.setMode(FakeWebService::Mode::Error500);
        form<frmConnect>()->GetReconnectPlayers();
        QVERIFY(s.d.server.waitForLine(QStringLiteral("QUERYRECONNECTPLAYERS")));
        QCOMPARE(ClientConfig().XMLError(), int16_t(-1));
        QVERIFY(!s.d.progress.contains(85));
    }
};

QTEST_MAIN(tst_reconnect)
#include "tst_reconnect.moc"
