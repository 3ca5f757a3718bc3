// Both omni games played to their close against the loopback server tool, as a player would:
// the table from the games menu (the team room filled by residents who show ready), ready in the
// room, a card on a free cell each turn until the board is full (in the team game the card to
// play face up when the turn starts), the last move's score on screen before the board closes,
// the result line in the lobby. Mid-game pictures and the last ones are saved when
// CORVADEX_SCREENSHOTS names a folder.
#include "ClientFixture.h"
#include "EndSeen.h"
#include "Loopback.h"
#include "Screenshots.h"

#include "app/HttpClient.h"
#include "app/storedvars.h"
#include "game/ModMiscFunctions.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmmenu.h"
#include "tables/frmchallengebox.h"
#include "tables/frmchallengebox_single.h"
#include "variants/frmomni.h"
#include "variants/frmteamomni.h"

#include <QRegularExpression>
#include <QtTest>

namespace {
// The board holds 25 cells; the loopback's tables block 5 of them.
constexpr int kPlayableCells = 20;

template <class W>
int firstFree(W* w) {
    for (int i = 0; i < 25; ++i)
        if (w->Board[i]->Tag == QLatin1String("empty")) return i;
    return -1;
}

// Plays each own turn on the first free cell until the window closes; the number of moves, or -1
// when a turn does not start or `turnStarts` finds fault with it.
template <class W, class Hand, class Turn>
int playToTheClose(Hand hand, const char* picture, Turn turnStarts) {
    int moves = 0;
    while (QTest::qWaitFor([&] {
        W* w = ifLoaded<W>();
        return !w || (w->blnPlay && !w->PlayedCard() && !hand(w).isEmpty() && hand(w) != QLatin1String("Empty"));
    }, 15000)) {
        W* w = ifLoaded<W>();
        if (!w) return moves;
        if (!turnStarts(w)) return -1;
        w->Board_Click(firstFree(w));
        if (++moves == 3) {
            QTest::qWait(1500);
            if (W* now = ifLoaded<W>()) save(now->grab().toImage(), picture);
        }
    }
    return -1;
}

// The lobby's result line matching `pattern`; its captures, or none.
QRegularExpressionMatch resultLine(const QString& pattern) {
    QRegularExpressionMatch m;
    (void)QTest::qWaitFor([&] {
        m = QRegularExpression(pattern).match(ifLoaded<frmchildchat>()->chatin->toPlainText());
        return m.hasMatch();
    }, 5000);
    return m;
}
}  // namespace

class tst_loopback_omni : public QObject {
    Q_OBJECT
    Loopback loopback;

    static void trigger(const char* name) { form<frmmenu>()->findChild<QAction*>(QString::fromLatin1(name))->trigger(); }

private slots:
    void initTestCase() {
        loopback.startForClients();
    }
    void cleanupTestCase() { loopback.stop(); }

    void omniGame() {
        ClientFixture fx(ClientFixture::All);
        QVERIFY(loginThroughWindows(QStringLiteral("kira")).contains(85));
        trigger("mnuomni");
        QVERIFY(QTest::qWaitFor([] {
            frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
            return room && room->Player2->text() == QLatin1String("Bree");
        }, 8000));
        ifLoaded<frmchallengebox_single>()->cmdReady_Click();
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmomni>() && ifLoaded<frmomni>()->isVisible(); }, 8000));
        QVERIFY(!ifLoaded<frmchallengebox_single>());
        EndSeen<frmomni> seen(shownScore<frmomni>, "omni_end");
        const int moves = playToTheClose<frmomni>([](frmomni* w) { return w->Player1->Tag; }, "omni_midgame", [](frmomni*) { return true; });
        QVERIFY2(moves >= 8, qPrintable(QString::number(moves)));
        QVERIFY(!InGame);
        QCOMPARE(seen.last(), loopback.lastSent(QStringLiteral("OCVPOINTS")));
        // The winner first, and the two colours' cards share the board.
        const auto m = resultLine(QStringLiteral("<Omni Corvada> (\\S+)\\(\\d+\\) (defeats|ties) (\\S+)\\(\\d+\\) Score: (\\d+)-(\\d+) "));
        QVERIFY2(m.hasMatch(), qPrintable(ifLoaded<frmchildchat>()->chatin->toPlainText()));
        QCOMPARE(QSet<QString>({m.captured(1), m.captured(3)}), QSet<QString>({QStringLiteral("kira"), QStringLiteral("Bree")}));
        QCOMPARE(m.captured(4).toInt() + m.captured(5).toInt(), kPlayableCells);
        QVERIFY(m.captured(4).toInt() >= m.captured(5).toInt());
    }

    void teamOmniGame() {
        ClientFixture fx(ClientFixture::All);
        QVERIFY(loginThroughWindows(QStringLiteral("kira")).contains(85));
        trigger("mnuteamocv");
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmchallengebox>() != nullptr; }, 8000));
        frmchallengebox* room = ifLoaded<frmchallengebox>();
        // Residents take the other three seats, avatars and all.
        QVERIFY(QTest::qWaitFor([&] { return !room->player4->text().isEmpty(); }, 8000));
        QCOMPARE((QStringList{room->Player1->text(), room->Player2->text(), room->player3->text(), room->player4->text()}),
                 (QStringList{"kira", "Bree", "Nyx", "Orrin"}));
        for (int i = 0; i < 4; ++i) QVERIFY(!room->picavatar[i]->pixmap().isNull());
        room->cmdReady_Click();
        // Every seat shows ready before the room gives way to the game.
        QVERIFY(QTest::qWaitFor([] {
            frmchallengebox* r = ifLoaded<frmchallengebox>();
            if (!r) return false;
            for (int seat = 1; seat <= 4; ++seat)
                if (r->ready[seat]->text() != QLatin1String("Yes")) return false;
            return true;
        }, 5000));
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmteamomni>() && ifLoaded<frmteamomni>()->isVisible(); }, 8000));
        frmteamomni* w = ifLoaded<frmteamomni>();
        QCOMPARE(w->iam->text(), QStringLiteral("blue"));
        QVERIFY(QTest::qWaitFor([&] { return w->chatin->toPlainText().contains(QStringLiteral("says to team")); }, 5000));
        w->chatout->setText(QStringLiteral("/team hello"));
        QTest::keyClick(w->chatout, Qt::Key_Return);
        QVERIFY(QTest::qWaitFor([&] { return w->chatin->toPlainText().contains(QStringLiteral("got it")); }, 5000));
        // Each turn starts with the card to play face up: the one shown as the next card before.
        QString announced;
        EndSeen<frmteamomni> seen(shownScore<frmteamomni>, "teamomni_end");
        const int moves = playToTheClose<frmteamomni>(
            [](frmteamomni* t) { return IsEmptyCard(t->player) ? QString() : t->player->Tag; }, "teamomni_midgame",
            [&announced](frmteamomni* t) {
                const bool drawn = announced.isEmpty() || t->player->Tag == announced;
                announced = t->player_nextcard->Tag;
                return drawn;
            });
        QVERIFY2(moves >= 4, qPrintable(QString::number(moves)));
        QVERIFY(!InGame);
        QCOMPARE(seen.last(), loopback.lastSent(QStringLiteral("TEAM_OCVPOINTS")));
        frmchildchat* lobby = ifLoaded<frmchildchat>();
        QVERIFY(lobby->isVisible() && lobby->cmdCreate->isEnabled());
        const auto m = resultLine(QStringLiteral(
            "<Team Omni Corvada> (\\S+)\\(1\\) / (\\S+)\\(1\\) (defeats|ties) (\\S+)\\(0\\) / (\\S+)\\(0\\) Score: (\\d+)-(\\d+) "));
        QVERIFY2(m.hasMatch(), qPrintable(lobby->chatin->toPlainText()));
        const QSet<QString> blue{QStringLiteral("kira"), QStringLiteral("Bree")}, red{QStringLiteral("Nyx"), QStringLiteral("Orrin")};
        const QSet<QString> first{m.captured(1), m.captured(2)}, second{m.captured(4), m.captured(5)};
        QVERIFY((first == blue && second == red) || (first == red && second == blue));
        QCOMPARE(m.captured(6).toInt() + m.captured(7).toInt(), kPlayableCells);
        QVERIFY(m.captured(6).toInt() >= m.captured(7).toInt());
    }
};

QTEST_MAIN(tst_loopback_omni)
#include "tst_loopback_omni.moc"
