// A card war played to its result against the loopback server tool, as a player would: the
// table from the games menu, ready in the room, a card chosen and played each round until a
// life runs out, the result in the lobby. A mid-game picture is saved when CORVADEX_SCREENSHOTS
// names a folder.
#include "ClientFixture.h"
#include "Loopback.h"
#include "Screenshots.h"

#include "app/HttpClient.h"
#include "game/ModMiscFunctions.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmmenu.h"
#include "tables/frmchallengebox_single.h"
#include "variants/frmcardwars.h"

#include <QtTest>

class tst_cardwar_loopback : public QObject {
    Q_OBJECT
    Loopback loopback;

private slots:
    void initTestCase() {
        loopback.startForClients();
    }
    void cleanupTestCase() { loopback.stop(); }

    void gameToItsResult() {
        ClientFixture fx(ClientFixture::All);
        QVERIFY(loginThroughWindows(QStringLiteral("kira")).contains(85));
        form<frmmenu>()->findChild<QAction*>(QStringLiteral("mnuCardWars"))->trigger();
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmchallengebox_single>() != nullptr; }, 8000));
        ifLoaded<frmchallengebox_single>()->cmdReady_Click();
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmcardwars>() && ifLoaded<frmcardwars>()->isVisible(); }, 8000));
        int rounds = 0;
        while (QTest::qWaitFor([] { return !ifLoaded<frmcardwars>() || ifLoaded<frmcardwars>()->Battle; }, 15000)) {
            frmcardwars* w = ifLoaded<frmcardwars>();
            if (!w) break;
            int slot = 0;
            while (slot < 5 && IsEmptyCard(w->Player1[slot])) ++slot;
            QVERIFY(slot < 5);
            w->Player1_Click(slot);
            w->imgcard_Click(0);
            QVERIFY(!w->Battle);
            if (++rounds == 3) {
                QTest::qWait(2000);
                if (frmcardwars* now = ifLoaded<frmcardwars>()) save(now->grab().toImage(), "cardwar_midgame");
            }
        }
        QVERIFY(!ifLoaded<frmcardwars>());
        QVERIFY2(rounds >= 4, qPrintable(QString::number(rounds)));
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmchildchat>()->chatin->toPlainText().contains(QStringLiteral("<Corvada War> ")); },
                                5000));
    }
};

QTEST_MAIN(tst_cardwar_loopback)
#include "tst_cardwar_loopback.moc"
