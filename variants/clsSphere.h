#pragma once
// Handler of the coin-board game messages and the player of its queued steps: one object per
// line or step tick, no state kept between calls (the coin values live in BorderCoins and
// CoreCoins, everything else in frmsphere).
#include <QString>

class clsSphere {
public:
    // keyword is the line's first field; a keyword this family does not know is ignored.
    void GameModule(QString& keyword, QString& line);
    // Applies the leading data steps of frmsphere's step list and then at most one effect step.
    void play_sphereboard();

private:
    void OBStart();
    void OBGo(const QString& line);
    void OBBorder(const QString& line);
    void OBCore(const QString& line);
    void OBFreeze();
    void OBOppScore(const QString& line);
    void OBOppFrozen();
    void OBClose();
    void queue(const QString& step);
    void StartTurn(const QString& step);
};
