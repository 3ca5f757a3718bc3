// The omni game through the real dispatcher and window: a whole game as the blue and as the red
// seat, the time-out move, the hover frame, Discard, and malformed lines that change nothing.
#include "VariantLink.h"

#include "app/clsClientConfig.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"

namespace {
frmomni* omni() { return ifLoaded<frmomni>(); }

// What a malformed line must leave as it was.
QString boardState() {
    frmomni* w = omni();
    return boardState(w, {w->Player1->Tag, w->player1_nextcard->Tag, w->gamestatus->text()});
}
}  // namespace

class tst_omni : public QObject {
    Q_OBJECT

private slots:
    void init() { ClientFixture::unloadAll(); }

    // From the start line to the close, as either seat: the board shows queued effects only at
    // the turn change, in order, and the user's moves leave as lines.
    void wholeGame_data() {
        QTest::addColumn<bool>("blue");
        QTest::newRow("blue seat") << true;
        QTest::newRow("red seat") << false;
    }
    void wholeGame() {
        QFETCH(bool, blue);
        VariantLink l;
        l.creator(blue);
        form<frmchallengewaiting>()->show();
        form<frmchallengebox_single>()->show();
        l.sent();
        const char* own = blue ? "blue" : "red";
        const char* other = blue ? "red" : "blue";
        // Seat 1 moves first: the blue user's turn, the red user's wait.
        l.receive({QStringLiteral("OCVSTARTER 1"), QStringLiteral("OCVBLOCK 4"),
                   QStringLiteral("OCVCARDDRAW Gustling.jpg Brine%20Skitter.jpg")});
        frmomni* w = omni();
        QVERIFY(w && w->isVisible());
        QVERIFY(!ifLoaded<frmchallengewaiting>() && !ifLoaded<frmchallengebox_single>());
        QCOMPARE(w->lblTitle->text(), QStringLiteral("Omni Corvada"));
        QCOMPARE(w->iam->text(), blue ? QStringLiteral("1") : QStringLiteral("2"));
        // Beside the own current card, inside the table.
        QCOMPARE(w->cmdDiscard->geometry(), blue ? QRect(0, 322, 100, 21) : QRect(489, 322, 100, 21));
        QVERIFY(w->playerturn[1]->isVisible() == blue);
        QCOMPARE(w->blnPlay, blue);
        QCOMPARE(w->TimerTurn->isActive(), blue);
        QCOMPARE(w->gamestatus->text(), blue ? QStringLiteral("Your turn") : QString());
        QCOMPARE(w->Board[4]->Tag, QStringLiteral("Card blocked by mysterious force"));
        PictureBox* current = blue ? w->Player1 : w->Player2;
        PictureBox* next = blue ? w->player1_nextcard : w->player2_nextcard;
        QCOMPARE(current->Tag, QStringLiteral("Gustling"));
        QVERIFY(samePicture(current->Picture(), l.card(own, QStringLiteral("Gustling"))));
        QVERIFY(samePicture(next->Picture(), l.card(own, QStringLiteral("Brine Skitter"))));
        QVERIFY(IsEmptyCard(blue ? w->Player2 : w->Player1));

        if (!blue) {
            // The opponent's move waits in the queue until the turn passes to the user.
            l.receive({QStringLiteral("OCVPLACEDAT 12"), QStringLiteral("OCVPLACEDCARD 12 Tidecall%20Nymph"),
                       QStringLiteral("OCVPOINTS 1 0")});
            QCOMPARE(w->Board[12]->Tag, QStringLiteral("empty"));
            QCOMPARE(w->lststeps.size(), 3);
            l.receive(QStringLiteral("OCVYOURTURN"));
            QCOMPARE(w->Board[12]->Tag, QStringLiteral("Tidecall Nymph"));
            QVERIFY(samePicture(w->Board[12]->Picture(), l.card(other, QStringLiteral("Tidecall Nymph"))));
            QCOMPARE(w->Colors(12), QString::fromLatin1(other));
            QCOMPARE(w->player1_cards->text(), QStringLiteral("1"));
            QCOMPARE(w->gamestatus->text(), QStringLiteral("Your Turn"));
            QVERIFY(w->playerturn[2]->isVisible() && !w->playerturn[1]->isVisible());
            QVERIFY(w->blnPlay && w->TimerTurn->isActive());
            QVERIFY(w->lststeps.isEmpty());
        }
        // A blocked cell takes no card; a free one does, once.
        w->Board_Click(4);
        w->Board_Click(6);
        w->Board_Click(7);
        QCOMPARE(l.sent(), QStringList{QStringLiteral("OCVPLACEAT 6")});
        QCOMPARE(w->Board[6]->Tag, QStringLiteral("Gustling"));
        QVERIFY(samePicture(w->Board[6]->Picture(), l.card(own, QStringLiteral("Gustling"))));
        QCOMPARE(current->Tag, QStringLiteral("Empty"));
        QVERIFY(IsEmptyCard(current));
        QVERIFY(w->PlayedCard() && !w->blnPlay);
        QVERIFY(!w->TimerTurn->isActive() && w->timeleft->text().isEmpty());
        QVERIFY(w->playerturn[blue ? 1 : 2]->isHidden());

        // The server's answer shows only when the turn passes, in the order it came.
        const QString capture = blue ? QStringLiteral("OCVBLUECARD 12 Kilnwarden") : QStringLiteral("OCVREDCARD 12 Kilnwarden");
        l.receive({QStringLiteral("OCVCARDDRAW Emberlark.jpg Cinderpup.jpg"), QStringLiteral("OCVCARDFLIP 12 1 ") + own, capture,
                   QStringLiteral("OCVPOINTS 3 2"), QStringLiteral("OCVSAME 7 8"), QStringLiteral("OCVPOINTS 4 2")});
        QCOMPARE(w->lststeps.mid(w->lststeps.size() - 2),
                 (QStringList{QStringLiteral("OCVSAME"), QStringLiteral("OCVPOINTS 4 2")}));
        QCOMPARE(w->player1_cards->text(), blue ? QStringLiteral("0") : QStringLiteral("1"));
        QCOMPARE(current->Tag, QStringLiteral("Emberlark"));
        l.sounds();
        l.receive(QStringLiteral("OCVTURNOVER"));
        QCOMPARE(w->Board[12]->Tag, QStringLiteral("Kilnwarden"));
        QCOMPARE(w->Colors(12), QString::fromLatin1(own));
        QCOMPARE(w->player1_cards->text(), QStringLiteral("4"));
        QCOMPARE(w->player2_cards->text(), QStringLiteral("2"));
        QCOMPARE(w->gamestatus->text(), QStringLiteral("Opponent's Turn"));
        QVERIFY(w->playerturn[blue ? 2 : 1]->isVisible() && w->playerturn[blue ? 1 : 2]->isHidden());
        QVERIFY(!w->blnPlay && !w->PlayedCard() && !w->TimerTurn->isActive());
        QVERIFY(w->lststeps.isEmpty());
        QVERIFY(l.sounds().contains(2));

        // Discard works out of turn, once a game.
        w->cmdDiscard_Click();
        w->cmdDiscard_Click();
        QCOMPARE(l.sent(), QStringList{QStringLiteral("OCVCARDDISCARD")});
        QVERIFY(!w->cmdDiscard->Enabled());

        // The close plays what is queued, then waits a second before the window goes.
        const qsizetype before = l.pauses().size();
        l.receive({QStringLiteral("OCVPOINTS 5 2"), QStringLiteral("OCVCLOSE")});
        QVERIFY(!ifLoaded<frmomni>());
        QCOMPARE(l.pauses().mid(before), (QList<int>{0, 1}));
        QVERIFY(!InGame);
        QVERIFY(l.sent().isEmpty());
        QVERIFY(l.healthy());
    }

    // The countdown's move: the current card onto the first free cell that is not blocked, unless
    // the user placed it already.
    void timeOutMove_data() {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<int>("clicked");
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("first cell free") << QStringList{} << -1 << QStringList{"OCVPLACEAT 0"};
        QTest::newRow("blocked and taken passed over")
            << QStringList{"OCVBLOCK 0", "OCVBLOCK 1", "OCVREDCARD 2 Gustling", "OCVYOURTURN"} << -1 << QStringList{"OCVPLACEAT 3"};
        QStringList full;
        for (int i = 0; i < 25; ++i) full << QStringLiteral("OCVBLOCK %1").arg(i);
        QTest::newRow("no free cell") << full << -1 << QStringList{};
        QTest::newRow("card already placed") << QStringList{} << 5 << QStringList{"OCVPLACEAT 5"};
    }
    void timeOutMove() {
        QFETCH(QStringList, setup);
        QFETCH(int, clicked);
        QFETCH(QStringList, sent);
        VariantLink l;
        l.creator(true);
        l.receive(QStringList{QStringLiteral("OCVSTARTER 1"), QStringLiteral("OCVCARDDRAW Gustling.jpg Emberlark.jpg")} + setup);
        l.sent();
        frmomni* w = omni();
        if (clicked >= 0) {
            w->Board_Click(clicked);
            w->Start_timer();
        }
        w->Timerints = 1;
        w->TimerTurn_Timer();
        QCOMPARE(w->timeleft->text(), QStringLiteral("Time Up! Game Over!"));
        QCOMPARE(l.sent(), sent);
        QCOMPARE(w->PlayedCard(), !sent.isEmpty());
        // The time-out leaves the turn as it was.
        QCOMPARE(w->blnPlay, clicked < 0);
    }

    void hoverFrame_data() {
        QTest::addColumn<bool>("turn");
        QTest::addColumn<int>("cell");
        QTest::addColumn<bool>("shown");
        QTest::newRow("free cell, own turn") << true << 8 << true;
        QTest::newRow("blocked cell") << true << 3 << false;
        QTest::newRow("opponent's turn") << false << 8 << false;
    }
    void hoverFrame() {
        QFETCH(bool, turn);
        QFETCH(int, cell);
        QFETCH(bool, shown);
        VariantLink l;
        l.creator(true);
        l.receive({turn ? QStringLiteral("OCVSTARTER 1") : QStringLiteral("OCVSTARTER 2"), QStringLiteral("OCVBLOCK 3")});
        frmomni* w = omni();
        w->Board_MouseMove(cell);
        QCOMPARE(w->shapecover->isVisible(), shown);
        if (shown) QCOMPARE(w->shapecover->geometry(), w->Board[cell]->geometry().adjusted(-3, -3, 3, 3));
        w->Form_MouseMove();
        QVERIFY(!w->shapecover->isVisible());
    }

    // Odd lines that still mean something: read the way the game reads them.
    void oddLinesReadAsTheGameDoes_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("after");  // seat, turn, markers 1 and 2, slot tags, queue
        QTest::addColumn<QString>("scores");  // the two captions after the next replay
        QTest::newRow("first mover not a number") << "OCVSTARTER x" << "1|0|0|0|Gustling|Emberlark|" << "0|0";
        QTest::newRow("first mover 3") << "OCVSTARTER 3" << "1|0|0|0|Gustling|Emberlark|" << "0|0";
        QTest::newRow("draw without names") << "OCVCARDDRAW  " << "1|1|1|0|||" << "0|0";
        QTest::newRow("draw without fields") << "OCVCARDDRAW" << "1|1|1|0|||" << "0|0";
        QTest::newRow("rule event with fields") << "OCVCOMBO 1 2" << "1|1|1|0|Gustling|Emberlark|OCVCOMBO" << "0|0";
        QTest::newRow("placement echo") << "OCVPLACEDAT" << "1|1|1|0|Gustling|Emberlark|OCVPLACEDAT" << "0|0";
        QTest::newRow("scores as they come") << "OCVPOINTS 99999 x" << "1|1|1|0|Gustling|Emberlark|OCVPOINTS 99999 x" << "99999|x";
        QTest::newRow("scores missing") << "OCVPOINTS" << "1|1|1|0|Gustling|Emberlark|OCVPOINTS" << "|";
    }
    void oddLinesReadAsTheGameDoes() {
        QFETCH(QString, line);
        QFETCH(QString, after);
        QFETCH(QString, scores);
        VariantLink l;
        l.creator(true);
        l.receive({QStringLiteral("OCVSTARTER 1"), QStringLiteral("OCVCARDDRAW Gustling.jpg Emberlark.jpg"), line});
        frmomni* w = omni();
        const QStringList seen{w->iam->text(), QString::number(w->blnPlay), QString::number(w->playerturn[1]->isVisible()),
                               QString::number(w->playerturn[2]->isVisible()), w->Player1->Tag, w->player1_nextcard->Tag,
                               w->lststeps.join(u',')};
        QCOMPARE(seen.join(u'|'), after);
        if (w->Player1->Tag.isEmpty()) QVERIFY(IsEmptyCard(w->Player1) && IsEmptyCard(w->player1_nextcard));
        l.receive(QStringLiteral("OCVTURNOVER"));
        QCOMPARE(w->player1_cards->text() + u'|' + w->player2_cards->text(), scores);
        QVERIFY(l.dialogs().boxes.isEmpty());
        QVERIFY(l.healthy());
    }

    // Lines with missing, non-numeric or out-of-range fields: the board stays as it was and the
    // client keeps running. Queued ones are checked at the replay.
    void malformedLines_data() {
        QTest::addColumn<QString>("line");
        const char* rows[] = {"OCVBLOCK 25", "OCVBLOCK -1", "OCVBLOCK x", "OCVBLOCK", "OCVBLOCK 99999999999",
                              "OCVPLACEDCARD 99 X", "OCVPLACEDCARD", "OCVPLACEDCARD -3 Gustling", "OCVBLUECARD 25 Gustling",
                              "OCVREDCARD x Gustling", "OCVREDCARD 3", "OCVCARDFLIP 40 1 red", "OCVCARDFLIP", "OCVNOSUCH 1 2",
                              "OCVYOURTURNS"};
        for (const char* r : rows) QTest::newRow(r) << QString::fromLatin1(r);
    }
    void malformedLines() {
        QFETCH(QString, line);
        VariantLink l;
        l.creator(true);
        l.receive({QStringLiteral("OCVSTARTER 2"), QStringLiteral("OCVCARDDRAW Gustling.jpg Emberlark.jpg"),
                   QStringLiteral("OCVREDCARD 7 Cinderpup"), QStringLiteral("OCVPOINTS 1 1"), QStringLiteral("OCVTURNOVER")});
        const QString before = boardState();
        l.receive({line, QStringLiteral("OCVTURNOVER")});
        QCOMPARE(boardState(), before);
        QVERIFY(l.dialogs().boxes.isEmpty());
        QVERIFY(l.healthy());
    }

    // A line that arrives while the replay yields waits for the pump's next turn: it is handled
    // after the replay, so a queued step cannot overwrite it.
    void noLineIsHandledInsideAReplay() {
        VariantLink l;
        l.creator(true);
        l.receive({QStringLiteral("OCVSTARTER 2"), QStringLiteral("OCVBLUECARD 19 Cinderpup"), QStringLiteral("OCVBLUECARD 20 Gustling")});
        const double counted = ClientConfig().PacketCount().toDouble();
        l.server.sendLines({QStringLiteral("OCVYOURTURN")});
        QVERIFY(QTest::qWaitFor([&l] { return !l.con->lstPackets.empty(); }, 5000));
        // Fires in the replay's first pause, as the packet timer would.
        QTimer::singleShot(0, l.con, [&l] {
            l.con->lstPackets.push_back(QStringLiteral("OCVBLOCK 20"));
            l.con->tmrPacket_Timer();
        });
        l.con->tmrPacket_Timer();
        QCOMPARE(omni()->Board[19]->Tag, QStringLiteral("Cinderpup"));
        QCOMPARE(omni()->Board[20]->Tag, QStringLiteral("Card blocked by mysterious force"));
        QVERIFY(l.con->lstPackets.empty());
        // Each line was handled once: the turn line was not taken up again from inside its replay.
        QCOMPARE(ClientConfig().PacketCount().toDouble(), counted + 2);
    }

    // Names the server sends for files: an unsafe one clears the slot instead.
    void cardDrawNames_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("next");
        QTest::newRow("both") << "OCVCARDDRAW Red%20Fox.jpg Gustling.jpg" << "Red Fox" << "Gustling";
        QTest::newRow("next empty") << "OCVCARDDRAW Gustling.jpg " << "Gustling" << "";
        QTest::newRow("path in name") << "OCVCARDDRAW ..%2F..%2Fx.jpg Gustling.jpg" << "" << "Gustling";
        QTest::newRow("folder in name") << "OCVCARDDRAW ..\\x.jpg Gustling.jpg" << "" << "Gustling";
        QTest::newRow("no name left") << "OCVCARDDRAW .jpg Gustling.jpg" << "" << "Gustling";
    }
    void cardDrawNames() {
        QFETCH(QString, line);
        QFETCH(QString, current);
        QFETCH(QString, next);
        VariantLink l;
        l.creator(false);
        l.dialogs().answer(vb::OK);
        l.receive({QStringLiteral("OCVSTARTER 1"), line.replace(QStringLiteral("%2F"), QStringLiteral("/"))});
        frmomni* w = omni();
        QCOMPARE(w->Player2->Tag, current);
        QCOMPARE(w->player2_nextcard->Tag, next);
        if (current.isEmpty()) QVERIFY(IsEmptyCard(w->Player2));
        if (next.isEmpty()) QVERIFY(IsEmptyCard(w->player2_nextcard));
        // Only the missing card file is reported, never a name that is no file name.
        QCOMPARE(l.dialogs().count(QStringLiteral("Fatal error")), current == QLatin1String("Red Fox") ? 1 : 0);
        QVERIFY(l.healthy());
    }
};

QTEST_MAIN(tst_omni)
#include "tst_omni.moc"
