// The client against the loopback server tool (tools/loopback), started as its own process: a
// player creates a card-game table from the games menu, sees the room fill, changes the rules in
// the setup dialog with the loopback's deck list, chats, declares ready, kicks and closes; then
// joins a resident's table, and creates a two-against-two table that residents fill.
#include "ClientFixture.h"
#include "Loopback.h"

#include "app/HttpClient.h"
#include "app/storedvars.h"
#include "game/clsCVRules.h"
#include "game/frmTableInfo.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmmenu.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "tables/frmchallengebox.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"
#include "tables/frmtradebox.h"

#include <QtTest>

namespace {
QStringList items(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}
}  // namespace

class tst_loopback_rooms : public QObject {
    Q_OBJECT
    Loopback loopback;

    bool printed(const QString& text, int ms = 5000) { return loopback.printed(text, ms); }

    bool login(const QString& nick) {
        return loginThroughWindows(nick).contains(85) && printed(QStringLiteral("-> TABLEQUERY 1"));
    }

    static void trigger(const char* name) { form<frmmenu>()->findChild<QAction*>(QString::fromLatin1(name))->trigger(); }

private slots:
    void initTestCase() {
        loopback.startForClients();
    }

    void cleanupTestCase() { loopback.stop(); }

    void createChangeRulesAndClose() {
        ClientFixture fx(ClientFixture::All);
        QVERIFY(login(QStringLiteral("kira")));
        trigger("mnucvreg");
        QVERIFY(printed(QStringLiteral("-> TABLECREATE")));
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmchallengebox_single>() && ifLoaded<frmchallengebox_single>()->Tablenumber() == 3; }));
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        QCOMPARE(room->title(), QStringLiteral("Challenge - [Corvada] - Table #: 3"));
        QCOMPARE(room->Player1->text(), QStringLiteral("kira"));
        // A resident sits down and says hello.
        QVERIFY(QTest::qWaitFor([&] { return room->Player2->text() == QLatin1String("Bree"); }, 5000));
        QVERIFY(QTest::qWaitFor([&] { return room->chatin->toPlainText().contains(QStringLiteral("Bree says")); }));
        QVERIFY(!room->picavatar[1]->pixmap().isNull());

        // The rules: decks from the loopback's web service, a preset, Accept.
        room->cmdChange_Click();
        frmtradebox* box = ifLoaded<frmtradebox>();
        QVERIFY(box && box->isVisible());
        QCOMPARE(items(box->lstdecks), (QStringList{"Ashfall", "Hollowroot", "Stormwake", "Standard"}));
        box->lstdecks->item(0)->setSelected(true);
        box->lstdecks->item(2)->setSelected(true);
        box->cmbRuleSets->setCurrentIndex(box->cmbRuleSets->findText(QStringLiteral("Bellastre")));
        box->cmbRuleSets_Click();
        box->challenge_Click();
        const auto chosen = room->TableRules();
        QVERIFY(QTest::qWaitFor([&] { return room->TableRules() != chosen; }));
        QCOMPARE(items(room->lstrules), (QStringList{"Card Style: Open", "User Picks", "Combo Rule", "Plus", "Same", "Trade: One", " ",
                                                     "Included Decks: ", "Ashfall", "Stormwake", "", "Gold Wager: 0GP"}));

        // Chat, readiness, the wager, the kick and the close.
        room->chatout->setText(QStringLiteral("hello  Bree"));
        QTest::keyClick(room->chatout, Qt::Key_Return);
        QVERIFY(QTest::qWaitFor([&] { return room->chatin->toPlainText().contains(QStringLiteral("kira says, \" hello Bree \"")); }));
        room->cmdReady_Click();
        QVERIFY(QTest::qWaitFor([&] { return room->ready[1]->text() == QLatin1String("Yes") && room->ready[2]->text() == QLatin1String("Yes"); }));
        // Not ready after all, before the game starts: the resident follows.
        room->cmdReady_Click();
        QVERIFY(QTest::qWaitFor([&] { return room->ready[1]->text() == QLatin1String("No") && room->ready[2]->text() == QLatin1String("No"); }));
        QTest::qWait(1200);
        QVERIFY(!printed(QStringLiteral("<- CV_PICKCARDS"), 0));
        fx.services.dialogs->type(QStringLiteral("700"));
        room->cmdGoldWager_Click();
        QVERIFY(QTest::qWaitFor([&] { return items(room->lstrules).contains(QStringLiteral("Gold Wager: 700GP")); }));
        room->Form_Paint();
        room->lnkKick_Click();
        QVERIFY(QTest::qWaitFor([&] { return room->Player2->text().isEmpty(); }));
        room->close();
        QVERIFY(printed(QStringLiteral("-> TABLECLOSE")));
        QVERIFY(printed(QStringLiteral("<- REMOVETABLE 3")));
        QVERIFY(fx.services.dialogs->boxes.size() == 1);
        QCOMPARE(fx.services.lifecycle->ends, 0);
    }

    void joinAResidentsTableThenATeamTable() {
        ClientFixture fx(ClientFixture::All);
        QVERIFY(login(QStringLiteral("nyxfan")));
        frmchildchat* lobby = ifLoaded<frmchildchat>();
        lobby->lsttables->addItem(QStringLiteral("Table 1  Nyx"));
        lobby->lsttables->setCurrentRow(lobby->lsttables->count() - 1);
        fx.services.dialogs->answer(vb::Yes);
        lobby->cmdJoin_Click();
        QVERIFY(printed(QStringLiteral("-> TABLEJOIN 1")));
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmchallengebox_single>() && ifLoaded<frmchallengebox_single>()->isVisible(); }));
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        QVERIFY(!ifLoaded<frmchallengewaiting>());
        QCOMPARE(room->title(), QStringLiteral("Challenge - [Corvada] - Table #: 1"));
        QCOMPARE(room->Player1->text(), QStringLiteral("Nyx"));
        QCOMPARE(room->Player2->text(), QStringLiteral("nyxfan"));
        QVERIFY(items(room->lstrules).contains(QStringLiteral("Same")));
        QCOMPARE(items(room->lstrules).last(), QStringLiteral("Gold Wager: 250GP"));
        QVERIFY(room->TableRules()->OpenRule() && room->TableRules()->Same());
        room->Form_Paint();
        QVERIFY(!room->cmdChange->Enabled());
        room->close();
        QVERIFY(printed(QStringLiteral("-> TABLECLOSE")));

        trigger("mnuteamocv");
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmchallengebox>() && ifLoaded<frmchallengebox>()->isVisible(); }));
        frmchallengebox* team = ifLoaded<frmchallengebox>();
        QVERIFY(!ifLoaded<frmchallengewaiting>());
        QCOMPARE(team->Player1->text(), QStringLiteral("nyxfan"));
        QVERIFY(QTest::qWaitFor([&] { return !team->picavatar[0]->pixmap().isNull(); }));
        // Three residents sit down one after another.
        QVERIFY(QTest::qWaitFor([&] { return team->player4->text() == QLatin1String("Orrin"); }, 8000));
        QCOMPARE(team->Player2->text(), QStringLiteral("Bree"));
        QCOMPARE(team->player3->text(), QStringLiteral("Nyx"));
        QVERIFY(team->chatin->toPlainText().contains(QStringLiteral("Orrin has joined the table.")));
        const QImage mine = team->picavatar[0]->pixmap().toImage(), nyx = team->picavatar[2]->pixmap().toImage();
        QVERIFY(!nyx.isNull() && nyx != mine);
        // Change Sides in a full room: the player and the first resident of the other pair trade
        // seats, avatars and all.
        team->cmdChange_Click();
        QVERIFY(QTest::qWaitFor([&] { return team->player3->text() == QLatin1String("nyxfan"); }));
        QCOMPARE(team->Player1->text(), QStringLiteral("Nyx"));
        QVERIFY(QTest::qWaitFor([&] { return team->picavatar[0]->pixmap().toImage() == nyx && team->picavatar[2]->pixmap().toImage() == mine; }));
        team->cmdChange_Click();
        QVERIFY(QTest::qWaitFor([&] { return team->Player1->text() == QLatin1String("nyxfan") && team->player3->text() == QLatin1String("Nyx"); }));
        QCOMPARE(team->ruleset[0]->text(), QStringLiteral("Random"));
        QCOMPARE(team->ruleset[1]->text(), QStringLiteral("5"));
        team->ruleset_Click(1);
        team->ruleset_Click(0);
        QVERIFY(QTest::qWaitFor([&] { return team->ruleset[1]->text() == QLatin1String("7") && team->Rules() == QLatin1String("Player"); }));
        // The table list carries the omni rule text, so the rules view shows the deck type and blocks.
        QVERIFY(printed(QStringLiteral("<- ADDTABLE 3 nyxfan Bree OMNICV_PLAYER 7@@")));
        QVERIFY(QTest::qWaitFor([&] { return !lobby->lsttables->findItems(QStringLiteral("Table 3 "), Qt::MatchStartsWith).isEmpty(); }));
        lobby->lsttables->setCurrentItem(lobby->lsttables->findItems(QStringLiteral("Table 3 "), Qt::MatchStartsWith).first());
        trigger("mnuTableInfo");
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmTableInfo>() && ifLoaded<frmTableInfo>()->isVisible(); }));
        QCOMPARE(ifLoaded<frmTableInfo>()->chatin->toPlainText(),
                 QStringLiteral("Omni Corvada\n\nPlayer Deck: 15 Cards Minimum\n7 Random Blocks\nGold Wager: 0\n"));
        team->close();
        QVERIFY(printed(QStringLiteral("-> TEAM_CLOSE")));
        QVERIFY(fx.services.dialogs->boxes.size() == 1);
    }
};

QTEST_MAIN(tst_loopback_rooms)
#include "tst_loopback_rooms.moc"
