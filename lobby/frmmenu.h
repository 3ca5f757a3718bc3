#pragma once
// The hidden window that owns the lobby's popup menus.
#include "platform/Forms.h"

#include <QMenu>
#include <QWidget>

class frmmenu : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmmenu();

    QMenu* command;           // the player menu
    QMenu* mnuadmincontrols;  // its administrator submenu, hidden until an administrator logs in
    QMenu* mnuendmatches;
    QMenu* mnuchallengemenu;  // the games menu
    QMenu* mnuTables;
};
