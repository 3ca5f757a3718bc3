#pragma once
// The player's shop set-up: the shop's title and description, the cards the player holds of a
// deck, and the cards in the shop; cards go in at a price and come out again, each change one
// line to the server.
#include "app/RFButton.h"
#include "economy/RecordSetGrid.h"
#include "game/PictureBox.h"
#include "platform/Forms.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

class frmmerchant : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmmerchant();

    // Price limits of a card in the shop, in gold.
    static constexpr int kMinPrice = 30;
    static constexpr int kMaxPrice = 29999;

    // Controls.
    QWidget* picTitle;
    QLabel* lblTitle;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLineEdit* txtTitle;
    QLineEdit* txtdescription;
    QComboBox* cmbDecks;
    RecordSetGrid* DataGrid_OnHand;
    RecordSetGrid* DataGrid_Shop;
    QLineEdit* txtGP;
    PictureBox* imgcard;
    RFButton* cmdAdd;
    RFButton* cmdRemove;
    RFButton* cmdCreate;

    // The entry: the deck list, then the shop and the cards of the standard deck.
    void LoadData();
    void RefreshDecks();
    // The shop's header and both grids for deck ("" is the standard deck).
    void RefreshGrid(const QString& deck);
    void setVisible(bool visible) override;

public slots:
    void Form_Load();
    void cmbDecks_Click();
    void cmdCreate_Click();
    void cmdAdd_Click();
    void cmdRemove_Click();
    void DataGrid_OnHand_Click(int row, int col);
    void DataGrid_Shop_Click(int row, int col);
    void Form_MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    QString OnHandCard() const { return DataGrid_OnHand->CurrentText(1); }
    QString ShopCard() const { return DataGrid_Shop->CurrentText(1); }
    void gridClick(RecordSetGrid* grid, int row, int col);
    void enableChanges(bool on);
    void fail(const QString& text);
};
