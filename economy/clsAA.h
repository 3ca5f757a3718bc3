#pragma once
// Handler of the alternate advancement messages: one object per line, no state kept between lines.
#include <QString>

class clsAA {
public:
    // keyword is the line's first field; a keyword this family does not know is ignored.
    void AAModule(QString& keyword, QString& line);

private:
    void LevelUp(const QString& line);
};
