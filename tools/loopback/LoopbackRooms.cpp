#include "tools/loopback/LoopbackRooms.h"

#include "app/modText.h"
#include "tools/loopback/LoopbackData.h"

#include <QTcpSocket>
#include <QTimer>

namespace {
constexpr int kTableCount = 50;
const QString kBlank = QStringLiteral(" ");
const QString kJoin = QStringLiteral("@@");
// How long a resident takes to sit down at a table a client created; the residents who fill a
// four-seat room come one after another, this far apart.
constexpr int kResidentJoinMs = 1500;
constexpr int kNextResidentMs = 750;
// How long both seats show ready before the game starts.
constexpr int kStartMs = 1000;

QString encoded(QString text) { return text.replace(u' ', QStringLiteral("%20")); }

// The kinds whose games the loopback plays against a resident.
bool playable(const QString& kind) {
    return kind == QLatin1String("cv") || kind == QLatin1String("ocv") || kind == QLatin1String("team") ||
           kind == QLatin1String("cvm") || kind == QLatin1String("chinchin") || kind == QLatin1String("ob") ||
           kind == QLatin1String("cardwars");
}

// The kind a create line asks for, as the rooms know it.
QString kindOfCreate(const Fields& f) {
    if (f[0] == QLatin1String("TABLECREATE2")) return QStringLiteral("ocv");
    if (f[0] == QLatin1String("TABLECREATE3")) return QStringLiteral("ob");
    if (f[0] == QLatin1String("TABLECREATE4")) return QStringLiteral("team");
    if (f[1] == QLatin1String("MEMORY")) return QStringLiteral("cvm");
    if (f[1] == QLatin1String("CHINCHIN")) return QStringLiteral("chinchin");
    if (f[1] == QLatin1String("CARDWARS")) return QStringLiteral("cardwars");
    return QStringLiteral("cv");
}
}  // namespace

LoopbackRooms::LoopbackRooms(Send send, Broadcast broadcast, QObject* parent)
    : QObject(parent), m_send(std::move(send)), m_broadcast(std::move(broadcast)), m_omni(m_send), m_duels(m_send), m_cardwar(m_send) {
    const auto gone = [this](int number) {
        m_tables.removeIf([number](const Table& x) { return x.number == number; });
        m_broadcast(QStringLiteral("REMOVETABLE ") + QString::number(number));
    };
    connect(&m_omni, &LoopbackOmni::finished, this, gone);
    connect(&m_duels, &LoopbackDuels::finished, this, gone);
    connect(&m_cardwar, &LoopbackCardWar::finished, this, gone);
    // The residents' tables, as the table list announces them.
    for (const QString& line : LoopbackData::tables()) {
        const Fields f = Divide(line, kBlank);
        const QString record = line.mid(f[0].size() + f[1].size() + f[2].size() + f[3].size() + 4).trimmed();
        const Fields parts = Divide(record, kJoin);
        Table t;
        t.number = f[1].toInt();
        t.resident = true;
        t.kind = QStringLiteral("cv");
        t.rules = parts[0];
        t.comment = QString(parts[1]).replace(QStringLiteral("%20"), kBlank);
        t.decks = parts[2];
        t.wager = parts[3].isEmpty() ? QStringLiteral("0") : parts[3];
        t.seats.resize(2);
        t.seats[0].nick = f[2];
        t.seats[1].nick = f[3];
        m_tables << t;
    }
}

QStringList LoopbackRooms::decks() {
    return {QStringLiteral("Ashfall"), QStringLiteral("Hollowroot"), QStringLiteral("Stormwake"), QStringLiteral("Standard")};
}

QStringList LoopbackRooms::tableLines() const {
    QStringList out;
    for (const Table& t : m_tables) out << tableLine(t);
    return out;
}

LoopbackRooms::Table* LoopbackRooms::tableOf(QTcpSocket* s, int* seat) {
    for (Table& t : m_tables)
        for (int i = 0; i < t.seats.size(); ++i)
            if (t.seats[i].socket == s) {
                if (seat) *seat = i;
                return &t;
            }
    return nullptr;
}

LoopbackRooms::Table* LoopbackRooms::table(int number) {
    for (Table& t : m_tables)
        if (t.number == number) return &t;
    return nullptr;
}

int LoopbackRooms::freeNumber() const {
    for (int n = 1; n <= kTableCount; ++n) {
        bool used = false;
        for (const Table& t : m_tables) used = used || t.number == n;
        if (!used) return n;
    }
    return 0;
}

bool LoopbackRooms::handle(QTcpSocket* s, const QString& nick, const QString& line) {
    if (m_omni.handle(s, line) || m_duels.handle(s, line) || m_cardwar.handle(s, line)) return true;
    const Fields f = Divide(line, kBlank);
    const QString& k = f[0];
    if (k.startsWith(QLatin1String("TABLECREATE"))) {
        create(s, nick, kindOfCreate(f), f[1].startsWith(QLatin1String("OMNICV")) ? f[1] : QStringLiteral("OMNICV_RANDOM"),
               f[2].isEmpty() ? 5 : f[2].toInt());
        return true;
    }
    if (k == QLatin1String("TABLEJOIN")) {
        join(s, nick, f[1].toInt());
        return true;
    }
    if (k == QLatin1String("TABLEINFO")) {
        for (const Table& t : m_tables)
            if (t.number == f[1].toInt()) m_send(s, tableLine(t, QStringLiteral("TABLEINFO")));
        return true;
    }
    if (k == QLatin1String("TABLEJACKPOTCHANGE")) {
        m_send(s, QStringLiteral("TABLEJACKPOTCHANGE 1 ") + (f[1] == QLatin1String("2") ? QStringLiteral("2") : QStringLiteral("1")));
        return true;
    }
    if (k.startsWith(QLatin1String("CV_")) || k == QLatin1String("GAMECHAT")) {
        Table* t = tableOf(s);
        if (t && t->match) t->match->handle(line);
        return true;
    }
    const QStringList roomWords = {"CHANGERULE", "CHANGEWAGER", "GAMEREADY", "CHALLENGECHATS", "TABLECLOSE",
                                   "TEAM_CHANGERULE", "TEAM_READY", "TEAM_CHANGE", "CHALLENGECHAT", "TEAM_CLOSE"};
    if (!roomWords.contains(k)) return false;
    int seat = 0;
    Table* t = tableOf(s, &seat);
    if (!t || t->match || t->playing) return true;  // not seated, or playing: nothing to answer
    if (k == QLatin1String("CHANGERULE") || k == QLatin1String("TEAM_CHANGERULE")) {
        changeRule(*t, seat, line);
    } else if (k == QLatin1String("CHANGEWAGER")) {
        if (seat == 0) t->wager = QString::number(qMax(0.0, f[1].toDouble()));
        sendRoom(*t);
        m_broadcast(tableLine(*t));
    } else if (k == QLatin1String("GAMEREADY") || k == QLatin1String("TEAM_READY")) {
        ready(*t, seat);
    } else if (k == QLatin1String("CHALLENGECHATS") || k == QLatin1String("CHALLENGECHAT")) {
        chat(*t, seat, line.mid(k.size() + 1));
    } else if (k == QLatin1String("TEAM_CHANGE")) {
        changeSides(*t, seat);
    } else {
        close(*t, seat);
    }
    return true;
}

void LoopbackRooms::create(QTcpSocket* s, const QString& nick, const QString& kind, const QString& deckType, int blocks) {
    const int number = freeNumber();
    if (number == 0 || tableOf(s)) {
        m_send(s, QStringLiteral("NOTABLE"));
        return;
    }
    Table t;
    t.number = number;
    t.kind = kind;
    t.deckType = deckType;
    t.blocks = blocks;
    t.decks = QStringLiteral("Standard");
    t.rules = kind == QLatin1String("ob") ? QStringLiteral("60 75 20") : QStringList(40, QStringLiteral("0")).join(kBlank);
    t.seats.resize(kind == QLatin1String("team") ? 4 : 2);
    t.seats[0].nick = nick;
    t.seats[0].socket = s;
    m_tables << t;
    sendRoom(m_tables.last());
    m_broadcast(tableLine(t));
    // Residents come to play, so that the room has someone to talk to and to kick; the team game
    // needs three of them.
    const int residents = kind == QLatin1String("team") ? 3 : 1;
    for (int i = 0; i < residents; ++i)
        QTimer::singleShot(kResidentJoinMs + i * kNextResidentMs, this, [this, number] { sitResident(number); });
}

void LoopbackRooms::sitResident(int number) {
    Table* t = table(number);
    if (!t || t->resident || t->playing) return;
    const bool team = t->kind == QLatin1String("team");
    // Bree takes a two-seat table; the team game seats Bree, Nyx and Orrin as the seats come.
    int seat = -1;
    for (int i = t->seats.size() - 1; i >= 1 - int(team); --i)
        if (t->seats[i].nick.isEmpty()) seat = i;
    if (seat < 0) return;
    QString nick;
    const QList<int> order = team ? QList<int>{2, 0, 1} : QList<int>{2};
    for (int r : order) {
        const QString candidate = LoopbackData::residents().value(r).nick;
        if (std::none_of(t->seats.begin(), t->seats.end(), [&](const Seat& s) { return s.nick == candidate; })) {
            nick = candidate;
            break;
        }
    }
    if (nick.isEmpty()) return;
    t->seats[seat].nick = nick;
    sendRoom(*t);
    if (team)
        toSeated(*t, QStringLiteral("CHALLENGECHAT *** ") + nick + QStringLiteral(" has joined the table."));
    else
        toSeated(*t, QStringLiteral("CHALLENGECHATS ") + nick + QStringLiteral(" Hello! Set the rules you like; I am ready when you are."));
    m_broadcast(tableLine(*t));
    // A player who is ready already finds the resident ready too.
    const bool clientReady = std::any_of(t->seats.begin(), t->seats.end(), [](const Seat& s) { return s.socket && s.ready; });
    if (!clientReady) return;
    t->seats[seat].ready = true;
    toSeated(*t, readyLine(*t, seat));
    tryStart(*t);
}

void LoopbackRooms::changeSides(Table& t, int seat) {
    // To the first free seat of the other pair; in a full room the player trades places with the
    // first resident there.
    const int from = seat < 2 ? 2 : 0;
    int to = -1;
    for (int i = from; i < from + 2 && to < 0; ++i)
        if (t.seats[i].nick.isEmpty()) to = i;
    for (int i = from; i < from + 2 && to < 0; ++i)
        if (!t.seats[i].socket) to = i;
    if (to < 0) {
        sendRoom(t);
        return;
    }
    std::swap(t.seats[to], t.seats[seat]);
    sendRoom(t);
    // The ready flags travel with the players.
    for (int i : {seat, to})
        if (!t.seats[i].nick.isEmpty()) toSeated(t, readyLine(t, i));
    m_broadcast(tableLine(t));
}

void LoopbackRooms::join(QTcpSocket* s, const QString& nick, int number) {
    for (Table& t : m_tables) {
        if (t.number != number || tableOf(s)) continue;
        for (Seat& seat : t.seats) {
            if (!seat.nick.isEmpty()) continue;
            seat.nick = nick;
            seat.socket = s;
            sendRoom(t);
            m_broadcast(tableLine(t));
            toSeated(t, QStringLiteral("CHALLENGECHATS *** ") + nick + QStringLiteral(" has joined the table."));
            return;
        }
    }
    // A full or unknown table: the waiting box closes.
    m_send(s, QStringLiteral("CANCELBOX"));
}

void LoopbackRooms::changeRule(Table& t, int seat, const QString& line) {
    const Fields f = Divide(line, kBlank);
    if (f[0] == QLatin1String("TEAM_CHANGERULE")) {
        if (seat != 0) return;
        if (f[1] == QLatin1String("2"))
            t.deckType = t.deckType == QLatin1String("OMNICV_RANDOM") ? QStringLiteral("OMNICV_PLAYER") : QStringLiteral("OMNICV_RANDOM");
        else
            t.blocks = t.blocks >= 7 ? 1 : t.blocks + 2;
    } else if (f[1] == QLatin1String("CHINCHIN")) {
        // Each player sets a dice wager of his own.
        t.diceWagers[seat == 0 ? 0 : 1] = f[2];
    } else if (seat != 0) {
        return;
    } else if (f[1] == QLatin1String("OCV")) {
        t.deckType = f[2];
        t.blocks = f[3].toInt();
    } else if (f[1] == QLatin1String("ORBOLT")) {
        t.rules = line.mid(QStringLiteral("CHANGERULE ORBOLT ").size());
    } else {
        // The card game's rule line: the 40 words, "@@Corvada@@", the decks.
        const QString rest = line.mid(QStringLiteral("CHANGERULE ").size());
        t.rules = rest.section(kJoin, 0, 0);
        t.decks = rest.section(kJoin, 2).trimmed();
    }
    for (Seat& s : t.seats) s.ready = false;
    sendRoom(t);
    m_broadcast(tableLine(t));
}

QString LoopbackRooms::readyLine(const Table& t, int seat) const {
    const QString keyword = t.kind == QLatin1String("team") ? QStringLiteral("CHALLENGEREADY ") : QStringLiteral("CHALLENGEREADYS ");
    return keyword + QString::number(seat + 1) + (t.seats[seat].ready ? QStringLiteral(" 1") : QStringLiteral(" 0"));
}

void LoopbackRooms::ready(Table& t, int seat) {
    t.seats[seat].ready = !t.seats[seat].ready;
    toSeated(t, readyLine(t, seat));
    // A resident answers readiness with its own, and says what the loopback cannot do.
    for (int i = 0; i < t.seats.size(); ++i) {
        Seat& other = t.seats[i];
        if (i == seat || other.nick.isEmpty() || other.socket || other.ready == t.seats[seat].ready) continue;
        other.ready = t.seats[seat].ready;
        toSeated(t, readyLine(t, i));
        if (other.ready && !playable(t.kind))
            toSeated(t, QStringLiteral("CHALLENGECHATS *** ") +
                            QStringLiteral("The loopback server starts no games of this kind: close the room when you are done."));
    }
    tryStart(t);
}

void LoopbackRooms::tryStart(Table& t) {
    if (t.kind == QLatin1String("ocv") || t.kind == QLatin1String("team")) {
        startOmni(t);
        return;
    }
    // A card war starts when the creator is ready; a resident takes a free red seat.
    if (t.kind == QLatin1String("cardwars")) {
        if (t.seats[0].socket && t.seats[0].ready && (t.seats[1].nick.isEmpty() || t.seats[1].ready)) {
            if (t.seats[1].nick.isEmpty()) t.seats[1].nick = LoopbackData::residents().value(0).nick;
            m_cardwar.start(t.seats[0].socket, t.seats[0].nick, t.seats[1].nick, t.number);
        }
        return;
    }
    if (t.kind != QLatin1String("cv")) {
        if (playable(t.kind) && t.seats[0].socket && t.seats[0].ready && t.seats[1].ready && !t.seats[1].socket)
            m_duels.start(t.seats[0].socket, t.seats[0].nick, t.seats[1].nick, t.kind, t.rules, t.number);
        return;
    }
    int clients = 0, residents = 0;
    for (const Seat& s : t.seats) {
        if (s.nick.isEmpty() || !s.ready) return;
        (s.socket ? clients : residents) += 1;
    }
    if (clients != 1 || residents != 1) {
        toSeated(t, QStringLiteral("CHALLENGECHATS *** The loopback server plays its residents only: close the room when you are done."));
        return;
    }
    // A moment to see both seats ready before the room gives way to the game.
    const int number = t.number;
    QTimer::singleShot(kStartMs, this, [this, number] { startMatch(number); });
}

void LoopbackRooms::startMatch(int number) {
    Table* t = table(number);
    if (!t || t->match) return;
    LoopbackMatch::Setup setup;
    setup.table = number;
    for (int i = 0; i < 2; ++i) {
        const Seat& s = t->seats[i];
        if (!s.ready || s.nick.isEmpty()) return;  // someone left or changed his mind meanwhile
        if (s.socket) {
            setup.nick = s.nick;
            setup.clientSide = i + 1;
        } else {
            setup.resident = s.nick;
            setup.residentLevel = LoopbackData::levelOf(s.nick);
        }
    }
    setup.rules = t->rules.split(kBlank);
    setup.decks = t->decks;
    QPointer<QTcpSocket> client = t->seats[setup.clientSide - 1].socket;
    t->match = new LoopbackMatch(
        setup, [this, client](const QString& line) { if (client) m_send(client, line); }, m_broadcast,
        [this, number] { matchOver(number); }, this);
    t->match->start();
}

void LoopbackRooms::matchOver(int number) {
    Table* t = table(number);
    if (!t) return;
    if (t->match) t->match->deleteLater();
    t->match = nullptr;
    if (!t->resident) {
        m_broadcast(QStringLiteral("REMOVETABLE ") + QString::number(number));
        m_tables.removeIf([number](const Table& x) { return x.number == number; });
        return;
    }
    // A resident's table stays: the client's seat comes free again.
    for (Seat& s : t->seats) {
        if (s.socket) s = Seat();
        s.ready = false;
    }
    m_broadcast(tableLine(*t));
}

int LoopbackRooms::omniClientSeat(const Table& t) {
    // One client and residents in every other seat, all of them ready.
    int client = -1;
    for (int i = 0; i < t.seats.size(); ++i) {
        const Seat& s = t.seats[i];
        if (s.nick.isEmpty() || !s.ready || (s.socket && client >= 0)) return -1;
        if (s.socket) client = i;
    }
    return client;
}

void LoopbackRooms::startOmni(Table& t) {
    if (t.playing || omniClientSeat(t) < 0) return;
    // A moment to see every seat ready before the room gives way to the game.
    const int number = t.number;
    QTimer::singleShot(kStartMs, this, [this, number] {
        Table* t = table(number);
        if (!t || t->playing) return;
        const int c = omniClientSeat(*t);
        if (c < 0) return;  // someone left or changed his mind meanwhile
        t->playing = true;
        // The others as the game takes them: the partner, then the two of the other pair.
        QStringList others;
        if (t->kind == QLatin1String("team"))
            for (int i : {c ^ 1, c < 2 ? 2 : 0, c < 2 ? 3 : 1}) others << t->seats[i].nick;
        else
            others << t->seats[1 - c].nick;
        m_omni.start(t->seats[c].socket, t->seats[c].nick, others, t->kind == QLatin1String("team"), t->blocks, number);
    });
}

void LoopbackRooms::chat(Table& t, int seat, const QString& text) {
    const bool team = t.kind == QLatin1String("team");
    if (!team && seat == 0 && text == QLatin1String("/kick 2")) {
        Seat kicked = t.seats[1];
        if (kicked.nick.isEmpty()) return;
        t.seats[1] = Seat();
        if (kicked.socket) m_send(kicked.socket, QStringLiteral("CHALLENGEREMOVES 5"));
        toSeated(t, QStringLiteral("CHALLENGEREMOVES 2"));
        toSeated(t, QStringLiteral("CHALLENGECHATS *** ") + kicked.nick + QStringLiteral(" was removed from the table."));
        m_broadcast(tableLine(t));
        return;
    }
    toSeated(t, (team ? QStringLiteral("CHALLENGECHAT ") : QStringLiteral("CHALLENGECHATS ")) + t.seats[seat].nick + u' ' + text);
}

void LoopbackRooms::close(Table& t, int seat) {
    const bool team = t.kind == QLatin1String("team");
    const QString removal = team ? QStringLiteral("CHALLENGEREMOVE ") : QStringLiteral("CHALLENGEREMOVES ");
    const bool lastClient = std::none_of(t.seats.begin(), t.seats.end(), [&](const Seat& s) { return s.socket && &s != &t.seats[seat]; });
    if (!t.resident && (seat == 0 || lastClient)) {
        // The creator leaves, or the last player among residents: the table goes.
        t.seats[seat] = Seat();
        toSeated(t, removal + QStringLiteral("5"));
        m_broadcast(QStringLiteral("REMOVETABLE ") + QString::number(t.number));
        const int number = t.number;
        m_tables.removeIf([number](const Table& x) { return x.number == number; });
        return;
    }
    t.seats[seat] = Seat();
    toSeated(t, removal + QString::number(seat + 1));
    m_broadcast(tableLine(t));
}

void LoopbackRooms::leave(QTcpSocket* s) {
    m_omni.leave(s);
    m_duels.leave(s);
    m_cardwar.leave(s);
    int seat = 0;
    if (Table* t = tableOf(s, &seat); t && t->match) {
        m_abandoned.insert(t->seats[seat].nick);
        t->match->abandon();
        matchOver(t->number);
    }
    while (Table* t = tableOf(s, &seat)) close(*t, seat);
}

void LoopbackRooms::reconnected(QTcpSocket* s, const QString& nick) {
    // The game ended with the connection: the client still shows it and is told so.
    if (m_abandoned.remove(nick)) m_send(s, QStringLiteral("KILLMATCH"));
}

void LoopbackRooms::toSeated(const Table& t, const QString& line) {
    for (const Seat& seat : t.seats)
        if (seat.socket) m_send(seat.socket, line);
}

void LoopbackRooms::sendRoom(Table& t) {
    toSeated(t, roomLine(t));
    t.avatarShown.resize(t.seats.size());
    for (int i = 0; i < t.seats.size(); ++i)
        if (!t.seats[i].nick.isEmpty() || t.avatarShown[i]) sendAvatar(t, i);
}

void LoopbackRooms::sendAvatar(Table& t, int seat) {
    const QString keyword = t.kind == QLatin1String("team") ? QStringLiteral("CHALLENGEAVATAR ") : QStringLiteral("CHALLENGEAVATARS ");
    // A seat that has come free (a change of sides, a player gone) shows no one's avatar.
    const bool free = t.seats[seat].nick.isEmpty();
    toSeated(t, keyword + QString::number(seat + 1) + u' ' + (free ? QStringLiteral("000 000 000 f") : LoopbackData::avatarOf(t.seats[seat].nick)));
    t.avatarShown.resize(t.seats.size());
    t.avatarShown[seat] = !free;
}

QString LoopbackRooms::ruleWords(const Table& t) const {
    if (t.kind == QLatin1String("cv")) return t.rules + QStringLiteral("@@Corvada@@") + t.decks;
    if (t.kind == QLatin1String("cvm")) return QStringLiteral("MEMORY");
    if (t.kind == QLatin1String("cardwars")) return QStringLiteral("CARDWARS");
    if (t.kind == QLatin1String("chinchin")) return QStringLiteral("CHINCHIN ") + t.diceWagers.join(kBlank) + kJoin;
    if (t.kind == QLatin1String("ob")) return QStringLiteral("ORBOLT ") + t.rules + kJoin;
    return t.deckType + kJoin + QString::number(t.blocks);
}

QString LoopbackRooms::roomLine(const Table& t) const {
    if (t.kind == QLatin1String("team")) {
        QStringList names;
        for (const Seat& s : t.seats) names << s.nick;
        return QStringLiteral("CHALLENGEBOX ") + QString::number(t.number) + u' ' + names.join(kBlank) + u' ' + t.deckType + u' ' +
               QString::number(t.blocks);
    }
    return QStringLiteral("CHALLENGEBOXS ") + QString::number(t.number) + u' ' + t.seats[0].nick + u' ' + t.seats[1].nick + u' ' +
           t.wager + u' ' + encoded(ruleWords(t));
}

QString LoopbackRooms::tableLine(const Table& t, const QString& keyword) const {
    // The table list carries each game's rule text; the omni games name their deck type and blocks.
    const bool omni = t.kind == QLatin1String("ocv") || t.kind == QLatin1String("team");
    const QString rules = t.kind == QLatin1String("cv") ? t.rules
                          : omni                        ? t.deckType + u' ' + QString::number(t.blocks)
                                                        : ruleWords(t).section(kJoin, 0, 0);
    return keyword + u' ' + QString::number(t.number) + u' ' + t.seats[0].nick + u' ' + t.seats.value(1).nick + u' ' + rules + kJoin +
           encoded(t.comment) + kJoin + t.decks + kJoin + t.wager;
}
