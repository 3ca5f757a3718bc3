#pragma once
// What the player types into a chat input: the control keys, the reply key, the slash commands,
// the protocol lines they make, and the flood control that counts every line sent.
//
// The input window is any window with a line box named "chatout" and a rich-text log named
// "chatin" (the lobby, the guild window). Commands are recognised by ParseChatLine, which needs
// no window, and carried out by ChatKeyPress.
#include <QString>
#include <cstdint>
#include <functional>

class QWidget;

// The rows of the command table, in the order they are tested.
enum class ChatRow {
    Ignored,       // "/ooc", "/shout" or "/auction" with nothing after them
    Away,          // "/away <reason>"
    Mod,           // "/mod on|off|<arg>"
    Random,        // "/random <low> <high>"
    Tell,          // "/tell" or "/msg" <player> <message>
    Log,           // "/log on|off"
    Sound,         // "/sound on|off"
    Join,          // "/join on|off" (also "/joins")
    GuildDisband,  // "/guilddisband"
    Music,         // "/music"
    Moderation,    // "/warn", "/kick" or "/ban" <player> <reason>
    Chat,          // anything else
};

// A typed line taken apart. Everything here follows from the text alone; what depends on the
// client's state (away mode, players on line, settings, the playing title) is decided when the
// command is carried out.
struct ChatCommand {
    ChatRow row = ChatRow::Chat;
    // The row ends without counting the line or emptying the input (the text stays).
    bool keep = false;
    // The protocol line the row sends (/mod, /random, /tell, the moderation commands, chat);
    // empty when it sends none.
    QString send;
    // /random's refusal, shown as a red "error" notice.
    QString notice;
    // The player named by /tell, /msg and the moderation commands.
    QString target;
    // /away: the reason; /tell: the message; moderation: the reason; /log, /sound, /join: the
    // setting word.
    QString text;
};

// How /random is typed: the "Random Roll" chat action shows it, and a roll without two number
// bounds is refused with it.
extern const char kRandomRollUsage[];
// Recognises the command of a line whose double blanks have been collapsed (CollapseBlanks).
ChatCommand ParseChatLine(const QString& line);
// Each pair of blanks becomes one, in a single pass from the left (three blanks leave two).
QString CollapseBlanks(const QString& line);
// True for a line that must never reach the public chat: it names a moderation, administrator or
// locating command anywhere ("/warn", "/kick", "/ban", "/admin", "/where", exact case).
bool IsWithheldChat(const QString& line);

// The key handler of a chat input. form: the input window; key: the key's code (keyAscii), set
// to 0 to swallow the key or changed to type another character; prefix and suffix frame the
// typed text ("/guild " for the guild window).
void ChatKeyPress(QWidget* form, int16_t& key, const QString& prefix, const QString& suffix);
// Counts one sent line: the fifth in one flood window warns the first time, and disconnects and
// ends the client every later time.
void FloodCheck(const QString& line);
// True when some entry of the lobby's player list shows the name (exact case, anywhere in the
// entry); otherwise a "does not exist" notice in the lobby log and false.
bool UserExists(const QString& name);

// Where "/music" reads the playing title: GetNowPlaying, unless a test installs its own source
// (an empty function restores GetNowPlaying).
void setNowPlayingSource(std::function<QString()> source);
