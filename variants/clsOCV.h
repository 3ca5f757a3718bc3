#pragma once
// Handler of the omni game messages: one object per line, no state kept between lines; all of
// it lives in the omni window. Set-up, blocks and draws apply at once; board effects queue on
// the window and replay at the turn change or the close.
#include <QString>

class clsOCV {
public:
    // keyword is the line's first field; a keyword this family does not know is ignored.
    void GameModule(QString& keyword, QString& line);

private:
    void OCVBlock(const QString& line);
    void OCVStarter(const QString& line);
    void OCVCardDraw(const QString& line);
    void OCVPlacedAt(const QString& line);
    void OCVYourTurn();
    void OCVTurnOver();
    void OCVPlacedCard(const QString& line);
    void OCVPoints(const QString& line);
    void OCVBlueCard(const QString& line);
    void OCVRedCard(const QString& line);
    void OCVCardFlip(const QString& line);
    void OCVSame();
    void OCVPlus();
    void OCVCombo();
    void OCVClose();
};
