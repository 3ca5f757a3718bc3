#pragma once
// The omni game window (5x5 board): the members the shared step playback reaches by name.
#include "game/AnimatedPicture.h"
#include "game/IndexedText.h"
#include "game/PictureBox.h"
#include "platform/Forms.h"

#include <QLabel>
#include <QStringList>
#include <QWidget>
#include <array>

class frmomni : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmomni();

    static constexpr int kCells = 25;

    QStringList lststeps;  // queued server steps, played by PlayOCVSteps
    std::array<PictureBox*, kCells> Board{};  // index row * 5 + column
    std::array<AnimatedPicture*, kCells> flip{};
    QLabel* gamestatus;
    QLabel* player1_cards;
    QLabel* player2_cards;
    PictureBox* Player1;  // each side's current card
    PictureBox* Player2;

    // Outside 0..24, "Subscript out of range".
    QString Colors(int index) const { return m_colors.get(index); }
    void Colors(int index, const QString& colour) { m_colors.set(index, colour); }

    // The 5x5 cells with their flip animations, as both omni boards lay them out.
    static void buildCells(QWidget* parent, std::array<PictureBox*, kCells>& board, std::array<AnimatedPicture*, kCells>& flips);

public slots:
    void flip_Finished(int Index);

private:
    IndexedText<kCells> m_colors;
};
