// The memory, dice and coin-board games played against the loopback server tool, as a player
// would: the table from the games menu, ready in the room, the game's own moves, the close.
// Mid-game pictures are saved when CORVADEX_SCREENSHOTS names a folder.
#include "ClientFixture.h"
#include "Loopback.h"
#include "Screenshots.h"

#include "app/HttpClient.h"
#include "app/storedvars.h"
#include "lobby/frmmenu.h"
#include "platform/VbCompat.h"
#include "tables/frmchallengebox_single.h"
#include "variants/frmchinchin.h"
#include "variants/frmmemory.h"
#include "variants/frmsphere.h"
#include "variants/frmsphere_setup.h"

#include <QtTest>

namespace {
void trigger(const char* name) { form<frmmenu>()->findChild<QAction*>(QString::fromLatin1(name))->trigger(); }

// The room of a new table, once the resident sits in it.
bool enterRoom(const char* menu) {
    trigger(menu);
    return QTest::qWaitFor([] {
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        return room && !room->Player2->text().isEmpty();
    }, 8000);
}

bool enterAndReady(const char* menu) {
    if (!enterRoom(menu)) return false;
    ifLoaded<frmchallengebox_single>()->cmdReady_Click();
    return true;
}

// Coins whose sum the multiplier divides: a core coin first, then up to two border coins.
QList<int> completion(frmsphere* w) {
    const int m = int(vbVal(w->multi->text()));
    if (m <= 0) return {};
    auto value = [w](int coin) { return int(vbVal(coin < 4 ? w->corecoin[coin]->text() : w->bordercoin[coin - 4]->text())); };
    for (int c = 0; c < 4; ++c) {
        if (value(c) % m == 0) return {c};
        for (int b = 4; b < 16; ++b) {
            if (value(b) == 0) continue;
            if ((value(c) + value(b)) % m == 0) return {c, b};
            for (int b2 = b + 1; b2 < 16; ++b2)
                if (value(b2) != 0 && (value(c) + value(b) + value(b2)) % m == 0) return {c, b, b2};
        }
    }
    return {};
}
}  // namespace

class tst_loopback_duels : public QObject {
    Q_OBJECT
    Loopback loopback;

private slots:
    void initTestCase() {
        loopback.startForClients();
    }
    void cleanupTestCase() { loopback.stop(); }

    // Two turns of picks, then the end-game request closes the game.
    void memoryGame() {
        ClientFixture fx(ClientFixture::All);
        QVERIFY(loginThroughWindows(QStringLiteral("kira")).contains(85));
        QVERIFY(enterAndReady("mnumemory"));
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmmemory>() && ifLoaded<frmmemory>()->isVisible(); }, 8000));
        int picks = 0;
        while (picks < 4 && QTest::qWaitFor([] {
                   frmmemory* w = ifLoaded<frmmemory>();
                   return !w || (!w->playerturn[1]->isHidden() && w->PickCount < 2);
               }, 20000)) {
            frmmemory* w = ifLoaded<frmmemory>();
            QVERIFY(w);
            for (int i = 0; i < frmmemory::kSpots; ++i)
                if (w->faceDown(i) && w->selected->text() != QString::number(i)) {
                    w->cardspot_Click(i);
                    break;
                }
            if (++picks == 2) {
                QTest::qWait(800);
                save(w->grab().toImage(), "memory_loopback");
            }
        }
        QCOMPARE(picks, 4);
        fx.services.dialogs->answer(vb::Yes);
        ifLoaded<frmmemory>()->mnuEndGameRequest->trigger();
        QVERIFY(QTest::qWaitFor([] { return !ifLoaded<frmmemory>(); }, 8000));
        QVERIFY(!InGame);
    }

    // Three rounds of rolls to the close.
    void diceGame() {
        ClientFixture fx(ClientFixture::All);
        QVERIFY(loginThroughWindows(QStringLiteral("kira")).contains(85));
        QVERIFY(enterAndReady("mnuchinchin"));
        int rolls = 0;
        while (QTest::qWaitFor([&] {
            frmchinchin* w = ifLoaded<frmchinchin>();
            return (w && w->cmdRoll->Enabled() && !w->playerturn[1]->isHidden()) || (rolls > 0 && !w);
        }, 20000)) {
            frmchinchin* w = ifLoaded<frmchinchin>();
            if (!w) break;
            w->cmdRoll_Click();
            if (++rolls == 2) {
                QTest::qWait(800);
                save(w->grab().toImage(), "dice_loopback");
            }
        }
        QCOMPARE(rolls, 3);
        QVERIFY(!InGame);
    }

    // The rules set in the dialog, then each turn completed where it can be, else frozen.
    void orboltGame() {
        ClientFixture fx(ClientFixture::All);
        QVERIFY(loginThroughWindows(QStringLiteral("kira")).contains(85));
        QVERIFY(enterRoom("mnuorbolt"));
        ifLoaded<frmchallengebox_single>()->cmdChange_Click();
        frmsphere_setup* setup = ifLoaded<frmsphere_setup>();
        QVERIFY(setup);
        setup->cmbtime->setCurrentIndex(0);
        setup->cmbmaxscore->setCurrentIndex(0);
        setup->cmbmaxturns->setCurrentIndex(0);
        setup->cmdOK_Click();
        QVERIFY(!ifLoaded<frmsphere_setup>());
        QTest::qWait(300);
        ifLoaded<frmchallengebox_single>()->cmdReady_Click();
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmsphere>() && ifLoaded<frmsphere>()->isVisible(); }, 8000));
        ifLoaded<frmsphere>()->cmdGo_Click();
        int turns = 0;
        while (QTest::qWaitFor([] {
            frmsphere* w = ifLoaded<frmsphere>();
            return !w || (w->blnReady && !w->blnLock);
        }, 20000)) {
            frmsphere* w = ifLoaded<frmsphere>();
            if (!w) break;
            const QList<int> coins = completion(w);
            for (int c : coins) c < 4 ? w->imgcore_coin_Click(c) : w->imgborder_coin_Click(c - 4);
            if (!w->blnLock) w->cmdFreeze_Click();
            if (++turns == 2) {
                QTest::qWait(1000);
                save(w->grab().toImage(), "sphere_loopback");
            }
        }
        QVERIFY2(turns >= 2, qPrintable(QString::number(turns)));
        QVERIFY(!ifLoaded<frmsphere>());
        QVERIFY(!InGame);
    }
};

QTEST_MAIN(tst_loopback_duels)
#include "tst_loopback_duels.moc"
