#pragma once
// The starter-deck window.
#include "platform/Forms.h"

#include <QWidget>

class frmStarterDecks : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmStarterDecks();
    void RefreshGrid();
};
