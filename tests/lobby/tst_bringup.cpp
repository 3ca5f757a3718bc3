// The lobby bring-up at the end of the login: the player's record into the lobby's figures and
// avatar, the welcome lines, the guild window, the updater swap, and the hand-over to the lobby.
#include "ClientFixture.h"
#include "LobbyHelpers.h"

#include "app/modSettings.h"
#include "app/storedvars.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmguildchat.h"
#include "net/frmCon.h"
#include "net/frmConnect.h"
#include "platform/Forms.h"
#include "platform/Ini.h"

#include <QDate>
#include <QDir>
#include <QtTest>

namespace {
const QString kRecord = QStringLiteral("SHOWMAIN 1500 0 12000 7 14000 2 f 001 002 003 25 Night%20Owls 40 0 3 100 200 300 10 50");

// The login state just before the bring-up: record and message of the day stored, players listed.
frmchildchat* prepare(const QString& record, const QString& motd = QStringLiteral("Welcome back")) {
    ClientConfig().MainChatPacket(record);
    ClientConfig().MOTD(motd);
    frmchildchat* lobby = form<frmchildchat>();
    for (const QString& entry : {QStringLiteral("kira 7 <Night Owls>"), QStringLiteral("nyx 3")})
        lobby->playerlist->addTopLevelItem(new QTreeWidgetItem(QStringList{entry}));
    lobby->lblActive->setText(QStringLiteral("2"));
    form<frmConnect>();
    return lobby;
}

void bringUp() { form<frmConnect>()->LoadMainChat(); }

bool hasPicture(const QLabel* l) { return !l->pixmap().isNull(); }
}  // namespace

class tst_bringup : public QObject {
    Q_OBJECT

private slots:
    void recordFillsTheLobby() {
        LoggedIn c;
        c.fx->services.clock->setWall(QDateTime(QDate(2026, 5, 2), QTime(18, 30, 0)).toMSecsSinceEpoch());
        WriteIni(QStringLiteral("Options"), QStringLiteral("Chatlog"), QStringLiteral("1"), GetIniFile());
        frmchildchat* lobby = prepare(kRecord);
        ConnectionState = 0;
        bringUp();
        QCOMPARE(ConnectionState, int16_t(1));
        QCOMPARE(lobby->lblgp->text(), QStringLiteral("1500"));
        QCOMPARE(lobby->lblExp->text(), QStringLiteral("12000"));
        QCOMPARE(lobby->lblLevel->text(), QStringLiteral("7"));
        QCOMPARE(lobby->lblNextLvl->text(), QStringLiteral("14000"));
        QCOMPARE(lobby->lblCash->text(), QStringLiteral("$25"));
        QCOMPARE(lobby->lblap->text(), QStringLiteral("3"));
        QCOMPARE(lobby->lblCVChest->text(), QStringLiteral("100"));
        QCOMPARE(lobby->lblTHChest->text(), QStringLiteral("200"));
        QCOMPARE(lobby->lblWarChest->text(), QStringLiteral("300"));
        QCOMPARE(lobby->lblDaily->text(), QStringLiteral("10"));
        QCOMPARE(lobby->lblWeekly->text(), QStringLiteral("50"));
        QCOMPARE(lobby->lblPlayer->text(), QStringLiteral("kira"));
        QCOMPARE(lobby->lblnick->text(), QStringLiteral("kira"));
        QCOMPARE(lobby->imgBar->width(), 93);  // 40 of 100 on a 234 gauge
        QCOMPARE(lobby->Gold(), 1500);
        QCOMPARE(lobby->AP(), 3);
        QCOMPARE(lobby->AvatarGender(), QStringLiteral("f"));
        QVERIFY(hasPicture(lobby->picavatar));
        QVERIFY(hasPicture(lobby->imghead));
        QVERIFY(hasPicture(lobby->imgbody));
        QCOMPARE(GuildName, QStringLiteral("Night Owls"));
        frmguildchat* guild = ifLoaded<frmguildchat>();
        QVERIFY(guild && guild->isVisible());
        QCOMPARE(guild->windowTitle(), QStringLiteral("[Night Owls] Chat Window"));
        QVERIFY(guild->chatout->isEnabled());
        QVERIFY(lobby->isVisible());
        QVERIFY(lobby->chatout->isEnabled());
        QVERIFY(!ifLoaded<frmConnect>());
        QVERIFY(c.server.waitForLine(QStringLiteral("TABLEQUERY 1")));
        QCOMPARE(c.sent(), QStringList{QStringLiteral("TABLEQUERY 1")});
        QCOMPARE(linesOf(lobby->chatin),
                 (QStringList{QStringLiteral("You are currently logged into Corvadex"), QStringLiteral("There are 2 players on Corvadex"),
                              QString(), QStringLiteral("Message of the day: Welcome back"),
                              QStringLiteral("<Failed Logins>  You have had 2 attempts since your last successful login. 18:30:00")}));
        QCOMPARE(runsOf(lobby->chatin).first(), (Run{QStringLiteral("You are currently logged into Corvadex"), ChatColour::Yellow, false}));
        QVERIFY(c.fx->exists(QStringLiteral("stats/kira")));
        QCOMPARE(c.fx->read(QStringLiteral("logs/mainchat_05-02-2026.log")), QByteArray("(18:30:00) >> LOGIN\r\n"));
    }

    void shortRecordAndOddFields() {
        LoggedIn c;
        frmchildchat* lobby = prepare(QStringLiteral("SHOWMAIN 10 0 5 1 9 abc m 000  ../../x 1 "));
        bringUp();
        QCOMPARE(lobby->lblgp->text(), QStringLiteral("10"));
        QCOMPARE(lobby->lblCash->text(), QStringLiteral("$1"));
        QCOMPARE(lobby->lblap->text(), QString());
        QCOMPARE(lobby->lblWeekly->text(), QString());
        QCOMPARE(lobby->imgBar->width(), 0);
        QVERIFY(!hasPicture(lobby->picavatar));  // "000"
        QVERIFY(!hasPicture(lobby->imgbody));    // empty
        QVERIFY(!hasPicture(lobby->imghead));    // not a plain name
        QCOMPARE(GuildName, QString());
        QVERIFY(!ifLoaded<frmguildchat>());
        QCOMPARE(countLinesContaining(lobby->chatin, QStringLiteral("Failed Logins")), 0);
        QCOMPARE(ConnectionState, int16_t(1));
        QVERIFY(c.server.waitForLine(QStringLiteral("TABLEQUERY 1")));
    }

    void picturesOnlyFromPlainCodes_data() {
        QTest::addColumn<QString>("gender");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("shown");
        QTest::newRow("plain") << QStringLiteral("m") << QStringLiteral("001") << true;
        QTest::newRow("dots") << QStringLiteral("m") << QStringLiteral("..") << false;
        QTest::newRow("slash") << QStringLiteral("m") << QStringLiteral("001/../001") << false;
        QTest::newRow("backslash") << QStringLiteral("m") << QStringLiteral("..\\001") << false;
        QTest::newRow("gender with a path") << QStringLiteral("../avatars/m") << QStringLiteral("001") << false;
        QTest::newRow("no gender") << QString() << QStringLiteral("001") << false;
        QTest::newRow("missing file") << QStringLiteral("m") << QStringLiteral("999") << false;
    }

    void picturesOnlyFromPlainCodes() {
        QFETCH(QString, gender);
        QFETCH(QString, code);
        QFETCH(bool, shown);
        LoggedIn c;
        frmchildchat* lobby = prepare(QStringLiteral("SHOWMAIN 1 0 1 1 1 0 %1 %2 %2 %2 0").arg(gender, code));
        bringUp();
        QCOMPARE(hasPicture(lobby->imghead), shown);
        QCOMPARE(hasPicture(lobby->imgbody), shown);
    }

    void failedLoginsNoticeOnlyForANumber_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("notices");
        QTest::newRow("zero") << QStringLiteral("0") << 0;
        QTest::newRow("word") << QStringLiteral("many") << 0;
        QTest::newRow("one") << QStringLiteral("1") << 1;
    }

    void failedLoginsNoticeOnlyForANumber() {
        QFETCH(QString, field);
        QFETCH(int, notices);
        LoggedIn c;
        frmchildchat* lobby = prepare(QStringLiteral("SHOWMAIN 1 0 1 1 1 %1 f").arg(field));
        bringUp();
        QCOMPARE(countLinesContaining(lobby->chatin, QStringLiteral("<Failed Logins>  You have had ") + field), notices);
    }

    void warningsAndTheVersionNotice() {
        LoggedIn c;
        ClientConfig().XMLError(-1);
        ClientConfig().CurrentVersion(QStringLiteral("3.4.6.1"));
        qputenv("CORVADEX_WEBSERVICE", "http://svc.example.test:3310/RookfellWebService/RookfellWebService.asmx");
        frmchildchat* lobby = prepare(kRecord);
        bringUp();
        qunsetenv("CORVADEX_WEBSERVICE");
        QCOMPARE(countLinesContaining(lobby->chatin, QStringLiteral("<Warning>  The application could not contact the service that "
                                                                    "handles traffic outside the server.  Be sure to add svc.example.test to "
                                                                    "your firewall")),
                 1);
        const QStringList lines = linesOf(lobby->chatin);
        QCOMPARE(lines.last(), QStringLiteral("You do not have the most current version of Corvadex. While it is not a mandatory update, "
                                              "it may be features that could enhance game play.  At your earliest convenience, please "
                                              "log out and run the patcher before launching the Corvadex application."));
        QCOMPARE(runsOf(lobby->chatin).at(runsOf(lobby->chatin).size() - 2).colour, ChatColour::Red);
    }

    void unknownOrEqualVersionGivesNoNotice_data() {
        QTest::addColumn<QString>("current");
        QTest::newRow("unknown") << QString();
        QTest::newRow("equal") << QStringLiteral("3.4.5.332");
    }

    void unknownOrEqualVersionGivesNoNotice() {
        QFETCH(QString, current);
        LoggedIn c;
        ClientConfig().CurrentVersion(current);
        frmchildchat* lobby = prepare(kRecord);
        bringUp();
        QCOMPARE(countLinesContaining(lobby->chatin, QStringLiteral("most current version")), 0);
    }

    void reconnectSkipsTheWelcome() {
        LoggedIn c;
        c.con->iAttempts = 1;
        ClientConfig().XMLError(-1);
        frmchildchat* lobby = prepare(kRecord);
        lobby->addmsg(QStringLiteral("earlier chat"), 255);
        bringUp();
        QCOMPARE(countLinesContaining(lobby->chatin, QStringLiteral("logged into Corvadex")), 0);
        QCOMPARE(countLinesContaining(lobby->chatin, QStringLiteral("Failed Logins")), 0);
        QCOMPARE(countLinesContaining(lobby->chatin, QStringLiteral("<Warning>")), 1);
        QCOMPARE(lobby->lblgp->text(), QStringLiteral("1500"));
        QVERIFY(c.server.waitForLine(QStringLiteral("TABLEQUERY 1")));
    }

    void awayStateOfTheLoginStays() {
        LoggedIn c;
        frmchildchat* lobby = prepare(kRecord);
        lobby->mnuawayon->setChecked(true);
        bringUp();
        QVERIFY(lobby->mnuawayon->isChecked());
        QCOMPARE(c.sent(), QStringList{QStringLiteral("TABLEQUERY 1")});
    }

    void updaterBackupReplacesTheUpdater() {
        LoggedIn c;
        c.fx->write(QStringLiteral("Updater.exe"), "old updater");
        c.fx->write(QStringLiteral("Updater.bak"), "new updater");
        prepare(kRecord);
        bringUp();
        QCOMPARE(c.fx->read(QStringLiteral("Updater.exe")), QByteArray("new updater"));
        QVERIFY(!c.fx->exists(QStringLiteral("Updater.bak")));
        QCOMPARE(QDir(c.fx->folder()).entryList({QStringLiteral("Updater*")}, QDir::Files | QDir::Dirs), QStringList{QStringLiteral("Updater.exe")});
    }

    void updaterBackupWithoutAnUpdater() {
        LoggedIn c;
        c.fx->write(QStringLiteral("Updater.bak"), "fresh");
        prepare(kRecord);
        bringUp();
        QCOMPARE(c.fx->read(QStringLiteral("Updater.exe")), QByteArray("fresh"));
        QVERIFY(!c.fx->exists(QStringLiteral("Updater.bak")));
    }

    void failedCopyKeepsBoth() {
        LoggedIn c;
        c.fx->write(QStringLiteral("Updater.exe"), "old updater");
        c.fx->write(QStringLiteral("Updater.bak"), "new updater");
        // The temporary name is taken by a folder, so the copy cannot be made.
        QVERIFY(QDir(c.fx->folder()).mkdir(QStringLiteral("Updater.exe.new")));
        c.fx->write(QStringLiteral("Updater.exe.new/keep"), "x");
        prepare(kRecord);
        bringUp();
        QCOMPARE(c.fx->read(QStringLiteral("Updater.exe")), QByteArray("old updater"));
        QCOMPARE(c.fx->read(QStringLiteral("Updater.bak")), QByteArray("new updater"));
        QVERIFY(ifLoaded<frmchildchat>()->isVisible());
    }
};

QTEST_MAIN(tst_bringup)
#include "tst_bringup.moc"
