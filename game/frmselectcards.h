#pragma once
// Card picking before a game: the player chooses a deck the rules allow, sees the cards he owns
// of it in a grid, and picks five; the fifth accepted pick sends the hand and hands it to the
// board. 180 seconds are allowed; then the client tells the server time is up.
#include "app/RFButton.h"
#include "app/RecordSet.h"
#include "app/RecordSetModel.h"
#include "game/PictureBox.h"
#include "game/clsCVRules.h"
#include "game/clsPickCards.h"
#include "platform/Forms.h"

#include <QComboBox>
#include <QLabel>
#include <QTableView>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

class frmselectcards : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmselectcards();

    // Controls.
    QWidget* picTitle;
    QLabel* lblTitle;
    QLabel* lblDecks;
    QComboBox* cmbDecks;
    QTableView* DataGrid;  // over the owned cards; grid row 0 is its header, column 0 its row marks
    RecordSetModel* gridModel;
    QLabel* lblCurrent;
    PictureBox* current;  // the card on the grid's selected row
    std::array<PictureBox*, clsPickCards::kSlots> selected{};
    RFButton* cmdPick;
    RFButton* cmdClear;
    QLabel* lblTimeLeft;
    QLabel* timeleft;
    QTimer* Timer1;

    // The game's rule set (shared with the room and the board); an empty one on first use.
    std::shared_ptr<clsCVRules> oCV();
    void oCV(std::shared_ptr<clsCVRules> rules) { m_oCV = std::move(rules); }
    // The owned cards of the chosen deck: fields Card, Level, Total, Special.
    ::RecordSet& RecordSet() { return m_rs; }
    void RecordSet(const ::RecordSet& rs) { m_rs = rs; }
    QString SelectedCard() const;
    QString SelectedTotal() const;
    bool SelectedSpecial() const;
    int16_t Countdown() const { return m_countdown; }
    const clsPickCards& PickCards() const { return m_picks; }

    // The rule set's decks into the deck list.
    void DivideDecks();
    // Starts the 180-second countdown.
    void Start_this();

public slots:
    void Form_Load();
    void cmbDecks_Click();
    // A click on the grid at flex-grid coordinates: row 0 is the header, column c is field c - 1.
    void DataGrid_Click(int row, int col);
    void cmdPick_Click();
    void cmdClear_Click();
    void Timer1_Timer();
    void Form_MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void AddPick(const QString& name, bool special);
    void SendHand();
    void ShowOwnedCards();
    void TakeOneFromGrid(const QString& name);
    // One copy fewer of the card in the owned totals.
    void takeFromTotals(const QString& name);
    // Shows the record set in its own order, keeping the grid's selected row.
    void bindGrid();
    void SetGridColumns();
    QString cell(int gridColumn) const;

    std::shared_ptr<clsCVRules> m_oCV;
    ::RecordSet m_rs;
    clsPickCards m_picks;
    int16_t m_countdown = 0;
    int m_sortCol = 0;
    bool m_sortAsc = false;
};
