// The dispatcher's handlers of lobby messages: players coming and going, public chat and private
// messages (tables and match results: clsWinsock_tables.cpp; notices: clsWinsock_notices.cpp).
// Missing fields read as empty texts; no line reaches the error reporter from here.
#include "net/clsWinsock.h"

#include "admin/frmTournyHelper.h"
#include "admin/frmadmin.h"
#include "app/Deployment.h"
#include "app/ErrorHandler.h"
#include "app/modLinks.h"
#include "app/modSound.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "lobby/chatloggers.h"
#include "lobby/fancychat.h"
#include "lobby/frmMsgWind.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmguildchat.h"
#include "net/LineFields.h"
#include "net/PlayerTree.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QTreeWidget>

#include <algorithm>

using namespace lines;

namespace {
const QString kBlank = QStringLiteral(" ");

bool showJoinPart() { return setting(QStringLiteral("Chat"), QStringLiteral("ShowJoinPart")) == QLatin1String("1"); }

// Badge text and notice colour of a joining player's membership.
std::pair<QString, long> membershipBadge(QStringView membership) {
    static const std::pair<QLatin1StringView, std::pair<const char*, long>> kBadges[] = {
        {QLatin1StringView("Gold"), {"[Gold] ", 0x01D9E7}},
        {QLatin1StringView("Platnium"), {"[Platinum] ", 0xC0C0C0}},
        {QLatin1StringView("Diamond"), {"[Diamond] ", 0xFF8080}},
        {QLatin1StringView("Power%20User"), {"[Power User] ", 0x0000FF}},
        {QLatin1StringView("VIP1"), {"[VIP *] ", 0xFF6600}},
        {QLatin1StringView("VIP2"), {"[VIP **] ", 0xFF6600}},
        {QLatin1StringView("VIP3"), {"[VIP ***] ", 0xFF6600}},
        {QLatin1StringView("VIP4"), {"[VIP ****] ", 0xFF6600}},
    };
    for (const auto& [key, badge] : kBadges)
        if (membership == key) return {QString::fromLatin1(badge.first), badge.second};
    return {QString(), 0x00FF00};
}

QString staffTitle(QStringView staff) {
    if (staff == QLatin1String("1")) return QStringLiteral("Moderator");
    if (staff == QLatin1String("2") || staff == QLatin1String("3")) return QStringLiteral("GM");
    if (staff == QLatin1String("4")) return QStringLiteral("Master GM");
    return {};
}

void countPlayers(frmchildchat* lobby) { lobby->lblActive->setText(QString::number(lobby->playerlist->topLevelItemCount())); }

// Buddies are kept by nickname in config/buddy.idx.
bool isBuddy(const QString& nickname) {
    return plainName(nickname) &&
           ReadIni(QStringLiteral("Buddy"), nickname, knownClientPath(QStringLiteral("config/buddy.idx"))) == QLatin1String("1");
}
}  // namespace

// ---- Player list -----------------------------------------------------------------------------

// "NEWPLAYER staff tag bracket membership entry", blanks as "%20"; announce is false for
// "NEWPLAYER2", the silent form of the login burst.
void clsWinsock::NewPlayer(QString& line, bool announce) {
    shielded("clsWinsock::NewPlayer", [&] {
        // Only the five fields after the keyword are read; anything after the entry is dropped.
        QStringView f[6];
        DividePrefix(line, kBlank, f, 6);
        const QString entry = blanks(f[5].toString());
        if (entry.trimmed().isEmpty()) return;

        frmchildchat* lobby = form<frmchildchat>();
        const QString nickname = firstWord(entry).toString();
        if (!PlayerTreeIndex::of(lobby->playerlist)->listsIgnoringCase(nickname)) {
            auto* node = new QTreeWidgetItem(QStringList{entry});
            node->setData(0, Qt::UserRole, entry);
            lobby->playerlist->addTopLevelItem(node);
        }
        countPlayers(lobby);

        if (announce) {
            if (vbVal(setting(QStringLiteral("Chat"), QStringLiteral("ShowJoinPart"))) == 1) {
                const QString tag = blanks(f[2].toString());
                const auto [badge, colour] = membershipBadge(f[4]);
                const QString title = staffTitle(f[1]);
                QString name = entry + u'[' + f[3].toString() + u']';
                if (!title.isEmpty()) name += QStringLiteral(" (") + title + u')';
                QString text;
                if (!tag.isEmpty() && !f[4].isEmpty()) text = u'|' + tag + QStringLiteral("| ");
                PrintChatLine(QStringLiteral("Join"), name, text + badge + QStringLiteral("has JOINED Corvadex at"), colour);
            }
            PlaySound(8);
        }
        if (isBuddy(nickname)) PrintChatLine(QStringLiteral("Buddy"), entry, QStringLiteral("is online."), 0xFFFF00);
        RefreshGuildListSoon();
    });
}

// "REMPLAYER name": every entry whose first word is the name, or the name behind one marker.
void clsWinsock::RemPlayer(QString& line) {
    shielded("clsWinsock::RemPlayer", [&] {
        const qsizetype blank = line.indexOf(u' ');
        const QString name = blank < 0 ? QString() : line.mid(blank + 1);
        if (!name.isEmpty() && name != kBlank) {
            frmchildchat* lobby = form<frmchildchat>();
            PlayerTreeIndex* index = PlayerTreeIndex::of(lobby->playerlist);
            QList<QTreeWidgetItem*> leaving;
            for (const QString& word : {name, u'@' + name, u'+' + name, u'*' + name}) leaving += index->nodesOf(word);
            // Every removal says and sounds the same, so their order does not matter.
            for (QTreeWidgetItem* node : std::as_const(leaving)) {
                delete node;
                if (showJoinPart()) PrintChatLine(QStringLiteral("Part"), name, QStringLiteral("has LEFT Corvadex at"), 0x808080);
                PlaySound(9);
                lobby->lblActive->setText(vbStr(vbVal(lobby->lblActive->text()) - 1));
            }
        }
        RefreshGuildListSoon();
    });
}

// ---- Public chat -----------------------------------------------------------------------------

namespace {
// An administrator's client answers "!8ball" questions when it runs that bot.
void answerEightBall(const QString& sender) {
    const QString file = clientPath(QStringLiteral("bottxt/8ball.txt"));
    const int total = int(vbVal(ReadIni(QStringLiteral("Stats"), QStringLiteral("Total"), file)));
    if (total < 1) return;
    const int n = std::min(total, int(total * services().random->Rnd()) + 1);
    send(QStringLiteral("CHAT ") + sender + QStringLiteral(", ") +
         ReadIni(QStringLiteral("Stats"), QString::number(n), file));
}

void checkTriviaAnswer(const QString& sender, const QString& text) {
    frmadmin* admin = ifLoaded<frmadmin>();
    if (!TriviaOpen || !admin || admin->QuestionAnswer().isEmpty()) return;
    const QString answer = admin->QuestionAnswer();
    if (text.toLower() != answer.toLower()) return;
    TriviaOpen = false;
    admin->tmrTrivia->stop();
    const int16_t points = admin->TriviaPoints();
    send(QStringLiteral("CHAT (Trivia): ") + sender + QStringLiteral(" answered correctly.  Answer: ") + answer +
         QStringLiteral(" - ") + QString::number(points) + QStringLiteral(" points awarded."));
    admin->QuestionAnswer(QString());
    admin->TriviaGivePoint(sender, points);
    admin->tmrTriviaNext->start();
}

void showChatLine(frmchildchat* lobby, const QString& sender, QString text) {
    if (!text.startsWith(QLatin1String("/me "))) {
        RenderIncomingChat(sender, QString(), text, ChatColour::White, false);
        return;
    }
    text.replace(QLatin1String("***"), kBlank);
    if (settingIs(QStringLiteral("Options"), QStringLiteral("Music"), QStringLiteral("1")) &&
        text.contains(QLatin1String("/me is listening to *")))
        return;
    const QString shown = QStringLiteral("*** ") + sender + u' ' + text.mid(4);
    if (frmCon* con = ifLoaded<frmCon>())
        con->AddText(shown, ChatColour::Green);
    else
        lobby->addmsg(shown, ChatColour::Green);
}

}  // namespace

// "CHAT sender text": ignored senders are dropped (but logged), end-game requests go to an
// administrator's request list, chat bots answer, then the line is shown and its links marked.
void clsWinsock::Chat(QString& line) {
    if (ConnectionState != 1) return;
    shielded("clsWinsock::Chat", [&] {
        frmchildchat* lobby = form<frmchildchat>();
        const qsizetype blank = line.indexOf(u' ');
        const QString rest = blank < 0 ? QString() : line.mid(blank + 1);
        const qsizetype split = rest.indexOf(u' ');
        if (split <= 0) {
            if (ClientConfig().AdminStatus())
                PrintChatLine(QStringLiteral("Invalid"), QString(), rest + QStringLiteral(" has sent a chat string with invalid characters"),
                              ChatColour::Red);
            return reject("CHAT", line);
        }
        const QString sender = rest.left(split);
        const QString text = blanks(rest.mid(split + 1));

        // Trimmed first, so that the positions remembered for link marking stay valid.
        TrimLobbyLogIfLong();
        TrimLobbyLogIfLong();
        const int lobbyStart = chatLength(lobby->chatin);
        const frmguildchat* guildBefore = ifLoaded<frmguildchat>();
        const int guildStart = guildBefore ? chatLength(guildBefore->chatin) : 0;

        if (!ignored(sender)) {
            const QString command = text.left(8);
            if (command == QLatin1String("!endgame") || command == QLatin1String("!Endgame")) {
                if (ClientConfig().AdminStatus()) {
                    form<frmadmin>()->lstrequests->addItem(QStringLiteral("ENDGAME ") + sender);
                    PlaySound(11);
                }
                return;
            }
            if (ClientConfig().AdminStatus() && ChatBotOn) {
                if (text.left(6).toLower() == QLatin1String("!8ball") && ChatBotKind == QLatin1String("8ball")) answerEightBall(sender);
                checkTriviaAnswer(sender, text);
            }
            showChatLine(lobby, sender, text);
        }

        HighlightChatLinks(lobby->chatin, lobbyStart);
        frmguildchat* guild = ifLoaded<frmguildchat>();
        if (!GuildName.isEmpty() && guild && guild->isVisible()) HighlightChatLinks(guild->chatin, guild == guildBefore ? guildStart : 0);

        if (settingIs(QStringLiteral("Options"), QStringLiteral("Chatlog"), QStringLiteral("1")))
            LogMainChat(sender + QStringLiteral(">> ") + text);
    });
}

// ---- Private messages ------------------------------------------------------------------------

// "INPM sender recipient text", blanks in the text as "%20" and line breaks as "%50". A message
// without its text shows as an empty one.
void clsWinsock::InPM(QString& line) {
    shielded("clsWinsock::InPM", [&] {
        const Fields f = Divide(line, kBlank);
        const QString sender = f[1];
        if (sender.isEmpty()) return reject("INPM", line);
        if (ignored(sender)) return;

        if (settingIs(QStringLiteral("Away"), QStringLiteral("Status"), QStringLiteral("1")))
            send(QStringLiteral("PM ") + sender + u' ' + setting(QStringLiteral("Away"), QStringLiteral("Reason")));
        if (TourneyAcceptPM && TourneyAnnounced) {
            form<frmTournyHelper>()->RegisterPlayer(sender, true);
            return;
        }
        if (TourneyAnnounced)
            send(QStringLiteral("PM ") + sender + u' ' +
                 encodeBlanks(QStringLiteral("This administrator is running a tournament and cannot accept registrations.")));
        const frmadmin* admin = ifLoaded<frmadmin>();
        if (ClientConfig().AdminStatus() && admin && admin->mnuDisablePM->isChecked()) {
            send(QStringLiteral("PM ") + sender + u' ' +
                 encodeBlanks(QStringLiteral("This administrator is not accepting private messages because he/she is busy.  Please "
                                             "try addressing your question in main chat or send a ticket to our customer service "
                                             "center on our website at ") +
                              Deployment::website() + QStringLiteral("/support/")));
            return;
        }

        const QString text = blanks(f[3]).replace(QLatin1String("%50"), QLatin1String("\n"));
        // The chat input's reply key answers the last partner who wrote.
        LastPMSender = sender;
        for (int slot = 0; slot <= MsgWindowCount && slot < MsgWindows.size() && slot < MsgWindowUsed.size(); ++slot) {
            frmMsgWind* window = MsgWindows[slot];
            if (MsgWindowUsed[slot] == 0 || !window || window->Tag != sender) continue;
            window->player(sender);
            window->InsertSecondaryText(text);
            return;
        }
        const int16_t slot = NewMsgWindow();
        frmMsgWind* window = MsgWindows.value(slot);
        if (!window) return;
        window->setWindowTitle(sender + QStringLiteral(" - Private Message"));
        window->Tag = sender;
        window->player(sender);
        window->InsertSecondaryText(text);
        window->show();
    });
}
