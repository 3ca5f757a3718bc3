// The client against the loopback server tool (tools/loopback), started as its own process:
// a login reaches the lobby through its web service or, without one, through its player lines;
// a dropped connection comes back by itself.
#include "ClientFixture.h"
#include "Loopback.h"

#include "app/HttpClient.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "platform/Forms.h"

#include <QTreeWidget>
#include <QtTest>

namespace {
QStringList players() {
    QStringList out;
    if (frmchildchat* lobby = ifLoaded<frmchildchat>())
        for (int i = 0; i < lobby->playerlist->topLevelItemCount(); ++i) out << lobby->playerlist->topLevelItem(i)->text(0);
    return out;
}
}  // namespace

class tst_login_loopback : public QObject {
    Q_OBJECT
    Loopback loopback;

    bool printed(const QString& text, int ms = 5000) { return loopback.printed(text, ms); }

    // Login of a fresh client; the progress steps it went through.
    QList<int> login(const QString& nick) {
        const QList<int> steps = loginThroughWindows(nick);
        if (!steps.contains(85)) qWarning("no hand-over to the lobby");
        return steps;
    }

private slots:
    void initTestCase() {
        loopback.start();
        if (QTest::currentTestFailed()) return;
        HttpClient::setTimeouts({500, 3000});
    }

    void cleanupTestCase() { loopback.stop(); }

    void init() { loopback.exportAddresses(); }

    void loginReachesTheLobbyAndChatComesBack() {
        ClientFixture fx;
        const QList<int> steps = login(QStringLiteral("kira"));
        QCOMPARE(steps.mid(0, 7), (QList<int>{0, 15, 20, 40, 50, 75, 85}));
        QCOMPARE(ConnectionState, int16_t(1));
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
        QCOMPARE(players(), (QStringList{QStringLiteral("Nyx 7 <Wolves>"), QStringLiteral("Orrin 12"),
                                         QStringLiteral("Bree 3 <Night Owls>"), QStringLiteral("Quill 5"), QStringLiteral("kira 1")}));
        QVERIFY(ClientConfig().MOTD().startsWith(QStringLiteral("Welcome to the Corvadex loopback server")));
        QVERIFY(printed(QStringLiteral("-> TABLEQUERY 1")));
        QVERIFY(printed(QStringLiteral("<- ADDTABLE 1 Nyx  1 0 0")));
        form<frmCon>()->SendToServer(QStringLiteral("CHAT hello there"));
        QVERIFY(printed(QStringLiteral("<- CHAT kira hello%20there")));
        // The password never reaches the log.
        QVERIFY(printed(QStringLiteral("-> LOADGAME kira **")));
        QVERIFY(!loopback.output.contains(QStringLiteral("LOADGAME kira pw")));
    }

    void withoutTheWebServiceThePlayersComeAsLines() {
        ClientFixture fx;
        qputenv("CORVADEX_WEBSERVICE", QByteArray("http://127.0.0.1:") + QByteArray::number(unusedPort()) + "/none");
        const QList<int> steps = login(QStringLiteral("nyxfan"));
        QCOMPARE(steps.mid(0, 8), (QList<int>{0, 15, 20, 40, 50, 75, 80, 85}));
        QCOMPARE(players(), (QStringList{QStringLiteral("Nyx 7 <Wolves>"), QStringLiteral("Orrin 12"),
                                         QStringLiteral("Bree 3 <Night Owls>"), QStringLiteral("Quill 5"), QStringLiteral("nyxfan 1")}));
        QCOMPARE(ClientConfig().XMLError(), int16_t(-1));
    }

    void droppedByTheServerTheClientComesBack() {
        ClientFixture fx;
        QCOMPARE(login(QStringLiteral("bree2")).count(85), 1);
        loopback.output.clear();
        loopback.process.write("drop\n");
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
