#pragma once
// Replies to the login: accepted, already online, no such nickname, wrong password.
#include <QString>

class clsLoadGame {
public:
    void IncomingHandler(QString& keyword, QString& line);

private:
    void LoadGameOnline();
    void LoadGameNoSuchNick();
    void LoadGameWrongPass();
    void LoadGameOK();
    // Back to the login window with the socket closed.
    void refused();
};
