#include "tools/loopback/LoopbackTourny.h"

#include "tools/loopback/LoopbackData.h"

#include <QRegularExpression>
#include <QStringList>
#include <QTcpSocket>
#include <QTimer>

namespace {
constexpr int kEntryMs = 700, kGameMs = 2500;

int16_t codeOf(const QString& game) {
    static const std::pair<const char*, int16_t> codes[] = {{"Corvada", 1},        {"Omni Corvada", 2},   {"Orbolt", 3},
                                                           {"Corvada Memory", 4}, {"Chinchirorin", 6}, {"Corvada War", 7}};
    for (const auto& [name, code] : codes)
        if (game == QLatin1String(name)) return code;
    return 1;
}
}  // namespace

LoopbackTourny::LoopbackTourny(Send send, QObject* parent) : QObject(parent), m_send(std::move(send)) {}

void LoopbackTourny::chat(QTcpSocket* s, const QString& nick, const QString& text) {
    QPointer<QTcpSocket> client(s);
    if (text.startsWith(QLatin1String("Prize: ")) && text.endsWith(QLatin1String("PM me to get entered"))) {
        int delay = kEntryMs;
        // Every resident enters: the entrants are players on line, in the lobby's list.
        for (const LoopbackData::Player& p : LoopbackData::residents()) {
            QTimer::singleShot(delay, this, [this, client, nick, entrant = p.nick] {
                if (client) m_send(client, QStringLiteral("INPM ") + entrant + u' ' + nick + QStringLiteral(" enter%20me"));
            });
            delay += kEntryMs;
        }
        return;
    }
    static const QRegularExpression round(QStringLiteral("^\\*\\*\\* Round \\d+ - Single Elimination -  - (.+) / "));
    if (const auto m = round.match(text); m.hasMatch()) {
        m_gameType = codeOf(m.captured(1));
        return;
    }
    static const QRegularExpression pair(QStringLiteral("^(\\S+) vs\\. (\\S+)$"));
    const auto m = pair.match(text);
    if (!m.hasMatch() || m.captured(2) == QLatin1String("bye")) return;
    const QString a = m.captured(1), b = m.captured(2);
    const QString winner = a.compare(b, Qt::CaseInsensitive) < 0 ? a : b, loser = winner == a ? b : a;
    const int id = m_gameId++;
    const int16_t type = m_gameType;
    QTimer::singleShot(kGameMs, this, [this, client, winner, loser, id, type] {
        if (!client) return;
        if (type == 7)
            m_send(client, QStringLiteral("CARDWARSMATCH %1 640 %2 0 640 0 %3").arg(winner, loser).arg(id));
        else m_send(client, QStringLiteral("MATCH %1 10 %2 0 5 2 %3 %4").arg(winner, loser).arg(type).arg(id));
    });
}

std::optional<std::pair<QString, QString>> LoopbackTourny::webReply(const QString& command) {
    if (command.startsWith(QLatin1String("call spt_ActiveTournamentFee("))) return std::pair{QStringLiteral("Status"), QStringLiteral("1")};
    if (command.startsWith(QLatin1String("call spi_ActiveTournament(")))
        return std::pair{QStringLiteral("TournamentID"), QStringLiteral("41")};
    if (command.startsWith(QLatin1String("call spi_ActiveTournament"))) return std::pair{QStringLiteral("Result"), QString()};
    return std::nullopt;
}
