#include "tools/loopback/LoopbackGuild.h"

#include "tools/dataset/DataSetXml.h"

#include <QTextStream>

namespace LoopbackGuild {
QString name() { return QStringLiteral("Night Owls"); }

QString recordField() { return QString(name()).replace(u' ', QStringLiteral("%20")); }

std::optional<QByteArray> answer(const QString& command) {
    if (command != QStringLiteral("call sps_GetLatestGuildComments('") + name() + QStringLiteral("')")) return std::nullopt;
    const QString board = QStringLiteral("http://www.corvadex.net/Guilds/Threads/Night%20Owls/");
    const QList<QStringList> rows = {
        {QStringLiteral("Raid on the Ember Keep tonight"), QStringLiteral("Bree"), QStringLiteral("12/8/2026 9:41 PM"),
         board + QStringLiteral("Thread.aspx?id=118")},
        {QStringLiteral("Trading spare Elemental cards"), QStringLiteral("Bree"), QStringLiteral("12/8/2026 6:02 PM"),
         board + QStringLiteral("Thread.aspx?id=117")},
        {QStringLiteral("Welcome, new members!"), QStringLiteral("Orrin"), QStringLiteral("12/6/2026 11:15 AM"),
         board + QStringLiteral("Thread.aspx?id=112")},
    };
    QTextStream(stdout) << "[web] GetData " << command << ": " << rows.size() << " comments" << Qt::endl;
    return DataSetXml::reply({{QStringLiteral("ThreadTitle"), QStringLiteral("string")},
                              {QStringLiteral("Poster"), QStringLiteral("string")},
                              {QStringLiteral("PostTimeStamp"), QStringLiteral("string")},
                              {QStringLiteral("sURL"), QStringLiteral("string")}},
                             rows);
}
}  // namespace LoopbackGuild
