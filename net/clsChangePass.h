#pragma once
// Replies to a change of password.
#include <QString>

class clsChangePass {
public:
    void AccountModule(QString& keyword, QString& line);
};
