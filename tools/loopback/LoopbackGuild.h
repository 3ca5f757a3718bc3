#pragma once
// The loopback server's guild: the player's record names it, a resident belongs to it, and its
// message board has a few recent comments for the guild window to show.
#include <QByteArray>
#include <QString>
#include <optional>

namespace LoopbackGuild {
// The guild of the player who logs in.
QString name();
// The guild as the player's record carries it (blanks as "%20").
QString recordField();
// The data set answering the board's comments query; nothing for any other command.
std::optional<QByteArray> answer(const QString& command);
}  // namespace LoopbackGuild
