#pragma once
// Handler of the avatar shop messages: one object per line, no state kept between lines.
#include <QString>

class clsAvatars {
public:
    // keyword is the line's first field; a keyword this family does not know is ignored.
    void IncomingHandler(QString& keyword, QString& line);
};
