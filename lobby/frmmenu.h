#pragma once
// The hidden window that owns the lobby's popup menus: the player menu (with the administrator
// items), the administrator end-match menu, the games menu that creates a table of every kind,
// the tables menu and the chat actions menu. Other windows pop them up at the pointer; the items
// act on what the lobby has selected and most of them end in one line to the server.
#include "platform/Forms.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

class frmmenu : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmmenu();

    // The player menu.
    QMenu* command;
    QAction* mnubuddyadd;
    QAction* mnubuddydelete;
    QAction* ignore;
    QAction* UnIgnore;
    QAction* mnuPlayer;
    QAction* mnupm;
    QAction* mnuplayershop;
    QMenu* mnuadmincontrols;  // hidden until an administrator logs in
    QAction* mnuInfraction;
    QMenu* mnuControls;
    QAction* mnuwarn;
    QAction* mnukick;
    QAction* mnuban;
    QAction* mnuSilence;
    QMenu* mnuipcheck;
    QAction* mnusinglecheck;
    QAction* mnuendmatch;
    QAction* mnukilltable;
    QMenu* mnuservercommands;
    QAction* mnuchatclears;
    QMenu* mnuTournament;
    QAction* mnuAddPlayer;
    QAction* mnuTournyPlayerWithoutFee;
    // The administrator end-match menu.
    QMenu* mnuendmatches;
    QAction* mnupenaltyno;
    // The games menu.
    QMenu* mnuchallengemenu;
    QMenu* mnuSideGames;
    QAction* mnuTreasureHunter_Side;
    QAction* mnuhrside1;
    QAction* mnuchinchin;
    QAction* mnucvreg;
    QAction* mnumemory;
    QAction* mnuomni;
    QAction* mnuorbolt;
    QAction* mnuCardWars;
    QAction* mnuhr1;
    QAction* mnuteamocv;
    // The tables menu.
    QMenu* mnuTables;
    QAction* mnujointable;
    QAction* mnuTableInfo;
    // The chat actions menu: each item puts a command into the lobby's chat input.
    QMenu* mnuchatactions;
    QMenu* mnuChatChannelS;
    QMenu* mnuChatUtility;
    QMenu* mnuChatUtilityChatLogging;
    QMenu* mnuChatUtilityJoinsParts;
    QMenu* mnuChatUtilityToggleSound;
    QMenu* mnuGuildCommands;

    // Sends the omni create line, lets pending events run, then opens the room as its creator.
    void CreateOmniTable();
    // Which administrator items the level ("1" to "5") shows; any other level changes nothing.
    void ShowAdminItems(const QString& level);

public slots:
    void mnubuddyadd_Click();
    void mnubuddydelete_Click();
    void ignore_Click();
    void UnIgnore_Click();
    void mnuPlayer_Click();
    void mnupm_Click();
    void mnuplayershop_Click();
    void mnuInfraction_Click();
    void mnuwarn_Click();
    void mnukick_Click();
    void mnuban_Click();
    void mnuSilence_Click();
    void mnusinglecheck_Click();
    void mnuendmatch_Click();
    void mnukilltable_Click();
    void mnuchatclears_Click();
    void mnuAddPlayer_Click();
    void mnuTournyPlayerWithoutFee_Click();
    void mnupenaltyno_Click();
    void mnuTreasureHunter_Side_Click();
    void mnuchinchin_Click();
    void mnucvreg_Click();
    void mnumemory_Click();
    void mnuomni_Click();
    void mnuorbolt_Click();
    void mnuCardWars_Click();
    void mnuteamocv_Click();
    void mnujointable_Click();
    void mnuTableInfo_Click();

private:
    QMenu* submenu(QMenu* parent, const char* name, const QString& caption);
    QAction* item(QMenu* menu, const char* name, const QString& caption, void (frmmenu::*slot)());
    void buildChatActions();
    // The first word of the selected player node; "" when none is selected.
    QString selectedPlayer() const;
    QString selectedNodeText() const;
    // A buddy or ignore entry for the selected player.
    void listEntry(const QString& file, const QString& section, const QString& value, const QString& label,
                   const QString& text, long colour);
    // Warn, kick or ban: the reason asked, blanks as "%20".
    void moderate(const QString& keyword);
    // A create item of the two-seat room: nothing while blocked, else creator, room, key, line.
    void createTable(bool blocked, const QString& key, const QString& line);
};
