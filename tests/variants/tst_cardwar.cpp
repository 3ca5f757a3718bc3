// The card war through the real dispatcher and window: a round as either seat, the countdown
// with its automatic play, the board's pictures and texts, the log, the requests, the result
// line with its verbs and replay link, the skin fallback, and malformed lines.
#include "VariantLink.h"

#include "app/clsClientConfig.h"
#include "app/modSettings.h"
#include "platform/Ini.h"
#include "tables/frmchallengebox_single.h"
#include "variants/frmcardwars.h"

namespace {
frmcardwars* war() { return ifLoaded<frmcardwars>(); }

const QStringList kHand{"Cinderpup", "Emberlark", "Kilnwarden", "Brine Skitter", "Basalt Vigil"};
const QString kHandLine = QStringLiteral("Cinderpup Emberlark Kilnwarden Brine%20Skitter Basalt%20Vigil");

// The hand's left positions, as "86,86,111,86,86".
QString lefts(const std::array<PictureBox*, 5>& hand) {
    QStringList out;
    for (const PictureBox* b : hand) out << QString::number(b->x());
    return out.join(u',');
}

// Which picture of the list a label shows (-1 none of them).
int iconOf(const QLabel* label) {
    for (int i = 1; i < 13; ++i)
        if (samePicture(label->pixmap(), war()->imlicons[i])) return i;
    return -1;
}

// What a line that must be ignored could have changed.
QString boardState() {
    frmcardwars* w = war();
    return QStringList{QString::number(w->playerid), w->player1_life->text(), w->player2_life->text(), w->lblP1Combo->text(),
                       w->lblP2Combo->text(), QString::number(iconOf(w->plr1status)), QString::number(iconOf(w->plr2status)),
                       QString::number(iconOf(w->imgElement)), w->imgcard[0]->Tag, QString::number(w->Battle)}
        .join(u'|');
}

}  // namespace

class tst_cardwar : public QObject {
    Q_OBJECT

private slots:
    void init() { ClientFixture::unloadAll(); }

    // Load, hand, a round opened, a card chosen and played, as either seat.
    void round_data() {
        QTest::addColumn<int>("seat");
        QTest::newRow("blue seat") << 1;
        QTest::newRow("red seat") << 2;
    }
    void round() {
        QFETCH(int, seat);
        VariantLink l;
        l.creator(seat == 2);  // the seat comes from the line, not from the table
        form<frmchallengebox_single>()->show();
        l.receive({QStringLiteral("CARDWARSLOAD ") + QString::number(seat), QStringLiteral("CARDWARSHAND ") + QString::number(seat) +
                                                                                  u' ' + kHandLine});
        frmcardwars* w = war();
        QVERIFY(w && w->isVisible());
        QVERIFY(!ifLoaded<frmchallengebox_single>());
        QCOMPARE(w->windowTitle(), QStringLiteral("Corvada War"));
        QCOMPARE(w->playerid, int16_t(seat));
        QCOMPARE(w->player1_life->text() + w->player2_life->text(), QStringLiteral("10001000"));
        auto& own = seat == 1 ? w->Player1 : w->Player2;
        auto& other = seat == 1 ? w->Player2 : w->Player1;
        // A click on a hand card: the own hand, or the other one.
        auto pick = [&](bool mine, int k) { (seat == 1) == mine ? w->Player1_Click(k) : w->Player2_Click(k); };
        const QPixmap back = SkinPicture(QStringLiteral("main"), QStringLiteral("cardback"));
        for (int k = 0; k < 5; ++k) {
            QVERIFY(samePicture(own[k]->Picture(), l.card(seat == 1 ? "blue" : "red", kHand[k])));
            QVERIFY(samePicture(other[k]->Picture(), back));
        }
        QVERIFY(samePicture(w->imgcard[0]->Picture(), back));

        // Before the round opens nothing can be chosen.
        pick(true, 2);
        QCOMPARE(w->SelectedID, int16_t(-1));
        l.receive(QStringLiteral("CARDWARSSTART"));
        QVERIFY(w->Battle && w->TimerTurn->isActive());
        QCOMPARE(w->imgcard[0]->Tag + w->imgcard[1]->Tag, QStringLiteral("emptyempty"));

        // The opponent's hand and play slot, and the own slot with nothing chosen, do nothing.
        pick(false, 1);
        w->imgcard_Click(seat - 1);
        w->imgcard_Click(2 - seat);
        QCOMPARE(w->SelectedID, int16_t(-1));
        QVERIFY(l.sent().isEmpty());

        const int column = seat == 1 ? 86 : 541, out = seat == 1 ? 111 : 516;
        pick(true, 2);
        pick(true, 4);
        pick(true, 4);
        QCOMPARE(w->SelectedID, int16_t(4));
        const QString c = QString::number(column);
        QCOMPARE(lefts(own), QStringList({c, c, c, c, QString::number(out)}).join(u','));

        w->imgcard_Click(seat - 1);
        QCOMPARE(l.sent(), QStringList{QStringLiteral("CARDWARS_PLACEAT 4")});
        QCOMPARE(lefts(own), QStringList(5, c).join(u','));
        QVERIFY(samePicture(w->imgcard[seat - 1]->Picture(), l.card(seat == 1 ? "blue" : "red", kHand[4])));
        QVERIFY(IsEmptyCard(own[4]));
        QCOMPARE(own[4]->Tag, QStringLiteral("Empty"));
        QVERIFY(!w->Battle && !w->TimerTurn->isActive());
        QCOMPARE(w->SelectedID, int16_t(-1));
        QCOMPARE(w->gamestatus->text(), QString());
        // A second play, or a click on the played card, does nothing.
        w->imgcard_Click(seat - 1);
        pick(true, 4);
        QVERIFY(l.sent().isEmpty());

        // The reveal shows both cards.
        l.receive(QStringLiteral("CARDWARSPHASE Basalt%20Vigil Cinderpup"));
        QVERIFY(samePicture(w->imgcard[0]->Picture(), l.card("blue", QStringLiteral("Basalt Vigil"))));
        QVERIFY(samePicture(w->imgcard[1]->Picture(), l.card("red", QStringLiteral("Cinderpup"))));
        QVERIFY(l.healthy());
    }

    // 34 shown first, silent to 10, the tick from 9, then "Times Up!" and the first card still
    // in the hand played; a picked card keeps sticking out.
    // A seat other than 1 plays from the right-hand column; a dealt hand later shown as card
    // backs still plays.
    void countdown_data() {
        QTest::addColumn<int>("seat");
        QTest::addColumn<QString>("hands");  // whose hands the hand lines show face up, in order
        QTest::addColumn<int>("played");  // hand slots played before the round
        QTest::addColumn<QString>("line");
        QTest::newRow("full hand") << 1 << "1" << 0 << "CARDWARS_PLACEAT 0";
        QTest::newRow("two played") << 1 << "1" << 2 << "CARDWARS_PLACEAT 2";
        QTest::newRow("all played") << 1 << "1" << 5 << "";
        QTest::newRow("seat 2") << 2 << "2" << 1 << "CARDWARS_PLACEAT 1";
        QTest::newRow("seat 3") << 3 << "2" << 0 << "CARDWARS_PLACEAT 0";
        QTest::newRow("seat 0") << 0 << "2" << 3 << "CARDWARS_PLACEAT 3";
        QTest::newRow("own hand as backs") << 1 << "12" << 0 << "CARDWARS_PLACEAT 0";
    }
    void countdown() {
        QFETCH(int, seat);
        QFETCH(QString, hands);
        QFETCH(int, played);
        QFETCH(QString, line);
        VariantLink l;
        l.receive(QStringLiteral("CARDWARSLOAD %1").arg(seat));
        for (const QChar whose : hands) l.receive(QStringLiteral("CARDWARSHAND ") + whose + u' ' + kHandLine);
        l.receive(QStringLiteral("CARDWARSSTART"));
        frmcardwars* w = war();
        auto& hand = seat == 1 ? w->Player1 : w->Player2;
        for (int k = 0; k < played; ++k) hand[k]->Picture(CardBack());
        if (played < 4) seat == 1 ? w->Player1_Click(4) : w->Player2_Click(4);
        l.sent();
        const int before = l.fx->services.sound->played.size();
        QStringList shown;
        for (int t = 0; t < 35; ++t) {
            w->TimerTurn_Timer();
            shown << w->timeleft->text();
        }
        QCOMPARE(shown.first(), QStringLiteral("34"));
        QCOMPARE(shown[24], QStringLiteral("10"));
        QCOMPARE(shown[33], QStringLiteral("1"));
        QCOMPARE(shown.last(), QStringLiteral("Times Up!"));
        QList<int> expected(9, 48);
        expected << 49;
        QCOMPARE(soundNumbers(l.fx->services.sound->played.mid(before)), expected);
        QVERIFY(!w->TimerTurn->isActive() && !w->Battle);
        QCOMPARE(l.sent(), line.isEmpty() ? QStringList() : QStringList{line});
        if (played < 4) {
            QVERIFY(IsEmptyCard(hand[played]));
            QCOMPARE(hand[played]->Tag, QStringLiteral("Empty"));
            // Only a seat's own pick sticks out.
            QCOMPARE(hand[4]->x(), seat == 1 ? 111 : seat == 2 ? 516 : 541);
            QCOMPARE(w->imgcard[0]->Tag, QStringLiteral("empty"));
        }
    }

    // Statuses, combo owner and text, element, lives; the round opens.
    void board_data() {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("pictures");  // plr1status, plr2status, imgElement
        QTest::addColumn<QString>("combos");
        QTest::newRow("swords, no combo") << "1 1 1 0 0 900 850 x y" << "1,1,-1" << "|";
        QTest::newRow("shields, red combo") << "2 2 2 x3 4 640 1000 x y" << "2,2,6" << "|x3";
        QTest::newRow("blue combo, last element") << "1 2 1 x2 10 1 2 x y" << "1,2,12" << "x2|kept";
    }
    void board() {
        QFETCH(QString, fields);
        QFETCH(QString, pictures);
        QFETCH(QString, combos);
        VariantLink l;
        l.receive(QStringLiteral("CARDWARSLOAD 2"));
        frmcardwars* w = war();
        w->lblP2Combo->setText(QStringLiteral("kept"));
        w->imgcard[1]->Tag = QStringLiteral("Taken");
        l.receive(QStringLiteral("CARDWARSBOARD ") + fields);
        const QStringList f = fields.split(u' ');
        QCOMPARE(QStringLiteral("%1,%2,%3").arg(iconOf(w->plr1status)).arg(iconOf(w->plr2status)).arg(iconOf(w->imgElement)), pictures);
        if (pictures.endsWith(QLatin1String("-1"))) QVERIFY(samePicture(w->imgElement->pixmap(), w->imgNothing->pixmap()));
        QCOMPARE(w->lblP1Combo->text() + u'|' + w->lblP2Combo->text(), combos);
        QCOMPARE(w->player1_life->text(), f[5]);
        QCOMPARE(w->player2_life->text(), f[6]);
        QCOMPARE(w->imgcard[1]->Tag, QStringLiteral("empty"));
        QVERIFY(w->Battle && w->TimerTurn->isActive());
        QVERIFY(l.healthy());
    }

    // Card names missing from a hand or a reveal: those slots show the empty card, with a
    // warning and no box, and a missing hand card cannot be chosen. The others show their cards.
    void missingCardNames_data() {
        QTest::addColumn<QString>("line");
        // Hand slots 0..4 then play slots: "c" a card, "." the empty card, "b" a card back.
        QTest::addColumn<QString>("cards");
        QTest::newRow("hand of no names") << "CARDWARSHAND 2" << ".....|bb";
        QTest::newRow("hand of one name") << "CARDWARSHAND 2 Cinderpup" << "c....|bb";
        QTest::newRow("hand with a gap") << "CARDWARSHAND 2 Cinderpup  Emberlark" << "c.c..|bb";
        QTest::newRow("hand with a path") << "CARDWARSHAND 2 ..%2Fx Cinderpup Emberlark Gustling Kilnwarden" << ".cccc|bb";
        QTest::newRow("reveal of no names") << "CARDWARSPHASE" << "-----|..";
        QTest::newRow("reveal of one name") << "CARDWARSPHASE Cinderpup" << "-----|c.";
    }
    void missingCardNames() {
        QFETCH(QString, line);
        QFETCH(QString, cards);
        VariantLink l;
        l.receive({QStringLiteral("CARDWARSLOAD 2"), QStringLiteral("CARDWARSSTART")});
        l.receive(line.replace(QStringLiteral("%2F"), QStringLiteral("/")));
        frmcardwars* w = war();
        const QPixmap back = SkinPicture(QStringLiteral("main"), QStringLiteral("cardback"));
        auto look = [&](const PictureBox* b) {
            return IsEmptyCard(b) ? u'.' : samePicture(b->Picture(), back) ? u'b' : b->Picture().isNull() ? u'?' : u'c';
        };
        QString seen;
        for (const PictureBox* b : w->Player2) seen += line.startsWith(QLatin1String("CARDWARSHAND")) ? look(b) : u'-';
        seen += u'|';
        for (const PictureBox* b : w->imgcard) seen += look(b);
        QCOMPARE(seen, cards);
        for (int k = 0; k < 5; ++k) {
            if (!IsEmptyCard(w->Player2[k])) continue;
            QCOMPARE(w->Player2[k]->Tag, QStringLiteral("Empty"));
            w->Player2_Click(k);
            QCOMPARE(w->SelectedID, int16_t(-1));
        }
        QVERIFY(l.dialogs().boxes.isEmpty());
        QVERIFY(l.healthy());
    }

    // Lines the window cannot show are left unread; the game goes on.
    void malformedIgnored_data() {
        QTest::addColumn<QString>("line");
        QTest::newRow("status 3") << "CARDWARSBOARD 3 9 1 x2 1 5 5";
        QTest::newRow("no fields") << "CARDWARSBOARD";
        QTest::newRow("element 11") << "CARDWARSBOARD 1 2 1 x2 11 5 5";
        QTest::newRow("element below 0") << "CARDWARSBOARD 1 2 1 x2 -1 5 5";
        QTest::newRow("seat above 32767") << "CARDWARSLOAD 40000";
    }
    void malformedIgnored() {
        QFETCH(QString, line);
        VariantLink l;
        l.receive(QStringLiteral("CARDWARSLOAD 1"));
        const QString before = boardState();
        l.receive(line);
        QCOMPARE(boardState(), before);
        QVERIFY(l.healthy());
        QVERIFY(l.dialogs().boxes.isEmpty());
    }

    // Odd lines read as the game reads them.
    void malformedRead_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expect");
        QTest::newRow("load without a seat") << "CARDWARSLOAD" << "0|1000|1000";
        QTest::newRow("history without text") << "CARDWARSHISTORY" << "<History>  \n";
        QTest::newRow("history is plain text") << "CARDWARSHISTORY <b>x</b>%20&amp;" << "<History> <b>x</b> &amp; \n";
    }
    void malformedRead() {
        QFETCH(QString, line);
        QFETCH(QString, expect);
        VariantLink l;
        l.receive(line);
        frmcardwars* w = war();
        if (line.startsWith(QLatin1String("CARDWARSLOAD"))) {
            QCOMPARE(QStringLiteral("%1|%2|%3").arg(w->playerid).arg(w->player1_life->text(), w->player2_life->text()), expect);
            // Seat 0 plays from the right-hand column, which holds no card yet: nothing goes.
            l.receive(QStringLiteral("CARDWARSSTART"));
            for (int t = 0; t < 35; ++t) w->TimerTurn_Timer();
            QVERIFY(l.sent().isEmpty());
        } else {
            QCOMPARE(w->chatin->toPlainText(), expect);
            QVERIFY(!w->isVisible());
        }
        QVERIFY(l.healthy());
    }

    // The result line's verb by the scores, the replay link, and the close.
    void match_data() {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<QString>("verb");
        QTest::newRow("both above 0") << 1 << 1 << "stalemated";
        QTest::newRow("100") << 100 << 0 << "routs";
        QTest::newRow("101") << 101 << -5 << "kills";
        QTest::newRow("500") << 500 << 0 << "kills";
        QTest::newRow("750") << 750 << 0 << "slaughters";
        QTest::newRow("900") << 900 << 0 << "destroys";
        QTest::newRow("999") << 999 << 0 << "obliterates";
        QTest::newRow("1000") << 1000 << 0 << "wipes out";
        QTest::newRow("winner at 0") << 0 << 300 << "routs";
    }
    void match() {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(QString, verb);
        VariantLink l;
        l.receive(QStringLiteral("CARDWARSLOAD 1"));
        InGame = true;
        const int lines = linesOf(l.lobby->chatin).size();
        l.receive(QStringLiteral("CARDWARSMATCH Nyx [12-3] kira [9-9] %1 %2 4711").arg(a).arg(b));
        const QStringList log = linesOf(l.lobby->chatin).mid(lines);
        QCOMPARE(log.size(), 2);
        QCOMPARE(log[0], QStringLiteral("<Corvada War> Nyx([12-3]) %1 kira([9-9]) ").arg(verb));
        QVERIFY(log[1].startsWith(QStringLiteral("<Replay>  Replay GameID: 4711 at ")));
        QVERIFY(log[1].contains(QStringLiteral("/Replays/Corvada-War-Game-4711.aspx")));
        QCOMPARE(ReadIni(QStringLiteral("Options"), QStringLiteral("Replays"), GetIniFile()), QStringLiteral("1"));
        l.receive(QStringLiteral("CARDWARSCLOSE"));
        QVERIFY(!war());
        QVERIFY(InGame);
    }

    // The three requests and what Yes does; only the surrender stops the countdown.
    void requests_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("stops");
        QTest::newRow("end game") << "mnuEndGameRequest" << "End Game Request" << "CARDWARS_ENDGAME" << false;
        QTest::newRow("stalemate") << "mnuStalemate" << "Game Stalemate" << "CARDWARS_STALEMATE" << false;
        QTest::newRow("surrender") << "mnuSurrender" << "Surrender (Game Termination)" << "CARDWARS_SURRENDER" << true;
    }
    void requests() {
        QFETCH(QString, item);
        QFETCH(QString, title);
        QFETCH(QString, line);
        QFETCH(bool, stops);
        VariantLink l;
        l.receive({QStringLiteral("CARDWARSLOAD 1"), QStringLiteral("CARDWARSSTART")});
        frmcardwars* w = war();
        w->TimerTurn_Timer();
        l.sent();
        auto* action = w->findChild<QAction*>(item);
        l.dialogs().answer(vb::Yes);
        action->trigger();
        QCOMPARE(l.dialogs().titles(), QStringList{title});
        QCOMPARE(l.sent(), QStringList{line});
        QVERIFY(!action->isEnabled());
        QCOMPARE(w->TimerTurn->isActive(), !stops);
        QCOMPARE(w->timeleft->text(), stops ? QString() : QStringLiteral("34"));
    }

    // The rules link, and a skin without the card war's picture: the notice and the default.
    void helpAndSkinFallback() {
        VariantLink l;
        const QString skin = clientPath(QStringLiteral("\\skins\\default.ini"));
        WriteIni(QStringLiteral("cvw"), QStringLiteral("background"), QString(), skin);
        l.receive(QStringLiteral("CARDWARSLOAD 1"));
        frmcardwars* w = war();
        QVERIFY(ClientConfig().SkinOutofDate() != 0);
        QVERIFY(linesOf(l.lobby->chatin).contains(QStringLiteral("The application could not find a corvada war skin, used the default "
                                                                 "instead.  Your skin might be out of date or the file may be renamed "
                                                                 "incorrectly.")));
        QVERIFY(samePicture(w->table->picture(), QPixmap(resolvePath(clientPath(QStringLiteral("\\skins\\default\\corvadawar\\cvwar.jpg"))))));
        w->lblHelp_Click();
        QCOMPARE(l.shell().opened.size(), 1);
        QVERIFY(l.shell().opened[0].endsWith(QLatin1String("/GameInfo/What-Is-CVWRules.aspx")));
        QVERIFY(l.healthy());
    }
};

QTEST_MAIN(tst_cardwar)
#include "tst_cardwar.moc"
