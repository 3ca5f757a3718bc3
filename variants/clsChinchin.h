#pragma once
// Handler of the dice game messages: one object per line, no state kept between lines.
#include <QString>

class clsChinchin {
public:
    // keyword is the line's first field; a keyword this family does not know is ignored.
    void GameModule(QString& keyword, QString& line);

private:
    void ChinchinYes();
    void ChinchinTurn(const QString& line);
    void ChinchinText(const QString& line);
    void ChinchinDice(const QString& line);
    void ChinchinClose();
    void ChinchinPoints(const QString& line);
};
