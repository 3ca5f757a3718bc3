#pragma once
// The coin-board game window (Orbolt): four core coins ringed by twelve border coins, the sum,
// multiplier, score, turns and time, the opponent's score and status, and the Ready and Freeze
// buttons. clsSphere queues the server's lines in lstsphere and the step timer plays them; the
// window owns the selection and sends the completed selection or the freeze.
#include "app/RFButton.h"
#include "game/AnimatedPicture.h"
#include "platform/Forms.h"
#include "variants/SkinBackdrop.h"

#include <QLabel>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>

class frmsphere : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmsphere();

    static constexpr int kCore = 4, kBorder = 12;

    SkinBackdrop* table;
    QWidget* picTitle;
    QLabel* lblTitle;
    std::array<QLabel*, kCore> corecoin{};  // values; selected while shown in red
    std::array<AnimatedPicture*, kCore> imgcore_coin{};
    std::array<QLabel*, kBorder> bordercoin{};
    std::array<AnimatedPicture*, kBorder> imgborder_coin{};
    std::array<QString, kBorder> borderTag{};  // "spin", or "bust" while the break plays
    QLabel* sum;
    QLabel* multi;
    QLabel* quota;
    QLabel* lblturns;
    QLabel* lbltime;
    QLabel* lbloppscore;
    QLabel* lbloppstatus;
    QLabel* lblecho;
    QLabel* lblgamestatus;
    AnimatedPicture* imgStatus;
    RFButton* cmdGo;
    RFButton* cmdFreeze;
    QStringList lstsphere;  // queued steps, the next first
    QTimer* tmrAnti;        // plays one step every 2 s
    QTimer* timeleft;       // the turn countdown

    bool blnReady = false;
    bool blnLock = false;
    uint8_t time = 0;

    void spinborder(int intIndex, bool blnSpin);
    void spinbust(int intIndex);
    void spinreset(int intIndex);
    void spincorereset(int intIndex);
    void spincore(int intIndex, bool blnSpin);
    bool CoreSelected() const;
    QString SendComplete() const;

    // The coin's value label shown selected (red) or not (black).
    static void select(QLabel* coin, bool on);
    static bool selected(const QLabel* coin);
    // The turn locked and "OBFROZEN" sent, as Freeze and the time-up do.
    void freeze();

    void Form_Unload(int& cancel) override;

public slots:
    void Form_Load();
    void cmdGo_Click();
    void cmdFreeze_Click();
    void imgcore_coin_Click(int Index);
    void imgborder_coin_Click(int Index);
    void imgborder_coin_Finished(int Index);
    void timeleft_Timer();
    void tmrAnti_Timer();
    void Form_MouseMove();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Adds the coin's value to the sum and completes the selection when the sum is a multiple
    // of the multiplier.
    void addAndTest(QLabel* coin, bool wasSelected);
};

// Plays the named effect once in the window's status picture, with its sound, and restarts the
// step timer's interval.
void SphereEffect(const QString& name, int count);
