#pragma once
// The rule setup dialog of a card-game table: the decks allowed, the skill rules (by hand or from
// a preset, the player's favourites among them) and the trade rule. Accept asks the numbers some
// rules need, sends the rule set as one "CHANGERULE" line, hands it to the two-seat room and closes.
#include "app/RFButton.h"
#include "platform/Forms.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <cstdint>

class frmtradebox : public FormWindow<QDialog> {
    Q_OBJECT
public:
    frmtradebox();

    QWidget* picTitle;
    QLabel* lblTitle;
    QListWidget* lstdecks;  // the decks of the deck query, several may be chosen
    QListWidget* lstgame;   // the 24 skill rules
    QListWidget* lsttrade;  // the 10 trade rules, one at most
    QComboBox* cmbRuleSets;  // the presets
    RFButton* challenge;    // "Accept"

    // The skill rules in list order.
    static const QStringList& SkillRules();
    static const QStringList& TradeRules();

public slots:
    void Form_Load();
    void challenge_Click();
    void cmbRuleSets_Click();
    void Form_MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void ApplyCrossPreset(bool includeCross);
    void LoadFavoriteRules();
    void selectSkills(std::initializer_list<int> positions);
    bool skill(int position) const;
    bool trade(int position) const;
};
