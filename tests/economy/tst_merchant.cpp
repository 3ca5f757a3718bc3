// The player shop set-up against a fake web service and game server: the queries of LoadData,
// the shop header and the blank-box refusal, "SHOPCREATE", the price limits of "SHOPADD" and
// "SHOPMINUS" with their texts, the buttons left off after a change, and a failed service.
#include "EconomyLink.h"

#include "economy/frmmerchant.h"

namespace {
const QString kHeader = QStringLiteral("call sps_ShopInfo('Tester')");
const QString kShop = QStringLiteral("call sps_ShopCardsOnly('Tester')");
QString held(const QString& deck) { return QStringLiteral("call sps_PlayerCardsOnly('Tester', '%1')").arg(deck); }

frmmerchant* open(EconomyLink& l, const QList<QStringList>& header = {{"Rook Wares", "Fine cards"}}) {
    l.web.answer(QStringLiteral("call usp_FindDecks()"), table({"Deck"}, {{"Standard"}, {"Ember's Reach"}}));
    l.web.answer(kHeader, table({"title", "description"}, header));
    l.web.answer(kShop, table({"Card", "Price"}, {{"Gustling", "45"}}));
    l.web.answerPrefix(QStringLiteral("call sps_PlayerCardsOnly("), table({"Card", "Total"}, {{"Brine Skitter", "2"}, {"Emberlark", "1"}}));
    frmmerchant* w = form<frmmerchant>();
    w->LoadData();
    w->show();
    return w;
}
}  // namespace

class tst_merchant : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { ClientFixture::unloadAll(); }

    void loadDataAndDeckChoice() {
        EconomyLink l;
        frmmerchant* w = open(l);
        QCOMPARE(l.queries(), QStringList({"call usp_FindDecks()", kHeader, kShop, held("Standard")}));
        QCOMPARE(w->txtTitle->text(), QStringLiteral("Rook Wares"));
        QCOMPARE(w->DataGrid_OnHand->Rows(), 3);
        QCOMPARE(w->DataGrid_Shop->Rows(), 2);
        // The list is filled with no deck chosen, and the boxes take texts of any length.
        QCOMPARE(w->cmbDecks->count(), 2);
        QCOMPARE(w->cmbDecks->currentIndex(), -1);
        for (QLineEdit* box : {w->txtTitle, w->txtdescription}) {
            box->setText(QString(300, u'x'));
            QCOMPARE(box->text().size(), 300);
        }
        w->txtTitle->setText(QStringLiteral("Rook Wares"));
        w->txtdescription->setText(QStringLiteral("Fine cards"));
        w->cmbDecks->setCurrentIndex(1);
        w->cmbDecks_Click();
        QCOMPARE(l.queries(), QStringList({kHeader, kShop, held("Ember''s Reach")}));
        // A player without a shop sees empty boxes, and choosing a deck asks for them first.
        unload<frmmerchant>();
        l.web.clearAnswers();
        l.queries();
        w = open(l, {});
        QCOMPARE(l.queries(), QStringList({"call usp_FindDecks()", kHeader}));
        w->cmbDecks_Click();
        QCOMPARE(l.boxes(), QStringList{"Problem|The title and description boxes for your shop information cannot be blank "
                                        "before you can begin to add cards to it."});
        QVERIFY(l.queries().isEmpty());
        w->txtTitle->setText(QStringLiteral("My two words"));
        w->txtdescription->setText(QStringLiteral("Cheap cards"));
        w->cmdCreate_Click();
        QCOMPARE(l.sent(), QStringList{"SHOPCREATE My%20two%20words Cheap%20cards"});
    }

    // Adding a card keeps its price within the limits; both buttons want a chosen card.
    void addAndRemove_data() {
        QTest::addColumn<bool>("add");
        QTest::addColumn<int>("row");  // 0: no card chosen
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("line");
        const QString low = QStringLiteral("Problem|All cards must be sold for more than 30GP a piece");
        const QString none = QStringLiteral("Problem|You must select a card!");
        QTest::addRow("30") << true << 1 << "30" << "30" << "" << "SHOPADD Brine%20Skitter 30";
        QTest::addRow("29999") << true << 1 << "29999" << "29999" << "" << "SHOPADD Brine%20Skitter 29999";
        QTest::addRow("45.9 is cut") << true << 1 << "45.9" << "45" << "" << "SHOPADD Brine%20Skitter 45";
        QTest::addRow("29.99") << true << 1 << "29.99" << "29" << low << "";
        QTest::addRow("not a number") << true << 1 << "lots" << "0" << low << "";
        QTest::addRow("30000") << true << 1 << "30000" << "30000"
                               << "Problem|Price value exceeds price maximum.  Try a lower number for the price of your card" << "";
        QTest::addRow("add, none chosen") << true << 0 << "100" << "100" << none << "";
        QTest::addRow("remove") << false << 1 << "100" << "100" << "" << "SHOPMINUS Gustling";
        QTest::addRow("remove, none chosen") << false << 0 << "100" << "100" << none << "";
    }
    void addAndRemove() {
        QFETCH(bool, add);
        QFETCH(int, row);
        QFETCH(QString, price);
        QFETCH(QString, shown);
        QFETCH(QString, box);
        QFETCH(QString, line);
        EconomyLink l;
        frmmerchant* w = open(l);
        // A chosen shop card may fill the price box, a card on hand not: the price goes in last for an add.
        if (!add) w->txtGP->setText(price);
        if (row > 0) add ? w->DataGrid_OnHand_Click(row, 1) : w->DataGrid_Shop_Click(row, 1);
        if (add) w->txtGP->setText(price);
        l.queries();
        add ? w->cmdAdd_Click() : w->cmdRemove_Click();
        if (add) QCOMPARE(w->txtGP->text(), shown);
        QCOMPARE(l.boxes(), box.isEmpty() ? QStringList() : QStringList{box});
        QCOMPARE(l.sent(), line.isEmpty() ? QStringList() : QStringList{line});
        // A sent change reads nothing and leaves both buttons off; a refusal gives them back.
        QVERIFY(l.queries().isEmpty());
        QCOMPARE(w->cmdAdd->Enabled(), line.isEmpty());
        QCOMPARE(w->cmdRemove->Enabled(), line.isEmpty());
    }

    void failedServiceClosesTheWindow_data() {
        QTest::addColumn<bool>("decksFail");
        QTest::addColumn<QString>("box");
        QTest::addRow("decks") << true << "|The application could not retrieve required shop data.  Try again later.";
        QTest::addRow("shop") << false << "|Could not retrieve data.  Please try again later.  The window will now close.";
    }
    void failedServiceClosesTheWindow() {
        QFETCH(bool, decksFail);
        QFETCH(QString, box);
        EconomyLink l;
        if (!decksFail) l.web.answer(QStringLiteral("call usp_FindDecks()"), table({"Deck"}, {{"Standard"}}));
        frmmerchant* w = form<frmmerchant>();
        w->LoadData();
        w->show();
        QCOMPARE(l.boxes(), QStringList{box});
        QVERIFY(!ifLoaded<frmmerchant>());
        QVERIFY(l.sent().isEmpty());
    }
};

QTEST_MAIN(tst_merchant)
#include "tst_merchant.moc"
