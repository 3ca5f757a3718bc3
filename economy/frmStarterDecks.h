#pragma once
// The starter-deck window: the player picks a card set, sees the cards held of it, and after one
// warning asks the server for a fresh starter deck of that set (which wipes those cards).
#include "app/RFButton.h"
#include "economy/RecordSetGrid.h"
#include "platform/Forms.h"

#include <QComboBox>
#include <QLabel>
#include <QWidget>

class frmStarterDecks : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmStarterDecks();

    // The event deck's code: no starter deck is given for it.
    static const QString kEventDeck;

    // Controls.
    QWidget* picTitle;
    QLabel* lblTitle;
    QLabel* Label1;
    QLabel* Label2;
    QComboBox* cmbDecks;
    RecordSetGrid* DataGrid;
    RFButton* cmdGet;

    // The cards held of the deck chosen in the list.
    void RefreshGrid();
    // The decks that can be restarted into the list.
    void LoadCombo();

public slots:
    void Form_Load();
    void cmbDecks_Click();
    // Header clicks sort; data rows do nothing.
    void DataGrid_Click(int row, int col);
    void cmdGet_Click();
    void Form_MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
};
