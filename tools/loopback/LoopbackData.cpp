#include "tools/loopback/LoopbackData.h"

#include "app/clsClientConfig.h"
#include "tools/loopback/LoopbackGuild.h"

namespace {
// Open hands and the Same rule; every other rule off (the 40 fields of a rule vector).
QString rules() {
    QStringList f(40, QStringLiteral("0"));
    f[0] = QStringLiteral("1");
    f[8] = QStringLiteral("1");
    return f.join(u' ');
}
}  // namespace

namespace LoopbackData {
const QList<Player>& residents() {
    static const QList<Player> players = {
        {QStringLiteral("Nyx"), QStringLiteral("7"), QStringLiteral("Wolves")},
        {QStringLiteral("Orrin"), QStringLiteral("12"), QString()},
        {QStringLiteral("Bree"), QStringLiteral("3"), QStringLiteral("Night Owls")},
        {QStringLiteral("Quill"), QStringLiteral("5"), QString()},
    };
    return players;
}

QString listRecord(const Player& p) { return p.nick + QStringLiteral(":::") + p.level + QStringLiteral(":::") + p.guild; }

QString entryText(const Player& p) {
    QString e = p.nick + u' ' + p.level;
    if (!p.guild.isEmpty()) e += QStringLiteral(" <") + p.guild + u'>';
    return e;
}

QString playerLine(const QString& keyword, const Player& p) {
    QString entry = entryText(p);
    entry.replace(u' ', QStringLiteral("%20"));
    // staff, tag, bracket, membership, entry
    return keyword + QStringLiteral(" 0 Loopback Loopback Gold ") + entry;
}

QString avatarOf(const QString& nick) {
    if (nick == QLatin1String("Nyx")) return QStringLiteral("002 003 002 f");
    if (nick == QLatin1String("Orrin")) return QStringLiteral("003 002 001 m");
    if (nick == QLatin1String("Bree")) return QStringLiteral("001 001 003 f");
    // Clients wear what their login record gave them.
    return QStringLiteral("001 001 001 f");
}

QString levelOf(const QString& nick) {
    for (const Player& p : residents())
        if (p.nick == nick) return p.level;
    return QStringLiteral("1");
}

QString showMain() {
    // GP, -, experience, level, next level, failed logins, gender, background, body, head, cash,
    // guild, rush gauge, -, advancement points, three chests, daily, weekly.
    return QStringLiteral("SHOWMAIN 1500 0 1200 1 2000 0 f 001 001 001 25 ") + LoopbackGuild::recordField() +
           QStringLiteral(" 40 0 3 100 200 300 10 50");
}

QString motd() {
    return QStringLiteral("MOTD Welcome to the Corvadex loopback server: everything you see runs on this machine.");
}

QStringList tables() {
    return {QStringLiteral("ADDTABLE 1 Nyx  ") + rules() + QStringLiteral("@@Fast%20games@@Standard@@250"),
            QStringLiteral("ADDTABLE 2 Orrin Bree ") + rules() + QStringLiteral("@@Friendly%20match@@Standard@@0")};
}

QByteArray versionRecord() {
    const QString version = clsClientConfig().Version();
    return (QStringLiteral("[Info]\r\nVersion=") + version +
            QStringLiteral("\r\nWhatsNew=You are playing against the loopback server.\r\n"))
        .toLatin1();
}
}  // namespace LoopbackData
