#pragma once
// The two-against-two omni window (5x5 board): the members the shared step playback reaches
// by name.
#include "game/AnimatedPicture.h"
#include "game/IndexedText.h"
#include "game/PictureBox.h"
#include "platform/Forms.h"

#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QTextEdit>
#include <QWidget>
#include <array>

class frmteamomni : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmteamomni();

    static constexpr int kCells = 25;
    static constexpr int kSeats = 4;

    QStringList lststeps;  // queued server steps, played by PlayTeamOCVSteps
    std::array<PictureBox*, kCells> Board{};
    std::array<AnimatedPicture*, kCells> flip{};
    PictureBox* player;  // the user's one hand slot
    QLineEdit* iam;      // the user's colour, "blue" or "red"
    std::array<QLabel*, kSeats> picavatar{};
    std::array<QLabel*, kSeats> imghead{};
    std::array<QLabel*, kSeats> imgbody{};
    QLabel* player1_cards;
    QLabel* player2_cards;
    QTextEdit* chatin;

    QString Colors(int index) const { return m_colors.get(index); }
    void Colors(int index, const QString& colour) { m_colors.set(index, colour); }
    void AddBlockTxt(const QString& label, const QString& text);

public slots:
    void flip_Finished(int Index);

private:
    IndexedText<kCells> m_colors;
};
