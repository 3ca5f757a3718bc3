// The client against the loopback server tool (tools/loopback), started as its own process:
// a login reaches the lobby through its web service or, without one, through its player lines;
// a dropped connection comes back by itself.
#include "ClientFixture.h"

#include "app/HttpClient.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "net/frmConnect.h"
#include "net/frmstart.h"
#include "platform/Forms.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTreeWidget>
#include <QtTest>

namespace {
QStringList players() {
    QStringList out;
    if (frmchildchat* lobby = ifLoaded<frmchildchat>())
        for (int i = 0; i < lobby->playerlist->topLevelItemCount(); ++i) out << lobby->playerlist->topLevelItem(i)->text(0);
    return out;
}

quint16 unusedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::AnyIPv4, 0);
    return probe.serverPort();
}
}  // namespace

class tst_login_loopback : public QObject {
    Q_OBJECT
    QProcess loopback;
    QString output;
    quint16 gamePort = 0;
    QString serviceUrl, siteUrl;

    bool printed(const QString& text, int ms = 5000) {
        return QTest::qWaitFor([&] { return output.contains(text); }, ms);
    }

    // Login of a fresh client; the progress steps it went through.
    QList<int> login(const QString& nick) {
        QList<int> steps;
        frmConnect* c = form<frmConnect>();
        connect(c, &frmConnect::progressChanged, c, [&steps](int v) { steps << v; });
        frmstart* w = form<frmstart>();
        w->txtlogin_username->setText(nick);
        w->txtlogin_password->setText(QStringLiteral("pw"));
        w->txtproxy_port->setText(QString::number(unusedPort()));
        w->cmdLogin_Click();
        c->Timer1_Timer();
        if (!QTest::qWaitFor([&] { return steps.contains(85); }, 10000)) qWarning("no hand-over to the lobby");
        return steps;
    }

private slots:
    void initTestCase() {
        for (const char* v : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) qunsetenv(v);
        const QString program = QStringLiteral(CORVADEX_BIN_DIR "/corvadex-loopback");
        QVERIFY2(QFile::exists(program), "build the corvadex-loopback target first");
        connect(&loopback, &QProcess::readyReadStandardOutput, this,
                [this] { output += QString::fromLocal8Bit(loopback.readAllStandardOutput()); });
        loopback.start(program, {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--http-port"), QStringLiteral("0")});
        QVERIFY(loopback.waitForStarted());
        QVERIFY(printed(QStringLiteral("CORVADEX_WEBSITE=")));
        const auto game = QRegularExpression(QStringLiteral("game server on 127\\.0\\.0\\.1:(\\d+)")).match(output);
        const auto web = QRegularExpression(QStringLiteral("web service on (\\S+)")).match(output);
        QVERIFY(game.hasMatch() && web.hasMatch());
        gamePort = quint16(game.captured(1).toUInt());
        serviceUrl = web.captured(1);
        siteUrl = serviceUrl.left(serviceUrl.indexOf(QStringLiteral("/RookfellWebService")));
        HttpClient::setTimeouts({500, 3000});
    }

    void cleanupTestCase() {
        loopback.write("quit\n");
        if (!loopback.waitForFinished(3000)) loopback.kill();
        qunsetenv("CORVADEX_SERVER");
        qunsetenv("CORVADEX_WEBSERVICE");
        qunsetenv("CORVADEX_WEBSITE");
    }

    void init() {
        qputenv("CORVADEX_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(gamePort));
        qputenv("CORVADEX_WEBSERVICE", serviceUrl.toUtf8());
        qputenv("CORVADEX_WEBSITE", siteUrl.toUtf8());
    }

    void loginReachesTheLobbyAndChatComesBack() {
        ClientFixture fx;
        const QList<int> steps = login(QStringLiteral("kira"));
        QCOMPARE(steps.mid(0, 7), (QList<int>{0, 15, 20, 40, 50, 75, 85}));
        QCOMPARE(ConnectionState, int16_t(1));
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
        QCOMPARE(players(), (QStringList{QStringLiteral("Nyx 7 <Wolves>"), QStringLiteral("Orrin 12"),
                                         QStringLiteral("Bree 3 <Night Owls>"), QStringLiteral("kira 1")}));
        QVERIFY(ClientConfig().MOTD().startsWith(QStringLiteral("Welcome to the Corvadex loopback server")));
        QVERIFY(printed(QStringLiteral("-> TABLEQUERY 1")));
        QVERIFY(printed(QStringLiteral("<- ADDTABLE 1 Nyx  1 0 0")));
        form<frmCon>()->SendToServer(QStringLiteral("CHAT hello there"));
        QVERIFY(printed(QStringLiteral("<- CHAT kira hello%20there")));
        // The password never reaches the log.
        QVERIFY(printed(QStringLiteral("-> LOADGAME kira **")));
        QVERIFY(!output.contains(QStringLiteral("LOADGAME kira pw")));
    }

    void withoutTheWebServiceThePlayersComeAsLines() {
        ClientFixture fx;
        qputenv("CORVADEX_WEBSERVICE", QByteArray("http://127.0.0.1:") + QByteArray::number(unusedPort()) + "/none");
        const QList<int> steps = login(QStringLiteral("nyxfan"));
        QCOMPARE(steps.mid(0, 8), (QList<int>{0, 15, 20, 40, 50, 75, 80, 85}));
        QCOMPARE(players(), (QStringList{QStringLiteral("Nyx 7 <Wolves>"), QStringLiteral("Orrin 12"),
                                         QStringLiteral("Bree 3 <Night Owls>"), QStringLiteral("nyxfan 1")}));
        QCOMPARE(ClientConfig().XMLError(), int16_t(-1));
    }

    void droppedByTheServerTheClientComesBack() {
        ClientFixture fx;
        QCOMPARE(login(QStringLiteral("bree2")).count(85), 1);
        output.clear();
        loopback.write("drop\n");
        QVERIFY(printed(QStringLiteral("-> RECONNECT bree2 **")));
        QVERIFY(QTest::qWaitFor(
            [] {
                frmchildchat* lobby = ifLoaded<frmchildchat>();
                return lobby && lobby->chatin->toPlainText().contains(QStringLiteral("Reconnect Successful"));
            },
            10000));
        QCOMPARE(form<frmCon>()->iAttempts, int16_t(0));
        QCOMPARE(fx.services.lifecycle->ends, 0);
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
    }
};

QTEST_MAIN(tst_login_loopback)
#include "tst_login_loopback.moc"
