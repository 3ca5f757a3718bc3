// The player's figures after a login: every "UPDATE..." line as the lobby shows it, the rush
// gauge with its full-gauge notice, the avatar pictures, the guild and other players' entries.
#include "LoggedInClient.h"

#include "app/storedvars.h"

#include <QtTest>

namespace {
// The picture a label shows, compared with a file of the client folder.
bool shows(const QLabel* label, const ClientFixture& fx, const QString& file) {
    const QPixmap shown = label->pixmap();
    const QImage expected(fx.path(QStringLiteral("skins/default/avatars/") + file));
    return !shown.isNull() && !expected.isNull() && shown.toImage().convertToFormat(QImage::Format_ARGB32) ==
                                                        expected.convertToFormat(QImage::Format_ARGB32);
}
}  // namespace

class tst_messages_figures : public QObject {
    Q_OBJECT

private slots:
    void labelsTakeTheFigures() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive({QStringLiteral("UPDATEAP 55"), QStringLiteral("UPDATEGP 1234"), QStringLiteral("UPDATECASH 25")});
        QCOMPARE(c.lobby->lblap->text(), QStringLiteral("55"));
        QCOMPARE(c.lobby->AP(), 55);
        QCOMPARE(c.lobby->lblgp->text(), QStringLiteral("1234"));
        QCOMPARE(c.lobby->Gold(), 1234);
        QCOMPARE(c.lobby->lblCash->text(), QStringLiteral("$25"));
        c.receive(QStringLiteral("UPDATECASH 12.50"));
        QCOMPARE(c.lobby->lblCash->text(), QStringLiteral("$12.50"));
        QCOMPARE(c.newLines(), QStringList());
    }

    void experienceComesWithANotice() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("UPDATEEXP 40 12040 8 15000"));
        QCOMPARE(c.lobby->lblExp->text(), QStringLiteral("12040"));
        QCOMPARE(c.lobby->lblLevel->text(), QStringLiteral("8"));
        QCOMPARE(c.lobby->lblNextLvl->text(), QStringLiteral("15000"));
        constexpr long teal = 12632064;
        QCOMPARE(c.newRuns(),
                 (QList<Run>{{QStringLiteral("<"), teal, false},
                             {QStringLiteral("EXP"), ChatColour::White, true},
                             {QStringLiteral("> "), teal, false},
                             {QStringLiteral(" "), teal, true},
                             {QStringLiteral("You gain 40 experience point(s).  You currently have 12040 experience points. 20:15:00"),
                              teal, false},
                             {QStringLiteral("\n"), 0, false}}));
    }

    void theRushGauge() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("UPDATERUSH 50"));
        QCOMPARE(c.lobby->imgBar->width(), 117);
        QCOMPARE(c.newLines(), QStringList());
        c.receive(QStringLiteral("UPDATERUSH 100"));
        QCOMPARE(c.lobby->imgBar->width(), 234);
        const QString fury =
            QStringLiteral("<Fury>  You are infurated. Rush gauge filled! Click the gauge to launch a surgestrike! 20:15:00");
        const QList<Run> runs = c.newRuns();
        QCOMPARE(c.newLines(), QStringList{fury});
        QCOMPARE(runs.first().colour, 16776960L);
        // Once per line.
        c.receive(QStringLiteral("UPDATERUSH 100"));
        QCOMPARE(c.newLines(), QStringList{fury});
        // Out of range: held to 0..100.
        c.receive(QStringLiteral("UPDATERUSH -20"));
        QCOMPARE(c.lobby->imgBar->width(), 0);
        c.receive(QStringLiteral("UPDATERUSH 250"));
        QCOMPARE(c.lobby->imgBar->width(), 234);
        QCOMPARE(c.newLines(), QStringList{fury});
        c.receive(QStringLiteral("UPDATERUSH 99.9"));
        QCOMPARE(c.lobby->imgBar->width(), 233);
        QCOMPARE(c.newLines(), QStringList());
    }

    void statisticsFillTheGaugeWithoutANotice() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("UPDATESTATS 5 6000 100 11 12 13 14 15"));
        QCOMPARE(c.lobby->lblap->text(), QStringLiteral("5"));
        QCOMPARE(c.lobby->lblgp->text(), QStringLiteral("6000"));
        QCOMPARE(c.lobby->lblCVChest->text(), QStringLiteral("11"));
        QCOMPARE(c.lobby->lblTHChest->text(), QStringLiteral("12"));
        QCOMPARE(c.lobby->lblWarChest->text(), QStringLiteral("13"));
        QCOMPARE(c.lobby->lblDaily->text(), QStringLiteral("14"));
        QCOMPARE(c.lobby->lblWeekly->text(), QStringLiteral("15"));
        QCOMPARE(c.lobby->imgBar->width(), 234);
        QCOMPARE(c.newLines(), QStringList());
    }

    void theGuild() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("UPDATEGUILD Iron%20Fist%20Clan"));
        QCOMPARE(GuildName, QStringLiteral("Iron Fist Clan"));
        c.receive(QStringLiteral("UPDATEGUILD"));
        QCOMPARE(GuildName, QString());
    }

    void theAvatar() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("UPDATEAVATAR f 002 003 001"));
        QVERIFY(shows(c.lobby->picavatar, c.fx(), QStringLiteral("background_002.gif")));
        QVERIFY(shows(c.lobby->imgbody, c.fx(), QStringLiteral("f_body_003.gif")));
        QVERIFY(shows(c.lobby->imghead, c.fx(), QStringLiteral("f_head_001.gif")));
        // "000" takes the head off and still loads the rest.
        c.receive(QStringLiteral("UPDATEAVATAR f 001 002 000"));
        QVERIFY(c.lobby->imghead->pixmap().isNull());
        QVERIFY(shows(c.lobby->picavatar, c.fx(), QStringLiteral("background_001.gif")));
        QVERIFY(shows(c.lobby->imgbody, c.fx(), QStringLiteral("f_body_002.gif")));
        // A picture the skin does not have leaves that layer empty; the others still come.
        c.receive(QStringLiteral("UPDATEAVATAR f 987 001 003"));
        QVERIFY(c.lobby->picavatar->pixmap().isNull());
        QVERIFY(shows(c.lobby->imgbody, c.fx(), QStringLiteral("f_body_001.gif")));
        QVERIFY(shows(c.lobby->imghead, c.fx(), QStringLiteral("f_head_003.gif")));
        QCOMPARE(c.dialogs().boxes.size(), 0);
        QVERIFY(c.con->Winsock->connected());
    }

    void anotherPlayersEntry() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("UPDATEPLAYER nyx 9 Iron%20Fist"));
        QCOMPARE(playerEntries(), (QStringList{QStringLiteral("kira 12 <Wolves>"), QStringLiteral("nyx 9 <Iron Fist>")}));
        // The entry's key stays what it was.
        QCOMPARE(c.lobby->playerlist->topLevelItem(1)->data(0, Qt::UserRole).toString(), QStringLiteral("Nyx 7"));
        c.receive(QStringLiteral("UPDATEPLAYER Nyx 10"));
        QCOMPARE(playerEntries().last(), QStringLiteral("Nyx 10"));
        c.receive(QStringLiteral("UPDATEPLAYER Nyx"));
        QCOMPARE(playerEntries().last(), QStringLiteral("Nyx"));
        // Every entry of the name, and only entries whose first word is the name.
        c.receive({QStringLiteral("NEWPLAYER2 0 x y z @Nyx"), QStringLiteral("NEWPLAYER2 0 x y z Nyxa")});
        c.receive(QStringLiteral("UPDATEPLAYER NYX 3 Owls"));
        QCOMPARE(playerEntries(), (QStringList{QStringLiteral("kira 12 <Wolves>"), QStringLiteral("NYX 3 <Owls>"),
                                               QStringLiteral("@Nyx"), QStringLiteral("Nyxa")}));
        // The dedupe of joining players sees the rewritten entries.
        c.receive(QStringLiteral("NEWPLAYER2 0 x y z nyx"));
        QCOMPARE(c.lobby->PlayersOnline(), int16_t(4));
    }

    void unknownUpdateKeywordsDoNothing() {
        LoggedInClient c;
        QVERIFY(c.ready);
        const QString gold = c.lobby->lblgp->text();
        c.receive({QStringLiteral("UPDATEGOLD 5"), QStringLiteral("UPDATE_AP 5"), QStringLiteral("UPDATEap 5")});
        QCOMPARE(c.lobby->lblgp->text(), gold);
        QCOMPARE(c.lobby->lblap->text(), QStringLiteral("3"));
        QCOMPARE(c.newLines(), QStringList());
    }
};

QTEST_MAIN(tst_messages_figures)
#include "tst_messages_figures.moc"
