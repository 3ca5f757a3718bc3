// Both omni games played to their close against the loopback server tool, as a player would:
// the table from the games menu, ready in the room, a card on a free cell each turn until the
// board is full, the result in the lobby. Mid-game pictures are saved when CORVADEX_SCREENSHOTS
// names a folder.
#include "ClientFixture.h"
#include "Loopback.h"
#include "Screenshots.h"

#include "app/HttpClient.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmmenu.h"
#include "tables/frmchallengebox.h"
#include "tables/frmchallengebox_single.h"
#include "variants/frmomni.h"
#include "variants/frmteamomni.h"

#include <QtTest>

namespace {
template <class W>
int firstFree(W* w) {
    for (int i = 0; i < 25; ++i)
        if (w->Board[i]->Tag == QLatin1String("empty")) return i;
    return -1;
}

// Plays each own turn on the first free cell until the window closes; the number of moves.
template <class W, class Hand>
int playToTheClose(Hand hand, const char* picture) {
    int moves = 0;
    while (QTest::qWaitFor([&] {
        W* w = ifLoaded<W>();
        return !w || (w->blnPlay && !w->PlayedCard() && !hand(w).isEmpty() && hand(w) != QLatin1String("Empty"));
    }, 15000)) {
        W* w = ifLoaded<W>();
        if (!w) return moves;
        w->Board_Click(firstFree(w));
        if (++moves == 3) {
            QTest::qWait(1500);
            if (W* now = ifLoaded<W>()) save(now->grab().toImage(), picture);
        }
    }
    return -1;
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
        const int moves = playToTheClose<frmomni>([](frmomni* w) { return w->Player1->Tag; }, "omni_midgame");
        QVERIFY2(moves >= 8, qPrintable(QString::number(moves)));
        QVERIFY(!InGame);
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmchildchat>()->chatin->toPlainText().contains(QStringLiteral("<Omni")); }, 5000));
    }

    void teamOmniGame() {
        ClientFixture fx(ClientFixture::All);
        QVERIFY(loginThroughWindows(QStringLiteral("kira")).contains(85));
        trigger("mnuteamocv");
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmchallengebox>() != nullptr; }, 8000));
        ifLoaded<frmchallengebox>()->cmdReady_Click();
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmteamomni>() && ifLoaded<frmteamomni>()->isVisible(); }, 8000));
        frmteamomni* w = ifLoaded<frmteamomni>();
        QCOMPARE(w->iam->text(), QStringLiteral("blue"));
        QVERIFY(QTest::qWaitFor([&] { return w->chatin->toPlainText().contains(QStringLiteral("says to team")); }, 5000));
        w->chatout->setText(QStringLiteral("/team hello"));
        QTest::keyClick(w->chatout, Qt::Key_Return);
        QVERIFY(QTest::qWaitFor([&] { return w->chatin->toPlainText().contains(QStringLiteral("got it")); }, 5000));
        const int moves = playToTheClose<frmteamomni>([](frmteamomni* t) { return t->player->Tag; }, "teamomni_midgame");
        QVERIFY2(moves >= 4, qPrintable(QString::number(moves)));
        QVERIFY(!InGame);
        frmchildchat* lobby = ifLoaded<frmchildchat>();
        QVERIFY(lobby->isVisible() && lobby->cmdCreate->isEnabled());
        QVERIFY(QTest::qWaitFor([&] { return lobby->chatin->toPlainText().contains(QStringLiteral("<Team Omni Corvada>")); }, 5000));
    }
};

QTEST_MAIN(tst_loopback_omni)
#include "tst_loopback_omni.moc"
