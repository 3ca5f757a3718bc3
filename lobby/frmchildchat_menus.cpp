#include "lobby/frmchildchat.h"

#include "app/Deployment.h"
#include "app/ErrorHandler.h"
#include "app/frmconfig.h"
#include "app/modLinks.h"
#include "app/modSound.h"
#include "app/storedvars.h"
#include "economy/frmAdvancement.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat_parts.h"
#include "lobby/frmmenu.h"
#include "net/frmCon.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"
#include "tables/frmfavrules.h"

#include <QMenuBar>

using namespace lobbyparts;

void frmchildchat::buildMenus() {
    const auto item = [this](QMenu* menu, const char* name, const QString& text, void (frmchildchat::*slot)()) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    mnuFile = menuBar()->addMenu(QStringLiteral("File"));
    mnuExit = item(mnuFile, "mnuExit", QStringLiteral("Exit"), &frmchildchat::mnuExit_Click);

    mnuGame = menuBar()->addMenu(QStringLiteral("Game"));
    mnuadmin = item(mnuGame, "mnuadmin", QStringLiteral("Admin Login"), &frmchildchat::mnuadmin_Click);
    mnuAdvancement = mnuGame->addMenu(QStringLiteral("Advancement"));
    mnuAA = item(mnuAdvancement, "mnuAA", QStringLiteral("Alternate Advancement"), &frmchildchat::mnuAA_Click);
    mnuAwayMode = mnuGame->addMenu(QStringLiteral("Away Mode"));
    // The check marks are the away state itself: a click must not flip them before the handler
    // has decided.
    mnuawayon = mnuAwayMode->addAction(QStringLiteral("On"));
    mnuawayon->setObjectName(QStringLiteral("mnuawayon"));
    mnuawayon->setCheckable(true);
    connect(mnuawayon, &QAction::triggered, this, [this](bool nowChecked) {
        mnuawayon->setChecked(!nowChecked);
        mnuawayon_Click();
    });
    mnuawayoff = mnuAwayMode->addAction(QStringLiteral("Off"));
    mnuawayoff->setObjectName(QStringLiteral("mnuawayoff"));
    mnuawayoff->setCheckable(true);
    connect(mnuawayoff, &QAction::triggered, this, [this](bool nowChecked) {
        mnuawayoff->setChecked(!nowChecked);
        mnuawayoff_Click();
    });
    mnuclearchat = item(mnuGame, "mnuclearchat", QStringLiteral("Clear Chat"), &frmchildchat::mnuclearchat_Click);
    mnuconfig = item(mnuGame, "mnuconfig", QStringLiteral("Configuration Window"), &frmchildchat::mnuconfig_Click);
    mnufavrules = item(mnuGame, "mnufavrules", QStringLiteral("Customize Favorite Rules"), &frmchildchat::mnufavrules_Click);
    mnuFairdome = mnuGame->addMenu(QStringLiteral("Fairdome"));
    mnuTreasureHunter = item(mnuFairdome, "mnuTreasureHunter", QStringLiteral("Treasure Hunter"), &frmchildchat::mnuTreasureHunter_Click);

    mnuPlayerMaintenance = menuBar()->addMenu(QStringLiteral("Player Maintenance"));
    mnueditpass = item(mnuPlayerMaintenance, "mnueditpass", QStringLiteral("Edit your Account/Password/Get Surnames"),
                       &frmchildchat::mnueditpass_Click);

    mnuWebsite = menuBar()->addMenu(QStringLiteral("Website"));
    mnupoweruser = item(mnuWebsite, "mnupoweruser", QStringLiteral("Become a Power User!"), &frmchildchat::mnupoweruser_Click);
    mnulostpass = item(mnuWebsite, "mnulostpass", QStringLiteral("Lost Your Password?"), &frmchildchat::mnulostpass_Click);
    mnuplayermanual = item(mnuWebsite, "mnuplayermanual", QStringLiteral("Player Manual"), &frmchildchat::mnuplayermanual_Click);
    mnusubmitbug = item(mnuWebsite, "mnusubmitbug", QStringLiteral("Submit a Bug"), &frmchildchat::mnusubmitbug_Click);

    const std::pair<QMenu*, const char*> menus[] = {{mnuFile, "mnuFile"},         {mnuGame, "mnuGame"},
                                                    {mnuAdvancement, "mnuAdvancement"}, {mnuAwayMode, "mnuAwayMode"},
                                                    {mnuFairdome, "mnuFairdome"}, {mnuPlayerMaintenance, "mnuPlayerMaintenance"},
                                                    {mnuWebsite, "mnuWebsite"}};
    for (const auto& [menu, name] : menus) menu->setObjectName(QString::fromLatin1(name));
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
        const QString key = InputBox(QStringLiteral("What is your 8 digit pass key?"), QStringLiteral("Corvadex"), QString());
        if (key == QLatin1String("2")) return;
        bool digits = key.size() == 8;
        for (QChar c : key) digits = digits && c >= u'0' && c <= u'9';
        if (!digits) {
            MsgBox(QStringLiteral("All pass keys are 8 digits."), vb::Exclamation, QStringLiteral("Error"));
            return;
        }
        send(QStringLiteral("ADMINLOGIN ") + QString::number(key.toLongLong()));
        ClientConfig().PassKey(key);
        mnuadmin->setEnabled(false);
    });
}

// ---- Other menu items ----------------------------------------------------------------------

void frmchildchat::openWebPage(const QString& path) { OpenLink(Deployment::website() + path); }

void frmchildchat::mnuRewards_Click() { openWebPage(QStringLiteral("/rfrewards.php?nick=") + Nickname); }
void frmchildchat::mnupoweruser_Click() { openWebPage(QStringLiteral("/support.php?area=membership")); }
void frmchildchat::mnuTreasureHunter_Click() { openWebPage(QStringLiteral("/Games/TreasureHunter.aspx")); }
void frmchildchat::mnueditpass_Click() { openWebPage(QStringLiteral("/Player/MyAccount.aspx")); }
void frmchildchat::mnulostpass_Click() { openWebPage(QStringLiteral("/support/")); }
void frmchildchat::mnuplayermanual_Click() { openWebPage(QStringLiteral("/trainer.php?area=index")); }
void frmchildchat::mnusubmitbug_Click() { OpenLink(Deployment::forum() + QStringLiteral("/support/")); }

void frmchildchat::mnuAA_Click() {
    // A failure here ends the item quietly.
    shielded("frmchildchat::mnuAA_Click", [&] {
        PrintChatLine(QStringLiteral("Loading"), QString(),
                      QStringLiteral("The alternate advancement screen is loading, please wait... This may take a few seconds "
                                     "depending on your internet connection.  Maximum time is 60-80 seconds.  Do not panic if "
                                     "the screen freezes while it loads."),
                      65535);
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
