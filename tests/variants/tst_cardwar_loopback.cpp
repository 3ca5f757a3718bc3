// A card war played to its result against the loopback server tool, as a player would: the
// table from the games menu, ready in the room, a card chosen and played each round until a
// life runs out or a stalemate is agreed, both played cards face up when the strike is told, the
// last thing told still on screen before the window closes, the result in the lobby with the
// life left in brackets. A mid-game picture and the last one are saved when CORVADEX_SCREENSHOTS
// names a folder.
#include "ClientFixture.h"
#include "EndSeen.h"
#include "Loopback.h"
#include "Screenshots.h"

#include "app/HttpClient.h"
#include "app/modSkin.h"
#include "game/ModMiscFunctions.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmmenu.h"
#include "tables/frmchallengebox_single.h"
#include "variants/frmcardwars.h"

#include <QRegularExpression>
#include <QtTest>

namespace {
int strikes(const frmcardwars* w) { return int(w->chatin->toPlainText().count(QStringLiteral(" strikes with "))); }

// A played card, not the card back that an open round shows.
bool faceUp(const PictureBox* slot) {
    const QImage back = SkinPicture(QStringLiteral("main"), QStringLiteral("cardback")).toImage();
    const QImage shown = slot->Picture().toImage();
    return !shown.isNull() && shown.convertToFormat(QImage::Format_ARGB32) != back.convertToFormat(QImage::Format_ARGB32);
}
}  // namespace

class tst_cardwar_loopback : public QObject {
    Q_OBJECT
    Loopback loopback;

private slots:
    void initTestCase() {
        loopback.startForClients();
    }
    void cleanupTestCase() { loopback.stop(); }

    // The end: a life run out, or a stalemate the resident agrees to after a round; then the
    // result line the lobby shows.
    void gameToItsResult_data() {
        QTest::addColumn<int>("stalemateAfter");  // rounds; 0: none asked
        QTest::addColumn<QString>("result");
        // The winner with the life it kept, the loser with none.
        QTest::newRow("a life runs out")
            << 0 << "<Corvada War> (\\S+)\\((\\d+)\\) (routs|kills|slaughters|destroys|obliterates|wipes out) (\\S+)\\(0\\) ";
        QTest::newRow("a stalemate agreed") << 1 << "<Corvada War> (\\S+)\\((\\d+)\\) (stalemated) (\\S+)\\(\\d+\\) ";
    }
    void gameToItsResult() {
        QFETCH(int, stalemateAfter);
        QFETCH(QString, result);
        ClientFixture fx(ClientFixture::All);
        QVERIFY(loginThroughWindows(QStringLiteral("kira")).contains(85));
        form<frmmenu>()->findChild<QAction*>(QStringLiteral("mnuCardWars"))->trigger();
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmchallengebox_single>() != nullptr; }, 8000));
        ifLoaded<frmchallengebox_single>()->cmdReady_Click();
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmcardwars>() && ifLoaded<frmcardwars>()->isVisible(); }, 8000));
        int rounds = 0;
        QString life[2];
        EndSeen<frmcardwars> seen(lastLine<frmcardwars>, stalemateAfter ? "cardwar_stalemate_end" : "cardwar_end");
        while (QTest::qWaitFor([] { return !ifLoaded<frmcardwars>() || ifLoaded<frmcardwars>()->Battle; }, 15000)) {
            frmcardwars* w = ifLoaded<frmcardwars>();
            if (!w) break;
            int slot = 0;
            while (slot < 5 && IsEmptyCard(w->Player1[slot])) ++slot;
            QVERIFY(slot < 5);
            life[0] = w->player1_life->text();
            life[1] = w->player2_life->text();
            const int told = strikes(w);
            w->Player1_Click(slot);
            w->imgcard_Click(0);
            QVERIFY(!w->Battle);
            // The strike is told with both cards face up, and the round stays closed meanwhile.
            QVERIFY(QTest::qWaitFor([&] { return !ifLoaded<frmcardwars>() || strikes(w) > told; }, 8000));
            QVERIFY(ifLoaded<frmcardwars>() == w);
            QVERIFY(faceUp(w->imgcard[0]) && faceUp(w->imgcard[1]));
            QVERIFY(!w->Battle);
            if (++rounds == 3) save(w->grab().toImage(), "cardwar_reveal");
            if (rounds == stalemateAfter) {
                fx.services.dialogs->answer(vb::Yes);
                w->mnuStalemate->trigger();
            }
        }
        QVERIFY(!ifLoaded<frmcardwars>());
        QVERIFY2(rounds >= (stalemateAfter ? stalemateAfter : 4), qPrintable(QString::number(rounds)));
        // What the game told last (the last strike, or the agreement) stood on the window.
        QCOMPARE(seen.last(), QStringLiteral("<History> ") + loopback.lastSent(QStringLiteral("CARDWARSHISTORY")));
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmchildchat>()->chatin->toPlainText().contains(QStringLiteral("<Corvada War> ")); },
                                5000));
        const auto m = QRegularExpression(result).match(ifLoaded<frmchildchat>()->chatin->toPlainText());
        QVERIFY2(m.hasMatch(), qPrintable(ifLoaded<frmchildchat>()->chatin->toPlainText()));
        QVERIFY(m.captured(1) != m.captured(4) && (m.captured(1) == QLatin1String("kira") || m.captured(4) == QLatin1String("kira")));
        if (!stalemateAfter) QCOMPARE(m.captured(2), life[m.captured(1) == QLatin1String("kira") ? 0 : 1]);
    }
};

QTEST_MAIN(tst_cardwar_loopback)
#include "tst_cardwar_loopback.moc"
