#include "tools/loopback/LoopbackDuels.h"

#include "tools/loopback/LoopbackCards.h"
#include "tools/loopback/LoopbackData.h"

#include <QSet>
#include <QTcpSocket>
#include <algorithm>

namespace {
// The loopback's pace: long enough to watch each step, short enough to play a game by hand.
constexpr int kStepMs = 1500;
constexpr int kDiceRounds = 3;
// The game types of the result line.
constexpr int kOrboltType = 3, kMemoryType = 4, kDiceType = 6;
// The choices of the coin board's rule dialog; a table's rules are held within them (a table
// whose rules were never set plays the nearest choices).
constexpr int kTimeMin = 30, kTimeMax = 100, kScoreMin = 50, kScoreMax = 100, kTurnsMin = 15, kTurnsMax = 40;
// A selection of this many border coins or more scores twice (the echo bonus).
constexpr int kEchoBorders = 5;

// The loopback's dice, so that --seed plays these games the same way too.
int roll(int from, int to) { return int(LoopbackCards::random().bounded(from, to + 1)); }

const QStringList kMemoryCards = {"Cinderpup", "Emberlark", "Gustling", "Slagshell%20Tortoise", "Flintjaw%20Skink", "Cinderpup",
                                  "Emberlark", "Gustling", "Slagshell%20Tortoise", "Flintjaw%20Skink", "Cinderpup", "Gustling"};
}  // namespace

LoopbackDuels::LoopbackDuels(Send send, QObject* parent) : QObject(parent), m_send(std::move(send)) {}

void LoopbackDuels::send(const QString& line) {
    if (m_client) m_send(m_client, line);
}

void LoopbackDuels::start(QTcpSocket* client, const QString& nick, const QString& resident, const QString& kind, const QString& rules,
                          int table) {
    m_later.drop();
    m_client = client;
    m_nick = nick;
    m_resident = resident;
    m_kind = kind;
    m_table = table;
    m_running = true;
    m_score = {};
    m_rounds = 0;
    m_mover = 0;
    if (kind == QLatin1String("cvm")) {
        // Twelve pairs: each of the twelve names twice, shuffled.
        m_cards = kMemoryCards.mid(0, 12) + kMemoryCards.mid(0, 12);
        std::shuffle(m_cards.begin(), m_cards.end(), LoopbackCards::random());
        m_found = {};
        m_picks.clear();
        send(QStringLiteral("MEMORYYES"));
        turn(QStringLiteral("MEMORYTURN"), 1);
    } else if (kind == QLatin1String("chinchin")) {
        send(QStringLiteral("CHINCHINYES"));
        send(QStringLiteral("CHINCHINTEXT Roll the three dice; the higher total after three rounds wins."));
        turn(QStringLiteral("CHINCHINTURN"), 1);
    } else {
        const QStringList r = rules.split(u' ', Qt::SkipEmptyParts);
        m_time = std::clamp(r.value(0).toInt(), kTimeMin, kTimeMax);
        m_maxScore = std::clamp(r.value(1).toInt(), kScoreMin, kScoreMax);
        m_maxTurns = std::clamp(r.value(2).toInt(), kTurnsMin, kTurnsMax);
        m_turn = 0;
        m_turnOpen = false;
        m_border = {};
        m_spent = {};
        send(QStringLiteral("OBSTART"));
    }
}

void LoopbackDuels::turn(const QString& keyword, int seat) {
    m_mover = seat;
    send(keyword + u' ' + QString::number(seat));
}

void LoopbackDuels::leave(QTcpSocket* s) {
    if (m_client == s) {
        m_running = false;
        m_later.drop();
        emit finished(m_table);
    }
}

void LoopbackDuels::finish(const QString& closeLine, int gameType, int clientScore, int residentScore, int winnerSeat) {
    if (!m_running) return;
    send(closeLine);
    // "MATCH winner note loser note score score type id": the winner first; on a tie the client.
    if (winnerSeat == 0) winnerSeat = residentScore > clientScore ? 2 : 1;
    const QString client = m_nick + u' ' + LoopbackData::levelOf(m_nick), resident = m_resident + u' ' + LoopbackData::levelOf(m_resident);
    send(QStringLiteral("MATCH %1 %2 %3 %4 %5 %6")
             .arg(winnerSeat == 1 ? client : resident, winnerSeat == 1 ? resident : client)
             .arg(winnerSeat == 1 ? clientScore : residentScore)
             .arg(winnerSeat == 1 ? residentScore : clientScore)
             .arg(gameType)
             .arg(++m_gameId));
    m_running = false;
    m_later.drop();
    emit finished(m_table);
}

bool LoopbackDuels::handle(QTcpSocket* s, const QString& line) {
    if (!m_running || s != m_client) return false;
    const QStringList f = line.split(u' ');
    const QString& k = f.value(0);
    // Picks and rolls count only in the client's own turn.
    if (k == QLatin1String("MEMORYSLOT")) {
        if (m_mover == 1) memoryPick(f.value(1).toInt(), f.value(2).toInt(), 1);
    } else if (k == QLatin1String("MEMORYFORFEIT")) {
        // A forfeit once both picks are made comes too late: the pair is being judged.
        if (m_mover != 1 || m_picks.size() == 2) return true;
        m_picks.clear();
        turn(QStringLiteral("MEMORYTURN"), 2);
        m_later(kStepMs, [this] { memoryResident(); });
    } else if (k == QLatin1String("MEMORYENDGAME") || k == QLatin1String("MEMORYSTALEMATE")) {
        // The resident agrees: the game ends on the pairs found so far.
        finish(QStringLiteral("MEMORYCLOSE"), kMemoryType, m_score[1], m_score[2]);
    } else if (k == QLatin1String("MEMORYSURRENDER")) {
        // The pairs still hidden go to the resident, who wins.
        const int left = int(std::count(m_found.begin(), m_found.end(), false)) / 2;
        finish(QStringLiteral("MEMORYCLOSE"), kMemoryType, m_score[1], m_score[2] + left, 2);
    } else if (k == QLatin1String("CHINCHINROLL")) {
        if (m_mover == 1) diceRoll(1);
    } else if (k == QLatin1String("CHINCHINENDGAME")) {
        finish(QStringLiteral("CHINCHINCLOSE"), kDiceType, m_score[1], m_score[2]);
    } else if (k == QLatin1String("OBREADY")) {
        if (m_turn == 0 && !m_turnOpen) orboltDeal();
    } else if (k == QLatin1String("OBCOMPLETE")) {
        orboltComplete(f);
    } else if (k == QLatin1String("OBFROZEN")) {
        // A freeze outside a turn (before the first deal, after a completion) changes nothing.
        if (!m_turnOpen) return true;
        m_turnOpen = false;
        send(QStringLiteral("OBFREEZE"));
        orboltTurnOver(0);
    } else {
        return false;
    }
    return true;
}

// ---- Memory ----------------------------------------------------------------------------------------

void LoopbackDuels::memoryPick(int spot, int pick, int seat) {
    if (spot < 0 || spot >= 24 || m_found[spot] || m_picks.contains(spot) || m_picks.size() >= 2) return;
    Q_UNUSED(pick);
    m_picks << spot;
    // The picker's marker comes back only after the first of the client's own two picks.
    const bool again = seat == 1 && m_picks.size() == 1;
    send(QStringLiteral("MEMORYSLOT %1 %2 %3 %4").arg(m_cards[spot]).arg(spot).arg(seat == 1 ? 0 : 1).arg(again ? 1 : 0));
    if (m_picks.size() == 2) m_later(kStepMs, [this, seat] { memoryJudge(seat); });
}

void LoopbackDuels::memoryJudge(int seat) {
    if (m_picks.size() != 2) return;
    const int a = m_picks.value(0), b = m_picks.value(1);
    m_picks.clear();
    const bool pair = m_cards[a] == m_cards[b];
    if (pair) {
        m_found[a] = m_found[b] = true;
        ++m_score[seat];
        send(QStringLiteral("MEMORYMATCH %1 %2").arg(a).arg(b));
        send(QStringLiteral("MEMORYSCORE %1 %2").arg(m_score[1]).arg(m_score[2]));
    }
    if (std::all_of(m_found.begin(), m_found.end(), [](bool x) { return x; })) {
        m_later(kStepMs, [this] { finish(QStringLiteral("MEMORYCLOSE"), kMemoryType, m_score[1], m_score[2]); });
        return;
    }
    // A pair keeps the turn; a miss passes it.
    const int next = pair ? seat : 3 - seat;
    turn(QStringLiteral("MEMORYTURN"), next);
    if (next == 2) m_later(kStepMs, [this] { memoryResident(); });
}

void LoopbackDuels::memoryResident() {
    QVector<int> open;
    for (int i = 0; i < 24; ++i)
        if (!m_found[i]) open << i;
    if (open.size() < 2) return;
    // The resident remembers nothing and picks two spots at random.
    const int first = open.takeAt(roll(0, int(open.size()) - 1));
    const int second = open.value(roll(0, int(open.size()) - 1));
    memoryPick(first, 1, 2);
    m_later(kStepMs / 2, [this, second] { memoryPick(second, 2, 2); });
}

// ---- Dice ------------------------------------------------------------------------------------------

void LoopbackDuels::diceRoll(int seat) {
    m_mover = 0;
    const int d1 = roll(1, 6), d2 = roll(1, 6), d3 = roll(1, 6);
    const int points = d1 + d2 + d3;
    m_score[seat] += points;
    send(QStringLiteral("CHINCHINDICE %1 %2 %3").arg(d1).arg(d2).arg(d3));
    send(QStringLiteral("CHINCHINPOINTS %1 %2").arg(seat).arg(m_score[seat]));
    send(QStringLiteral("CHINCHINTEXT %1 rolls %2-%3-%4 for %5 points.")
             .arg(seat == 1 ? m_nick : m_resident)
             .arg(d1)
             .arg(d2)
             .arg(d3)
             .arg(points));
    if (seat == 1) {
        m_later(kStepMs, [this] {
            turn(QStringLiteral("CHINCHINTURN"), 2);
            m_later(kStepMs, [this] { diceRoll(2); });
        });
        return;
    }
    if (++m_rounds < kDiceRounds) {
        m_later(kStepMs, [this] { turn(QStringLiteral("CHINCHINTURN"), 1); });
        return;
    }
    const QString winner = m_score[1] == m_score[2] ? QStringLiteral("Nobody") : m_score[1] > m_score[2] ? m_nick : m_resident;
    send(QStringLiteral("CHINCHINTEXT ") + winner + QStringLiteral(" wins the game."));
    m_later(kStepMs * 2, [this] { finish(QStringLiteral("CHINCHINCLOSE"), kDiceType, m_score[1], m_score[2]); });
}

// ---- Coin board -------------------------------------------------------------------------------------

void LoopbackDuels::orboltDeal() {
    ++m_turn;
    m_turnOpen = true;
    m_multi = roll(3, 9);
    for (int slot = 1; slot <= 4; ++slot) {
        m_core[slot] = roll(1, 9);
        send(QStringLiteral("OBCORE %1 %2").arg(slot).arg(m_core[slot]));
    }
    for (int slot = 1; slot <= 12; ++slot) {
        // A border coin spent last turn is dealt broken (0) for this one, then a new coin comes.
        m_border[slot] = m_spent[slot] ? 0 : roll(1, 9);
        m_spent[slot] = false;
        send(QStringLiteral("OBBORDER %1 %2").arg(slot).arg(m_border[slot]));
    }
    send(QStringLiteral("OBMULTI %1").arg(m_multi));
    send(QStringLiteral("OBTURNS %1").arg(m_turn));
    send(QStringLiteral("OBGO %1").arg(m_time));
}

// "OBCOMPLETE c1 c2 c3 c4 b...": the core coins taken (99 for none), then the border coins. A
// selection scores its coins' total when the multiplier divides it, twice that with the echo
// bonus; anything else (no core coin, a coin named twice or broken) scores nothing.
void LoopbackDuels::orboltComplete(const QStringList& fields) {
    if (!m_turnOpen) return;
    m_turnOpen = false;
    int sum = 0, cores = 0, borders = 0;
    bool sound = true;
    QSet<int> taken;
    for (int i = 1; i <= 4; ++i) {
        if (fields.value(i) == QLatin1String("99")) continue;
        const int slot = fields.value(i).toInt();
        sound = sound && slot == i;
        if (!sound) break;
        sum += m_core[slot];
        ++cores;
    }
    for (int i = 5; i < fields.size() && sound; ++i) {
        const int slot = fields.value(i).toInt();
        sound = slot >= 1 && slot <= 12 && m_border[slot] > 0 && !taken.contains(slot);
        if (!sound) break;
        taken.insert(slot);
        sum += m_border[slot];
        ++borders;
    }
    sound = sound && cores > 0 && sum % m_multi == 0;
    if (!sound) {
        orboltTurnOver(0);
        return;
    }
    for (int slot : taken) m_spent[slot] = true;
    const bool echo = borders >= kEchoBorders;
    if (echo) send(QStringLiteral("OBECHO 2"));
    orboltTurnOver(echo ? sum * 2 : sum);
}

void LoopbackDuels::orboltTurnOver(int gained) {
    m_score[1] += gained;
    // The resident completes a selection of one to four times the multiplier, or freezes.
    m_score[2] += roll(1, 5) == 1 ? 0 : m_multi * roll(1, 4);
    send(QStringLiteral("OBSCORE %1").arg(m_score[1]));
    send(QStringLiteral("OBOPPSCORE %1").arg(m_score[2]));
    if (m_turn >= m_maxTurns || m_score[1] >= m_maxScore || m_score[2] >= m_maxScore) {
        send(QStringLiteral("OBOPPFROZEN"));
        // Long enough for the board to show the last turn's effects and score before it closes.
        m_later(kStepMs * 4, [this] { finish(QStringLiteral("OBCLOSE"), kOrboltType, m_score[1], m_score[2]); });
        return;
    }
    m_later(kStepMs * 2, [this] { orboltDeal(); });
}
