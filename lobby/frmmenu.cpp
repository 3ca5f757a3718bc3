#include "lobby/frmmenu.h"

#include "admin/frmTournyHelper.h"
#include "admin/frmadmin.h"
#include "app/Deployment.h"
#include "app/ErrorHandler.h"
#include "app/modLinks.h"
#include "app/modSettings.h"
#include "app/modSkin.h"
#include "app/modSound.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "game/frmplaying.h"
#include "lobby/ChatInput.h"
#include "lobby/fancychat.h"
#include "lobby/frmMsgWind.h"
#include "lobby/frmchildchat.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"
#include "tables/ChallengeRoom.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"
#include "variants/frmsphere.h"

#include <QUrl>

namespace {
constexpr long kYellow = 65535;
constexpr long kRed = 255;
constexpr long kBlue = 16711680;
constexpr long kLightOrange = 8438015;
const QString kBlank = QStringLiteral(" ");
const QString kMatchRequest =
    QStringLiteral("Request has been sent to server.  If user's match did not end, then he is not in a match.");

template <class T>
bool shown() {
    T* w = ifLoaded<T>();
    return w && w->isVisible();
}

// Settings keys are written only for nicknames as the service allows them: letters, digits, hyphens.
bool plainNickname(const QString& name) {
    if (name.isEmpty()) return false;
    for (QChar c : name)
        if (!(c.isDigit() || (c.unicode() < 128 && c.isLetter()) || c == u'-')) return false;
    return true;
}

QString inPath(const QString& name) { return QString::fromLatin1(QUrl::toPercentEncoding(name)); }

// The second word of the lobby's selected table row; "" when no row is selected.
QString selectedRow() {
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    if (!lobby) return {};
    QListWidgetItem* row = lobby->lsttables->currentItem();
    return row && row->isSelected() ? row->text() : QString();
}

// A room the player asked for comes up in front, with the keyboard.
void showInFront(QWidget* w) {
    w->show();
    w->raise();
    w->activateWindow();
}

void backAway() {
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->back_away();
}
}  // namespace

frmmenu::frmmenu() {
    setObjectName(QStringLiteral("frmmenu"));
    // The popup menus are this window's children and take its look.
    setStyleSheet(SkinMenuStyle());
    const auto menu = [this](const char* name, const QString& caption) {
        auto* m = new QMenu(caption, this);
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return m;
    };

    command = menu("command", QStringLiteral("Command"));
    mnubuddyadd = item(command, "mnubuddyadd", QStringLiteral("Add to Buddy List"), &frmmenu::mnubuddyadd_Click);
    mnubuddydelete = item(command, "mnubuddydelete", QStringLiteral("Remove from Buddy Alert"), &frmmenu::mnubuddydelete_Click);
    ignore = item(command, "ignore", QStringLiteral("Ignore"), &frmmenu::ignore_Click);
    UnIgnore = item(command, "UnIgnore", QStringLiteral("UnIgnore"), &frmmenu::UnIgnore_Click);
    mnuPlayer = item(command, "mnuPlayer", QStringLiteral("Player's Stats"), &frmmenu::mnuPlayer_Click);
    mnupm = item(command, "mnupm", QStringLiteral("Private Message"), &frmmenu::mnupm_Click);
    mnuplayershop = item(command, "mnuplayershop", QStringLiteral("View Player's Shop"), &frmmenu::mnuplayershop_Click);
    mnuadmincontrols = submenu(command, "mnuadmincontrols", QStringLiteral("Admin Controls"));
    mnuadmincontrols->menuAction()->setVisible(false);
    mnuInfraction = item(mnuadmincontrols, "mnuInfraction", QStringLiteral("Apply Infraction"), &frmmenu::mnuInfraction_Click);
    mnuControls = submenu(mnuadmincontrols, "mnuControls", QStringLiteral("Emergency Controls"));
    mnuwarn = item(mnuControls, "mnuwarn", QStringLiteral("Warn"), &frmmenu::mnuwarn_Click);
    mnukick = item(mnuControls, "mnukick", QStringLiteral("Kick"), &frmmenu::mnukick_Click);
    mnuban = item(mnuControls, "mnuban", QStringLiteral("Ban"), &frmmenu::mnuban_Click);
    mnuSilence = item(mnuControls, "mnuSilence", QStringLiteral("Silence"), &frmmenu::mnuSilence_Click);
    mnuipcheck = submenu(mnuadmincontrols, "mnuipcheck", QStringLiteral("IP Check"));
    mnusinglecheck = item(mnuipcheck, "mnusinglecheck", QStringLiteral("Single IP Check"), &frmmenu::mnusinglecheck_Click);
    mnuendmatch = item(mnuadmincontrols, "mnuendmatch", QStringLiteral("End User's Match"), &frmmenu::mnuendmatch_Click);
    mnukilltable = item(mnuadmincontrols, "mnukilltable", QStringLiteral("Kill table"), &frmmenu::mnukilltable_Click);
    mnuservercommands = submenu(mnuadmincontrols, "mnuservercommands", QStringLiteral("Remote Server Commands"));
    mnuchatclears = item(mnuservercommands, "mnuchatclears", QStringLiteral("Chat Clears"), &frmmenu::mnuchatclears_Click);
    mnuTournament = submenu(mnuadmincontrols, "mnuTournament", QStringLiteral("Tournament"));
    mnuAddPlayer = item(mnuTournament, "mnuAddPlayer", QStringLiteral("Add Player"), &frmmenu::mnuAddPlayer_Click);
    mnuTournyPlayerWithoutFee = item(mnuTournament, "mnuTournyPlayerWithoutFee", QStringLiteral("Add Player Without Fee"),
                                     &frmmenu::mnuTournyPlayerWithoutFee_Click);

    mnuendmatches = menu("mnuendmatches", QStringLiteral("Admin End Matches"));
    mnupenaltyno = item(mnuendmatches, "mnupenaltyno", QStringLiteral("End Game"), &frmmenu::mnupenaltyno_Click);

    mnuchallengemenu = menu("mnuchallengemenu", QStringLiteral("Games"));
    mnuSideGames = submenu(mnuchallengemenu, "mnuSideGames", QStringLiteral("Fairdome"));
    mnuTreasureHunter_Side =
        item(mnuSideGames, "mnuTreasureHunter_Side", QStringLiteral("Treasure Hunter"), &frmmenu::mnuTreasureHunter_Side_Click);
    mnuhrside1 = mnuchallengemenu->addSeparator();
    mnuhrside1->setObjectName(QStringLiteral("mnuhrside1"));
    mnuchinchin = item(mnuchallengemenu, "mnuchinchin", QStringLiteral("Chinchirorin"), &frmmenu::mnuchinchin_Click);
    mnucvreg = item(mnuchallengemenu, "mnucvreg", QStringLiteral("Corvada"), &frmmenu::mnucvreg_Click);
    mnumemory = item(mnuchallengemenu, "mnumemory", QStringLiteral("Corvada Memory"), &frmmenu::mnumemory_Click);
    mnuomni = item(mnuchallengemenu, "mnuomni", QStringLiteral("Omni Corvada"), &frmmenu::mnuomni_Click);
    mnuorbolt = item(mnuchallengemenu, "mnuorbolt", QStringLiteral("Orbolt"), &frmmenu::mnuorbolt_Click);
    mnuCardWars = item(mnuchallengemenu, "mnuCardWars", QStringLiteral("Corvada War"), &frmmenu::mnuCardWars_Click);
    mnuhr1 = mnuchallengemenu->addSeparator();
    mnuhr1->setObjectName(QStringLiteral("mnuhr1"));
    mnuteamocv = item(mnuchallengemenu, "mnuteamocv", QStringLiteral("Team Omni Corvada"), &frmmenu::mnuteamocv_Click);

    mnuTables = menu("mnuTables", QStringLiteral("Tables"));
    mnujointable = item(mnuTables, "mnujointable", QStringLiteral("Join Table"), &frmmenu::mnujointable_Click);
    mnuTableInfo = item(mnuTables, "mnuTableInfo", QStringLiteral("View Table Info"), &frmmenu::mnuTableInfo_Click);

    mnuchatactions = menu("mnuchatactions", QStringLiteral("Chatactions"));
    buildChatActions();
}

QMenu* frmmenu::submenu(QMenu* parent, const char* name, const QString& caption) {
    QMenu* m = parent->addMenu(caption);
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    return m;
}

QAction* frmmenu::item(QMenu* menu, const char* name, const QString& caption, void (frmmenu::*slot)()) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    connect(a, &QAction::triggered, this, slot);
    return a;
}

void frmmenu::buildChatActions() {
    struct ChatAction {
        QMenu* menu;
        const char* name;
        const char* caption;
        const char* text;
        const char* syntax;
    };
    mnuChatChannelS = submenu(mnuchatactions, "mnuChatChannelS", QStringLiteral("Chat Channels"));
    mnuChatUtility = submenu(mnuchatactions, "mnuChatUtility", QStringLiteral("Utility"));
    const ChatAction channels[] = {
        {mnuChatChannelS, "mnuChatChannelAuction", "Auction", "/auction ", nullptr},
        {mnuChatChannelS, "mnuChatChannelEmote", "Emote", "/me ", nullptr},
        {mnuChatChannelS, "mnuChatChannelGuildChat", "Guild Chat", "/guild ", nullptr},
        {mnuChatChannelS, "mnuChatChannelOOC", "Out of Character", "/ooc ", nullptr},
        {mnuChatChannelS, "mnuChatChannelShout", "Shout", "/shout ", nullptr},
        {mnuChatUtility, "mnuChatUtilityAway", "Away", "/away [Insert a Random Message Here]", nullptr},
        {mnuChatUtility, "mnuChatUtilityNowPlaying", "Now Playing (Winamp Only)", "/music ", nullptr},
        {mnuChatUtility, "mnuChatUtilityRandomRoll", "Random Roll", "/random 1 100 ", kRandomRollUsage},
        {mnuChatUtility, "mnuChatUtilityPM", "Send a Private Message", "/tell ",
         "To send a private message by a chat command, type /tell player message"},
    };
    const auto add = [this](const ChatAction& c) {
        QAction* a = c.menu->addAction(QString::fromLatin1(c.caption));
        a->setObjectName(QString::fromLatin1(c.name));
        const QString text = QString::fromLatin1(c.text);
        const QString syntax = c.syntax ? QString::fromLatin1(c.syntax) : QString();
        connect(a, &QAction::triggered, this, [text, syntax] {
            shielded("frmmenu chat action", [&] {
                if (!syntax.isEmpty()) PrintChatLine(QStringLiteral("Syntax"), QString(), syntax, kYellow);
                // Only the input changes: the player completes the command and sends it.
                form<frmchildchat>()->chatout->setText(text);
            });
        });
    };
    for (const ChatAction& c : channels) add(c);
    mnuChatUtilityChatLogging = submenu(mnuChatUtility, "mnuChatUtilityChatLogging", QStringLiteral("Toggle Chat Logging"));
    mnuChatUtilityJoinsParts = submenu(mnuChatUtility, "mnuChatUtilityJoinsParts", QStringLiteral("Toggle Joins and Parts"));
    mnuChatUtilityToggleSound = submenu(mnuChatUtility, "mnuChatUtilityToggleSound", QStringLiteral("Toggle Sound"));
    mnuGuildCommands = submenu(mnuchatactions, "mnuGuildCommands", QStringLiteral("Guild Commands"));
    const ChatAction toggles[] = {
        {mnuChatUtilityChatLogging, "mnuChatUtilityChatLoggingOn", "On", "/log on", nullptr},
        {mnuChatUtilityChatLogging, "mnuChatUtilityChatLoggingOff", "Off", "/log off", nullptr},
        {mnuChatUtilityJoinsParts, "mnuChatUtilityJoinsPartsOn", "On", "/joins on", nullptr},
        {mnuChatUtilityJoinsParts, "mnuChatUtilityJoinsPartsOff", "Off", "/joins off", nullptr},
        {mnuChatUtilityToggleSound, "mnuChatUtilityToggleSoundOn", "On", "/sound on", nullptr},
        {mnuChatUtilityToggleSound, "mnuChatUtilityToggleSoundOff", "Off", "/sound off", nullptr},
        {mnuGuildCommands, "mnuGuildCommandDisband", "Disband from Guild", "/guilddisband ", nullptr},
    };
    for (const ChatAction& c : toggles) add(c);
}

// ---- What the items act on -------------------------------------------------------------------

QString frmmenu::selectedNodeText() const {
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    if (!lobby) return {};
    QTreeWidgetItem* node = lobby->playerlist->currentItem();
    return node && node->isSelected() ? node->text(0) : QString();
}

QString frmmenu::selectedPlayer() const { return Divide(selectedNodeText(), kBlank)[0]; }

// ---- Player menu -----------------------------------------------------------------------------

void frmmenu::listEntry(const QString& file, const QString& section, const QString& value, const QString& label,
                        const QString& text, long colour) {
    PlaySound(3);
    const QString name = selectedPlayer();
    if (!plainNickname(name)) return;
    WriteIni(section, name, value, file);
    PrintChatLine(label, name, text, colour);
}

void frmmenu::mnubuddyadd_Click() {
    shielded("frmmenu::mnubuddyadd_Click", [&] {
        listEntry(clientPath(QStringLiteral("config/buddy.idx")), QStringLiteral("Buddy"), QStringLiteral("1"), QStringLiteral("Buddy"),
                  QStringLiteral("has been added to your buddy list"), kYellow);
    });
}

void frmmenu::mnubuddydelete_Click() {
    shielded("frmmenu::mnubuddydelete_Click", [&] {
        listEntry(clientPath(QStringLiteral("config/buddy.idx")), QStringLiteral("Buddy"), QStringLiteral("0"), QStringLiteral("Buddy"),
                  QStringLiteral("has been removed from your buddy list"), kYellow);
    });
}

void frmmenu::ignore_Click() {
    shielded("frmmenu::ignore_Click", [&] {
        listEntry(GetIniFile(), QStringLiteral("Ignore"), QStringLiteral("1"), QStringLiteral("Ignore"),
                  QStringLiteral("is now in your ignore list. To un-ignore him, right click on his name and select 'Unignore' at"),
                  kLightOrange);
    });
}

void frmmenu::UnIgnore_Click() {
    shielded("frmmenu::UnIgnore_Click", [&] {
        listEntry(GetIniFile(), QStringLiteral("Ignore"), QStringLiteral("0"), QStringLiteral("Unignore"),
                  QStringLiteral("was removed from your ignore list"), kLightOrange);
    });
}

void frmmenu::mnuPlayer_Click() {
    shielded("frmmenu::mnuPlayer_Click", [&] {
        const QString name = selectedPlayer();
        if (name.isEmpty()) return;
        ShellOpen(Deployment::website() + u'/' + inPath(name) + QStringLiteral("-Player-Statistics.aspx"));
    });
}

void frmmenu::mnupm_Click() {
    shielded("frmmenu::mnupm_Click", [&] {
        PlaySound(2);
        const QString name = selectedPlayer();
        if (!name.isEmpty()) {
            // A new window every time, also when one with the player is open.
            if (frmMsgWind* window = MsgWindows.value(NewMsgWindow())) {
                window->setWindowTitle(name + QStringLiteral(" - Private Message"));
                window->Tag = name;
                window->player(name);
                window->show();
                window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
                // The player asked for this one: it takes the keyboard, unlike a window a message opens.
                window->raise();
                window->activateWindow();
            }
        }
        backAway();
    });
}

void frmmenu::mnuplayershop_Click() {
    shielded("frmmenu::mnuplayershop_Click", [&] {
        const QString name = selectedPlayer();
        if (name.isEmpty()) {
            PrintChatLine(QStringLiteral("Error"), QString(), QStringLiteral("You must select a player first before you can view his/her shop."),
                          kYellow);
            return;
        }
        OpenLink(Deployment::website() + QStringLiteral("/Player/") + inPath(name) + QStringLiteral("-Player-Merchant.aspx"));
    });
}

// ---- Administrator items ---------------------------------------------------------------------

void frmmenu::mnuInfraction_Click() {
    shielded("frmmenu::mnuInfraction_Click", [&] {
        frmchildchat* lobby = ifLoaded<frmchildchat>();
        QTreeWidgetItem* node = lobby ? lobby->playerlist->currentItem() : nullptr;
        if (!node || !node->isSelected()) return;
        OpenLink(Deployment::website() + QStringLiteral("/Admin/ApplyInfraction.aspx?player=") + inPath(selectedPlayer()));
    });
}

void frmmenu::moderate(const QString& keyword) {
    const QString name = selectedPlayer();
    if (name.isEmpty()) return;
    QString reason = InputBox(QStringLiteral("Reason?"), QStringLiteral("Corvadex"), QString());
    if (reason.isEmpty()) return;
    ReplaceCase(reason, {kBlank, QStringLiteral("%20")});
    SendRoomLine(keyword + u' ' + name + u' ' + reason);
}

void frmmenu::mnuwarn_Click() {
    shielded("frmmenu::mnuwarn_Click", [&] { moderate(QStringLiteral("ADMINWARN")); });
}

void frmmenu::mnukick_Click() {
    shielded("frmmenu::mnukick_Click", [&] { moderate(QStringLiteral("ADMINKICK")); });
}

void frmmenu::mnuban_Click() {
    shielded("frmmenu::mnuban_Click", [&] { moderate(QStringLiteral("ADMINBAN")); });
}

void frmmenu::mnuSilence_Click() {
    shielded("frmmenu::mnuSilence_Click", [&] {
        const QString node = selectedNodeText();
        if (node.isEmpty()) {
            PrintChatLine(QStringLiteral("Problem"), QString(), QStringLiteral("You must select a player first"), kYellow);
            return;
        }
        SendRoomLine(QStringLiteral("ADMINSILENCEPLAYER ") + node);
    });
}

void frmmenu::mnusinglecheck_Click() {
    shielded("frmmenu::mnusinglecheck_Click", [&] {
        const QString name = selectedPlayer();
        if (!name.isEmpty()) SendRoomLine(QStringLiteral("IPCHECK ") + name);
    });
}

void frmmenu::mnuendmatch_Click() {
    shielded("frmmenu::mnuendmatch_Click", [&] {
        const QString name = selectedPlayer();
        if (name.isEmpty()) return;
        if (SendRoomLine(QStringLiteral("TABLEENDMATCH ") + name)) PrintChatLine(QStringLiteral("Request"), QString(), kMatchRequest, kBlue);
    });
}

void frmmenu::mnukilltable_Click() {
    shielded("frmmenu::mnukilltable_Click", [&] {
        const QString row = selectedRow();
        if (row.isEmpty()) return;
        const QString table = Divide(row, kBlank)[1];
        if (table.isEmpty()) {
            PrintChatLine(QStringLiteral("Error"), QString(), QStringLiteral("No table selected"), kRed);
            return;
        }
        // A number outside the table slots names no player.
        const double n = vbVal(table);
        const clsTables* slot = n >= 1 && n <= kTableCount ? TableSlot(int(n)) : nullptr;
        const QString player = !slot ? QString() : !slot->tableleft.isEmpty() ? slot->tableleft : slot->tableright;
        if (player.isEmpty()) {
            PrintChatLine(QStringLiteral("Error"), QString(),
                          QStringLiteral("Application could not retrieve a player name in the table you wish to close.  Try again "
                                         "later or use the End Game menu option."),
                          kRed);
            return;
        }
        if (SendRoomLine(QStringLiteral("TABLEKILL ") + player)) PrintChatLine(QStringLiteral("Table"), QString(), QStringLiteral("Request Sent"), kRed);
    });
}

void frmmenu::mnuchatclears_Click() { SendRoomLine(QStringLiteral("ADMINCHATCLEAR")); }

void frmmenu::mnuAddPlayer_Click() {
    shielded("frmmenu::mnuAddPlayer_Click", [&] {
        const QString name = selectedPlayer();
        if (!name.isEmpty()) form<frmTournyHelper>()->RegisterPlayer(name, true);
    });
}

void frmmenu::mnuTournyPlayerWithoutFee_Click() {
    shielded("frmmenu::mnuTournyPlayerWithoutFee_Click", [&] {
        const QString name = selectedPlayer();
        if (!name.isEmpty()) form<frmTournyHelper>()->RegisterPlayer(name, false);
    });
}

void frmmenu::mnupenaltyno_Click() {
    shielded("frmmenu::mnupenaltyno_Click", [&] {
        frmadmin* admin = ifLoaded<frmadmin>();
        QListWidgetItem* request = admin ? admin->lstrequests->currentItem() : nullptr;
        if (!request || !request->isSelected() || request->text().isEmpty()) return;
        const QString row = request->text();
        const QString player = Divide(row, kBlank)[1];
        PlaySound(3);
        const bool sent = SendRoomLine(QStringLiteral("TRIGGERREMOVE ") + row);
        SendRoomLine(QStringLiteral("TABLEENDMATCH ") + player);
        if (sent) PrintChatLine(QStringLiteral("Request"), QString(), kMatchRequest, kBlue);
    });
}

void frmmenu::ShowAdminItems(const QString& level) {
    static const char* const levels[] = {"1", "2", "3", "4", "5"};
    int n = 0;
    for (int i = 0; i < 5; ++i)
        if (level == QLatin1String(levels[i])) n = i + 1;
    if (n == 0) return;
    mnuadmincontrols->menuAction()->setVisible(true);
    // Level 5 leaves the rest as the previous level set it.
    if (n == 5) return;
    mnuwarn->setVisible(true);
    mnukick->setVisible(n >= 2);
    mnuban->setVisible(n >= 3);
    mnuSilence->setVisible(true);
    mnuipcheck->menuAction()->setVisible(true);
    mnusinglecheck->setVisible(true);
    mnuendmatch->setVisible(true);
    mnuservercommands->menuAction()->setVisible(n >= 4);
}

// ---- Games menu ------------------------------------------------------------------------------

void frmmenu::mnuTreasureHunter_Side_Click() {
    shielded("frmmenu::mnuTreasureHunter_Side_Click", [&] { OpenLink(Deployment::website() + QStringLiteral("/Games/TreasureHunter.aspx")); });
}

void frmmenu::createTable(bool blocked, const QString& key, const QString& line) {
    if (blocked) return;
    SetCreator(true);
    frmchallengebox_single* room = form<frmchallengebox_single>();
    showInFront(room);
    room->GameKey(key);
    SendRoomLine(line);
}

void frmmenu::mnucvreg_Click() {
    shielded("frmmenu::mnucvreg_Click", [&] {
        createTable(shown<frmplaying>() || shown<frmchallengebox_single>(), QStringLiteral("cv"), QStringLiteral("TABLECREATE"));
    });
}

void frmmenu::mnumemory_Click() {
    shielded("frmmenu::mnumemory_Click", [&] {
        createTable(shown<frmplaying>() || shown<frmchallengebox_single>(), QStringLiteral("cvm"), QStringLiteral("TABLECREATE MEMORY"));
    });
}

void frmmenu::mnuchinchin_Click() {
    shielded("frmmenu::mnuchinchin_Click", [&] {
        createTable(shown<frmplaying>() || shown<frmchallengebox_single>(), QStringLiteral("chinchin"),
                    QStringLiteral("TABLECREATE CHINCHIN"));
    });
}

void frmmenu::mnuCardWars_Click() {
    shielded("frmmenu::mnuCardWars_Click", [&] {
        createTable(shown<frmplaying>() || shown<frmchallengebox_single>(), QStringLiteral("cardwars"),
                    QStringLiteral("TABLECREATE CARDWARS"));
    });
}

void frmmenu::mnuorbolt_Click() {
    shielded("frmmenu::mnuorbolt_Click", [&] {
        createTable(shown<frmsphere>() || shown<frmchallengebox_single>(), QStringLiteral("ob"), QStringLiteral("TABLECREATE3"));
    });
}

void frmmenu::mnuomni_Click() {
    shielded("frmmenu::mnuomni_Click", [&] {
        if (!shown<frmchallengebox_single>()) CreateOmniTable();
    });
}

void frmmenu::CreateOmniTable() {
    SendRoomLine(QStringLiteral("TABLECREATE2 OMNICV_RANDOM 5"));
    // Lines that arrive meanwhile are handled first; the key and the flag set here win.
    DoEvents();
    frmchallengebox_single* room = form<frmchallengebox_single>();
    showInFront(room);
    room->GameKey(QStringLiteral("ocv"));
    SetCreator(true);
}

void frmmenu::mnuteamocv_Click() {
    shielded("frmmenu::mnuteamocv_Click", [&] {
        SendRoomLine(QStringLiteral("TABLECREATE4"));
        DoEvents();
        form<frmchallengewaiting>()->show();
        SetCreator(true);
    });
}

// ---- Tables menu -----------------------------------------------------------------------------

void frmmenu::mnujointable_Click() {
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->cmdJoin_Click();
}

void frmmenu::mnuTableInfo_Click() {
    shielded("frmmenu::mnuTableInfo_Click", [&] {
        const QString table = Divide(selectedRow(), kBlank)[1];
        if (table.isEmpty()) return;
        if (SendRoomLine(QStringLiteral("TABLEINFO ") + table))
            PrintChatLine(QStringLiteral("Info"), QString(), QStringLiteral("Fetching information on Table: ") + table, kYellow);
        backAway();
    });
}
