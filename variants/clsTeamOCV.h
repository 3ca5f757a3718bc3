#pragma once
// Handler of the team omni messages ("TEAM_"): one object per line, no state kept between
// lines; all of it lives in the team omni window and the lobby. The family also carries the
// lobby's result line of finished team-family games.
#include <QString>

class clsTeamOCV {
public:
    // keyword is the line's first field; a keyword this family does not know is ignored.
    void GameModule(QString& keyword, QString& line);

private:
    void TeamMatch(const QString& line);
    void TeamOmniBlock(const QString& line);
    void TeamOCVStarter();
    void TeamOCVCardDraw(const QString& line);
    void TeamOCVPlacedAt(const QString& line);
    void TeamOCVYourTurn();
    void TeamOCVTurnOver();
    void TeamOCVPlacedCard(const QString& line);
    void TeamOCVPoints(const QString& line);
    void TeamOCVBlueCard(const QString& line);
    void TeamOCVRedCard(const QString& line);
    void TeamOCVCardFlip(const QString& line);
    void TeamOCVSame();
    void TeamOCVPlus();
    void TeamOCVCombo();
    void TeamOCVColor(const QString& line);
    void TeamQueue(const QString& line);
    void TeamOCVClose();
    void TeamGameChat(const QString& line);
};
