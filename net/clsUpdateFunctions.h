#pragma once
// Handler of the player-figure updates messages: one object per line, no state kept between lines.
#include <QString>

class clsUpdateFunctions {
public:
    // keyword is the line's first field; a keyword this family does not know is ignored.
    void IncomingModule(QString& keyword, QString& line);
};
