// The challenge rooms against a fake game server: joining a card-game table and negotiating in
// the two-seat room (records of every game kind, avatars, ready flags, chat both ways, jackpot,
// wagers, kick, close), the four-seat room, seat removals, and the game starts that close the
// rooms and the waiting box without a word to the server. Malformed lines end nothing.
#include "RoomLink.h"

#include "app/modMain.h"
#include "game/clsCVRules.h"
#include "game/frmplaying.h"
#include "lobby/fancychat.h"
#include "tables/clsChallengeBoxes.h"
#include "tables/frmchallengebox.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"
#include "tables/frmocv_setup.h"
#include "variants/frmsphere_setup.h"

#include <QListWidget>
#include <QtTest>

namespace {
// A rule vector of 40 words: "1" at the positions given, "0" elsewhere, numbers where given.
QString ruleWords(std::initializer_list<int> on, std::initializer_list<std::pair<int, int>> numbers = {}) {
    QStringList w(40, QStringLiteral("0"));
    for (int k : on) w[k] = QStringLiteral("1");
    for (const auto& [k, n] : numbers) w[k] = QString::number(n);
    return w.join(u' ');
}

// A card-game room record as it travels: blanks as "%20".
QString cardRecord(const QString& words, const QString& decks, bool named = true) {
    QString r = words + (named ? QStringLiteral("@@Corvada@@") : QStringLiteral("@@")) + decks;
    return r.replace(u' ', QStringLiteral("%20"));
}

QStringList items(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

bool shows(const QLabel* part, const QString& file) {
    const QImage expected(file);
    return !expected.isNull() && part->pixmap().toImage().convertToFormat(QImage::Format_ARGB32) ==
                                     expected.convertToFormat(QImage::Format_ARGB32);
}

bool loaded(QWidget* w) { return w != nullptr; }

void selectTableRow(frmchildchat* lobby, const QString& row) {
    lobby->lsttables->addItem(row);
    lobby->lsttables->setCurrentRow(lobby->lsttables->count() - 1);
}
}  // namespace

class tst_rooms : public QObject {
    Q_OBJECT

private slots:
    // A joiner's whole road: the question, the join line, the waiting box, the room record, the
    // avatars, the ready flags, the chat both ways, the jackpot, and the game start.
    void joinCardGameTable() {
        RoomLink l;
        l.lobby->Gold(500);
        selectTableRow(l.lobby, QStringLiteral("Table 5  Nyx          vs. {JOIN}       Fast games"));
        l.dialogs().answer(vb::Yes);
        l.creator(true);
        l.lobby->cmdJoin_Click();
        QCOMPARE(l.dialogs().boxes.size(), 1);
        QCOMPARE(l.dialogs().boxes[0].title, QStringLiteral("Join Table?"));
        QCOMPARE(l.dialogs().boxes[0].text, QStringLiteral("Join Table 5?"));
        QCOMPARE(l.sent(), QStringList{QStringLiteral("TABLEJOIN 5")});
        QVERIFY(!l.isCreator());
        frmchallengewaiting* waiting = ifLoaded<frmchallengewaiting>();
        QVERIFY(waiting && waiting->isVisible());
        QCOMPARE(waiting->lblevent->text(), QStringLiteral("Waiting on your opponent - Please Wait"));

        const QString words = ruleWords({0, 8, 9, 31}, {{32, 2}});
        l.receive(QStringLiteral("CHALLENGEBOXS 5 Nyx kira 250 ") + cardRecord(words, QStringLiteral(" Ashfall Tideborn")));
        QVERIFY(!ifLoaded<frmchallengewaiting>());
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        QVERIFY(room && room->isVisible());
        QCOMPARE(room->title(), QStringLiteral("Challenge - [Corvada] - Table #: 5"));
        QCOMPARE(room->lblTitle->text(), room->title());
        // Typing goes into the chat input.
        QCOMPARE(room->focusWidget(), static_cast<QWidget*>(room->chatout));
        QCOMPARE(room->Player1->text(), QStringLiteral("Nyx"));
        QCOMPARE(room->Player2->text(), QStringLiteral("kira"));
        QCOMPARE(items(room->lstrules),
                 (QStringList{"Card Style: Open", "User Picks", "Plus", "Same", "Starter: Red", "Trade: One", " ", "Included Decks: ",
                              "Ashfall", "Tideborn", "", "Gold Wager: 250GP"}));
        QVERIFY(room->TableRules());
        QCOMPARE(room->TableRules()->decks(), QStringLiteral("Ashfall Tideborn"));
        QVERIFY(room->TableRules()->Same() && room->TableRules()->Plus() && room->TableRules()->TradeOne());
        QCOMPARE(room->TableRules()->Startee(), int16_t(2));

        // The joiner may not change the card game's rules, nor the gold wager of seat 1.
        room->Form_Paint();
        QVERIFY(!room->cmdChange->Enabled());
        QVERIFY(room->cmdGoldWager->isHidden());
        QVERIFY(room->lnkKick->isHidden());

        l.receive({QStringLiteral("CHALLENGEAVATARS 1 001 002 003 f"), QStringLiteral("CHALLENGEAVATARS 2 002 000 001 m")});
        const QString avatars = l.fx->path(QStringLiteral("skins/default/avatars/"));
        QVERIFY(shows(room->picavatar[0], avatars + QStringLiteral("background_001.gif")));
        QVERIFY(shows(room->imghead[0], avatars + QStringLiteral("f_head_002.gif")));
        QVERIFY(shows(room->imgbody[0], avatars + QStringLiteral("f_body_003.gif")));
        QVERIFY(shows(room->picavatar[1], avatars + QStringLiteral("background_002.gif")));
        QVERIFY(room->imghead[1]->pixmap().isNull());
        QVERIFY(shows(room->imgbody[1], avatars + QStringLiteral("m_body_001.gif")));
        QCOMPARE(l.sounds(), (QList<int>{45, 45}));

        l.receive({QStringLiteral("CHALLENGEREADYS 1 1"), QStringLiteral("CHALLENGEREADYS 2 0")});
        QCOMPARE(room->ready[1]->text(), QStringLiteral("Yes"));
        QCOMPARE(room->ready[2]->text(), QStringLiteral("No"));
        QTest::mouseClick(room->cmdReady, Qt::LeftButton);
        QCOMPARE(l.sent(), QStringList{QStringLiteral("GAMEREADY")});

        // Chat: typed with doubled blanks, sent with single ones; the room prints only what comes back.
        QTest::keyClicks(room->chatout, QStringLiteral("good  luck"));
        QTest::keyClick(room->chatout, Qt::Key_Return);
        QCOMPARE(l.sent(), QStringList{QStringLiteral("CHALLENGECHATS good luck")});
        QVERIFY(room->chatout->text().isEmpty());
        QVERIFY(room->chatin->toPlainText().isEmpty());
        l.receive({QStringLiteral("CHALLENGECHATS Nyx you  too"), QStringLiteral("CHALLENGECHATS *** Nyx is ready.")});
        QCOMPARE(linesOf(room->chatin), (QStringList{QStringLiteral("Nyx says, \" you  too \" "), QStringLiteral("Nyx is ready. ")}));
        QCOMPARE(lineColour(room->chatin, 0), ChatColour::White);
        QCOMPARE(lineColour(room->chatin, 1), ChatColour::Yellow);

        // The jackpot box: four toggles go out, the fifth is refused and its tick taken back.
        QVERIFY(room->chkJackpot->isChecked());
        for (int i = 0; i < 4; ++i) room->chkJackpot->click();
        QCOMPARE(l.sent(), QStringList(4, QStringLiteral("TABLEJACKPOTCHANGE 1")));
        QVERIFY(room->chkJackpot->isChecked());
        room->chkJackpot->click();
        QVERIFY(room->chkJackpot->isChecked());
        QVERIFY(l.sent().isEmpty());
        QCOMPARE(linesOf(room->chatin).last(),
                 QStringLiteral("You cannot toggle this option anymore because you are flooding the server. "));
        QCOMPARE(lineColour(room->chatin, 2), ChatColour::Red);
        // The server's answer to a toggle lands in this room.
        l.receive(QStringLiteral("TABLEJACKPOTCHANGE 1 1"));
        QCOMPARE(linesOf(room->chatin).last(), QStringLiteral("Your jackpot participation was successfully changed. "));
        QCOMPARE(lineColour(room->chatin, 3), ChatColour::Green);

        // The game starts: the room and the waiting box go, nothing is said for them.
        form<frmchallengewaiting>()->show();
        l.receive(QStringLiteral("CV_PICKCARDS 0"));
        QVERIFY(!ifLoaded<frmchallengebox_single>());
        QVERIFY(!ifLoaded<frmchallengewaiting>());
        QVERIFY(l.sent().isEmpty());
        frmplaying* board = ifLoaded<frmplaying>();
        QVERIFY(board && board->oCV());
        QCOMPARE(board->oCV()->Opponent(), QStringLiteral("Nyx"));
        QCOMPARE(board->oCV()->decks(), QStringLiteral("Ashfall Tideborn"));
        QVERIFY(l.healthy());
    }

    // Each kind of record sets its key, title and rule lines; the card game's rule set is kept
    // only from a card-game record.
    void recordKinds_data() {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("rules");
        QTest::newRow("coin board") << "ORBOLT%2060%201%2020@@" << "Orbolt"
                                    << QStringList{"Time Limit: 60", "Surgestrike: 1", "Max Turns: 20", "Gold Wager: 100GP"};
        QTest::newRow("memory") << "MEMORY" << "CV Memory" << QStringList{"Corvada Memory", "Gold Wager: 100GP"};
        QTest::newRow("card war") << "CARDWARS" << "Corvada War" << QStringList{"Card Wars", "Gold Wager: 100GP"};
        QTest::newRow("dice") << "CHINCHIN%2010%2020@@" << "Chinchirorin"
                              << QStringList{"Chinchirorin", "P1 Wager: 10", "P2 Wager: 20", "Gold Wager: 100GP"};
        QTest::newRow("omni, joined") << "OMNICV_PLAYER@@7" << "Omni CV"
                                      << QStringList{"Deck Type: Player Deck", "15 Cards Enforced", "Blocks: 7", "Gold Wager: 100GP"};
        QTest::newRow("omni, blank") << "OMNICV_PLAYER%207" << "Omni CV"
                                     << QStringList{"Deck Type: Player Deck", "15 Cards Enforced", "Blocks: 7", "Gold Wager: 100GP"};
        QTest::newRow("omni, random") << "OMNICV_RANDOM@@5@@" << "Omni CV"
                                      << QStringList{"Deck Type: Random", "Blocks: 5", "Gold Wager: 100GP"};
        QTest::newRow("omni, other deck type") << "OMNICV_SEALED@@3" << "Omni CV" << QStringList{"Blocks: 3", "Gold Wager: 100GP"};
        QTest::newRow("coin board, short") << "ORBOLT%2060" << "Orbolt" << QStringList{"Time Limit: 60", "Gold Wager: 100GP"};
    }
    void recordKinds() {
        QFETCH(QString, record);
        QFETCH(QString, title);
        QFETCH(QStringList, rules);
        RoomLink l;
        frmchallengebox_single* room = form<frmchallengebox_single>();
        auto kept = std::make_shared<clsCVRules>();
        room->TableRules(kept);
        l.receive(QStringLiteral("CHALLENGEBOXS 12 kira Nyx 100 ") + record);
        QCOMPARE(room->title(), QStringLiteral("Challenge - [") + title + QStringLiteral("] - Table #: 12"));
        QCOMPARE(items(room->lstrules), rules);
        QCOMPARE(room->TableRules(), kept);
        QCOMPARE(room->windowTitle(), title == QLatin1String("Chinchirorin") ? QStringLiteral("chinchin") : QStringLiteral("Challenge Box"));
        QVERIFY(l.healthy());
    }

    // The decks come right after the rule words or after the game name; the last rule word is
    // read before the "@@"; a player's name never decides the kind; a short record sets what it has.
    void cardRecordLayouts() {
        RoomLink l;
        const QString words = ruleWords({1, 39, 16});
        for (bool named : {true, false}) {
            l.receive(QStringLiteral("CHALLENGEBOXS 3 MEMORYfan kira 0 ") + cardRecord(words, QStringLiteral("Ashfall Tideborn"), named));
            frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
            QCOMPARE(room->GameKey(), QStringLiteral("cv"));
            QCOMPARE(room->TableRules()->decks(), QStringLiteral("Ashfall Tideborn"));
            QVERIFY(room->TableRules()->NoDupes());
            QVERIFY(room->TableRules()->Random());
            QVERIFY(room->TableRules()->TradeDirect());
            QVERIFY(!room->TableRules()->TradeOne());
        }
        // A deck named like a game stays a deck.
        l.receive(QStringLiteral("CHALLENGEBOXS 3 kira Nyx 0 ") + cardRecord(ruleWords({}), QStringLiteral("OMNICV Legends")));
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        QCOMPARE(room->GameKey(), QStringLiteral("cv"));
        QCOMPARE(items(room->lstrules).mid(5, 2), (QStringList{"OMNICV", "Legends"}));

        // Twenty-eight words: the reading stops at the starter (word 31); what came before it is set.
        QStringList shortWords = ruleWords({0, 1, 5, 8}, {{6, 7}}).split(u' ').mid(0, 28);
        l.receive(QStringLiteral("CHALLENGEBOXS 4 kira Nyx 5 ") + shortWords.join(QStringLiteral("%20")));
        room = ifLoaded<frmchallengebox_single>();
        const auto rules = room->TableRules();
        QVERIFY(rules->OpenRule() && rules->Random() && rules->MaxLevel() && rules->Same() && !rules->MinLevel());
        QCOMPARE(rules->MaxLevelValue(), int16_t(7));
        QVERIFY(rules->decks().isEmpty());
        QVERIFY(!rules->TradeOne());
        QCOMPARE(items(room->lstrules), (QStringList{"Card Style: Open", "Random Choice", "Max Rule Enforced: 7", "Same", " ",
                                                     "Included Decks: ", "", "Gold Wager: 5GP"}));

        // Trade words of other text than "0" and "1" switch nothing on, the one-card trade neither.
        QString odd = ruleWords({});
        QStringList w = odd.split(u' ');
        w[3] = QStringLiteral("x");
        l.receive(QStringLiteral("CHALLENGEBOXS 4 kira Nyx 5 ") + cardRecord(w.join(u' '), QStringLiteral("A")));
        QVERIFY(!ifLoaded<frmchallengebox_single>()->TableRules()->TradeOne());
        QVERIFY(!ifLoaded<frmchallengebox_single>()->TableRules()->TradeAll());
        // A starter word of 3 names nobody.
        l.receive(QStringLiteral("CHALLENGEBOXS 4 kira Nyx 5 ") + cardRecord(ruleWords({31}, {{32, 3}}), QStringLiteral("A")));
        QVERIFY(!ifLoaded<frmchallengebox_single>()->TableRules()->Starter());
        QCOMPARE(ifLoaded<frmchallengebox_single>()->TableRules()->Startee(), int16_t(0));
        QVERIFY(l.healthy());
    }

    // The avatar lines: seats the room lacks and pictures that are not there are passed over.
    void avatarFaults() {
        RoomLink l;
        l.receive(QStringLiteral("CHALLENGEAVATARS 1 001 001 001 m"));
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        QVERIFY(room && room->isVisible());
        QVERIFY(!room->picavatar[0]->pixmap().isNull());
        l.receive({QStringLiteral("CHALLENGEAVATARS 3 001 001 001 m"), QStringLiteral("CHALLENGEAVATARS 0 001 001 001 m"),
                   QStringLiteral("CHALLENGEAVATARS 99999 001 001 001 m")});
        QCOMPARE(l.sounds(), QList<int>{45});
        // Missing pictures and names that are no plain file names clear their part; the sound still plays.
        l.receive(QStringLiteral("CHALLENGEAVATARS 1 777 001 001 ../m"));
        QVERIFY(room->picavatar[0]->pixmap().isNull());
        QVERIFY(room->imghead[0]->pixmap().isNull());
        QVERIFY(room->imgbody[0]->pixmap().isNull());
        l.receive(QStringLiteral("CHALLENGEAVATARS 2 000  002 f"));
        QVERIFY(room->picavatar[1]->pixmap().isNull());
        QVERIFY(room->imghead[1]->pixmap().isNull());
        QVERIFY(!room->imgbody[1]->pixmap().isNull());
        QCOMPARE(l.sounds(), (QList<int>{45, 45, 45}));
        QVERIFY(l.healthy());
    }

    // Lines that do not fit end only their own handling.
    void malformedLines() {
        RoomLink l;
        l.receive({QStringLiteral("CHALLENGEBOXS 40000 kira Nyx 0 MEMORY"), QStringLiteral("CHALLENGEREADYS 9 1"),
                   QStringLiteral("CHALLENGEREADYS 99999 1"), QStringLiteral("CHALLENGEREMOVES abc"),
                   QStringLiteral("CHALLENGEBOX 70000 a b c d OMNICV_RANDOM 5"), QStringLiteral("CHALLENGEBOX"),
                   QStringLiteral("CHALLENGEBOXS"), QStringLiteral("CHALLENGECHATS"), QStringLiteral("challengeboxs 3 a b 0 MEMORY"),
                   QStringLiteral("CHALLENGEBOXSX 3 a b 0 MEMORY"), QStringLiteral("CHALLENGEBOXS 3 kira Nyx 0 ") +
                       cardRecord(ruleWords({5}, {{6, 90000}}), QStringLiteral("A"))});
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        QVERIFY(room);
        // The overflowing maximum ends the rule reading; the room still shows the rest.
        QCOMPARE(room->Tablenumber(), int16_t(3));
        QVERIFY(!room->TableRules()->MaxLevel());
        QVERIFY(!room->TableRules()->TradeOne());
        QCOMPARE(items(room->lstrules).last(), QStringLiteral("Gold Wager: 0GP"));
        QVERIFY(l.healthy());
        QVERIFY(l.dialogs().boxes.isEmpty());
    }

    void wagers() {
        RoomLink l;
        l.lobby->Gold(500);
        l.lobby->AP(100);
        l.receive(QStringLiteral("CHALLENGEBOXS 8 kira Nyx 0 MEMORY"));
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        room->Form_Paint();
        QVERIFY(!room->cmdGoldWager->isHidden());
        QVERIFY(!room->cmdChange->Enabled());
        // The answer goes out as typed; only cancel, a plain 0 and more than the gold stay.
        const char* const answers[] = {"500", "501", "0", "", "-5", "abc", "12.7", "00", "500.5", "5e2", "5e3", " 7"};
        for (const char* answer : answers) l.dialogs().type(QString::fromLatin1(answer));
        for (int i = 0; i < int(std::size(answers)); ++i) room->cmdGoldWager_Click();
        QCOMPARE(l.sent(), (QStringList{"CHANGEWAGER 500", "CHANGEWAGER -5", "CHANGEWAGER abc", "CHANGEWAGER 12.7",
                                        "CHANGEWAGER 00", "CHANGEWAGER 5e2", "CHANGEWAGER  7"}));
        QCOMPARE(l.dialogs().boxes[0].text, QStringLiteral("How much gold do you wish to wager?"));
        QCOMPARE(l.dialogs().boxes[0].title, QStringLiteral("Wager"));
        l.dialogs().clear();

        // The dice game: either player sets a wager of up to a third of the advancement points.
        l.creator(false);
        l.receive(QStringLiteral("CHALLENGEBOXS 8 Nyx kira 0 CHINCHIN%200%200"));
        room->Form_Paint();
        QVERIFY(room->cmdChange->Enabled());
        QVERIFY(room->cmdGoldWager->isHidden());
        for (const char* answer : {"33", "34", "0", "-5", "20.9"}) l.dialogs().type(QString::fromLatin1(answer));
        for (int i = 0; i < 5; ++i) room->cmdChange_Click();
        QCOMPARE(l.dialogs().boxes[0].text, QStringLiteral("What is your wager? (0 to Cancel)"));
        QCOMPARE(l.dialogs().boxes[0].title, QStringLiteral("Wager"));
        QCOMPARE(l.sent(), (QStringList{"CHANGERULE CHINCHIN 33", "CHANGERULE CHINCHIN 20"}));
        QCOMPARE(linesOf(room->chatin),
                 QStringList{QStringLiteral("Wager is greater than 1/3 of your total AP.  Wager change has been cancelled. ")});
        QCOMPARE(lineColour(room->chatin, 0), ChatColour::Yellow);
    }

    void kickAndClose() {
        RoomLink l;
        l.creator(true);
        l.receive(QStringLiteral("CHALLENGEBOXS 6 kira  0 MEMORY"));
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        room->Form_Paint();
        QVERIFY(room->lnkKick->isHidden());
        room->lnkKick_Click();
        QCOMPARE(l.dialogs().boxes.size(), 1);
        QCOMPARE(l.dialogs().boxes[0].text, QStringLiteral("A player must be present in order for you to kick them"));
        QCOMPARE(l.dialogs().boxes[0].title, QStringLiteral("Corvadex"));
        l.receive(QStringLiteral("CHALLENGEBOXS 6 kira Nyx 0 MEMORY"));
        room->Form_Paint();
        QVERIFY(!room->lnkKick->isHidden());
        QTest::mouseClick(room->lnkKick, Qt::LeftButton);
        QCOMPARE(l.sent(), QStringList{QStringLiteral("CHALLENGECHATS /kick 2")});
        l.creator(false);
        room->lnkKick_Click();
        QCOMPARE(l.dialogs().boxes.last().text, QStringLiteral("You must be the table creator to use this function"));
        QVERIFY(room->lnkKick->isHidden());
        QVERIFY(l.sent().isEmpty());

        // The user's close gives up the table; closing from code says nothing.
        room->close();
        QCOMPARE(l.sent(), QStringList{QStringLiteral("TABLECLOSE")});
        QVERIFY(!ifLoaded<frmchallengebox_single>());
        form<frmchallengebox_single>()->show();
        unload<frmchallengebox_single>();
        QVERIFY(l.sent().isEmpty());
        // The program ending with the room open gives it up too, before anything else goes.
        form<frmchallengebox_single>()->show();
        ShutDown();
        QCOMPARE(l.sent().value(0), QStringLiteral("TABLECLOSE"));
    }

    // Change Rules opens the dialog of the game for the creator only.
    void changeRulesByGame() {
        RoomLink l;
        l.creator(false);
        l.receive(QStringLiteral("CHALLENGEBOXS 2 Nyx kira 0 OMNICV_RANDOM@@5"));
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        room->cmdChange_Click();
        QVERIFY(!ifLoaded<frmocv_setup>());
        l.creator(true);
        room->cmdChange_Click();
        QVERIFY(ifLoaded<frmocv_setup>() && ifLoaded<frmocv_setup>()->isVisible());
        room->GameKey(QStringLiteral("ob"));
        room->cmdChange_Click();
        QVERIFY(ifLoaded<frmsphere_setup>() && ifLoaded<frmsphere_setup>()->isVisible());
        room->GameKey(QStringLiteral("cardwars"));
        unload<frmsphere_setup>();
        room->cmdChange_Click();
        QVERIFY(!ifLoaded<frmsphere_setup>());
        QVERIFY(l.sent().isEmpty());
    }

    void chatInputKeys() {
        RoomLink l;
        l.receive(QStringLiteral("CHALLENGEBOXS 2 kira Nyx 0 MEMORY"));
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        room->ChallengeBlockChat(QStringLiteral("old line"), ChatColour::Green);
        QCOMPARE(lineColour(room->chatin, 0), ChatColour::Green);
        QTest::keyClick(room->chatout, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(room->chatin->toPlainText().isEmpty());
        QTest::keyClicks(room->chatout, QStringLiteral("   "));
        QTest::keyClick(room->chatout, Qt::Key_Return);
        room->chatout->setText(QStringLiteral("a") + QChar(3) + QStringLiteral("b"));
        QTest::keyClick(room->chatout, Qt::Key_Return);
        QVERIFY(l.sent().isEmpty());
        room->chatout->setText(QStringLiteral("four    blanks"));
        QTest::keyClick(room->chatout, Qt::Key_Return);
        QCOMPARE(l.sent(), QStringList{QStringLiteral("CHALLENGECHATS four  blanks")});
        // A chat line for a room that is not shown is dropped.
        room->hide();
        l.receive(QStringLiteral("CHALLENGECHATS Nyx hello"));
        QVERIFY(room->chatin->toPlainText().isEmpty());
    }

    // Without a connection the jackpot toggle goes nowhere, so its tick goes back.
    void jackpotWhileDisconnected() {
        RoomLink l;
        frmchallengebox_single* room = form<frmchallengebox_single>();
        room->show();
        l.con->Winsock->Close();
        room->chkJackpot->click();
        QVERIFY(room->chkJackpot->isChecked());
        QCOMPARE(room->JackpotToggles(), int16_t(0));
        QVERIFY(l.sent().isEmpty());
    }

    void seatRemovals() {
        RoomLink l;
        InGame = true;
        l.con->versus->setText(QStringLiteral("Nyx"));
        l.receive({QStringLiteral("CHALLENGEBOXS 2 kira Nyx 0 MEMORY"), QStringLiteral("CHALLENGEAVATARS 2 001 001 001 f"),
                   QStringLiteral("CHALLENGEREADYS 2 1")});
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        l.receive(QStringLiteral("CHALLENGEREMOVES 2"));
        QVERIFY(room->Player2->text().isEmpty());
        QVERIFY(room->ready[2]->text().isEmpty());
        QVERIFY(room->picavatar[1]->pixmap().isNull() && room->imghead[1]->pixmap().isNull());
        QVERIFY(room->isVisible());
        const int lobbyLines = linesOf(l.lobby->chatin).size();
        l.receive(QStringLiteral("CHALLENGEREMOVES 1"));
        QVERIFY(!ifLoaded<frmchallengebox_single>());
        QVERIFY(!InGame);
        QVERIFY(l.con->versus->text().isEmpty());
        QCOMPARE(linesOf(l.lobby->chatin).size(), lobbyLines);

        l.receive(QStringLiteral("CHALLENGEBOXS 2 kira Nyx 0 MEMORY"));
        l.receive(QStringLiteral("CHALLENGEREMOVES 5"));
        QVERIFY(!ifLoaded<frmchallengebox_single>());
        QVERIFY(linesOf(l.lobby->chatin).last().contains(QStringLiteral("Table was closed.  Please create a new table or join a new one.")));
        QVERIFY(l.sent().isEmpty());
        QVERIFY(l.healthy());
    }

    void fourSeatRoom() {
        RoomLink l;
        l.creator(true);
        form<frmchallengewaiting>()->show();
        l.receive(QStringLiteral("CHALLENGEBOX 12 kira Nyx Orrin Bree OMNICV_PLAYER 3"));
        QVERIFY(!ifLoaded<frmchallengewaiting>());
        frmchallengebox* room = ifLoaded<frmchallengebox>();
        QVERIFY(room && room->isVisible());
        QCOMPARE(room->Tablenumber(), int16_t(12));
        QCOMPARE((QStringList{room->Player1->text(), room->Player2->text(), room->player3->text(), room->player4->text()}),
                 (QStringList{"kira", "Nyx", "Orrin", "Bree"}));
        QCOMPARE(room->ruleset[0]->text(), QStringLiteral("Player"));
        QCOMPARE(room->ruleset[1]->text(), QStringLiteral("3"));
        room->grab();
        QCOMPARE(room->lblTitle->text(), QStringLiteral("Challenge - [Team OCV] - Table #: 12"));

        QTest::mouseClick(room->ruleset[0], Qt::LeftButton);
        QTest::mouseClick(room->ruleset[1], Qt::LeftButton);
        QTest::mouseClick(room->cmdReady, Qt::LeftButton);
        QTest::mouseClick(room->cmdChange, Qt::LeftButton);
        room->chkJackpot->click();
        room->chatout->setText(QStringLiteral("hi  all"));
        QTest::keyClick(room->chatout, Qt::Key_Return);
        QCOMPARE(l.sent(), (QStringList{"TEAM_CHANGERULE 2", "TEAM_CHANGERULE 1", "TEAM_READY", "TEAM_CHANGE", "TABLEJACKPOTCHANGE 2",
                                        "CHALLENGECHAT hi all"}));
        l.receive(QStringLiteral("TABLEJACKPOTCHANGE 2 2"));
        QCOMPARE(linesOf(room->chatin).last(),
                 QStringLiteral("You cannot make changes to your jackpot participation when the game is active. "));
        room->chatin->clear();
        l.creator(false);
        room->ruleset_Click(0);
        room->ruleset_Click(1);
        QVERIFY(l.sent().isEmpty());

        l.receive({QStringLiteral("CHALLENGE BOX 9 a"), QStringLiteral("CHALLENGEREADY 3 1"), QStringLiteral("CHALLENGEREADY 4 x"),
                   QStringLiteral("CHALLENGECHAT Ann hello there"), QStringLiteral("CHALLENGEAVATAR 3 003 001 002 m"),
                   QStringLiteral("CHALLENGEAVATAR 5 003 001 002 m")});
        QCOMPARE(room->ready[3]->text(), QStringLiteral("Yes"));
        QCOMPARE(room->ready[4]->text(), QStringLiteral("No"));
        QCOMPARE(linesOf(room->chatin), QStringList{QStringLiteral("Ann says, \" hello there \" ")});
        const QString avatars = l.fx->path(QStringLiteral("skins/default/avatars/"));
        QVERIFY(shows(room->picavatar[2], avatars + QStringLiteral("background_003.gif")));
        QVERIFY(shows(room->imghead[2], avatars + QStringLiteral("m_head_001.gif")));
        QVERIFY(shows(room->imgbody[2], avatars + QStringLiteral("m_body_002.gif")));
        QCOMPARE(l.sounds(), QList<int>{45});

        l.receive(QStringLiteral("CHALLENGEREMOVE 3"));
        QVERIFY(room->player3->text().isEmpty() && room->ready[3]->text().isEmpty() && room->picavatar[2]->pixmap().isNull());
        l.receive(QStringLiteral("CHALLENGEBOX 12 kira Nyx Orrin Bree OMNICV_SEALED 7"));
        QCOMPARE(room->Rules(), QStringLiteral("OMNICV_SEALED"));
        QCOMPARE(room->Blocks(), int16_t(7));
        room->close();
        QCOMPARE(l.sent(), QStringList{QStringLiteral("TEAM_CLOSE")});
        QVERIFY(!ifLoaded<frmchallengebox>());
        l.receive({QStringLiteral("CHALLENGEBOX 12 kira Nyx Orrin Bree OMNICV_RANDOM 5"), QStringLiteral("CHALLENGEREMOVE 1")});
        QVERIFY(!ifLoaded<frmchallengebox>());
        QVERIFY(l.sent().isEmpty());
        QVERIFY(l.healthy());
    }

    // The first line of every game closes the rooms and the waiting box without a word.
    void gameStartsCloseRooms_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("single");
        QTest::addColumn<bool>("team");
        QTest::addColumn<bool>("waiting");
        QTest::newRow("omni") << "OCVSTARTER 1" << true << false << true;
        QTest::newRow("coin board") << "OBSTART" << true << false << true;
        QTest::newRow("memory") << "MEMORYYES" << true << false << true;
        QTest::newRow("dice") << "CHINCHINYES" << true << false << true;
        QTest::newRow("dice turn") << "CHINCHINTURN 1" << true << false << false;
        QTest::newRow("card war") << "CARDWARSLOAD" << true << false << false;
        QTest::newRow("team omni") << "TEAM_OCVSTARTER 1" << false << true << true;
        QTest::newRow("card game") << "CV_PICKCARDS 0" << true << false << true;
    }
    void gameStartsCloseRooms() {
        QFETCH(QString, line);
        QFETCH(bool, single);
        QFETCH(bool, team);
        QFETCH(bool, waiting);
        RoomLink l;
        for (QWidget* w : {static_cast<QWidget*>(form<frmchallengebox_single>()), static_cast<QWidget*>(form<frmchallengebox>()),
                           static_cast<QWidget*>(form<frmchallengewaiting>()), static_cast<QWidget*>(form<frmsphere_setup>())})
            w->show();
        l.receive(line);
        QCOMPARE(!loaded(ifLoaded<frmchallengebox_single>()), single);
        QCOMPARE(!loaded(ifLoaded<frmchallengebox>()), team);
        QCOMPARE(!loaded(ifLoaded<frmchallengewaiting>()), waiting);
        QCOMPARE(!loaded(ifLoaded<frmsphere_setup>()), line == QLatin1String("OBSTART"));
        QVERIFY(l.sent().isEmpty());
    }

    // The waiting box's Cancel gives up a created table; a joiner's cancel only closes the box.
    void waitingBoxCancel() {
        RoomLink l;
        l.creator(true);
        l.con->versus->setText(QStringLiteral("Nyx"));
        form<frmchallengewaiting>()->show();
        QTest::mouseClick(ifLoaded<frmchallengewaiting>()->cancel, Qt::LeftButton);
        QCOMPARE(l.sent(), QStringList{QStringLiteral("TABLECLOSE")});
        QVERIFY(!l.isCreator());
        QVERIFY(l.con->versus->text().isEmpty());
        QVERIFY(!ifLoaded<frmchallengewaiting>());
        form<frmchallengewaiting>()->show();
        ifLoaded<frmchallengewaiting>()->cancel_Click();
        form<frmchallengewaiting>()->show();
        ifLoaded<frmchallengewaiting>()->close();
        QVERIFY(!ifLoaded<frmchallengewaiting>());
        QVERIFY(l.sent().isEmpty());
    }
};

QTEST_MAIN(tst_rooms)
#include "tst_rooms.moc"
