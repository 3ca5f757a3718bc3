#include "tools/loopback/LoopbackMatch.h"

#include "app/modText.h"

#include <QMap>
#include <QTimer>
#include <algorithm>

namespace {
const QString kBlank = QStringLiteral(" ");

QString encoded(QString text) { return text.replace(u' ', QStringLiteral("%20")); }
QString decoded(QString text) { return text.replace(QStringLiteral("%20"), kBlank); }
QString joinedEncoded(const QStringList& names) {
    QStringList out;
    for (const QString& n : names) out << encoded(n);
    return out.join(kBlank);
}
QString colour(int side) { return side == 1 ? QStringLiteral("blue") : QStringLiteral("red"); }
int bounded(int n) { return n <= 1 ? 0 : LoopbackCards::random().bounded(n); }

// The cell next to cell in a direction (0 up, 1 right, 2 down, 3 left); -1 off the board.
int neighbour(int cell, int direction) {
    switch (direction) {
        case 0: return cell >= 3 ? cell - 3 : -1;
        case 1: return cell % 3 < 2 ? cell + 1 : -1;
        case 2: return cell < 6 ? cell + 3 : -1;
        default: return cell % 3 > 0 ? cell - 1 : -1;
    }
}
}  // namespace

int LoopbackMatch::s_nextGame = 1001;

LoopbackMatch::LoopbackMatch(Setup setup, Send send, Send broadcast, std::function<void()> over, QObject* parent)
    : QObject(parent), m_setup(std::move(setup)), m_send(std::move(send)), m_broadcast(std::move(broadcast)), m_over(std::move(over)) {
    m_setup.rules.resize(40, QStringLiteral("0"));
}

void LoopbackMatch::start() {
    m_send(QStringLiteral("GAMEOPPONENT ") + m_setup.resident);
    if (!rule(2)) {
        m_send(QStringLiteral("CV_PICKCARDS 1"));
        return;
    }
    // Random Choice: nobody picks, the server deals.
    m_send(QStringLiteral("CV_PICKCARDS 0"));
    m_hands[m_setup.clientSide] = LoopbackCards::deal(pool());
    for (int i = 0; i < 5; ++i)
        m_send(QStringLiteral("CV_HAND %1 ").arg(i) + encoded(m_hands[m_setup.clientSide].value(i)));
    begin();
}

QList<LoopbackCards::Card> LoopbackMatch::pool() const {
    // The table's decks and level limits; special cards only where no card changes hands.
    const int maxLevel = rule(6) && number(7) > 0 ? number(7) : 10;
    return LoopbackCards::pool(m_setup.decks, rule(12) ? number(13) : 1, maxLevel, rule(3) || rule(39));
}

void LoopbackMatch::begin() {
    m_hands[residentSide()] = LoopbackCards::deal(pool());
    m_dealt = m_hands;
    if (rule(1)) m_send(QStringLiteral("CV_OPENCARD ") + joinedEncoded(m_hands[residentSide()]));
    if (rule(20)) {
        const QStringList elements = LoopbackCards::elements();
        for (int n = 1 + bounded(3); n > 0; --n) {
            const int cell = bounded(9);
            m_elements[cell] = elements[bounded(int(elements.size()))];
            m_send(QStringLiteral("CV_ELEMENT %1 ").arg(cell) + m_elements[cell]);
        }
    }
    m_turn = rule(32) && (number(33) == 1 || number(33) == 2) ? number(33) : 1 + bounded(2);
    m_phase = Phase::Playing;
    m_send(QStringLiteral("CV_STARTER %1").arg(m_turn));
    if (m_turn == residentSide()) QTimer::singleShot(kResidentMs, this, &LoopbackMatch::residentMove);
}

bool LoopbackMatch::handle(const QString& line) {
    const Fields f = Divide(line, kBlank);
    const QString& k = f[0];
    const int client = m_setup.clientSide;
    if (k == QLatin1String("CV_MYCARD")) {
        if (m_phase != Phase::Picking) return true;
        QStringList hand;
        for (int i = 1; i <= 5; ++i) hand << decoded(f[i]);
        if (hand.contains(QString())) return true;  // not a whole hand: wait for one
        m_hands[client] = hand;
        begin();
    } else if (k == QLatin1String("CV_TIMEOUT")) {
        if (m_phase != Phase::Picking) return true;
        m_send(QStringLiteral("DROPGAME"));
        m_send(QStringLiteral("ADDBLOCK Game ") + m_setup.resident +
               QStringLiteral(" The%20cards%20were%20not%20picked%20in%20time;%20the%20game%20is%20called%20off. 65535"));
        done();
    } else if (k == QLatin1String("CV_PLACEAT")) {
        bool okCell = false, okSlot = false;
        const int cell = f[1].toInt(&okCell), slot = f[2].toInt(&okSlot);
        if (m_phase != Phase::Playing || m_turn != client || !okCell || !okSlot || cell < 0 || cell > 8 || slot < 0 || slot > 4 ||
            m_board[cell].side != 0 || m_hands[client].value(slot).isEmpty())
            return true;
        place(client, cell, slot);
    } else if (k == QLatin1String("CV_TAKECARD")) {
        if (m_phase != Phase::Trading || m_winner != client || m_count < 1 || m_count > 5) return true;
        QStringList left = m_dealt[residentSide()], taken;
        for (int i = 2; i <= 6 && taken.size() < m_count; ++i)
            if (left.removeOne(decoded(f[i]))) taken << decoded(f[i]);
        if (taken.isEmpty()) taken << left.value(bounded(int(left.size())));
        gains(taken, true);
    } else if (k == QLatin1String("CV_TAKERANDOMCARD")) {
        if (m_phase != Phase::Trading || m_winner != client || m_count < 1 || m_count > 5) return true;
        const QStringList& loser = m_dealt[residentSide()];
        gains({loser.value(bounded(int(loser.size())))}, true);
    } else if (k == QLatin1String("CV_ENDGAME")) {
        if (m_phase != Phase::Playing) return true;
        m_send(QStringLiteral("DROPGAME"));
        m_send(QStringLiteral("ADDBLOCK Game ") + m_setup.resident + QStringLiteral(" agreed%20to%20end%20the%20game. 65535"));
        done();
    } else if (k == QLatin1String("CV_STALEMATE") || k == QLatin1String("CV_SURRENDER")) {
        if (m_phase == Phase::Playing) finish(k == QLatin1String("CV_STALEMATE") ? QStringLiteral("stalemate") : QStringLiteral("surrender"));
    } else if (k == QLatin1String("GAMECHAT")) {
        const qsizetype mark = line.indexOf(QStringLiteral("~@*~*"));
        if (m_phase != Phase::Over && mark >= 0) residentChat(line.mid(mark + 5));
    } else {
        return false;
    }
    return true;
}

void LoopbackMatch::abandon() { m_phase = Phase::Over; }

int LoopbackMatch::value(const std::array<Cell, 9>& board, int cell, int direction) const {
    const LoopbackCards::Card card = LoopbackCards::find(board[cell].name);
    int v = card.sides[direction];
    if (!m_elements[cell].isEmpty()) v += card.element == m_elements[cell] ? 1 : -1;
    return v;
}

LoopbackMatch::Capture LoopbackMatch::capture(std::array<Cell, 9>& board, int cell, int side) const {
    Capture out;
    QList<int> seeds;
    const auto flip = [&](int n, int direction) {
        board[n].side = side;
        ++out.flips;
        out.steps << QStringLiteral("CV_CARDFLIP %1 %2 ").arg(n).arg(direction % 2 == 0 ? 2 : 1) + colour(side)
                  << (side == 1 ? QStringLiteral("CV_BLUECARD %1 ") : QStringLiteral("CV_REDCARD %1 ")).arg(n) + encoded(board[n].name);
    };
    const auto opposing = [&](int n) { return n >= 0 && board[n].side != 0 && board[n].side != side; };
    // Same and Plus look at every touching card, but take only the opponent's.
    const auto special = [&](bool on, const QString& event, auto key) {
        if (!on) return;
        QMap<int, QList<int>> groups;  // key -> directions
        for (int d = 0; d < 4; ++d) {
            const int n = neighbour(cell, d);
            if (n >= 0 && board[n].side != 0) groups[key(value(board, cell, d), value(board, n, (d + 2) % 4))] << d;
        }
        bool announced = false;
        for (auto it = groups.begin(); it != groups.end(); ++it) {
            if (it.key() < 0 || it.value().size() < 2) continue;
            for (int d : it.value()) {
                const int n = neighbour(cell, d);
                if (!opposing(n)) continue;
                if (!announced) out.steps << event;
                announced = true;
                flip(n, d);
                seeds << n;
            }
        }
    };
    special(rule(9), QStringLiteral("CV_SAME"), [](int mine, int theirs) { return mine == theirs ? 0 : -1; });
    special(rule(10), QStringLiteral("CV_PLUS"), [](int mine, int theirs) { return mine + theirs; });
    for (int d = 0; d < 4; ++d) {
        const int n = neighbour(cell, d);
        if (opposing(n) && value(board, cell, d) > value(board, n, (d + 2) % 4)) flip(n, d);
    }
    // Combo: what Same and Plus took captures on by plain comparison.
    bool announced = false;
    while (rule(18) && !seeds.isEmpty()) {
        const int from = seeds.takeFirst();
        for (int d = 0; d < 4; ++d) {
            const int n = neighbour(from, d);
            if (!opposing(n) || value(board, from, d) <= value(board, n, (d + 2) % 4)) continue;
            if (!announced) out.steps << QStringLiteral("CV_COMBO");
            announced = true;
            flip(n, d);
            seeds << n;
        }
    }
    return out;
}

void LoopbackMatch::place(int side, int cell, int slot) {
    const QString name = m_hands[side][slot];
    m_hands[side][slot].clear();
    m_board[cell] = {name, side, side};
    QStringList steps;
    if (side == residentSide()) steps << QStringLiteral("CV_PLACEDCARD %1 %2 ").arg(cell).arg(slot) + encoded(name);
    steps << (side == 1 ? QStringLiteral("CV_BLUECARD %1 ") : QStringLiteral("CV_REDCARD %1 ")).arg(cell) + encoded(name);
    if (!m_elements[cell].isEmpty())
        steps << (LoopbackCards::find(name).element == m_elements[cell] ? QStringLiteral("CV_PLUSELEMENT %1 1")
                                                                         : QStringLiteral("CV_MINUSELEMENT %1 -1"))
                     .arg(cell);
    steps << capture(m_board, cell, side).steps << pointsLine();
    for (const QString& s : steps) m_send(s);
    if (std::all_of(m_board.begin(), m_board.end(), [](const Cell& c) { return c.side != 0; })) {
        // The client draws queued moves at a turn line: the last one is drawn so, and the close
        // follows once it has been seen (unless a request ended the game meanwhile).
        m_send(QStringLiteral("CV_TURNOVER"));
        QTimer::singleShot(kLastMoveMs, this, [this] {
            if (m_phase == Phase::Playing) finish(QStringLiteral("end"));
        });
        return;
    }
    m_turn = 3 - side;
    if (m_turn == m_setup.clientSide) {
        m_send(QStringLiteral("CV_YOURTURN"));
    } else {
        m_send(QStringLiteral("CV_TURNOVER"));
        QTimer::singleShot(kResidentMs, this, &LoopbackMatch::residentMove);
    }
}

void LoopbackMatch::residentMove() {
    if (m_phase != Phase::Playing || m_turn != residentSide()) return;
    const int side = residentSide();
    int bestCell = -1, bestSlot = -1, bestFlips = -1;
    for (int slot = 0; slot < 5; ++slot) {
        if (m_hands[side][slot].isEmpty()) continue;
        for (int cell = 0; cell < 9; ++cell) {
            if (m_board[cell].side != 0) continue;
            std::array<Cell, 9> trial = m_board;
            trial[cell] = {m_hands[side][slot], side, side};
            const int flips = capture(trial, cell, side).flips * 4 + bounded(4);
            if (flips <= bestFlips) continue;
            bestCell = cell;
            bestSlot = slot;
            bestFlips = flips;
        }
        if (rule(22)) break;  // Order: the hand is played from its first card on
    }
    if (bestCell >= 0) place(side, bestCell, bestSlot);
}

int LoopbackMatch::score(int side) const {
    int n = 0;
    for (const Cell& c : m_board) n += c.side == side;
    for (const QString& card : m_hands[side]) n += !card.isEmpty();
    return n;
}

QString LoopbackMatch::pointsLine() const { return QStringLiteral("CV_POINTS %1 %2").arg(score(1)).arg(score(2)); }

void LoopbackMatch::tradeCount(int winner, int* count, bool* serverChooses) const {
    *serverChooses = false;
    if (winner == 0 || rule(3) || rule(39)) *count = 0;
    else if (rule(4) || rule(17) || rule(36) || rule(38)) *count = 6, *serverChooses = true;
    else if (rule(5)) *count = qBound(1, qAbs(score(1) - score(2)), 5);
    else if (rule(29)) *count = 2;
    else if (rule(30)) *count = 3;
    else if (rule(31)) *count = 4;
    else *count = 1;
}

void LoopbackMatch::finish(const QString& how) {
    m_phase = Phase::Trading;
    m_surrendered = how == QLatin1String("surrender");
    const int client = m_setup.clientSide, resident = residentSide();
    m_winner = how == QLatin1String("surrender") ? resident
               : how == QLatin1String("stalemate") || score(1) == score(2) ? 0
               : score(1) > score(2) ? 1 : 2;
    m_gameId = s_nextGame++;
    bool serverChooses = false;
    tradeCount(m_winner, &m_count, &serverChooses);
    const int loser = m_winner == 0 ? resident : 3 - m_winner;
    const QString result = m_winner == client ? QStringLiteral("Win") : m_winner == 0 ? QStringLiteral("Draw") : QStringLiteral("Loss");
    const bool clientPicks = m_winner == client && m_count >= 1 && m_count <= 5;
    m_send(QStringLiteral("CV_CLOSE"));
    m_send(QStringLiteral("CV_DISPLAY %1 ").arg(m_gameId) + result + kBlank + m_setup.resident + (clientPicks ? QStringLiteral(" 1 ") : QStringLiteral(" 0 ")) +
           QString::number(m_count) + kBlank + joinedEncoded(m_dealt[loser]));
    if (how == QLatin1String("surrender")) m_send(QStringLiteral("GPADD -100"));
    if (how != QLatin1String("stalemate")) matchLine();
    if (m_count == 0) return gains({}, true);
    if (serverChooses) {
        // All, Direct, Capture and Random One: the server hands the cards over itself.
        QStringList won, lost;
        if (rule(4)) {
            (m_winner == client ? won : lost) = m_dealt[loser];
        } else if (rule(38)) {
            (m_winner == client ? won : lost) << m_dealt[loser].value(bounded(5));
        } else {
            for (const Cell& c : m_board) {
                if (c.owner == resident && c.side == client) won << c.name;
                if (c.owner == client && c.side == resident) lost << c.name;
            }
        }
        m_send(QStringLiteral("CV_CARDGAIN ") + (won.isEmpty() ? QStringLiteral("Nothing") : joinedEncoded(won)));
        m_send(QStringLiteral("CV_CARDLOST ") + (lost.isEmpty() ? QStringLiteral("Nothing") : joinedEncoded(lost)));
        return done();
    }
    if (!clientPicks) QTimer::singleShot(2 * kResidentMs, this, &LoopbackMatch::residentTakes);
}

void LoopbackMatch::residentTakes() {
    if (m_phase != Phase::Trading) return;
    QStringList hand = m_dealt[m_setup.clientSide];
    std::stable_sort(hand.begin(), hand.end(), [](const QString& a, const QString& b) {
        return LoopbackCards::find(a).level > LoopbackCards::find(b).level;
    });
    gains(hand.mid(0, m_count), false);
}

void LoopbackMatch::gains(const QStringList& taken, bool clientGains) {
    const QString names = taken.isEmpty() ? QStringLiteral("Nothing") : joinedEncoded(taken);
    m_send(QStringLiteral("CV_CARDGAIN ") + (clientGains ? names : QStringLiteral("Nothing")));
    m_send(QStringLiteral("CV_CARDLOST ") + (clientGains ? QStringLiteral("Nothing") : names));
    done();
}

void LoopbackMatch::matchLine() {
    const bool clientFirst = m_winner != residentSide();
    const int first = clientFirst ? m_setup.clientSide : residentSide();
    int scores[3] = {0, score(1), score(2)};
    if (m_surrendered) {
        // The cards the loser still holds count for the winner, so a surrender never reads as a tie.
        const int loser = 3 - m_winner;
        for (const QString& card : m_hands[loser]) {
            if (card.isEmpty()) continue;
            --scores[loser];
            ++scores[m_winner];
        }
    }
    const QString a = clientFirst ? m_setup.nick + QStringLiteral(" 1") : m_setup.resident + kBlank + m_setup.residentLevel;
    const QString b = clientFirst ? m_setup.resident + kBlank + m_setup.residentLevel : m_setup.nick + QStringLiteral(" 1");
    m_broadcast(QStringLiteral("MATCH ") + a + kBlank + b + QStringLiteral(" %1 %2 1 %3").arg(scores[first]).arg(scores[3 - first]).arg(m_gameId));
}

void LoopbackMatch::done() {
    if (m_phase == Phase::Over) return;
    m_phase = Phase::Over;
    QTimer::singleShot(0, this, [this] { m_over(); });
}

void LoopbackMatch::residentChat(const QString& text) {
    const QString reply = text.contains(u'?') ? QStringLiteral("Good question. Let us see what the board says.")
                          : m_phase == Phase::Trading ? QStringLiteral("Well played!")
                                                      : QStringLiteral("Good luck to you too!");
    QTimer::singleShot(kResidentMs / 2, this, [this, reply] { m_send(QStringLiteral("GAMECHAT ") + m_setup.resident + kBlank + reply); });
}
