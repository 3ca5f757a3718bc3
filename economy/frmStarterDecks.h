#pragma once
// The starter-deck window.
#include "platform/Forms.h"

#include <QWidget>

class frmStarterDecks : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmStarterDecks();
    void RefreshGrid();
    // Fills the list of starter decks from the web service.
    void LoadCombo();
};
