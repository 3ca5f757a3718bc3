#include "lobby/frmchildchat.h"

#include "app/ErrorHandler.h"
#include "app/frmconfig.h"
#include "app/modSound.h"
#include "app/storedvars.h"
#include "economy/frmAdvancement.h"
#include "economy/frmAvatars.h"
#include "economy/frmStarterDecks.h"
#include "economy/frmVAdvancement.h"
#include "economy/frmmerchant.h"
#include "lobby/LoadingWindow.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat_parts.h"
#include "lobby/frmmenu.h"
#include "net/frmCon.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"
#include "tables/frmfavrules.h"

#include <QLocale>
#include <QMenuBar>

#include <cmath>

using namespace lobbyparts;

void frmchildchat::buildMenus() {
    // A menu, or the bar itself for its two plain items.
    const auto item = [this](auto* menu, const char* name, const QString& text, void (frmchildchat::*slot)()) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    // A menu and the item that opens it carry the same name.
    const auto submenu = [](auto* parent, const char* name, const QString& text) {
        QMenu* m = parent->addMenu(text);
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return m;
    };
    const auto separator = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(QString::fromLatin1(name)); };

    mnuFile = submenu(menuBar(), "mnuFile", QStringLiteral("File"));
    mnuExit = item(mnuFile, "mnuExit", QStringLiteral("Exit"), &frmchildchat::mnuExit_Click);

    mnugame = submenu(menuBar(), "mnugame", QStringLiteral("Game"));
    mnugameportal = item(mnugame, "mnugameportal", QStringLiteral("Web-Based Game Portal"), &frmchildchat::mnugameportal_Click);
    separator(mnugame, "hr2");
    mnufairdome = submenu(mnugame, "mnufairdome", QStringLiteral("Fairdome"));
    mnuTreasureHunter = item(mnufairdome, "mnuTreasureHunter", QStringLiteral("Treasure Hunter"), &frmchildchat::mnuTreasureHunter_Click);
    separator(mnugame, "mnuhr2");
    mnuadmin = item(mnugame, "mnuadmin", QStringLiteral("Admin Login"), &frmchildchat::mnuadmin_Click);
    mnuAAdvancement = submenu(mnugame, "mnuAAdvancement", QStringLiteral("Advancement"));
    mnuAA = item(mnuAAdvancement, "mnuAA", QStringLiteral("Alternate Advancement"), &frmchildchat::mnuAA_Click);
    mnuVAdvancement = item(mnuAAdvancement, "mnuVAdvancement", QStringLiteral("Veteran Advancement"), &frmchildchat::mnuVAdvancement_Click);
    mnuaway = submenu(mnugame, "mnuaway", QStringLiteral("Away Mode"));
    // The check marks are the away state itself: a click must not flip them before the handler
    // has decided.
    mnuawayon = mnuaway->addAction(QStringLiteral("On"));
    mnuawayon->setObjectName(QStringLiteral("mnuawayon"));
    mnuawayon->setCheckable(true);
    connect(mnuawayon, &QAction::triggered, this, [this](bool nowChecked) {
        mnuawayon->setChecked(!nowChecked);
        mnuawayon_Click();
    });
    mnuawayoff = mnuaway->addAction(QStringLiteral("Off"));
    mnuawayoff->setObjectName(QStringLiteral("mnuawayoff"));
    mnuawayoff->setCheckable(true);
    connect(mnuawayoff, &QAction::triggered, this, [this](bool nowChecked) {
        mnuawayoff->setChecked(!nowChecked);
        mnuawayoff_Click();
    });
    mnuportalviewer = item(mnugame, "mnuportalviewer", QStringLiteral("Card Viewer"), &frmchildchat::mnuportalviewer_Click);
    mnuclearchat = item(mnugame, "mnuclearchat", QStringLiteral("Clear Chat"), &frmchildchat::mnuclearchat_Click);
    mnuconfig = item(mnugame, "mnuconfig", QStringLiteral("Configuration Window"), &frmchildchat::mnuconfig_Click);
    mnufavrules = item(mnugame, "mnufavrules", QStringLiteral("Customize Favorite Rules"), &frmchildchat::mnufavrules_Click);
    mnuGuildS = item(mnugame, "mnuGuildS", QStringLiteral("Guilds"), &frmchildchat::mnuGuildS_Click);
    mnuZorviumGeneralStore = submenu(mnugame, "mnuZorviumGeneralStore", QStringLiteral("Zorvium General Store"));
    mnuAvatars = item(mnuZorviumGeneralStore, "mnuAvatars", QStringLiteral("Avatars"), &frmchildchat::mnuAvatars_Click);
    mnuArtifacts = item(mnuZorviumGeneralStore, "mnuArtifacts", QStringLiteral("Buy/Sell Artifacts"), &frmchildchat::mnuArtifacts_Click);
    mnuCardPacks = item(mnuZorviumGeneralStore, "mnuCardPacks", QStringLiteral("Card Packs"), &frmchildchat::mnuCardPacks_Click);
    mnuLootCards = item(mnuZorviumGeneralStore, "mnuLootCards", QStringLiteral("Loot Cards"), &frmchildchat::mnuLootCards_Click);
    mnuPlayerMaintenance = submenu(mnugame, "mnuPlayerMaintenance", QStringLiteral("Player Maintenance"));
    mnueditpass = item(mnuPlayerMaintenance, "mnueditpass", QStringLiteral("Edit your Account/Password/Get Surnames"),
                       &frmchildchat::mnueditpass_Click);
    mnuPlayerShops = item(mnugame, "mnuPlayerShops", QStringLiteral("Player Shops"), &frmchildchat::mnuPlayerShops_Click);
    mnuStarter = submenu(mnugame, "mnuStarter", QStringLiteral("Starter Decks"));
    mnuNewDecks = item(mnuStarter, "mnuNewDecks", QStringLiteral("Get New Decks"), &frmchildchat::mnuNewDecks_Click);
    mnuTournament = item(mnugame, "mnuTournament", QStringLiteral("Tournaments"), &frmchildchat::mnuTournament_Click);

    mnuwebsite = submenu(menuBar(), "mnuwebsite", QStringLiteral("Website"));
    mnupoweruser = item(mnuwebsite, "mnupoweruser", QStringLiteral("Become a Power User!"), &frmchildchat::mnupoweruser_Click);
    mnuCustomerService = item(mnuwebsite, "mnuCustomerService", QStringLiteral("Customer Service - Create a Support Ticket"),
                              &frmchildchat::mnuCustomerService_Click);
    mnulostpass = item(mnuwebsite, "mnulostpass", QStringLiteral("Lost Your Password?"), &frmchildchat::mnulostpass_Click);
    mnuplayermanual = item(mnuwebsite, "mnuplayermanual", QStringLiteral("Player Manual"), &frmchildchat::mnuplayermanual_Click);
    mnusubmitbug = item(mnuwebsite, "mnusubmitbug", QStringLiteral("Submit a Bug"), &frmchildchat::mnusubmitbug_Click);
    mnuTermsofService = item(mnuwebsite, "mnuTermsofService", QStringLiteral("Terms of Service - Rules of Conduct"),
                             &frmchildchat::mnuTermsofService_Click);
    mnugameportalweb = item(mnuwebsite, "mnugameportalweb", QStringLiteral("Web-Based Game Portal"), &frmchildchat::mnugameportalweb_Click);

    mnuCVXCashDaily = item(menuBar(), "mnuCVXCashDaily", QStringLiteral("Earn CVX Cash Daily"), &frmchildchat::mnuCVXCashDaily_Click);
    mnuForums = item(menuBar(), "mnuForums", QStringLiteral("Corvadex Forums"), &frmchildchat::mnuForums_Click);

    mnuMyShop = new QMenu(this);
    mnuMyShop->setObjectName(QStringLiteral("mnuMyShop"));
    mnuMyShop->setStyleSheet(menuBar()->styleSheet());
    mnuShopSetup = item(mnuMyShop, "mnuShopSetup", QStringLiteral("Set Up Your Shop"), &frmchildchat::mnuShopSetup_Click);
    connect(imgMyShop, &PictureLabel::MouseUp, this, [this](int button) {
        if (button == 2) popupAtPointer(mnuMyShop);
    });
}

// ---- Administrator login -------------------------------------------------------------------

void frmchildchat::mnuadmin_Click() {
    shielded("frmchildchat::mnuadmin_Click", [&] {
        if (ClientConfig().AdminStatus()) {
            send(QStringLiteral("ADMINLOGOUT"));
            mnuadmin->setText(QStringLiteral("Admin Login"));
            ClientConfig().AdminStatus(0);
            ClientConfig().PassKey(QString());
            resumeNext([&] { form<frmmenu>()->mnuadmincontrols->menuAction()->setVisible(false); });
            return;
        }
        PlaySound(3);
        const QString key = InputBox(QStringLiteral("What is your 8 digit pass key?"), QStringLiteral("Corvadex"), QString(), Dialogs::Echo::Password);
        if (key == QLatin1String("2")) return;
        if (key.size() != 8) {
            MsgBox(QStringLiteral("All pass keys are 8 digits."), vb::Exclamation, QStringLiteral("Error"));
            return;
        }
        // Any eight characters go out as their leading number ("abcdefgh" as 0), in plain decimal
        // digits ("0.000001", never "1e-06"); the server judges the key. A number too large to
        // write ("9e999999") is no key at all.
        const double number = vbVal(key);
        if (!std::isfinite(number)) return;
        send(QStringLiteral("ADMINLOGIN ") + QString::number(number, 'f', QLocale::FloatingPointShortest));
        ClientConfig().PassKey(key);
        mnuadmin->setEnabled(false);
    });
}

// ---- Other menu items ----------------------------------------------------------------------

void frmchildchat::mnuAA_Click() {
    // A failure here ends the item quietly.
    shielded("frmchildchat::mnuAA_Click", [&] {
        PrintChatLine(QStringLiteral("Loading"), QString(), LoadingNotice(QStringLiteral("alternate advancement")), ChatColour::Yellow);
        frmAdvancement* window = form<frmAdvancement>();
        window->RefreshGrid();
        window->show();
    });
}

void frmchildchat::mnuclearchat_Click() {
    PlaySound(3);
    chatin->clear();
}

void frmchildchat::mnuconfig_Click() {
    shielded("frmchildchat::mnuconfig_Click", [&] {
        frmconfig* options = form<frmconfig>();
        // It opens over the lobby rather than wherever the system puts a new window.
        if (!options->isVisible()) options->move(frameGeometry().center() - options->rect().center());
        options->show();
        options->raise();
        options->activateWindow();
    });
}

void frmchildchat::mnufavrules_Click() {
    shielded("frmchildchat::mnufavrules_Click", [&] {
        PlaySound(3);
        frmfavrules* rules = form<frmfavrules>();
        rules->show();
        rules->loadsavedrules();
    });
}

// ---- Economy windows -----------------------------------------------------------------------

void frmchildchat::mnuAvatars_Click() {
    OpenLoadingWindow(QStringLiteral("zorvium general store"), [] { return form<frmAvatars>(); }, [](QWidget* w) {
        auto* shop = static_cast<frmAvatars*>(w);
        shop->AvatarGridRefresh(QStringLiteral("head"));
        shop->AvatarInventoryRefresh();
    });
}

void frmchildchat::mnuNewDecks_Click() {
    OpenLoadingWindow(QStringLiteral("starter deck"), [] { return form<frmStarterDecks>(); },
                      [](QWidget* w) { static_cast<frmStarterDecks*>(w)->LoadCombo(); });
}

void frmchildchat::mnuShopSetup_Click() {
    OpenLoadingWindow(QStringLiteral("player shop setup"), [] { return form<frmmerchant>(); },
                      [](QWidget* w) { static_cast<frmmerchant*>(w)->LoadData(); });
}

void frmchildchat::mnuVAdvancement_Click() {
    OpenLoadingWindow(QStringLiteral("veteran advancement"), [] { return form<frmVAdvancement>(); },
                      [](QWidget* w) { static_cast<frmVAdvancement*>(w)->RefreshGrid(); });
}
