// The avatar shop against a fake web service and game server: the queries of opening and of the
// kind menus, buying against the lobby's gold, the sell offer and question, equipping and trying
// on with the preview layers, the gender question, and the inventory refresh line (also to a closed shop).
#include "EconomyLink.h"

#include "economy/frmAvatars.h"
#include "platform/Paths.h"

namespace {
Reply shop(const QString& kind) {
    return table({"ID", "Item", "Price", "keyname", "Style"},
                 {{"41", "Plain " + kind, "500", "002", "Common"}, {"42", "Fine " + kind, "501", "003", "Rare"},
                  {"43", "Odd " + kind, "10", "/../m_body_003", "Broken"}});
}
const Reply kInventory = table({"OwnedID", "ItemID", "Kind", "Paid", "Name", "Key", "Worn"},
                               {{"7", "41", "head", "150", "Plain head", "002", "No"},
                                {"8", "50", "body", "3", "Cheap body", "001", "Yes"},
                                {"9", "51", "background", "", "", "001", "No"}});

QImage picture(const QString& file) { return QPixmap(clientPath(QStringLiteral("skins/default/avatars/") + file)).toImage(); }
QImage shown(const QLabel* layer) { return layer->pixmap().toImage(); }

frmAvatars* open(EconomyLink& l) {
    for (const QString kind : {"background", "head", "body"})
        l.web.answer(QStringLiteral("call sps_GetAvatars('m', '%1')").arg(kind), shop(kind));
    l.web.answer(QStringLiteral("call sps_GetAvatarInventory('Tester')"), kInventory);
    frmAvatars* w = form<frmAvatars>();
    w->AvatarGridRefresh(QStringLiteral("head"));
    w->AvatarInventoryRefresh();
    return w;
}
}  // namespace

class tst_avatars : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { ClientFixture::unloadAll(); }

    void openingAndKindMenus() {
        EconomyLink l;
        l.lobby->AvatarGender(QStringLiteral("o'f"));
        l.web.answerPrefix(QStringLiteral("call sps_GetAvatars("), shop("head"));
        l.web.answer(QStringLiteral("call sps_GetAvatarInventory('Tester')"), kInventory);
        frmAvatars* w = form<frmAvatars>();
        w->AvatarGridRefresh(QStringLiteral("head"));
        w->AvatarInventoryRefresh();
        const QString inventory = QStringLiteral("call sps_GetAvatarInventory('Tester')");
        QCOMPARE(l.queries(), QStringList({"call sps_GetAvatars('o''f', 'background')", inventory,
                                           "call sps_GetAvatars('o''f', 'head')", inventory}));
        QCOMPARE(w->CurrentKind(), QStringLiteral("head"));
        w->mnuBody->trigger();
        QCOMPARE(l.queries(), QStringList{"call sps_GetAvatars('o''f', 'body')"});
        QCOMPARE(w->CurrentKind(), QStringLiteral("body"));
        // Only the item text and the columns past the picture key show.
        for (int col : {0, 1, 3, 4}) QCOMPARE(w->Grid_Avatars->ColWidth(col), 0);
        QVERIFY(w->Grid_Avatars->ColWidth(2) > 0 && w->Grid_Avatars->ColWidth(5) > 0);
        for (int col : {0, 1, 2, 3, 4, 6}) QCOMPARE(w->Grid_Inventory->ColWidth(col), 0);
        QVERIFY(w->Grid_Inventory->ColWidth(5) > 0 && w->Grid_Inventory->ColWidth(7) > 0);
        // The server's refresh line reloads the inventory of the open shop.
        l.feed(QStringLiteral("AVATARINVENTORYREFRESH"));
        QCOMPARE(l.queries(), QStringList{inventory});
        // A service that fails leaves the kind as it was, with a message.
        l.web.setMode(FakeWebService::Mode::Error500);
        w->mnuHead->trigger();
        QCOMPARE(w->CurrentKind(), QStringLiteral("body"));
        QCOMPARE(l.boxes(), QStringList{"Avatar Shop|The avatar shop could not be reached.  Please try again later."});
    }

    // The refresh line reaches a closed shop too: it loads hidden (its own lists read) and reloads the inventory.
    void refreshLoadsTheClosedShop() {
        EconomyLink l;
        l.web.answerPrefix(QStringLiteral("call sps_GetAvatars("), shop("background"));
        l.web.answer(QStringLiteral("call sps_GetAvatarInventory('Tester')"), kInventory);
        l.feed(QStringLiteral("AVATARINVENTORYREFRESH"));
        frmAvatars* w = ifLoaded<frmAvatars>();
        QVERIFY(w && !w->isVisible());
        const QString inventory = QStringLiteral("call sps_GetAvatarInventory('Tester')");
        QCOMPARE(l.queries(), QStringList({"call sps_GetAvatars('m', 'background')", inventory, inventory}));
        QCOMPARE(w->Grid_Inventory->Rows(), 4);
    }

    void buyAgainstTheGold_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("notice");
        QTest::addRow("exactly the gold") << 1 << "AVATARBUY 41" << "";
        QTest::addRow("one gold short") << 2 << "" << "You do not have enough gold to purchase this item";
        QTest::addRow("no row") << 0 << "" << "You must select an avatar to purchase";
    }
    void buyAgainstTheGold() {
        QFETCH(int, row);
        QFETCH(QString, line);
        QFETCH(QString, notice);
        EconomyLink l;
        frmAvatars* w = open(l);
        if (row > 0) w->Grid_Avatars_Click(row, 2);
        const int before = int(linesOf(l.lobby->chatin).size());
        w->cmdBuy_Click();
        QCOMPARE(l.sent(), line.isEmpty() ? QStringList() : QStringList{line});
        if (notice.isEmpty()) {
            QCOMPARE(int(linesOf(l.lobby->chatin).size()), before);
        } else {
            QVERIFY2(l.lastChatLine().startsWith(QStringLiteral("<Avatar Purchase Error>  ") + notice), qPrintable(l.lastChatLine()));
        }
        QCOMPARE(l.lobby->Gold(), 500);
    }

    // Selling and the gender change ask first; only a yes sends the line.
    void asksBeforeTheLine_data() {
        QTest::addColumn<bool>("gender");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("line");
        const QString gender = QStringLiteral("Change Gender|Are you sure you want to change genders? You may only do this once "
                                              "and it WILL NOT be reversed!");
        const QString noItem = QStringLiteral("Error|You must select an inventory item to sell");
        QTest::addRow("sell, yes") << false << 1 << int(vb::Yes) << "Sell Avatar|Are you sure you want to sell Plain head for 37GP?"
                                   << "AVATARSELL 7";
        QTest::addRow("sell, no") << false << 2 << int(vb::No) << "Sell Avatar|Are you sure you want to sell Cheap body for 0GP?" << "";
        QTest::addRow("sell, no name") << false << 3 << int(vb::Yes) << noItem << "";
        QTest::addRow("sell, no row") << false << 0 << int(vb::Yes) << noItem << "";
        QTest::addRow("gender, yes") << true << 0 << int(vb::Yes) << gender << "AVATARCHANGE";
        QTest::addRow("gender, no") << true << 0 << int(vb::No) << gender << "";
    }
    void asksBeforeTheLine() {
        QFETCH(bool, gender);
        QFETCH(int, row);
        QFETCH(int, answer);
        QFETCH(QString, box);
        QFETCH(QString, line);
        EconomyLink l;
        frmAvatars* w = open(l);
        w->Grid_Inventory->Row(row);
        l.dialogs().answer(answer);
        gender ? w->mnuChange->trigger() : w->cmdSell_Click();
        QCOMPARE(l.boxes(), QStringList{box});
        QCOMPARE(l.sent(), line.isEmpty() ? QStringList() : QStringList{line});
        // The server, not the question, changes the gender.
        QCOMPARE(l.lobby->AvatarGender(), QStringLiteral("m"));
    }

    void equipAndTryOnShowTheLayers() {
        EconomyLink l;
        frmAvatars* w = open(l);
        // Equip shows the layer of the item's kind and sends its owned id.
        w->Grid_Inventory->Row(1);
        w->cmdEquip_Click();
        QCOMPARE(shown(w->imghead), picture("m_head_002.gif"));
        QCOMPARE(l.sent(), QStringList{"AVATAREQUIP 7"});
        w->Grid_Inventory->Row(0);
        w->cmdEquip_Click();
        QCOMPARE(l.boxes(), QStringList{"Problem|You must select an inventory item to equip."});
        // Try On changes the preview only.
        w->mnuBody->trigger();
        w->Grid_Avatars_Click(2, 2);
        QCOMPARE(w->lblDescription->text(), QStringLiteral("Fine body"));
        QCOMPARE(w->lblPrice->text(), QStringLiteral("501 GP"));
        QCOMPARE(shown(w->imgitem), picture("m_body_003.gif"));
        w->cmdTry_Click();
        QCOMPARE(shown(w->imgbody), picture("m_body_003.gif"));
        // A picture key that is no plain name is never made a path, even where it would lead to a file.
        QDir().mkpath(l.fx->path(QStringLiteral("skins/default/avatars/m_body_")));
        w->Grid_Avatars_Click(3, 2);
        w->cmdTry_Click();
        QVERIFY(w->imgbody->pixmap().isNull());
        QVERIFY(l.sent().isEmpty());
        w->Grid_Avatars->Row(0);
        w->cmdTry_Click();
        QCOMPARE(l.boxes(), QStringList{"Problem|You must select an avatar to try on."});
        // Reset shows the lobby's own avatar again.
        l.lobby->imgbody->setPixmap(QPixmap::fromImage(picture("m_body_001.gif")));
        w->mnuReset_Click();
        QCOMPARE(shown(w->imgbody), picture("m_body_001.gif"));
        QCOMPARE(w->imghead->pixmap().isNull(), l.lobby->imghead->pixmap().isNull());
    }
};

QTEST_MAIN(tst_avatars)
#include "tst_avatars.moc"
