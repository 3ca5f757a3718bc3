// The login and account replies as the receive pump hands them over: the player's record and
// the reconnect limit, the message of the day, the login replies' steps, the password-change
// replies and the player entries of the server's list.
#include "ClientFixture.h"

#include "app/storedvars.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "net/frmConnect.h"
#include "net/frmstart.h"
#include "platform/Forms.h"
#include "platform/Ini.h"

#include <QTreeWidget>
#include <QtTest>

namespace {
// Hands lines to the dispatcher the way the pump does, without a connection.
void deliver(const QStringList& lines) {
    frmCon* con = form<frmCon>();
    con->tmrPacket->stop();
    for (const QString& l : lines) con->lstPackets.push_back(l);
    con->tmrPacket_Timer();
}

QStringList entries() {
    QStringList out;
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    for (int i = 0; lobby && i < lobby->playerlist->topLevelItemCount(); ++i) out << lobby->playerlist->topLevelItem(i)->text(0);
    return out;
}
}  // namespace

class tst_login_replies : public QObject {
    Q_OBJECT

private slots:
    void showMainKeepsTheRecordAndReadsTheLimit_data() {
        QTest::addColumn<QByteArray>("setting");
        QTest::addColumn<int>("limit");
        QTest::newRow("missing file") << QByteArray() << 10;
        QTest::newRow("empty") << QByteArray("[Options]\r\nReconnect=\r\n") << 10;
        QTest::newRow("3") << QByteArray("[Options]\r\nReconnect=3\r\n") << 3;
        QTest::newRow("blanks") << QByteArray("[options]\r\n reconnect = 7 \r\n") << 7;
        QTest::newRow("half to even") << QByteArray("[Options]\r\nReconnect=2.5\r\n") << 2;
        QTest::newRow("rounded") << QByteArray("[Options]\r\nReconnect=3.6\r\n") << 4;
        QTest::newRow("no number") << QByteArray("[Options]\r\nReconnect=many\r\n") << 0;
        QTest::newRow("too large") << QByteArray("[Options]\r\nReconnect=99999\r\n") << 0;
        QTest::newRow("negative") << QByteArray("[Options]\r\nReconnect=-4\r\n") << -4;
    }

    void showMainKeepsTheRecordAndReadsTheLimit() {
        QFETCH(QByteArray, setting);
        QFETCH(int, limit);
        ClientFixture fx;
        Nickname = QStringLiteral("kira");
        if (!setting.isNull()) fx.write(QStringLiteral("config/kira.cvc"), setting);
        const QString line = QStringLiteral("SHOWMAIN 1 0 2 3 4 0 f 000 000 000 0 %20 0 0 0 0 0 0 0 0");
        deliver({line});
        QCOMPARE(ClientConfig().MainChatPacket(), line);
        QCOMPARE(int(ClientConfig().ReconnectAttempts()), limit);
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
    }

    void motd() {
        ClientFixture fx;
        deliver({QStringLiteral("MOTD Tables  open at 8")});
        QCOMPARE(ClientConfig().MOTD(), QStringLiteral("Tables  open at 8"));
        deliver({QStringLiteral("MOTD ")});
        QCOMPARE(ClientConfig().MOTD(), QString());
        ClientConfig().MOTD(QStringLiteral("old"));
        deliver({QStringLiteral("MOTD")});
        QCOMPARE(ClientConfig().MOTD(), QString());
        // Keywords are matched with their case.
        deliver({QStringLiteral("motd lower")});
        QCOMPARE(ClientConfig().MOTD(), QString());
    }

    void loadGameOkSteps() {
        ClientFixture fx;
        ClientConfig().Username(QStringLiteral("kira"));
        fx.write(QStringLiteral("config/kira.cvc"), "[Challenge]\r\nDecline=1\r\n[Away]\r\nStatus=1\r\n");
        frmConnect* c = form<frmConnect>();
        QList<int> steps;
        connect(c, &frmConnect::progressChanged, c, [&](int v) { steps << v; });
        c->Timer1->start();
        deliver({QStringLiteral("LOADGAME-OK")});
        QCOMPARE(steps, (QList<int>{40, 50}));
        QVERIFY(!c->Timer1->isActive());
        QCOMPARE(ReadIni(QStringLiteral("Challenge"), QStringLiteral("Decline"), fx.path(QStringLiteral("config/kira.cvc"))),
                 QStringLiteral("0"));
        QVERIFY(ifLoaded<frmchildchat>()->mnuawayon->isChecked());
        QVERIFY(!ifLoaded<frmchildchat>()->mnuawayoff->isChecked());
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
    }

    void loadGameOkWithoutUserFolderGoesOn() {
        // No config folder: the write fails and is passed over; the lobby starts out not away.
        ClientFixture fx(ClientFixture::None);
        ClientConfig().Username(QStringLiteral("kira"));
        frmConnect* c = form<frmConnect>();
        QList<int> steps;
        connect(c, &frmConnect::progressChanged, c, [&](int v) { steps << v; });
        deliver({QStringLiteral("LOADGAME-OK")});
        QCOMPARE(steps, (QList<int>{40, 50}));
        QVERIFY(!ifLoaded<frmchildchat>()->mnuawayon->isChecked());
        QVERIFY(ifLoaded<frmchildchat>()->mnuawayoff->isChecked());
    }

    void refusalSteps() {
        ClientFixture fx;
        frmstart* login = form<frmstart>();
        login->cmdLogin->Enabled(false);
        form<frmConnect>()->Timer1->start();
        deliver({QStringLiteral("LOADGAME-NOSUCHNICK")});
        QCOMPARE(fx.services.dialogs->titles(), QStringList{QStringLiteral("Error")});
        QVERIFY(login->cmdLogin->Enabled());
        QVERIFY(!ifLoaded<frmConnect>());
        QCOMPARE(form<frmCon>()->Winsock->State(), int(SocketControl::sckClosed));
        // Without the windows the same reply still shows its box and ends quietly.
        unload<frmstart>();
        deliver({QStringLiteral("LOADGAME-ONLINE")});
        QCOMPARE(fx.services.dialogs->titles(), (QStringList{QStringLiteral("Error"), QStringLiteral("User already online")}));
        QVERIFY(!ifLoaded<frmConnect>());
    }

    void passwordChangeReplies() {
        ClientFixture fx;
        deliver({QStringLiteral("CHPASS-WRONGPASS"), QStringLiteral("CHPASS-OK"), QStringLiteral("CHPASS-MAYBE"),
                 QStringLiteral("chpass-ok")});
        auto& boxes = fx.services.dialogs->boxes;
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[0].title, QStringLiteral("Error"));
        QCOMPARE(boxes[0].style, int(vb::Critical));
        QCOMPARE(boxes[0].text, QStringLiteral("Either the password you entered was invalid or the server could not process "
                                               "your request.  Try again later."));
        QCOMPARE(boxes[1].title, QStringLiteral("Password Confirmed"));
        QCOMPARE(boxes[1].style, int(vb::Information));
        QCOMPARE(boxes[1].text, QStringLiteral("Your information has been changed."));
    }

    void playerEntriesFromTheServer() {
        ClientFixture fx;
        deliver({QStringLiteral("NEWPLAYER2 0 x y Gold Kira%2012"), QStringLiteral("NEWPLAYER 2 t b VIP1 Nyx"),
                 QStringLiteral("NEWPLAYER2 0 x y Gold kira"), QStringLiteral("NEWPLAYER2 0 x y Gold %20"),
                 QStringLiteral("NEWPLAYER2 0 x y Gold"), QStringLiteral("NEWPLAYER2")});
        QCOMPARE(entries(), (QStringList{QStringLiteral("Kira 12"), QStringLiteral("Nyx")}));
        frmchildchat* lobby = ifLoaded<frmchildchat>();
        QCOMPARE(lobby->lblActive->text(), QStringLiteral("2"));
        QCOMPARE(lobby->playerlist->topLevelItem(0)->data(0, Qt::UserRole).toString(), QStringLiteral("Kira 12"));
    }
};

QTEST_MAIN(tst_login_replies)
#include "tst_login_replies.moc"
