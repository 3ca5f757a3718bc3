// Card picking against a fake web service: the deck query, the grid and its sorting, the checks
// of each pick, the hand sent on the fifth pick and handed to the board, and the 180-second limit.
#include "FakeWebService.h"
#include "GameLink.h"

#include "game/ModMiscFunctions.h"
#include "game/frmplaying.h"
#include "game/frmselectcards.h"
#include "tables/frmchallengebox_single.h"

#include <QHeaderView>
#include <memory>

namespace {
const FakeWebService::Reply kOwned{
    {{"Card", "string"}, {"Level", "integer"}, {"Total", "integer"}, {"Special", "string"}},
    {{"Cinderpup", "1", "2", "No"},
     {"Brine Skitter", "1", "1", "No"},
     {"Emberlark", "1", "3", "No"},
     {"Gustling", "1", "1", "No"},
     {"Kilnwarden", "2", "1", "Yes"},
     {"Maelstrom Leviathan", "5", "1", "Yes"}}};
}  // namespace

class tst_picking : public QObject {
    Q_OBJECT
    std::unique_ptr<FakeWebService> service;

    // The room of a table this client created, with its rule set, and the server's go.
    static frmselectcards* openPicking(GameLink& l, const std::function<void(clsCVRules&)>& rules = {}) {
        frmchallengebox_single* room = form<frmchallengebox_single>();
        room->Player1->setText(QStringLiteral("Tester"));
        room->Player2->setText(QStringLiteral("Rival"));
        room->oCVGame()->decks(QStringLiteral("Ashfall Stormwake"));
        room->oCVGame()->TradeNone(true);
        room->oCVGame()->MinLevelValue(1);
        if (rules) rules(*room->oCVGame());
        l.feed(QStringLiteral("CV_PICKCARDS 1"));
        frmselectcards* picking = ifLoaded<frmselectcards>();
        if (picking) picking->Timer1->stop();
        return picking;
    }

    static void chooseDeck(frmselectcards* picking, int index) {
        picking->cmbDecks->setCurrentIndex(index);
        picking->cmbDecks_Click();
    }

    // Selects the grid row of the card, as a click on it would.
    static void selectCard(frmselectcards* picking, const QString& name) {
        for (int row = 0; row < picking->gridModel->rowCount(); ++row) {
            if (picking->gridModel->index(row, 0).data().toString() != name) continue;
            picking->DataGrid->setCurrentIndex(picking->gridModel->index(row, 0));
            picking->DataGrid_Click(row + 1, 1);
            return;
        }
        QFAIL(qPrintable(QStringLiteral("no row for ") + name));
    }

    static QString totalOf(frmselectcards* picking, const QString& name) {
        for (int row = 0; row < picking->gridModel->rowCount(); ++row)
            if (picking->gridModel->index(row, 0).data().toString() == name) return picking->gridModel->index(row, 2).data().toString();
        return {};
    }

    static void pick(frmselectcards* picking, const QString& name) {
        selectCard(picking, name);
        picking->cmdPick_Click();
    }

private slots:
    void initTestCase() {
        for (const char* v : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) qunsetenv(v);
        service = std::make_unique<FakeWebService>();
    }
    void init() {
        qputenv("CORVADEX_WEBSERVICE", service->url().toUtf8());
        service->clearAnswers();
        service->clearRecords();
        service->answerPrefix(QStringLiteral("call sps_CVCards("), kOwned);
    }
    void cleanupTestCase() { service.reset(); }

    void pickCardsOpensPickingWithTheRoomsRules() {
        GameLink l;
        frmselectcards* picking = openPicking(l);
        QVERIFY(picking && picking->isVisible());
        QVERIFY(!ifLoaded<frmchallengebox_single>());
        QCOMPARE(picking->cmbDecks->count(), 2);
        QCOMPARE(picking->cmbDecks->itemText(1), QStringLiteral("Stormwake"));
        QCOMPARE(picking->Countdown(), int16_t(180));
        QCOMPARE(picking->windowTitle(), QStringLiteral("Select Your Cards"));
        QCOMPARE(picking->lblTitle->text(), QStringLiteral("Select Cards"));
        // One rule set for the picking and the board, with the opponent from the room.
        QVERIFY(picking->oCV() == ifLoaded<frmplaying>()->oCV());
        QCOMPARE(picking->oCV()->Opponent(), QStringLiteral("Rival"));
        QVERIFY(l.quiet());
    }

    void deckQueryWithQuotedTexts() {
        GameLink l;
        Nickname = QStringLiteral("O'Hara");
        frmselectcards* picking = openPicking(l, [](clsCVRules& r) { r.decks(QStringLiteral("Ash'fall Stormwake")); });
        chooseDeck(picking, 0);
        picking->oCV()->MaxLevelValue(4);
        picking->oCV()->TradeNone(false);
        chooseDeck(picking, 1);
        QCOMPARE(service->commands(), (QStringList{"call sps_CVCards('O''Hara', 'Ash''fall', 1, 10, 1)",
                                                   "call sps_CVCards('O''Hara', 'Stormwake', 1, 4, 0)"}));
        QCOMPARE(picking->gridModel->rowCount(), 6);
        QCOMPARE(picking->DataGrid->columnWidth(0), twips(2400));
        // The row marks are never narrower than they were; they grow to fit the row numbers.
        QVERIFY(picking->DataGrid->verticalHeader()->width() >= twips(180));
    }

    // Row numbers of two and three digits show whole beside the rows.
    void rowNumbersFitTheirMarks() {
        for (int cards : {12, 120}) {
            GameLink l;
            FakeWebService::Reply many{kOwned.columns, {}};
            for (int i = 1; i <= cards; ++i) many.rows.append({QStringLiteral("Card %1").arg(i), "1", "1", "No"});
            service->clearAnswers();
            service->answerPrefix(QStringLiteral("call sps_CVCards("), many);
            frmselectcards* picking = openPicking(l);
            chooseDeck(picking, 0);
            QCOMPARE(picking->gridModel->rowCount(), cards);
            const QHeaderView* marks = picking->DataGrid->verticalHeader();
            QCOMPARE(marks->model()->headerData(cards - 1, Qt::Vertical).toString(), QString::number(cards));
            QVERIFY2(marks->width() >= marks->sizeHint().width(), qPrintable(QString::number(cards)));
            QVERIFY(marks->width() > twips(180));
        }
    }

    void gridHeadersSortAndMarkTheColumn() {
        GameLink l;
        frmselectcards* picking = openPicking(l);
        chooseDeck(picking, 0);
        const auto header = [picking](int c) { return picking->gridModel->headerData(c, Qt::Horizontal).toString(); };
        QCOMPARE(header(2), QStringLiteral("Total"));
        picking->DataGrid_Click(0, 3);
        QCOMPARE(header(2), QStringLiteral("> Total"));
        QCOMPARE(picking->gridModel->index(5, 0).data().toString(), QStringLiteral("Emberlark"));
        picking->DataGrid_Click(0, 3);
        QCOMPARE(header(2), QStringLiteral("< Total"));
        QCOMPARE(picking->gridModel->index(0, 0).data().toString(), QStringLiteral("Emberlark"));
        QTest::mouseClick(picking->DataGrid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(picking->DataGrid->horizontalHeader()->sectionViewportPosition(0) + 5, 5));
        QCOMPARE(header(0), QStringLiteral("> Card"));
        QCOMPARE(header(2), QStringLiteral("Total"));
        QCOMPARE(picking->gridModel->index(0, 0).data().toString(), QStringLiteral("Brine Skitter"));
        // A click on a row with the mouse shows the card and allows the pick.
        picking->cmdPick->Enabled(false);
        const QRect row = picking->DataGrid->visualRect(picking->gridModel->index(1, 0));
        QTest::mouseClick(picking->DataGrid->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(picking->SelectedCard(), QStringLiteral("Cinderpup"));
        QVERIFY(picking->cmdPick->Enabled());
        QVERIFY(!picking->current->Picture().isNull());
        QVERIFY(!IsEmptyCard(picking->current));
    }

    void eachPickIsChecked() {
        GameLink l;
        frmselectcards* picking = openPicking(l, [](clsCVRules& r) { r.TradeNone(false); });
        chooseDeck(picking, 0);
        auto& boxes = *l.fixture.services.dialogs;
        pick(picking, QStringLiteral("Kilnwarden"));
        QCOMPARE(boxes.boxes.last().text, QStringLiteral("You cannot pick special edition or event cards on trade games"));
        QCOMPARE(boxes.boxes.last().title, QStringLiteral("Problem"));
        QCOMPARE(boxes.boxes.last().style, int(vb::Information));
        pick(picking, QStringLiteral("Cinderpup"));
        QCOMPARE(totalOf(picking, QStringLiteral("Cinderpup")), QStringLiteral("1"));
        pick(picking, QStringLiteral("Cinderpup"));
        QCOMPARE(totalOf(picking, QStringLiteral("Cinderpup")), QStringLiteral("0"));
        pick(picking, QStringLiteral("Cinderpup"));
        QCOMPARE(boxes.boxes.last().text, QStringLiteral("You can only pick the same card twice"));
        pick(picking, QStringLiteral("Gustling"));
        pick(picking, QStringLiteral("Gustling"));
        QCOMPARE(boxes.boxes.last().text, QStringLiteral("You do not have any of this card to add to your playing hand."));
        QCOMPARE(picking->PickCards().Cards(2), QStringLiteral("Gustling"));
        QCOMPARE(picking->PickCards().Cards(3), QString());
        QCOMPARE(boxes.count(QStringLiteral("Problem")), 3);
        QCOMPARE(l.sentAfterAWhile(), QStringList());

        // Clear empties the picks; the totals come back when the deck is chosen again.
        picking->cmdClear_Click();
        QVERIFY(IsEmptyCard(picking->selected[0]));
        QCOMPARE(picking->PickCards().Cards(0), QString());
        QCOMPARE(totalOf(picking, QStringLiteral("Cinderpup")), QStringLiteral("0"));
        pick(picking, QStringLiteral("Emberlark"));
        chooseDeck(picking, 0);
        QCOMPARE(totalOf(picking, QStringLiteral("Cinderpup")), QStringLiteral("2"));
        QCOMPARE(totalOf(picking, QStringLiteral("Emberlark")), QStringLiteral("2"));
    }

    void specialCardsAndNoDupes() {
        GameLink l;
        frmselectcards* picking = openPicking(l, [](clsCVRules& r) { r.NoDupes(true); });
        chooseDeck(picking, 0);
        auto& boxes = *l.fixture.services.dialogs;
        pick(picking, QStringLiteral("Kilnwarden"));
        QCOMPARE(picking->PickCards().Special(0), int16_t(-1));
        pick(picking, QStringLiteral("Maelstrom Leviathan"));
        QCOMPARE(boxes.boxes.last().text, QStringLiteral("You can only pick 1 special edition or event card per game."));
        pick(picking, QStringLiteral("Emberlark"));
        QCOMPARE(picking->PickCards().Special(1), int16_t(0));
        pick(picking, QStringLiteral("Emberlark"));
        QCOMPARE(boxes.boxes.last().text, QStringLiteral("You have already selected this card.  Duplicates are not "
                                                          "allowed when the No Dupes rule is on."));
        QCOMPARE(boxes.boxes.size(), 2);
    }

    void fifthPickSendsTheHandToTheBoard() {
        for (const bool creator : {true, false}) {
            GameLink l(creator);
            frmselectcards* picking = openPicking(l);
            chooseDeck(picking, 0);
            for (const char* name : {"Cinderpup", "Brine Skitter", "Cinderpup", "Emberlark"}) pick(picking, QLatin1String(name));
            QCOMPARE(l.sentAfterAWhile(50), QStringList());
            const QPixmap fourth = picking->selected[3]->Picture();
            pick(picking, QStringLiteral("Gustling"));
            QVERIFY(l.sent(QStringLiteral("CV_MYCARD Cinderpup Brine%20Skitter Cinderpup Emberlark Gustling")));
            QVERIFY(!ifLoaded<frmselectcards>());
            frmplaying* board = ifLoaded<frmplaying>();
            QVERIFY(board && board->isVisible());
            QCOMPARE(board->windowTitle(), creator ? QStringLiteral("Corvada [Rival]") : QStringLiteral("Corvada [Tester]"));
            auto& hand = creator ? board->Player1 : board->Player2;
            QCOMPARE(hand[1]->Tag, QStringLiteral("Brine Skitter"));
            QCOMPARE(hand[1]->ToolTipText(), QStringLiteral("Brine Skitter"));
            QCOMPARE(hand[3]->Picture().cacheKey(), fourth.cacheKey());
            const QString colour = creator ? QStringLiteral("blue") : QStringLiteral("red");
            QVERIFY(hand[4]->Picture().toImage() ==
                    QPixmap(l.fixture.path(QStringLiteral("decks/") + colour + QStringLiteral("/Gustling.jpg"))).toImage());
            QCOMPARE(board->TimerValue(), int16_t(90));
            QCOMPARE(board->OrderSequence(), int16_t(0));
            QVERIFY(board->lstrules->count() > 0);
            QCOMPARE(board->lstrules->item(0)->text(), QStringLiteral("Card Style: Closed"));
            QVERIFY(l.quiet());
        }
    }

    void deckWithoutCardsOrWithoutService() {
        GameLink l;
        frmselectcards* picking = openPicking(l);
        service->clearAnswers();
        service->answerPrefix(QStringLiteral("call sps_CVCards('Tester', 'Ashfall'"), {kOwned.columns, {}});
        chooseDeck(picking, 0);
        QCOMPARE(picking->gridModel->rowCount(), 0);
        QVERIFY(!picking->cmdPick->Enabled());
        // No answer at all (a fault from the service): the same quiet empty grid.
        chooseDeck(picking, 1);
        QCOMPARE(picking->gridModel->rowCount(), 0);
        QVERIFY(l.quiet());
        QVERIFY(ifLoaded<frmselectcards>());
    }

    void pickingTimeLimit() {
        GameLink l;
        frmselectcards* picking = openPicking(l);
        picking->Timer1_Timer();
        QCOMPARE(picking->timeleft->text(), QStringLiteral("179"));
        for (int i = 1; i < 180; ++i) picking->Timer1_Timer();
        QVERIFY(l.sent(QStringLiteral("CV_TIMEOUT")));
        QCOMPARE(picking->timeleft->text(), QStringLiteral("1"));
        QVERIFY(!picking->Timer1->isActive());
        picking->Timer1_Timer();
        picking->Timer1_Timer();
        QCOMPARE(l.sentAfterAWhile(), QStringList{QStringLiteral("CV_TIMEOUT")});
        QVERIFY(picking->isVisible());
    }
};

QTEST_MAIN(tst_picking)
#include "tst_picking.moc"
