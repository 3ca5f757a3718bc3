#include "tools/loopback/LoopbackAdmin.h"

#include "app/modText.h"
#include "tools/loopback/LoopbackData.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace {
QString encoded(QString text) { return text.replace(u' ', QStringLiteral("%20")); }
// The client sends the key as its leading number, so leading zeros do not count.
QString keyNumber(const QString& key) {
    bool ok = false;
    const qulonglong n = key.toULongLong(&ok);
    return ok ? QString::number(n) : QString();
}
}  // namespace

LoopbackAdmin::LoopbackAdmin(Send send, Broadcast toLoggedIn, QObject* parent)
    : QObject(parent), m_send(std::move(send)), m_toLoggedIn(std::move(toLoggedIn)) {}

void LoopbackAdmin::configure(const QString& passKey, const QString& level) {
    m_passKey = passKey;
    m_level = level;
}

void LoopbackAdmin::toOperators(const QString& line) {
    for (QTcpSocket* s : std::as_const(m_operators)) m_send(s, line);
}

void LoopbackAdmin::sampleRequests() {
    const QList<LoopbackData::Player>& residents = LoopbackData::residents();
    const QString& who = residents[m_samples % residents.size()].nick;
    const QString& caller = residents[(m_samples + 1) % residents.size()].nick;
    ++m_samples;
    for (QTcpSocket* s : std::as_const(m_operators)) {
        m_send(s, QStringLiteral("CHAT ") + who + QStringLiteral(" !endgame my%20opponent%20left"));
        m_send(s, QStringLiteral("ADMINKEYWORD ") + caller + QStringLiteral(" need%20a%20GM"));
    }
}

bool LoopbackAdmin::handle(QTcpSocket* s, const QString& nick, const QString& line) {
    const Fields f = Divide(line, QStringLiteral(" "));
    const QString& keyword = f[0];
    const QString rest = line.mid(keyword.size() + 1);
    if (keyword == QLatin1String("ADMINLOGIN")) {
        if (m_passKey.isEmpty() || f[1] != keyNumber(m_passKey)) {
            m_send(s, QStringLiteral("ADMINPASSERROR"));
            return true;
        }
        m_operators.insert(s);
        m_send(s, QStringLiteral("ADMINSTATUS ") + m_level);
        // Something to grant or deny once the window is up.
        QPointer<QTcpSocket> operatorSocket(s);
        QTimer::singleShot(1500, this, [this, operatorSocket] {
            if (operatorSocket && m_operators.contains(operatorSocket)) sampleRequests();
        });
    } else if (keyword == QLatin1String("ADMINLOGOUT")) {
        m_operators.remove(s);
    } else if (!m_operators.contains(s)) {
        // Operator commands of a player who is no operator go nowhere.
        return keyword.startsWith(QLatin1String("ADMIN")) || keyword == QLatin1String("TRIGGERREMOVE");
    } else if (keyword == QLatin1String("ADMINCHAT")) {
        toOperators(QStringLiteral("ADMINCHAT ") + nick + u' ' + encoded(rest));
    } else if (keyword == QLatin1String("ADMINKEYWORD")) {
        toOperators(QStringLiteral("ADMINKEYWORD ") + nick + u' ' + encoded(rest));
    } else if (keyword == QLatin1String("TRIGGERREMOVE") || keyword == QLatin1String("ADMINREMOVETRIGGER")) {
        toOperators(QStringLiteral("ADMINREMOVETRIGGER ") + rest);
    } else if (keyword == QLatin1String("ADMINWARN") || keyword == QLatin1String("ADMINKICK") || keyword == QLatin1String("ADMINBAN")) {
        m_toLoggedIn(QStringLiteral("ADMINOPCOMMAND ") + keyword.mid(5).toLower() + u' ' + f[1] + u' ' + nick + u' ' + f[2]);
    } else if (keyword == QLatin1String("ADMINCHATCLEAR")) {
        m_toLoggedIn(QStringLiteral("ADMINCHATCLEAR"));
    } else {
        return false;
    }
    return true;
}
