#include "lobby/ChatInput.h"

#include "app/ErrorHandler.h"
#include "app/clsClientConfig.h"
#include "app/modLinks.h"
#include "app/modMain.h"
#include "app/modSettings.h"
#include "app/modSkin.h"
#include "app/modSound.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmguildchat.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QAbstractScrollArea>
#include <QTextDocument>

#include <cmath>
#include <optional>

namespace {
constexpr long kOlive = 49344;  // (192, 192, 0)
constexpr int kMaxAwayReason = 200;
constexpr int kRandomMaximum = 32000;
constexpr int kFloodLimit = 5;

const QString kNoPM = QStringLiteral("You have not received a PM this session");
const QString kInvalidCharacters = QStringLiteral(
    "You have invalid characters in your chat string.  Text must be alpha-numeric or traditional english symbols (IE. "
    "symbols over the numbers on the keyboard).");
const QString kAwayTooLong = QStringLiteral("Too many characters, try again later");
const QString kRandomTooHigh = QStringLiteral("Random maximums cannot be higher than 32000");
const QString kRandomOrder = QStringLiteral("The first number must be the lowest compared to the other.  Try again.");
const QString kNoMusic = QStringLiteral("You must have winamp open and playing a song to use this command.");
const QString kMusicHidden = QStringLiteral(
    "You have the option to ignore /music messages turned on in the configuration window.  This means you cannot use "
    "the command either.");
const QString kFloodWarning = QStringLiteral(
    "You have been warned... flooding in the chat will cause you to get kicked, if it happens again, you will be "
    "kicked.  If this continues to be a problem, an admin can ban you for the rest of the day.");
const QString kFloodKick =
    QStringLiteral("You are now being kicked.  Come back later when you decide to stop flooding the chat.");

std::function<QString()>& nowPlayingSource() {
    static std::function<QString()> source;
    return source;
}

QString nowPlaying() {
    const auto& source = nowPlayingSource();
    return source ? source() : GetNowPlaying();
}

void send(const QString& line) {
    if (frmCon* con = ifLoaded<frmCon>()) con->SendToServer(line);
}

// The old Trim: blanks only, not tabs or other white space.
QString trimBlanks(const QString& s) {
    qsizetype from = 0, to = s.size();
    while (from < to && s[from] == u' ') ++from;
    while (to > from && s[to - 1] == u' ') --to;
    return s.mid(from, to - from);
}

// The first n characters, lower-cased, equal the command.
bool startsAs(const QString& line, const char* command) {
    const QLatin1StringView cmd(command);
    return line.size() >= cmd.size() && line.left(cmd.size()).toLower() == cmd;
}

// A /random bound: a plain decimal number, rounded down. Nothing for other text, missing fields
// included (the old leading-number reading made "/random" alone roll 0 to 0); such a roll is
// answered with how to type it.
std::optional<double> randomBound(const QString& field) {
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    if (!number.match(field).hasMatch()) return std::nullopt;
    return std::floor(field.toDouble());
}

ChatCommand parseRandom(const Fields& f) {
    ChatCommand c;
    c.row = ChatRow::Random;
    c.keep = true;
    const std::optional<double> low = randomBound(f[1]);
    const std::optional<double> high = randomBound(f[2]);
    if (!low || !high) {
        c.notice = QString::fromLatin1(kRandomRollUsage);
        return c;
    }
    if (*low < 0) return c;
    if (*high > kRandomMaximum) {
        c.notice = kRandomTooHigh;
        return c;
    }
    if (*low > *high) {
        c.notice = kRandomOrder;
        return c;
    }
    c.keep = false;
    c.send = QStringLiteral("RANDOM ") + QString::number(qint64(*low)) + u' ' + QString::number(qint64(*high));
    return c;
}

// The text after the command word, the target and their blanks.
QString afterTarget(const QString& line, const Fields& f) { return line.mid(f[0].size() + f[1].size() + 2); }

QString blanksEncoded(QString text) { return ReplaceCase(text, {QStringLiteral(" "), QStringLiteral("%20")}); }

frmchildchat* lobbyWindow() { return ifLoaded<frmchildchat>(); }

bool awayIsOn() {
    frmchildchat* lobby = lobbyWindow();
    return lobby && lobby->mnuawayon->isChecked();
}

void notice(const QString& label, const QString& text, long colour) { PrintChatLine(label, QString(), text, colour); }

// "/away <reason>": the lobby's away mode, announced to the room.
void goAway(const QString& reason, QLineEdit* input) {
    if (awayIsOn() || reason.isEmpty() || reason == QLatin1String("2")) return;
    if (reason.size() > kMaxAwayReason) {
        MsgBox(kAwayTooLong, vb::Information, QStringLiteral("Error"));
        return;
    }
    const QString file = GetIniFile();
    resumeNext([&] { WriteIni(QStringLiteral("Away"), QStringLiteral("Status"), QStringLiteral("1"), file); });
    resumeNext([&] { WriteIni(QStringLiteral("Away"), QStringLiteral("Reason"), blanksEncoded(reason), file); });
    resumeNext([&] { notice(QStringLiteral("Away"), QStringLiteral("You are now on away. Reason: ") + reason, ChatColour::Red); });
    resumeNext([&] { send(QStringLiteral("CHAT /me is away.  Reason: ") + reason); });
    resumeNext([&] {
        frmchildchat* lobby = form<frmchildchat>();
        lobby->mnuawayoff->setChecked(false);
        lobby->mnuawayon->setChecked(true);
    });
    resumeNext([&] { PlaySound(4); });
    if (input) input->clear();
    resumeNext([&] { send(QStringLiteral("AWAY 1")); });
}

// "/log", "/sound", "/join": a per-user switch with a notice for each state.
void setSwitch(const QString& word, const QString& section, const QString& key, const QString& offText, const QString& onText) {
    QString value, text;
    if (word == QLatin1String("off")) {
        value = QStringLiteral("0");
        text = offText;
    } else if (word == QLatin1String("on")) {
        value = QStringLiteral("1");
        text = onText;
    } else {
        return;
    }
    WriteIni(section, key, value, GetIniFile());
    notice(QStringLiteral("log"), text, ChatColour::Red);
}

// The sender's own copy of a /tell in the window's log.
void echoTell(QAbstractScrollArea* log, const QString& target, const QString& message) {
    if (log == (lobbyWindow() ? lobbyWindow()->chatin : nullptr)) TrimLobbyLogIfLong();
    ChatRuns out(log);
    out.font(GetSkinValue(QStringLiteral("main"), QStringLiteral("fontface")),
             vbVal(GetSkinValue(QStringLiteral("main"), QStringLiteral("fontsize"))));
    out.run(QStringLiteral("You"), kOlive, true);
    out.run(QStringLiteral(" tell ") + target + QStringLiteral(", \" ") + message + QStringLiteral(" \"\n"), kOlive);
}

void sendChat(const QString& line) {
    if (!IsWithheldChat(line)) send(QStringLiteral("CHAT ") + line);
}

// Carries out a recognised command; false when the row keeps the text and skips the tail.
bool perform(const ChatCommand& c, QString& line, QLineEdit* input, QAbstractScrollArea* log) {
    if (c.keep) {
        if (!c.notice.isEmpty()) notice(QStringLiteral("error"), c.notice, ChatColour::Red);
        return false;
    }
    switch (c.row) {
        case ChatRow::Ignored: return false;
        case ChatRow::Away:
            goAway(c.text, input);
            return false;
        case ChatRow::Mod:
        case ChatRow::Random: send(c.send); return true;
        case ChatRow::Tell:
            if (!UserExists(c.target)) return false;
            if (log) resumeNext([&] { echoTell(log, c.target, c.text); });
            send(c.send);
            return true;
        case ChatRow::Log:
            setSwitch(c.text, QStringLiteral("Options"), QStringLiteral("Chatlog"), QStringLiteral("Chat Logging Off"),
                      QStringLiteral("Chat Logging On"));
            return true;
        case ChatRow::Sound:
            setSwitch(c.text, QStringLiteral("Options"), QStringLiteral("Sounds"), QStringLiteral("Sounds Off"),
                      QStringLiteral("Sounds On"));
            return true;
        case ChatRow::Join:
            setSwitch(c.text, QStringLiteral("Chat"), QStringLiteral("ShowJoinPart"), QStringLiteral("Join/Part Messages Off"),
                      QStringLiteral("Join/Part Messages On"));
            return true;
        case ChatRow::GuildDisband:
            send(QStringLiteral("GUILDDISBAND"));
            notice(QStringLiteral("disband"), QStringLiteral("You have disbanded from your guild"), ChatColour::Yellow);
            unload<frmguildchat>();
            return true;
        case ChatRow::Music: {
            const QString title = nowPlaying();
            if (title.isEmpty()) {
                notice(QStringLiteral("Music"), kNoMusic, ChatColour::Yellow);
                return false;
            }
            if (ReadIni(QStringLiteral("Options"), QStringLiteral("Music"), GetIniFile()) == QLatin1String("1")) {
                notice(QStringLiteral("Music"), kMusicHidden, ChatColour::Yellow);
                return false;
            }
            line = QStringLiteral("/me is listening to * ") + title + QStringLiteral(" * ");
            sendChat(line);
            return true;
        }
        case ChatRow::Moderation: {
            // The player is looked up even when no reason follows, so a wrong name is reported.
            const bool known = UserExists(c.target);
            if (!known || c.text.isEmpty()) return false;
            // Only a logged-in administrator's client sends them.
            if (ClientConfig().AdminStatus()) send(c.send);
            // Nor does the line go out as chat: it holds its command word (IsWithheldChat).
            return true;
        }
        case ChatRow::Chat: sendChat(line); return true;
    }
    return false;
}
}  // namespace

const char kRandomRollUsage[] =
    "To randomly roll dice, type /random min max where min is the minimum roll (must be greater than zero) and max is "
    "the maximum roll (must be less than 32000)";

QString CollapseBlanks(const QString& line) {
    QString out;
    out.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i) {
        out += line[i];
        if (line[i] == u' ' && i + 1 < line.size() && line[i + 1] == u' ') ++i;
    }
    return out;
}

bool IsWithheldChat(const QString& line) {
    for (const char* word : {"/warn", "/kick", "/ban", "/admin", "/where"})
        if (line.contains(QLatin1StringView(word))) return true;
    return false;
}

ChatCommand ParseChatLine(const QString& line) {
    const Fields f = Divide(line, QStringLiteral(" "));
    ChatCommand c;
    const QString bare = trimBlanks(line);
    if (bare == QLatin1String("/ooc") || bare == QLatin1String("/shout") || bare == QLatin1String("/auction")) {
        c.row = ChatRow::Ignored;
        c.keep = true;
        return c;
    }
    if (startsAs(line, "/away")) {
        c.row = ChatRow::Away;
        c.text = line.mid(6);
        return c;
    }
    if (startsAs(line, "/mod")) {
        c.row = ChatRow::Mod;
        QString arg = f[1];
        if (arg.isEmpty()) {
            c.keep = true;
            return c;
        }
        if (arg == QLatin1String("off")) arg = QStringLiteral("0");
        else if (arg == QLatin1String("on")) arg = QStringLiteral("1");
        c.send = QStringLiteral("ADMINMOD ") + arg;
        return c;
    }
    if (startsAs(line, "/random")) return parseRandom(f);
    if (startsAs(line, "/tell") || startsAs(line, "/msg")) {
        c.row = ChatRow::Tell;
        c.target = f[1];
        c.text = afterTarget(line, f);
        // A line with no name (a blank too many after the command) names nobody.
        if (c.target.isEmpty() || c.text.isEmpty()) {
            c.keep = true;
            return c;
        }
        // The message is one field of the line: its blanks travel as "%20".
        c.send = QStringLiteral("PM ") + c.target + u' ' + blanksEncoded(c.text);
        return c;
    }
    const auto setting = [&](ChatRow row) {
        c.row = row;
        c.text = f[1];
        return c;
    };
    if (startsAs(line, "/log")) return setting(ChatRow::Log);
    if (startsAs(line, "/sound")) return setting(ChatRow::Sound);
    if (startsAs(line, "/join")) return setting(ChatRow::Join);
    if (startsAs(line, "/guilddisband")) {
        c.row = ChatRow::GuildDisband;
        return c;
    }
    if (f[0] == QLatin1String("/music")) {
        c.row = ChatRow::Music;
        return c;
    }
    static const std::pair<const char*, const char*> moderation[] = {
        {"/warn", "ADMINWARN "}, {"/kick", "ADMINKICK "}, {"/ban", "ADMINBAN "}};
    for (const auto& [word, keyword] : moderation) {
        if (f[0] != QLatin1String(word)) continue;
        c.row = ChatRow::Moderation;
        c.target = f[1];
        c.text = afterTarget(line, f);
        c.keep = c.target.isEmpty();
        // The reason is one field of the line: its blanks travel as "%20". Without a reason the
        // player is still looked up, then nothing is sent.
        if (!c.keep && !c.text.isEmpty()) c.send = QLatin1String(keyword) + c.target + u' ' + blanksEncoded(c.text);
        return c;
    }
    if (!IsWithheldChat(line)) c.send = QStringLiteral("CHAT ") + line;
    return c;
}

void ChatKeyPress(QWidget* form, int16_t& key, const QString& prefix, const QString& suffix) {
    // The window may be unloaded by what a command does (the flood kick ends the client).
    QPointer<QWidget> window(form);
    const auto input = [&]() -> QLineEdit* {
        return window ? window->findChild<QLineEdit*>(QStringLiteral("chatout")) : nullptr;
    };
    const auto log = [&]() -> QAbstractScrollArea* {
        return window ? window->findChild<QAbstractScrollArea*>(QStringLiteral("chatin")) : nullptr;
    };

    // A failing step is passed over; nothing here reaches the player as an error.
    shielded("ChatKeyPress", [&] {
        QString line = prefix + (input() ? input()->text() : QString()) + suffix;

        if (key == 1) {
            if (QTextDocument* l = chatDocument(log())) l->clear();
            return;
        }
        if (key == 96 && line.isEmpty()) {
            key = 0;
            if (!LastPMSender.isEmpty()) {
                if (QLineEdit* in = input()) in->setText(QStringLiteral("/msg ") + LastPMSender + u' ');
            } else {
                resumeNext([&] { notice(QStringLiteral("PM"), kNoPM, ChatColour::Yellow); });
            }
            return;
        }
        if (line.contains(u'\r') || trimBlanks(line).isEmpty()) return;
        if (key == 22) key = 32;
        if (key != 13 && key != 10) return;

        line = CollapseBlanks(line);
        key = 0;
        setTypingColour(log(), ChatColour::White);

        if (!clsText().CheckString(line)) {
            resumeNext([&] { PrintChatLine(QStringLiteral("Chat"), QString(), kInvalidCharacters, ChatColour::Red); });
            if (QLineEdit* in = input()) in->setFocus();
            return;
        }

        bool tail = false;
        resumeNext([&] { tail = perform(ParseChatLine(line), line, input(), log()); });
        if (!tail) return;

        resumeNext([&] { FloodCheck(line); });
        if (services().lifecycle->ending()) return;
        resumeNext([&] {
            if (frmchildchat* lobby = lobbyWindow()) lobby->back_away();
        });
        if (QLineEdit* in = input()) in->clear();
    });
}

void FloodCheck(const QString& line) {
    Q_UNUSED(line);
    ++FloodCount;
    if (FloodCount == kFloodLimit && !FloodWarned) {
        MsgBox(kFloodWarning, vb::Critical, QStringLiteral("Flooding"));
        FloodWarned = true;
        FloodCount = 0;
        return;
    }
    if (FloodCount == kFloodLimit) {
        MsgBox(kFloodKick, vb::Critical, QStringLiteral("Flooding"));
        send(QStringLiteral("CHAT /me has been kicked for flooding."));
        frmCon* con = ifLoaded<frmCon>();
        if (con && con->Winsock->connected()) {
            // Leaving on purpose: the server's close must not start a reconnect.
            ConnectionState = 2;
            con->Winsock->Tag = QStringLiteral("out");
            con->SendToServer(QStringLiteral("QUIT ") + QString::number(AdminMinutes));
            DoEvents();
            // The quit line has gone out; closed now, the lobby's exit steps do not send another.
            if (frmCon* still = ifLoaded<frmCon>()) still->Winsock->Close();
        }
        ShutDown();
        return;
    }
    if (frmchildchat* lobby = lobbyWindow())
        if (!lobby->floodtimers->isActive()) lobby->floodtimers->start();
}

bool UserExists(const QString& name) {
    if (frmchildchat* lobby = lobbyWindow()) {
        // An empty name would be found in every entry.
        for (int i = 0; !name.isEmpty() && i < lobby->playerlist->topLevelItemCount(); ++i)
            if (lobby->playerlist->topLevelItem(i)->text(0).contains(name)) return true;
    }
    if (frmCon* con = ifLoaded<frmCon>()) con->AddText(QStringLiteral("--> ") + name + QStringLiteral(" does not exist."), ChatColour::Yellow);
    return false;
}

void setNowPlayingSource(std::function<QString()> source) { nowPlayingSource() = std::move(source); }
