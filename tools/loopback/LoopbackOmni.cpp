#include "tools/loopback/LoopbackOmni.h"

#include "app/modText.h"
#include "tools/loopback/LoopbackData.h"

#include <QTcpSocket>
#include <QTimer>

namespace {
// Cards both deck folders hold.
const QStringList kCards = {QStringLiteral("Gustling"),       QStringLiteral("Emberlark"),     QStringLiteral("Cinderpup"),
                            QStringLiteral("Kilnwarden"),     QStringLiteral("Tidecall Nymph"), QStringLiteral("Sparkfin Eel"),
                            QStringLiteral("Brine Skitter"),  QStringLiteral("Basalt Vigil"),   QStringLiteral("Frostmere Heron"),
                            QStringLiteral("Rimehorn Elk"),   QStringLiteral("Squall Harrier"), QStringLiteral("Thornback Boar")};
// How long a resident thinks before its move.
constexpr int kThinkMs = 1800;
// How long the last move stays on the board before the close.
constexpr int kLastMoveMs = 2000;

QString wire(QString name) { return name.replace(u' ', QStringLiteral("%20")); }

// The avatar records of the turn queue, "name::gender::background::body::head": the avatars the
// players wore in the room.
QString seatRecord(const QString& nick) {
    const QStringList a = LoopbackData::avatarOf(nick).split(u' ');  // background, head, body, prefix
    return QStringList{nick, a.value(3), a.value(0), a.value(2), a.value(1)}.join(QStringLiteral("::"));
}
}  // namespace

LoopbackOmni::LoopbackOmni(Send send, QObject* parent) : QObject(parent), m_send(std::move(send)) {}

QString LoopbackOmni::k(const char* omni, const char* team) const { return QString::fromLatin1(m_team ? team : omni); }

QString LoopbackOmni::drawCard() { return kCards[(m_serial++ * 7 + 3) % kCards.size()]; }

void LoopbackOmni::start(QTcpSocket* client, const QString& nick, const QStringList& others, bool team, int blocks, int table) {
    m_client = client;
    m_nick = nick;
    m_team = team;
    m_table = table;
    m_running = true;
    m_later.drop();
    m_board = {};
    // The team game's turn order runs blue, red, blue, red; the client and its partner are blue.
    m_seats = team ? QStringList{nick, others.value(1), others.value(0), others.value(2)} : QStringList{nick, others.value(0)};
    m_turn = 0;
    m_send(client, team ? QStringLiteral("TEAM_OCVSTARTER 1") : QStringLiteral("OCVSTARTER 1"));
    if (team) m_send(client, QStringLiteral("TEAM_OCVCOLOR blue"));
    for (int b = 0, cell = 6; b < blocks; ++b, cell = (cell + 7) % 25) {
        m_board[cell].colour = QStringLiteral("#");
        m_send(client, k("OCVBLOCK ", "TEAM_OMNIBLOCK ") + QString::number(cell));
    }
    m_current = drawCard();
    m_next = drawCard();
    if (team) {
        sendQueue(true);
        clientTurn();
        m_send(client, QStringLiteral("TEAM_GAMECHAT ") + m_seats[2] + QStringLiteral(" /team good luck, partner"));
    } else {
        deal();
    }
}

void LoopbackOmni::clientTurn() {
    m_send(m_client, k("OCVYOURTURN", "TEAM_OCVYOURTURN"));
    // The team turn starts by replaying the other seats' placements, and each of them empties the
    // player's hand slot: the hand is dealt after it, so that the card to play shows.
    if (m_team) deal();
}

void LoopbackOmni::deal() { m_send(m_client, k("OCVCARDDRAW ", "TEAM_OCVCARDDRAW ") + wire(m_current) + QStringLiteral(".jpg ") + wire(m_next) + QStringLiteral(".jpg")); }

void LoopbackOmni::sendQueue(bool now) {
    QStringList records;
    for (int i = 0; i < 4; ++i) {
        const int seat = (m_turn + i) % 4;
        records << seatRecord(m_seats[seat]);
    }
    m_send(m_client, QStringLiteral("TEAM_QUEUE ") + records.join(u' ') + (now ? QStringLiteral(" 1") : QStringLiteral(" 0")));
}

int LoopbackOmni::freeCell() const {
    // The residents like the middle of the board.
    static const int order[] = {12, 7, 11, 13, 17, 6, 8, 16, 18, 2, 10, 14, 22, 1, 3, 5, 9, 15, 19, 21, 23, 0, 4, 20, 24};
    for (int c : order)
        if (m_board[c].colour.isEmpty()) return c;
    return -1;
}

void LoopbackOmni::place(int cell, const QString& card, const QString& colour, int seat) {
    m_board[cell] = {card, colour};
    const bool own = seat == 0;
    if (m_team) {
        if (!own) m_send(m_client, QStringLiteral("TEAM_OCVPLACEDCARD %1 %2 %3").arg(cell).arg(wire(card), colour));
    } else {
        m_send(m_client, QStringLiteral("OCVPLACEDAT %1").arg(cell));
        if (!own) m_send(m_client, QStringLiteral("OCVPLACEDCARD %1 %2").arg(cell).arg(wire(card)));
    }
    const QString colourStep = colour == QLatin1String("blue") ? k("OCVBLUECARD", "TEAM_OCVBLUECARD") : k("OCVREDCARD", "TEAM_OCVREDCARD");
    m_send(m_client, colourStep + QStringLiteral(" %1 %2").arg(cell).arg(wire(card)));
    // Every other placement captures the weaker neighbours of the other colour.
    const int row = cell / 5, col = cell % 5;
    const std::pair<int, QString> around[] = {{row > 0 ? cell - 5 : -1, QStringLiteral("2")}, {row < 4 ? cell + 5 : -1, QStringLiteral("2")},
                                              {col > 0 ? cell - 1 : -1, QStringLiteral("1")}, {col < 4 ? cell + 1 : -1, QStringLiteral("1")}};
    int captured = 0;
    if (++m_serial % 2 == 0) {
        for (const auto& [n, direction] : around) {
            if (n < 0 || m_board[n].colour.isEmpty() || m_board[n].colour == QLatin1String("#") || m_board[n].colour == colour) continue;
            m_board[n].colour = colour;
            m_send(m_client, k("OCVCARDFLIP ", "TEAM_OCVCARDFLIP ") + QString::number(n) + u' ' + direction + u' ' + colour);
            m_send(m_client, colourStep + QStringLiteral(" %1 %2").arg(n).arg(wire(m_board[n].card)));
            ++captured;
        }
    }
    if (captured >= 2) m_send(m_client, k("OCVSAME", "TEAM_OCVSAME"));
    else if (captured == 1 && m_serial % 3 == 0) m_send(m_client, k("OCVCOMBO", "TEAM_OCVCOMBO"));
    int blue = 0, red = 0;
    for (const Cell& c : m_board) {
        blue += c.colour == QLatin1String("blue");
        red += c.colour == QLatin1String("red");
    }
    m_send(m_client, k("OCVPOINTS ", "TEAM_OCVPOINTS ") + QString::number(blue) + u' ' + QString::number(red));
}

bool LoopbackOmni::handle(QTcpSocket* s, const QString& line) {
    const Fields f = Divide(line, QStringLiteral(" "));
    const QString& key = f[0];
    const bool mine = key.startsWith(QLatin1String("OCV")) || key.startsWith(QLatin1String("TEAM_OCV")) ||
                      key == QLatin1String("TEAM_GAMECHAT");
    if (!mine) return false;
    if (!m_running || s != m_client) return true;
    if (key == QLatin1String("OCVPLACEAT") || key == QLatin1String("TEAM_OCVPLACEAT")) {
        bool ok = false;
        const int cell = f[1].toInt(&ok);
        if (m_turn != 0 || !ok || cell < 0 || cell > 24 || !m_board[cell].colour.isEmpty()) return true;
        place(cell, m_current, QStringLiteral("blue"), 0);
        m_current = m_next;
        m_next = drawCard();
        if (!m_team) deal();
        nextTurn();
    } else if (key == QLatin1String("OCVCARDDISCARD") || key == QLatin1String("TEAM_OCVCARDDISCARD")) {
        m_current = drawCard();
        deal();
    } else if (key == QLatin1String("TEAM_GAMECHAT")) {
        const QString text = line.mid(key.size() + 1);
        const bool team = text.startsWith(QLatin1String("/team"));
        m_send(m_client, QStringLiteral("TEAM_GAMECHAT ") + m_seats[team ? 2 : 1] +
                             (team ? QStringLiteral(" /team got it") : QStringLiteral(" well played so far")));
    } else if (key == QLatin1String("OCVSURRENDER")) {
        end(QStringLiteral("surrender"));
    } else if (key == QLatin1String("OCVENDGAME") || key == QLatin1String("OCVSTALEMATE")) {
        end(QStringLiteral("request"));
    }
    return true;
}

void LoopbackOmni::nextTurn() {
    if (freeCell() < 0) {
        // The client draws queued moves at a turn line: the last one is drawn so, and the close
        // follows once it has been seen.
        m_send(m_client, k("OCVTURNOVER", "TEAM_OCVTURNOVER"));
        m_later(kLastMoveMs, [this] { end(QStringLiteral("full")); });
        return;
    }
    m_turn = (m_turn + 1) % m_seats.size();
    if (m_turn == 0) {
        // The turn queue moves on to the player with the turn's replay.
        if (m_team) sendQueue(false);
        clientTurn();
        return;
    }
    if (m_team) {
        if (m_turn == 1) m_send(m_client, QStringLiteral("TEAM_OCVTURNOVER"));
        sendQueue(false);
    } else {
        m_send(m_client, QStringLiteral("OCVTURNOVER"));
    }
    QTimer::singleShot(kThinkMs, this, [this] { residentMove(); });
}

void LoopbackOmni::residentMove() {
    if (!m_running || !m_client) return;
    const int cell = freeCell();
    if (cell < 0) return end(QStringLiteral("full"));
    // Seats 1 and 3 play red; seat 2 is the client's partner.
    const QString colour = m_team && m_turn == 2 ? QStringLiteral("blue") : QStringLiteral("red");
    place(cell, drawCard(), colour, m_turn);
    if (m_team && m_turn == 3 && m_serial % 4 == 0)
        m_send(m_client, QStringLiteral("TEAM_GAMECHAT ") + m_seats[3] + QStringLiteral(" that one hurt"));
    nextTurn();
}

void LoopbackOmni::end(const QString& why) {
    if (!m_running) return;
    m_running = false;
    int blue = 0, red = 0;
    for (const Cell& c : m_board) {
        blue += c.colour == QLatin1String("blue");
        red += c.colour == QLatin1String("red");
    }
    if (why == QLatin1String("surrender")) red = blue + 1;
    const bool won = blue >= red;
    const QString id = QString::number(++m_gameId);
    if (m_team) {
        m_send(m_client, QStringLiteral("TEAM_OCVCLOSE"));
        const QString winners = won ? m_nick + QStringLiteral(" 1 ") + m_seats[2] + QStringLiteral(" 1 ")
                                    : m_seats[1] + QStringLiteral(" 1 ") + m_seats[3] + QStringLiteral(" 1 ");
        const QString losers = won ? m_seats[1] + QStringLiteral(" 0 ") + m_seats[3] + QStringLiteral(" 0 ")
                                   : m_nick + QStringLiteral(" 0 ") + m_seats[2] + QStringLiteral(" 0 ");
        m_send(m_client, QStringLiteral("TEAM_MATCH ") + winners + losers + QString::number(qMax(blue, red)) + u' ' +
                             QString::number(qMin(blue, red)) + QStringLiteral(" 1 ") + id);
    } else {
        m_send(m_client, QStringLiteral("OCVCLOSE"));
        const QString winner = won ? m_nick : m_seats[1], loser = won ? m_seats[1] : m_nick;
        m_send(m_client, QStringLiteral("MATCH %1 10 %2 0 %3 %4 2 %5").arg(winner, loser).arg(qMax(blue, red)).arg(qMin(blue, red)).arg(id));
    }
    emit finished(m_table);
}

void LoopbackOmni::leave(QTcpSocket* s) {
    if (s == m_client) m_running = false;
}
