#pragma once
// Handler of the omni game messages: one object per line, no state kept between lines.
#include <QString>

class clsOCV {
public:
    // keyword is the line's first field; a keyword this family does not know is ignored.
    void GameModule(QString& keyword, QString& line);
};
