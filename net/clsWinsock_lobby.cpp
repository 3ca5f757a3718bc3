// The dispatcher's handlers of lobby messages: players, chat, private messages, tables,
// match results, notices and game-state messages.
#include "net/clsWinsock.h"

#include "app/modMain.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "platform/VbCompat.h"

#include <QTreeWidget>

// A player entry: "NEWPLAYER staff tag bracket membership entry", blanks in the entry as "%20".
// The entry is added to the lobby's player tree unless its nickname (first word) is listed.
void clsWinsock::NewPlayer(QString& line, bool announce) {
    Q_UNUSED(announce);
    const Fields f = Divide(line, QStringLiteral(" "));
    const QString entry = ReplaceCaseCopy(f[5], {QStringLiteral("%20"), QStringLiteral(" ")});
    if (entry.trimmed().isEmpty()) return;
    frmchildchat* lobby = form<frmchildchat>();
    const QString nick = entry.section(u' ', 0, 0).toLower();
    bool listed = false;
    for (int i = 0; !listed && i < lobby->playerlist->topLevelItemCount(); ++i)
        listed = lobby->playerlist->topLevelItem(i)->text(0).section(u' ', 0, 0).toLower() == nick;
    if (listed) return;
    auto* node = new QTreeWidgetItem(QStringList{entry});
    node->setData(0, Qt::UserRole, entry);
    lobby->playerlist->addTopLevelItem(node);
    lobby->lblActive->setText(vbStr(vbVal(lobby->lblActive->text()) + 1));
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
void clsWinsock::QuitOkay() {
    if (frmCon* con = ifLoaded<frmCon>()) con->Winsock->Close();
    ShutDown();
}

// Quitting was refused (a game is running): the client is fully back, so chat shows again and a
// later loss of the connection reconnects.
void clsWinsock::QuitNotOkay() {
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->QuitEngaged(false);
    if (ConnectionState == 2) ConnectionState = 1;
    if (frmCon* con = ifLoaded<frmCon>()) con->Winsock->Tag.clear();
    PrintChatLine(QStringLiteral("Error"), QString(),
                  QStringLiteral("You cannot quit while you are still playing a game.  Forcefully ending the application may "
                                 "cause your account to be flagged."),
                  0x00FFFF);
}
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
