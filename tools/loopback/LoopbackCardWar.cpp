#include "tools/loopback/LoopbackCardWar.h"

#include <QTcpSocket>

namespace {
// Cards both deck folders hold.
const QStringList kCards = {QStringLiteral("Gustling"),      QStringLiteral("Emberlark"),      QStringLiteral("Cinderpup"),
                            QStringLiteral("Kilnwarden"),    QStringLiteral("Tidecall Nymph"), QStringLiteral("Sparkfin Eel"),
                            QStringLiteral("Brine Skitter"), QStringLiteral("Basalt Vigil"),   QStringLiteral("Frostmere Heron")};
// How long the resident takes to choose its card, and how long both played cards (or the
// resident's agreement to a stalemate) stay on the table before the next round or the close.
constexpr int kChooseMs = 1000;
constexpr int kRevealMs = 2000;

QString wire(QString name) { return name.replace(u' ', QStringLiteral("%20")); }
}  // namespace

LoopbackCardWar::LoopbackCardWar(Send send, QObject* parent) : QObject(parent), m_send(std::move(send)) {}

QString LoopbackCardWar::draw() { return kCards[(m_serial++ * 5 + 2) % kCards.size()]; }

void LoopbackCardWar::start(QTcpSocket* client, const QString& nick, const QString& opponent, int table) {
    m_client = client;
    m_nick = nick;
    m_opponent = opponent;
    m_table = table;
    m_running = true;
    m_decided = false;
    m_later.drop();
    m_round = 0;
    m_life[0] = m_life[1] = 1000;
    m_hand.clear();
    for (int k = 0; k < 5; ++k) m_hand << draw();
    m_send(client, QStringLiteral("CARDWARSLOAD 1"));
    deal();
    m_send(client, QStringLiteral("CARDWARSHISTORY ") + wire(opponent + QStringLiteral(" takes the red seat. Play a card!")));
    m_send(client, QStringLiteral("CARDWARSSTART"));
    m_open = true;
}

void LoopbackCardWar::deal() {
    QStringList names;
    for (const QString& c : m_hand) names << wire(c);
    m_send(m_client, QStringLiteral("CARDWARSHAND 1 ") + names.join(u' '));
}

bool LoopbackCardWar::handle(QTcpSocket* s, const QString& line) {
    if (!m_running || s != m_client || !line.startsWith(QLatin1String("CARDWARS_"))) return false;
    // Once a stalemate is agreed the game only waits for its close.
    if (m_decided) return true;
    if (line.startsWith(QLatin1String("CARDWARS_PLACEAT "))) {
        bool ok = false;
        const int slot = line.mid(17).toInt(&ok);
        // One card a round: a second play before the next round opens is not taken.
        if (ok && slot >= 0 && slot < 5 && m_open) {
            m_open = false;
            m_later(kChooseMs, [this, slot] { round(slot); });
        }
    } else if (line == QLatin1String("CARDWARS_SURRENDER")) {
        end(false, false);
    } else if (line == QLatin1String("CARDWARS_STALEMATE")) {
        m_send(m_client, QStringLiteral("CARDWARSHISTORY ") + wire(m_opponent + QStringLiteral(" agrees to a stalemate.")));
        // The close takes the window away at once: the agreement stays on it a moment first. A
        // card played meanwhile is not revealed any more.
        m_decided = true;
        m_open = false;
        m_later.drop();
        m_later(kRevealMs, [this] { end(false, true); });
    } else if (line == QLatin1String("CARDWARS_ENDGAME")) {
        end(m_life[0] >= m_life[1], false);
    }
    return true;
}

void LoopbackCardWar::round(int slot) {
    ++m_round;
    const QString mine = m_hand[slot];
    const QString theirs = draw();
    m_hand[slot] = draw();
    m_send(m_client, QStringLiteral("CARDWARSPHASE ") + wire(mine) + u' ' + wire(theirs));
    // The loopback's rule: the longer name strikes harder; the striker holds the sword.
    const bool clientStrikes = mine.size() + m_round % 3 >= theirs.size();
    const int damage = 90 + (mine.size() * 37 + theirs.size() * 11 + m_round * 13) % 160;
    m_life[clientStrikes ? 1 : 0] = qMax(0, m_life[clientStrikes ? 1 : 0] - damage);
    const QString who = clientStrikes ? m_nick : m_opponent;
    m_send(m_client, QStringLiteral("CARDWARSHISTORY ") +
                         wire(who + QStringLiteral(" strikes with ") + (clientStrikes ? mine : theirs) + QStringLiteral(" for ") +
                              QString::number(damage) + QStringLiteral(" damage.")));
    // The reveal stays on the table a moment; then the game ends or the next round opens.
    m_later(kRevealMs, [this, clientStrikes] { nextRound(clientStrikes); });
}

void LoopbackCardWar::nextRound(bool clientStruck) {
    if (m_life[0] == 0 || m_life[1] == 0) return end(m_life[1] == 0, false);
    deal();
    const QString combo = m_round % 2 ? QStringLiteral("x") + QString::number(m_round % 4 + 1) : QStringLiteral("0");
    m_send(m_client, QStringLiteral("CARDWARSBOARD %1 %2 %3 %4 %5 %6 %7 0 0")
                         .arg(clientStruck ? 1 : 2)
                         .arg(clientStruck ? 2 : 1)
                         .arg(clientStruck ? 1 : 2)
                         .arg(combo)
                         .arg(m_round % 11)
                         .arg(m_life[0])
                         .arg(m_life[1]));
    m_open = true;
}

void LoopbackCardWar::end(bool clientWins, bool stalemate) {
    if (!m_running) return;
    m_running = false;
    m_later.drop();
    const QString winner = clientWins ? m_nick : m_opponent, loser = clientWins ? m_opponent : m_nick;
    const int winnerLife = m_life[clientWins ? 0 : 1], loserLife = m_life[clientWins ? 1 : 0];
    // The winner's life names how badly the loser fared; two scores above 0 read as a stalemate.
    const int a = stalemate ? 1 : winnerLife, b = stalemate ? 1 : 0;
    if (m_client) {
        // The lobby writes each name with the life left after it in brackets.
        m_send(m_client, QStringLiteral("CARDWARSMATCH %1 %2 %3 %4 %5 %6 %7")
                             .arg(winner, QString::number(winnerLife), loser, QString::number(loserLife))
                             .arg(a)
                             .arg(b)
                             .arg(m_gameId++));
        m_send(m_client, QStringLiteral("CARDWARSCLOSE"));
    }
    emit finished(m_table);
}

void LoopbackCardWar::leave(QTcpSocket* s) {
    if (s != m_client) return;
    m_running = false;
    m_later.drop();
}
