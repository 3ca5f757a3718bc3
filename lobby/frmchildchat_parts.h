#pragma once
// What the lobby window's source files share.
#include <QCursor>
#include <QString>

class ChatRuns;
class QMenu;

namespace lobbyparts {
constexpr long kNoticeRed = 255;
// Sends a line when the connection window is loaded.
void send(const QString& line);
// The skin's hand cursor (the system's pointing hand before the connection window exists).
QCursor handCursor();
void popupAtPointer(QMenu* menu);
// The following runs in the user's chat font ([Chat] Font and FontSize), once logged in.
void userChatFont(ChatRuns& out);
}  // namespace lobbyparts
