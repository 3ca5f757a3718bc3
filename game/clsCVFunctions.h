#pragma once
// Handler of the standard card game messages ("CV" family): one object per line, no state kept
// between lines. It sets up a game and its card picking, fills and starts the board, queues the
// server's steps for playback at the turn change, closes the board and fills the game-over window.
#include <QString>

class clsCVFunctions {
public:
    // keyword is the line's first field; a keyword this family does not know is ignored.
    void GameModule(QString& keyword, QString& line);

private:
    void CVStarter(const QString& line);
    void CVPickCards(const QString& line);
    void CVElement(const QString& line);
    void CVYourTurn();
    void CVTurnOver();
    // The step lines: kept as they came, or as the bare keyword, until the next turn message.
    void queueStep(const QString& step);
    void CVPlacedCard(const QString& line);
    void CVOpenCard(const QString& line);
    void CVHand(const QString& line);
    void CVClose();
    void CVCardGain(const QString& line);
    void CVCardLost(const QString& line);
    void CVDisplay(const QString& line);
};
