#pragma once
// Handler of the coin-board game messages: one object per line, no state kept between lines.
#include <QString>

class clsSphere {
public:
    // keyword is the line's first field; a keyword this family does not know is ignored.
    void GameModule(QString& keyword, QString& line);
};
