// Game over and the card trade: the result with its title and sound, the winner's picks with
// the 30-second limit, the loser's and the draw's view, and the cards gained and lost.
#include "GameLink.h"

#include "game/ModMiscFunctions.h"
#include "game/frmdisplaybox.h"
#include "lobby/frmchildchat.h"

#include <QTextDocument>

namespace {
const QString kOffer = QStringLiteral("Brine%20Skitter Cinderpup Gustling Emberlark Kilnwarden");

frmdisplaybox* gameOver(GameLink& l, const QString& fields) {
    l.feed(QStringLiteral("CV_DISPLAY ") + fields);
    frmdisplaybox* box = ifLoaded<frmdisplaybox>();
    if (box) box->timeout->stop();  // the test ticks it by hand
    return box;
}

QString lobbyLog() {
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    return lobby ? lobby->chatin->document()->toPlainText() : QString();
}
}  // namespace

class tst_gameover : public QObject {
    Q_OBJECT

private slots:
    void winnerTakesTwoCards() {
        GameLink l;
        InGame = true;
        frmdisplaybox* box = gameOver(l, QStringLiteral("77 Win x 1 2 ") + kOffer);
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->windowTitle(), QStringLiteral("Choose a Card"));
        QCOMPARE(box->title(), QStringLiteral("Game Over - You Win!"));
        box->repaint();
        QCoreApplication::processEvents();
        QCOMPARE(box->lblTitle->text(), QStringLiteral("Game Over - You Win!"));
        QCOMPARE(l.sounds(), QList<int>{23});
        QCOMPARE(box->lblCardstoPick->text(), QStringLiteral("2"));
        QCOMPARE(box->lblgamestatus->text(), QStringLiteral("Pick 2 cards."));
        QCOMPARE(box->TimerValue(), int16_t(30));
        QCOMPARE(box->CardsWon(), int16_t(2));
        QVERIFY(!box->timeleft->isHidden());
        QCOMPARE(box->cardimage[0]->Tag, QStringLiteral("Brine Skitter"));
        QCOMPARE(box->cardimage[0]->ToolTipText(), QStringLiteral("Brine Skitter"));
        QVERIFY(box->cardimage[0]->Picture().toImage() == QImage(l.fixture.path(QStringLiteral("decks/Blue/Brine Skitter.jpg"))));

        const int top = box->cardimage[0]->y();
        QTest::mouseClick(box->cardimage[0], Qt::LeftButton);
        QCOMPARE(box->cardimage[0]->y(), top - frmdisplaybox::kRaise);
        QVERIFY(!box->cardimage[0]->isEnabled());
        box->cardimage_Click(0);
        QCOMPARE(box->lstget->count(), 1);
        QCOMPARE(l.sentAfterAWhile(50), QStringList());
        QPointer<frmdisplaybox> open(box);
        box->cardimage_Click(2);
        QVERIFY(l.sent(QStringLiteral("CV_TAKECARD 77 Brine%20Skitter Gustling   ")));
        QCOMPARE(l.sounds(), (QList<int>{23, 3, 3}));
        QVERIFY(!ifLoaded<frmdisplaybox>());
        QVERIFY(ifLoaded<frmchildchat>() && ifLoaded<frmchildchat>()->isVisible());
        QVERIFY(l.quiet());
    }

    void oneCardAndAWholeNumberId() {
        GameLink l;
        frmdisplaybox* box = gameOver(l, QStringLiteral("12345.0 Win x 1 01 Cinderpup"));
        QCOMPARE(box->lblgamestatus->text(), QStringLiteral("Pick 1 cards."));
        QCOMPARE(box->lblCardstoPick->text(), QStringLiteral("01"));
        // Neither the lost row nor an empty picture can be taken.
        box->cardimage_Click(5);
        box->cardimage_Click(1);
        QCOMPARE(box->lstget->count(), 0);
        box->cardimage_Click(0);
        QVERIFY(l.sent(QStringLiteral("CV_TAKECARD 12345 Cinderpup    ")));
    }

    void timeUpLeavesTheChoiceToTheServer() {
        GameLink l;
        frmdisplaybox* box = gameOver(l, QStringLiteral("78 Win x 1 3 ") + kOffer);
        box->cardimage_Click(0);
        box->cardimage_Click(1);
        box->timeout_Timer();
        QCOMPARE(box->timeleft->text(), QStringLiteral("29"));
        for (int i = 1; i < 30; ++i) box->timeout_Timer();
        QVERIFY(l.sent(QStringLiteral("CV_TAKERANDOMCARD 78")));
        QCOMPARE(box->timeleft->text(), QStringLiteral("0"));
        QCOMPARE(box->lblgamestatus->text(), QStringLiteral("Time is up. Server will choose 1 card."));
        QVERIFY(!box->imgOkay->isHidden());
        box->timeout_Timer();
        QCOMPARE(box->timeleft->text(), QStringLiteral("0"));
        QCOMPARE(l.sentAfterAWhile(), QStringList{QStringLiteral("CV_TAKERANDOMCARD 78")});
        // Until the trade results come the cards not yet taken can still be picked, and a pick
        // that completes the count still sends them.
        QVERIFY(!box->cardimage[0]->isEnabled() && !box->cardimage[1]->isEnabled());
        for (int i = 2; i < frmdisplaybox::kOffered; ++i) QVERIFY(box->cardimage[i]->isEnabled());
        box->cardimage_Click(3);
        QVERIFY(l.sent(QStringLiteral("CV_TAKECARD 78 Brine%20Skitter Cinderpup Emberlark  ")));
        QVERIFY(!ifLoaded<frmdisplaybox>());
    }

    void lossAndDraw() {
        GameLink l;
        frmdisplaybox* box = gameOver(l, QStringLiteral("79 Loss x 0 1 ") + kOffer);
        QCOMPARE(box->lblTitle->text(), QStringLiteral("Game Over - You Lose!"));
        QCOMPARE(box->lblCardstoPick->text(), QStringLiteral("0"));
        QCOMPARE(box->lblgamestatus->text(), QStringLiteral("Opponent is choosing card(s)"));
        QVERIFY(box->lstget->isHidden());
        QVERIFY(!box->timeout->isActive());
        for (PictureBox* card : box->cardimage) QVERIFY(!card->isEnabled());
        QCOMPARE(box->cardimage[0]->Tag, QString());
        box = gameOver(l, QStringLiteral("80 Draw x 0 1 ") + kOffer);
        QCOMPARE(box->title(), QStringLiteral("Game Over - You Tie!"));
        QCOMPARE(box->lblgamestatus->text(), QString());
        QCOMPARE(l.sounds(), (QList<int>{24, 25}));
        QVERIFY(l.quiet());
    }

    void noPickingForNoneOrAllOrATooLargeCount() {
        GameLink l;
        for (const char* count : {"0", "6", "99999", "-2"}) {
            frmdisplaybox* box = gameOver(l, QStringLiteral("81 Win x 1 %1 ").arg(QLatin1String(count)) + kOffer);
            QCOMPARE(box->lblCardstoPick->text(), QStringLiteral("0"));
            QVERIFY(!box->timeout->isActive());
            QCOMPARE(box->TimerValue(), int16_t(0));
            QCOMPARE(box->timeleft->text(), QString());
            QCOMPARE(box->cardimage[0]->Tag, QString());
            QVERIFY(box->lstget->isHidden());
        }
        // A count above the cards offered is cut to them.
        frmdisplaybox* box = gameOver(l, QStringLiteral("82 Win x 1 4 Cinderpup  Gustling"));
        QCOMPARE(box->CardsWon(), int16_t(2));
        QCOMPARE(box->lblCardstoPick->text(), QStringLiteral("2"));
        QCOMPARE(box->lblgamestatus->text(), QStringLiteral("Pick 2 cards."));
        box->cardimage_Click(0);
        box->cardimage_Click(2);
        QVERIFY(l.sent(QStringLiteral("CV_TAKECARD 82 Cinderpup Gustling   ")));
        QVERIFY(l.quiet());
    }

    void cardsGainedAndLost() {
        GameLink l;
        frmdisplaybox* box = gameOver(l, QStringLiteral("83 Win x 1 1 ") + kOffer);
        box->cardimage[1]->move(box->cardimage[1]->x(), 3);
        l.feed({QStringLiteral("CV_CARDGAIN Brine%20Skitter.jpg"), QStringLiteral("CV_CARDLOST Gustling Emberlark")});
        QCOMPARE(box->cardimage[0]->ToolTipText(), QStringLiteral("Brine Skitter.jpg"));
        QVERIFY(box->cardimage[0]->Picture().toImage() == QImage(l.fixture.path(QStringLiteral("decks/Blue/Brine Skitter.jpg"))));
        // The offered cards not won leave the row.
        QVERIFY(IsEmptyCard(box->cardimage[1]));
        QCOMPARE(box->cardimage[1]->ToolTipText(), QString());
        for (int i = 0; i < 5; ++i) QCOMPARE(box->cardimage[i]->y(), 48);
        QVERIFY(box->cardimage[5]->Picture().toImage() == QImage(l.fixture.path(QStringLiteral("decks/Red/Gustling.jpg"))));
        QVERIFY(box->cardimage[6]->Picture().toImage() == QImage(l.fixture.path(QStringLiteral("decks/Red/Emberlark.jpg"))));
        QVERIFY(!box->timeout->isActive());
        QVERIFY(box->timeleft->isHidden());
        QVERIFY(lobbyLog().contains(QStringLiteral("<Gain>  You gained 1 Brine Skitter ")));
        QVERIFY(lobbyLog().contains(QStringLiteral("<Loss>  You lost 1 Gustling ")));
        QVERIFY(lobbyLog().contains(QStringLiteral("<Loss>  You lost 1 Emberlark ")));
        l.feed(QStringLiteral("CV_CARDGAIN Nothing"));
        QCOMPARE(box->lblgamestatus->text(), QStringLiteral("No cards were gained"));
        l.feed(QStringLiteral("CV_CARDLOST Nothing"));
        QCOMPARE(box->lblgamestatus->text(), QStringLiteral("Opponent did not take any cards"));
        QVERIFY(l.quiet());
    }

    void okayReturnsToTheLobby() {
        GameLink l;
        frmchildchat* lobby = form<frmchildchat>();
        lobby->cmdJoin->setEnabled(false);
        lobby->cmdCreate->setEnabled(false);
        InGame = true;
        frmdisplaybox* box = gameOver(l, QStringLiteral("84 Loss x 0 1 ") + kOffer);
        l.clearSounds();
        box->imgOkay_Click();
        QCOMPARE(l.sounds(), QList<int>{3});
        QVERIFY(!InGame);
        QVERIFY(lobby->isVisible());
        QVERIFY(lobby->cmdJoin->isEnabled() && lobby->cmdCreate->isEnabled());
        QVERIFY(!ifLoaded<frmdisplaybox>());
    }
};

QTEST_MAIN(tst_gameover)
#include "tst_gameover.moc"
