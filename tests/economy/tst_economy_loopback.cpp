// The economy windows against the loopback server tool, started as its own process, opened as
// the lobby's menus open them and used once each: train an ability, buy and wear an avatar part,
// look at a starter deck, put a card in the shop. With CORVADEX_SCREENSHOTS set, each window's
// picture is saved there.
#include "ClientFixture.h"
#include "Loopback.h"
#include "Screenshots.h"

#include "app/HttpClient.h"
#include "economy/frmAdvancement.h"
#include "economy/frmAvatars.h"
#include "economy/frmStarterDecks.h"
#include "economy/frmVAdvancement.h"
#include "economy/frmmerchant.h"
#include "lobby/frmchildchat.h"

#include <QHeaderView>
#include <QtTest>

namespace {
// Every shown column is wide enough for its header, and the window has its picture.
void look(QWidget* window, const char* name) {
    window->show();
    QCoreApplication::processEvents();
    for (RecordSetGrid* grid : window->findChildren<RecordSetGrid*>()) {
        const QFontMetrics metrics(grid->horizontalHeader()->font());
        for (int col = 1; col < grid->Cols(); ++col)
            if (grid->ColWidth(col) > 0)
                QVERIFY2(grid->columnWidth(col - 1) >= metrics.horizontalAdvance(grid->TextMatrix(0, col)),
                         qPrintable(grid->objectName() + u' ' + grid->TextMatrix(0, col)));
    }
    save(window->grab().toImage(), name);
}
}  // namespace

class tst_economy_loopback : public QObject {
    Q_OBJECT
    Loopback loopback;

private slots:
    void initTestCase() {
        loopback.startForClients();
    }
    void cleanupTestCase() { loopback.stop(); }

    void everyWindowUsedOnce() {
        ClientFixture fx(ClientFixture::All);
        QVERIFY(loginThroughWindows(QStringLiteral("kira")).contains(85) && loopback.printed(QStringLiteral("-> TABLEQUERY 1")));
        frmchildchat* lobby = ifLoaded<frmchildchat>();

        lobby->mnuAA->trigger();
        frmAdvancement* alternate = ifLoaded<frmAdvancement>();
        QVERIFY(alternate && alternate->isVisible());
        alternate->DataGrid_Click(1, 1);
        QCOMPARE(alternate->SelectedLevel(), QStringLiteral("2"));
        alternate->cmdTrain_Click();
        QVERIFY(QTest::qWaitFor([&] { return alternate->DataGrid->TextMatrix(1, 3) == QLatin1String("3"); }));
        QCOMPARE(alternate->lblAASpend->text(), QStringLiteral("2"));
        look(alternate, "alternate-advancement");
        frmVAdvancement* veteran = form<frmVAdvancement>();
        veteran->RefreshGrid();
        look(veteran, "veteran-advancement");

        frmAvatars* avatars = form<frmAvatars>();
        avatars->AvatarGridRefresh(QStringLiteral("head"));
        avatars->AvatarInventoryRefresh();
        avatars->Grid_Avatars_Click(2, 2);
        avatars->cmdTry_Click();
        avatars->cmdBuy_Click();
        QVERIFY(QTest::qWaitFor([&] { return avatars->Grid_Inventory->Rows() == 5 && lobby->Gold() == 1100; }));
        avatars->Grid_Inventory->Row(4);
        avatars->cmdEquip_Click();
        QVERIFY(QTest::qWaitFor([&] { return avatars->Grid_Inventory->TextMatrix(4, 7) == QLatin1String("Worn"); }));
        QVERIFY(!lobby->imghead->pixmap().isNull() && !avatars->imgitem->pixmap().isNull());
        look(avatars, "avatar-shop");

        frmStarterDecks* decks = form<frmStarterDecks>();
        decks->LoadCombo();
        decks->cmbDecks->setCurrentIndex(decks->cmbDecks->findText(QStringLiteral("Ashfall")));
        decks->cmbDecks_Click();
        QCOMPARE(decks->DataGrid->Rows(), 5);
        look(decks, "starter-decks");

        lobby->mnuShopSetup->trigger();
        frmmerchant* shop = ifLoaded<frmmerchant>();
        QVERIFY(shop && shop->isVisible());
        QCOMPARE(shop->txtTitle->text(), QStringLiteral("Ember Stall"));
        shop->DataGrid_OnHand_Click(1, 1);
        shop->txtGP->setText(QStringLiteral("75"));
        shop->cmdAdd_Click();
        // The window reads nothing after a change and leaves its buttons off; opened again, it
        // shows the card the server put in the shop.
        QVERIFY(!shop->cmdAdd->Enabled() && !shop->cmdRemove->Enabled());
        QCOMPARE(shop->DataGrid_Shop->Rows(), 2);
        QVERIFY(loopback.printed(QStringLiteral("-> SHOPADD ")));
        unload<frmmerchant>();
        lobby->mnuShopSetup->trigger();
        shop = ifLoaded<frmmerchant>();
        QVERIFY(shop && shop->isVisible());
        QCOMPARE(shop->DataGrid_Shop->Rows(), 3);
        look(shop, "player-shop");
        QCOMPARE(fx.services.dialogs->boxes.size(), 0);
    }
};

QTEST_MAIN(tst_economy_loopback)
#include "tst_economy_loopback.moc"
