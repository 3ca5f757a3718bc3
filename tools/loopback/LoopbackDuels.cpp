#include "tools/loopback/LoopbackDuels.h"

#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

namespace {
// The loopback's pace: long enough to watch each step, short enough to play a game by hand.
constexpr int kStepMs = 1500;
constexpr int kDiceRounds = 3;

int roll(int from, int to) { return int(QRandomGenerator::global()->bounded(from, to + 1)); }

const QStringList kMemoryCards = {"Cinderpup", "Emberlark", "Gustling", "Slagshell%20Tortoise", "Flintjaw%20Skink", "Cinderpup",
                                  "Emberlark", "Gustling", "Slagshell%20Tortoise", "Flintjaw%20Skink", "Cinderpup", "Gustling"};
}  // namespace

LoopbackDuels::LoopbackDuels(Send send, QObject* parent) : QObject(parent), m_send(std::move(send)) {}

void LoopbackDuels::send(const QString& line) {
    if (m_client) m_send(m_client, line);
}

void LoopbackDuels::later(int ms, std::function<void()> step) {
    const int serial = m_serial;
    QTimer::singleShot(ms, this, [this, serial, step = std::move(step)] {
        if (m_running && serial == m_serial && m_client) step();
    });
}

void LoopbackDuels::start(QTcpSocket* client, const QString& nick, const QString& resident, const QString& kind, const QString& rules,
                          int table) {
    ++m_serial;
    m_client = client;
    m_nick = nick;
    m_resident = resident;
    m_kind = kind;
    m_table = table;
    m_running = true;
    m_score = {};
    m_rounds = 0;
    if (kind == QLatin1String("cvm")) {
        // Twelve pairs: each of the twelve names twice, shuffled.
        m_cards = kMemoryCards.mid(0, 12) + kMemoryCards.mid(0, 12);
        std::shuffle(m_cards.begin(), m_cards.end(), *QRandomGenerator::global());
        m_found = {};
        m_picks.clear();
        send(QStringLiteral("MEMORYYES"));
        send(QStringLiteral("MEMORYTURN 1"));
    } else if (kind == QLatin1String("chinchin")) {
        send(QStringLiteral("CHINCHINYES"));
        send(QStringLiteral("CHINCHINTEXT Roll the three dice; the higher total after three rounds wins."));
        send(QStringLiteral("CHINCHINTURN 1"));
    } else {
        const QStringList r = rules.split(u' ', Qt::SkipEmptyParts);
        m_time = std::clamp(r.value(0).toInt(), 10, 255);
        m_maxScore = std::max(1, r.value(1).toInt());
        m_maxTurns = std::clamp(r.value(2).toInt(), 1, 40);
        m_turn = 0;
        send(QStringLiteral("OBSTART"));
    }
}

void LoopbackDuels::leave(QTcpSocket* s) {
    if (m_client == s) {
        m_running = false;
        ++m_serial;
        emit finished(m_table);
    }
}

void LoopbackDuels::end(const QString& closeLine) {
    send(closeLine);
    m_running = false;
    ++m_serial;
    emit finished(m_table);
}

bool LoopbackDuels::handle(QTcpSocket* s, const QString& line) {
    if (!m_running || s != m_client) return false;
    const QStringList f = line.split(u' ');
    const QString& k = f.value(0);
    if (k == QLatin1String("MEMORYSLOT")) {
        memoryPick(f.value(1).toInt(), f.value(2).toInt(), 1);
    } else if (k == QLatin1String("MEMORYFORFEIT")) {
        m_picks.clear();
        send(QStringLiteral("MEMORYTURN 2"));
        later(kStepMs, [this] { memoryResident(); });
    } else if (k == QLatin1String("MEMORYENDGAME") || k == QLatin1String("MEMORYSTALEMATE") || k == QLatin1String("MEMORYSURRENDER")) {
        end(QStringLiteral("MEMORYCLOSE"));
    } else if (k == QLatin1String("CHINCHINROLL")) {
        diceRoll(1);
    } else if (k == QLatin1String("CHINCHINENDGAME")) {
        end(QStringLiteral("CHINCHINCLOSE"));
    } else if (k == QLatin1String("OBREADY")) {
        orboltDeal();
    } else if (k == QLatin1String("OBCOMPLETE")) {
        long long sum = 0;
        for (int i = 1; i <= 4; ++i) sum += f.value(i) == QLatin1String("99") ? 0 : m_core[std::clamp(f.value(i).toInt(), 0, 4)];
        for (int i = 5; i < f.size(); ++i) {
            const int slot = std::clamp(f.value(i).toInt(), 0, 12);
            sum += m_border[slot];
            m_border[slot] = 0;  // a spent border coin breaks
        }
        if (f.size() > 9) send(QStringLiteral("OBECHO 2"));
        orboltTurnOver(m_multi > 0 && sum % m_multi == 0 ? sum / m_multi * (f.size() > 9 ? 2 : 1) : 0);
    } else if (k == QLatin1String("OBFROZEN")) {
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
    if (m_picks.size() == 2) later(kStepMs, [this, seat] { memoryJudge(seat); });
}

void LoopbackDuels::memoryJudge(int seat) {
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
        later(kStepMs, [this] { end(QStringLiteral("MEMORYCLOSE")); });
        return;
    }
    // A pair keeps the turn; a miss passes it.
    const int next = pair ? seat : 3 - seat;
    send(QStringLiteral("MEMORYTURN %1").arg(next));
    if (next == 2) later(kStepMs, [this] { memoryResident(); });
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
    later(kStepMs / 2, [this, second] { memoryPick(second, 2, 2); });
}

// ---- Dice ------------------------------------------------------------------------------------------

void LoopbackDuels::diceRoll(int seat) {
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
        later(kStepMs, [this] {
            send(QStringLiteral("CHINCHINTURN 2"));
            later(kStepMs, [this] { diceRoll(2); });
        });
        return;
    }
    if (++m_rounds < kDiceRounds) {
        later(kStepMs, [this] { send(QStringLiteral("CHINCHINTURN 1")); });
        return;
    }
    const QString winner = m_score[1] == m_score[2] ? QStringLiteral("Nobody") : m_score[1] > m_score[2] ? m_nick : m_resident;
    send(QStringLiteral("CHINCHINTEXT ") + winner + QStringLiteral(" wins the game."));
    later(kStepMs * 2, [this] { end(QStringLiteral("CHINCHINCLOSE")); });
}

// ---- Coin board -------------------------------------------------------------------------------------

void LoopbackDuels::orboltDeal() {
    ++m_turn;
    m_multi = roll(3, 9);
    for (int slot = 1; slot <= 4; ++slot) {
        m_core[slot] = roll(1, 9);
        send(QStringLiteral("OBCORE %1 %2").arg(slot).arg(m_core[slot]));
    }
    for (int slot = 1; slot <= 12; ++slot) {
        // Broken coins stay broken for one turn, then a new coin is dealt.
        if (m_border[slot] == 0 && m_turn > 1) m_border[slot] = -1;
        else m_border[slot] = roll(1, 9);
        send(QStringLiteral("OBBORDER %1 %2").arg(slot).arg(std::max(0, m_border[slot])));
        if (m_border[slot] < 0) m_border[slot] = 0;
    }
    send(QStringLiteral("OBMULTI %1").arg(m_multi));
    send(QStringLiteral("OBTURNS %1").arg(m_turn));
    send(QStringLiteral("OBGO %1").arg(m_time));
}

void LoopbackDuels::orboltTurnOver(long long gained) {
    m_score[1] += int(gained);
    m_score[2] += roll(0, 3);
    send(QStringLiteral("OBSCORE %1").arg(m_score[1]));
    send(QStringLiteral("OBOPPSCORE %1").arg(m_score[2]));
    if (m_turn >= m_maxTurns || m_score[1] >= m_maxScore || m_score[2] >= m_maxScore) {
        send(QStringLiteral("OBOPPFROZEN"));
        later(kStepMs * 3, [this] { end(QStringLiteral("OBCLOSE")); });
        return;
    }
    later(kStepMs * 2, [this] { orboltDeal(); });
}
