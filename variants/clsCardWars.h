#pragma once
// Handler of the card war messages: one object per line, no state kept between lines. Every
// message takes effect at once on frmcardwars; the result goes to the lobby and the tournament.
#include <QString>

class clsCardWars {
public:
    // keyword is the line's first field; a keyword this family does not know is ignored.
    void GameModule(QString& keyword, QString& line);

private:
    void CardWarsLoad(const QString& line);
    void CardWarsBoard(const QString& line);
    void CardWarsStart();
    void CardWarsHand(const QString& line);
    void CardWarsPhase(const QString& line);
    void CardWarsHistory(const QString& line);
    void CardWarsMatch(const QString& line);
    void CardWarsClose();
};

// The verb of a card war result by the two scores: a stalemate when both are above 0, else by
// how far the winner's score went.
QString CardWarsVerb(double winnerScore, double loserScore);
