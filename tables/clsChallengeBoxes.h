#pragma once
// Handler of the challenge rooms messages: one object per line, no state kept between lines.
#include <QString>

class clsChallengeBoxes {
public:
    // keyword is the line's first field; a keyword this family does not know is ignored.
    void ChallengeModule(QString& keyword, QString& line);
};
