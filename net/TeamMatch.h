#pragma once
// The lobby's result lines of finished games: the team family's "TEAM_MATCH" line and the
// replay notice that follows a result when the user has replays on.
#include <QString>
#include <memory>

class ChatRuns;

// "TEAM_MATCH w1 v1 w2 v2 l1 v1 l2 v2 score score code id": one result line in the lobby log
// (nothing before login), then the replay notice.
void TeamMatchLine(const QString& line);

// With [Options] Replays missing it becomes "1"; while it is "1" the replay page of the game is
// announced in the lobby. An id that is no plain name gives no link.
void ReplayNotice(const QString& gameId, const QString& page);

// Opens the lobby log for a result line: trimmed when long, the chat input's caret at its end,
// runs in the user's chat font. Runs go in as long as the object lives.
std::unique_ptr<ChatRuns> ResultLineRuns();
