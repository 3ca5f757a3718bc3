// The dispatcher's handlers of lobby messages: players, chat, private messages, tables,
// match results, notices and game-state messages.
#include "net/clsWinsock.h"

void clsWinsock::NewPlayer(QString& line, bool announce) {
    Q_UNUSED(line);
    Q_UNUSED(announce);
}
void clsWinsock::RemPlayer(QString& line) { Q_UNUSED(line); }
void clsWinsock::Chat(QString& line) { Q_UNUSED(line); }
void clsWinsock::InPM(QString& line) { Q_UNUSED(line); }
void clsWinsock::NoTable() {}
void clsWinsock::Table(QString& line) { Q_UNUSED(line); }
void clsWinsock::TableJackpotChange(QString& line) { Q_UNUSED(line); }
void clsWinsock::AddTable(QString& line) { Q_UNUSED(line); }
void clsWinsock::RemoveTable(QString& line) { Q_UNUSED(line); }
void clsWinsock::TableInfo(QString& line) { Q_UNUSED(line); }
void clsWinsock::Match(QString& line) { Q_UNUSED(line); }
void clsWinsock::ChatBlock(QString& line) { Q_UNUSED(line); }
void clsWinsock::GPAdd(QString& line) { Q_UNUSED(line); }
void clsWinsock::PlayBuySound() {}
void clsWinsock::QuitOkay() {}
void clsWinsock::QuitNotOkay() {}
void clsWinsock::LevelUp(QString& line) { Q_UNUSED(line); }
void clsWinsock::Notice(QString& line) { Q_UNUSED(line); }
void clsWinsock::killmatch() {}
void clsWinsock::DropGame() {}
void clsWinsock::AutoDecline(QString& line) { Q_UNUSED(line); }
void clsWinsock::AddBlock(QString& line) { Q_UNUSED(line); }
void clsWinsock::SoundWav(QString& line) { Q_UNUSED(line); }
void clsWinsock::EndMatch(QString& line) { Q_UNUSED(line); }
void clsWinsock::ExitMessage(QString& line) { Q_UNUSED(line); }
void clsWinsock::GameChat(QString& line) { Q_UNUSED(line); }
void clsWinsock::GameOpponent(QString& line) { Q_UNUSED(line); }
void clsWinsock::GameStalemate() {}
