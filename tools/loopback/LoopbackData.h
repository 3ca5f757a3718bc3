#pragma once
// What the loopback server knows: its resident players, the record it sends for a login, its
// tables and its message of the day.
#include <QString>
#include <QStringList>

namespace LoopbackData {
struct Player {
    QString nick;
    QString level;
    QString guild;  // empty: no guild
};

// The players who are always on line.
const QList<Player>& residents();
// A player as the web service's list holds it: "nick:::level:::guild".
QString listRecord(const Player& p);
// The entry text the lobby shows: "nick level" and " <guild>" when there is one.
QString entryText(const Player& p);
// A player-list line of the server ("NEWPLAYER" or "NEWPLAYER2"), blanks of the entry as "%20".
QString playerLine(const QString& keyword, const Player& p);
// The avatar a player wears in rooms and games: background, head, body and figure prefix.
QString avatarOf(const QString& nick);
// The level a player's name is shown with in result lines: a resident's own, a client's 1.
QString levelOf(const QString& nick);

// The player's record after a login or reconnect ("SHOWMAIN" and 20 fields).
QString showMain();
QString motd();
// The open tables, as "ADDTABLE" lines.
QStringList tables();
// The version record of the web site, naming this client's own version.
QByteArray versionRecord();
}  // namespace LoopbackData
