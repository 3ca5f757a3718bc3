// Players coming and going after a login: the lobby's player tree and count, the join, part and
// buddy notices with their colours, the join and part sounds, and the guild member list.
#include "LoggedInClient.h"

#include "app/storedvars.h"
#include "lobby/frmguildchat.h"

#include <QtTest>

namespace {
QStringList guildMembers() {
    QStringList out;
    if (frmguildchat* guild = ifLoaded<frmguildchat>())
        for (int i = 0; i < guild->playerlist->topLevelItemCount(); ++i) out << guild->playerlist->topLevelItem(i)->text(0);
    return out;
}

QString nodeKey(int row) {
    return ifLoaded<frmchildchat>()->playerlist->topLevelItem(row)->data(0, Qt::UserRole).toString();
}
}  // namespace

class tst_messages_players : public QObject {
    Q_OBJECT

private slots:
    void joinAndPartNoticesWithSounds() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.setting(QStringLiteral("Chat"), QStringLiteral("ShowJoinPart"), QStringLiteral("1"));
        QCOMPARE(playerEntries(), (QStringList{QStringLiteral("kira 12 <Wolves>"), QStringLiteral("Nyx 7")}));

        c.receive(QStringLiteral("NEWPLAYER 1 x Wolves Gold Ryo%2012"));
        QCOMPARE(playerEntries().last(), QStringLiteral("Ryo 12"));
        QCOMPARE(nodeKey(2), QStringLiteral("Ryo 12"));
        QCOMPARE(c.lobby->lblActive->text(), QStringLiteral("3"));
        constexpr long gold = 0x01D9E7;
        QCOMPARE(c.newRuns(), (QList<Run>{{QStringLiteral("<"), gold, false},
                                          {QStringLiteral("Join"), ChatColour::White, true},
                                          {QStringLiteral("> "), gold, false},
                                          {QStringLiteral("Ryo 12[Wolves] (Moderator) "), gold, true},
                                          {QStringLiteral("|x| [Gold] has JOINED Corvadex at 20:15:00"), gold, false},
                                          {QStringLiteral("\n"), 0, false}}));
        c.mark();
        QCOMPARE(c.sounds(), QStringList{QStringLiteral("join.wav")});

        c.receive(QStringLiteral("REMPLAYER Ryo"));
        QCOMPARE(playerEntries(), (QStringList{QStringLiteral("kira 12 <Wolves>"), QStringLiteral("Nyx 7")}));
        QCOMPARE(c.lobby->lblActive->text(), QStringLiteral("2"));
        constexpr long grey = 0x808080;
        QCOMPARE(c.newRuns(), (QList<Run>{{QStringLiteral("<"), grey, false},
                                          {QStringLiteral("Part"), ChatColour::White, true},
                                          {QStringLiteral("> "), grey, false},
                                          {QStringLiteral("Ryo "), grey, true},
                                          {QStringLiteral("has LEFT Corvadex at 20:15:00"), grey, false},
                                          {QStringLiteral("\n"), 0, false}}));
        QCOMPARE(c.sounds(), QStringList{QStringLiteral("part.wav")});
    }

    void aRepeatedJoinIsListedOnce() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.setting(QStringLiteral("Chat"), QStringLiteral("ShowJoinPart"), QStringLiteral("1"));
        c.receive(QStringLiteral("NEWPLAYER 0 x y Gold Ryo"));
        c.receive(QStringLiteral("NEWPLAYER 0 x y Gold RYO%2099"));
        // The nickname decides, whatever its letter case; the notice and sound come both times.
        QCOMPARE(playerEntries(), (QStringList{QStringLiteral("kira 12 <Wolves>"), QStringLiteral("Nyx 7"), QStringLiteral("Ryo")}));
        QCOMPARE(c.lobby->PlayersOnline(), int16_t(3));
        QCOMPARE(c.newLines(), (QStringList{QStringLiteral("<Join> Ryo[y] |x| [Gold] has JOINED Corvadex at 20:15:00"),
                                            QStringLiteral("<Join> RYO 99[y] |x| [Gold] has JOINED Corvadex at 20:15:00")}));
        QCOMPARE(c.sounds(), (QStringList{QStringLiteral("join.wav"), QStringLiteral("join.wav")}));
        // The player's own entry from the login list counts as listed too.
        c.receive(QStringLiteral("NEWPLAYER2 0 x y Gold KIRA"));
        QCOMPARE(c.lobby->PlayersOnline(), int16_t(3));
    }

    void badgesTitlesAndColours_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<long>("colour");
        QTest::newRow("GM") << "NEWPLAYER 2 x Owls Diamond Ryo" << "<Join> Ryo[Owls] (GM) |x| [Diamond] has JOINED Corvadex at 20:15:00"
                            << 0xFF8080L;
        QTest::newRow("staff 3 is GM too") << "NEWPLAYER 3 x Owls Platnium Ryo"
                                           << "<Join> Ryo[Owls] (GM) |x| [Platinum] has JOINED Corvadex at 20:15:00" << 0xC0C0C0L;
        QTest::newRow("Master GM, power user") << "NEWPLAYER 4 a%20b Owls Power%20User Ryo"
                                               << "<Join> Ryo[Owls] (Master GM) |a b| [Power User] has JOINED Corvadex at 20:15:00"
                                               << 0x0000FFL;
        QTest::newRow("VIP") << "NEWPLAYER 0 x Owls VIP3 Ryo" << "<Join> Ryo[Owls] |x| [VIP ***] has JOINED Corvadex at 20:15:00"
                             << 0xFF6600L;
        QTest::newRow("unknown membership: green, no badge") << "NEWPLAYER 0 x Owls Bronze Ryo"
                                                             << "<Join> Ryo[Owls] |x| has JOINED Corvadex at 20:15:00" << 0x00FF00L;
        QTest::newRow("no membership: no tag") << "NEWPLAYER 0 x Owls  Ryo" << "<Join> Ryo[Owls] has JOINED Corvadex at 20:15:00"
                                               << 0x00FF00L;
        QTest::newRow("names stay text") << "NEWPLAYER 0 <b>x</b> <i>y</i> Gold <u>Ryo</u>"
                                         << "<Join> <u>Ryo</u>[<i>y</i>] |<b>x</b>| [Gold] has JOINED Corvadex at 20:15:00"
                                         << 0x01D9E7L;
    }
    void badgesTitlesAndColours() {
        QFETCH(QString, line);
        QFETCH(QString, shown);
        QFETCH(long, colour);
        LoggedInClient c;
        QVERIFY(c.ready);
        c.setting(QStringLiteral("Chat"), QStringLiteral("ShowJoinPart"), QStringLiteral("1"));
        c.receive(line);
        const QList<Run> runs = c.newRuns();
        QCOMPARE(c.newLines(), QStringList{shown});
        QVERIFY(runs.size() > 2);
        QCOMPARE(runs.first().colour, colour);
        QCOMPARE(runs[runs.size() - 2].colour, colour);
    }

    void noticesOffByDefaultButSoundsPlay() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("NEWPLAYER 0 x y Gold Ryo"));
        c.receive(QStringLiteral("REMPLAYER Ryo"));
        QCOMPARE(c.newLines(), QStringList());
        QCOMPARE(c.sounds(), (QStringList{QStringLiteral("join.wav"), QStringLiteral("part.wav")}));
    }

    void silentJoinsStillAnnounceBuddies() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.setting(QStringLiteral("Chat"), QStringLiteral("ShowJoinPart"), QStringLiteral("1"));
        WriteIni(QStringLiteral("Buddy"), QStringLiteral("Ryo"), QStringLiteral("1"), c.fx().path(QStringLiteral("config/buddy.idx")));
        WriteIni(QStringLiteral("Buddy"), QStringLiteral("Zed"), QStringLiteral("0"), c.fx().path(QStringLiteral("config/buddy.idx")));
        c.receive({QStringLiteral("NEWPLAYER2 0 x y Gold Ryo%2012"), QStringLiteral("NEWPLAYER2 0 x y Gold Zed")});
        QCOMPARE(playerEntries().mid(2), (QStringList{QStringLiteral("Ryo 12"), QStringLiteral("Zed")}));
        QCOMPARE(c.lobby->PlayersOnline(), int16_t(4));
        constexpr long cyan = 0xFFFF00;
        QCOMPARE(c.newRuns(), (QList<Run>{{QStringLiteral("<"), cyan, false},
                                          {QStringLiteral("Buddy"), ChatColour::White, true},
                                          {QStringLiteral("> "), cyan, false},
                                          {QStringLiteral("Ryo 12 "), cyan, true},
                                          {QStringLiteral("is online. 20:15:00"), cyan, false},
                                          {QStringLiteral("\n"), 0, false}}));
        QCOMPARE(c.sounds(), QStringList());
    }

    void partsTakeEveryMarkedEntryOfTheName() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive({QStringLiteral("NEWPLAYER2 0 x y z @Ryo%205"), QStringLiteral("NEWPLAYER2 0 x y z Ryo2"),
                   QStringLiteral("NEWPLAYER2 0 x y z +Ryo"), QStringLiteral("NEWPLAYER2 0 x y z *Ryo%20<Owls>"),
                   QStringLiteral("NEWPLAYER2 0 x y z ryo")});
        QCOMPARE(c.lobby->PlayersOnline(), int16_t(7));
        c.sounds();
        c.receive(QStringLiteral("REMPLAYER Ryo"));
        QCOMPARE(playerEntries(), (QStringList{QStringLiteral("kira 12 <Wolves>"), QStringLiteral("Nyx 7"), QStringLiteral("Ryo2"),
                                               QStringLiteral("ryo")}));
        QCOMPARE(c.lobby->PlayersOnline(), int16_t(4));
        QCOMPARE(c.sounds(), (QStringList(3, QStringLiteral("part.wav"))));
        // A name nobody has changes nothing.
        c.receive(QStringLiteral("REMPLAYER Nobody"));
        QCOMPARE(c.lobby->PlayersOnline(), int16_t(4));
        QCOMPARE(c.sounds(), QStringList());
    }

    void theGuildListFollowsTheLobby() {
        LoggedInClient c;
        QVERIFY(c.ready);
        QCOMPARE(GuildName, QStringLiteral("Night Owls"));
        QCOMPARE(guildMembers(), QStringList());
        c.receive({QStringLiteral("NEWPLAYER2 0 x y z Ryo%205%20<Night%20Owls>"), QStringLiteral("NEWPLAYER2 0 x y z Zed%201%20<Wolves>"),
                   QStringLiteral("NEWPLAYER2 0 x y z Ada%203%20<Night%20Owls>")});
        QCOMPARE(guildMembers(), (QStringList{QStringLiteral("Ryo 5 <Night Owls>"), QStringLiteral("Ada 3 <Night Owls>")}));
        c.receive(QStringLiteral("REMPLAYER Ryo"));
        QCOMPARE(guildMembers(), QStringList{QStringLiteral("Ada 3 <Night Owls>")});
        // A part without a name still rebuilds the list from the lobby.
        ifLoaded<frmguildchat>()->playerlist->clear();
        c.receive(QStringLiteral("REMPLAYER"));
        QCOMPARE(guildMembers(), QStringList{QStringLiteral("Ada 3 <Night Owls>")});
    }

    // Each tick's lines are handled, then the guild list is brought up to date; after the last
    // tick it must hold what a rebuild from the whole lobby tree would, in the lobby's order.
    void theGuildListAfterJoinsAndLeaves_data() {
        QTest::addColumn<QList<QStringList>>("ticks");
        QTest::addColumn<QStringList>("lobbyAfter");
        QTest::addColumn<QStringList>("guildAfter");
        const QString ryo = QStringLiteral("NEWPLAYER2 0 x y z Ryo%205%20<Night%20Owls>");
        const QString ada = QStringLiteral("NEWPLAYER 0 x y z Ada%203%20<Night%20Owls>");
        const QString zed = QStringLiteral("NEWPLAYER2 0 x y z Zed%201%20<Wolves>");
        const QString own = QStringLiteral("kira 12 <Wolves>"), nyx = QStringLiteral("Nyx 7");
        const QString ryoNode = QStringLiteral("Ryo 5 <Night Owls>"), adaNode = QStringLiteral("Ada 3 <Night Owls>");
        using Ticks = QList<QStringList>;
        QTest::newRow("a member joins") << Ticks{{ryo}} << QStringList{own, nyx, ryoNode} << QStringList{ryoNode};
        QTest::newRow("another guild's player joins") << Ticks{{ryo}, {zed}} << QStringList{own, nyx, ryoNode, "Zed 1 <Wolves>"}
                                                      << QStringList{ryoNode};
        QTest::newRow("a repeated join is one member") << Ticks{{ryo}, {"NEWPLAYER2 0 x y z RYO%209%20<Night%20Owls>"}}
                                                       << QStringList{own, nyx, ryoNode} << QStringList{ryoNode};
        QTest::newRow("a member leaves") << Ticks{{ryo, ada}, {"REMPLAYER Ryo"}} << QStringList{own, nyx, adaNode}
                                         << QStringList{adaNode};
        QTest::newRow("joined and gone in one tick") << Ticks{{ada}, {ryo, "REMPLAYER Ryo"}} << QStringList{own, nyx, adaNode}
                                                     << QStringList{adaNode};
        QTest::newRow("an unknown name leaves nothing") << Ticks{{ryo}, {"REMPLAYER Nobody"}, {"REMPLAYER ryo"}}
                                                        << QStringList{own, nyx, ryoNode} << QStringList{ryoNode};
        QTest::newRow("marked entries go with the name")
            << Ticks{{"NEWPLAYER2 0 x y z @Ryo%20<Night%20Owls>", "NEWPLAYER2 0 x y z Ryo2%20<Night%20Owls>"},
                     {"NEWPLAYER2 0 x y z *Ryo%20<Night%20Owls>"},
                     {"REMPLAYER Ryo"}}
            << QStringList{own, nyx, "Ryo2 <Night Owls>"} << QStringList{"Ryo2 <Night Owls>"};
        QTest::newRow("back again: at the end") << Ticks{{ryo, ada}, {"REMPLAYER Ryo"}, {ryo}} << QStringList{own, nyx, adaNode, ryoNode}
                                                << QStringList{adaNode, ryoNode};
        QTest::newRow("a rewritten entry counts with its new guild")
            << Ticks{{ryo, ada}, {"UPDATEPLAYER Ryo 6 Wolves"}, {zed}} << QStringList{own, nyx, "Ryo 6 <Wolves>", adaNode, "Zed 1 <Wolves>"}
            << QStringList{adaNode};
        QTest::newRow("the player's own guild changes") << Ticks{{ryo}, {"UPDATEGUILD Wolves"}, {"REMPLAYER Nobody"}}
                                                        << QStringList{own, nyx, ryoNode} << QStringList{own};
    }
    void theGuildListAfterJoinsAndLeaves() {
        QFETCH(QList<QStringList>, ticks);
        QFETCH(QStringList, lobbyAfter);
        QFETCH(QStringList, guildAfter);
        LoggedInClient c;
        QVERIFY(c.ready);
        for (const QStringList& tick : ticks) c.receive(tick);
        QCOMPARE(playerEntries(), lobbyAfter);
        QCOMPARE(c.lobby->PlayersOnline(), int16_t(lobbyAfter.size()));
        QCOMPARE(guildMembers(), guildAfter);
        for (int row = 0; row < guildAfter.size(); ++row)
            QCOMPARE(ifLoaded<frmguildchat>()->playerlist->topLevelItem(row)->data(0, Qt::UserRole).toString(), guildAfter[row]);
    }
};

QTEST_MAIN(tst_messages_players)
#include "tst_messages_players.moc"
