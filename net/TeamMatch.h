#pragma once
// The lobby's result lines of finished games: the team family's "TEAM_MATCH" line and the
// replay notice that follows a result when the user has replays on.
#include <QString>
#include <memory>

class ChatRuns;

#include <memory>

class ChatRuns;

// "TEAM_MATCH w1 v1 w2 v2 l1 v1 l2 v2 score score code id": one result line in the lobby log
// (nothing before login), then the replay notice.
void TeamMatchLine(const QString& line);

// With [Options] Replays missing it becomes "1"; while it is "1" the replay page of the game is
// announced in the lobby. An id that is no plain name gives no link.
void ReplayNotice(const QString& gameId, const QString& page);

// A result line at the end of the lobby log: the log trimmed when long, the input's caret at
// its end; the pieces written to what it returns take the user's chat font.
std::unique_ptr<ChatRuns> BeginResultLine();
