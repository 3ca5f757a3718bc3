#pragma once
// Game over and the card trade: the result, the cards the winner may take (picked within 30
// seconds, else the server picks one at random), and what each side gained or lost.
#include "app/RFButton.h"
#include "game/PictureBox.h"
#include "platform/Forms.h"

#include <QLabel>
#include <QListWidget>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>

class frmdisplaybox : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmdisplaybox();

    static constexpr int kOffered = 5;
    // A picked card rises this far out of its row.
    static constexpr int kRaise = 40;

    // Controls.
    QWidget* picTitle;
    QLabel* lblTitle;
    QWidget* cardArea;  // the two rows of cards; positions below are inside it
    std::array<PictureBox*, 10> cardimage{};  // 0..4 to take or gained, 5..9 lost
    QLabel* imgBorder;
    QLabel* imgBorder1;
    QListWidget* lstcards;
    QListWidget* lstget;  // the names picked, in picking order
    QLabel* lblgamestatus;
    QLabel* lblCardstoPick;
    QLabel* timeleft;
    QTimer* timeout;
    RFButton* imgOkay;
    QLabel* Label6;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label1;
    QLabel* Label2;

    int16_t TimerValue() const { return m_timerValue; }
    void TimerValue(int16_t v) { m_timerValue = v; }
    int16_t CardsWon() const { return m_cardsWon; }
    void CardsWon(int16_t v) { m_cardsWon = v; }
    double GameID() const { return m_gameID; }
    void GameID(double v) { m_gameID = v; }
    // The text of the title strip.
    void ChangeTitle(const QString& title);
    QString title() const { return m_title; }

public slots:
    void Form_Load();
    void cardimage_Click(int Index);
    void imgOkay_Click();
    void timeout_Timer();
    void Form_MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void TakeCard(const QString& cardName, int Index);
    void lobbyToFront();

    int16_t m_timerValue = 0;
    int16_t m_cardsWon = 0;
    double m_gameID = 0;
    int16_t m_picked = 0;
    QString m_title;
};
