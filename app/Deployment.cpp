#include "app/Deployment.h"

#include <QUrl>

namespace {
QString envOr(const char* name, const QString& fallback) {
    const QString v = qEnvironmentVariable(name).trimmed();
    return v.isEmpty() ? fallback : v;
}

// CORVADEX_SERVER is "host:port" or "host".
QString serverOverride() { return qEnvironmentVariable("CORVADEX_SERVER").trimmed(); }
}  // namespace

namespace Deployment {
QString serverHost() {
    const QString s = serverOverride();
    if (s.isEmpty()) return QStringLiteral("play.corvadex.net");
    const int colon = s.lastIndexOf(u':');
    return colon > 0 ? s.left(colon) : s;
}

QString serverPort() {
    const QString s = serverOverride();
    const int colon = s.lastIndexOf(u':');
    if (colon > 0 && colon + 1 < s.size()) return s.mid(colon + 1);
    return QStringLiteral("4000");
}

QString webServiceOverride() { return qEnvironmentVariable("CORVADEX_WEBSERVICE").trimmed(); }
QString publicServiceHost() { return QStringLiteral("data.corvadex.net"); }
// A name rather than an address of a private network: a client pointed at another server
// without CORVADEX_WEBSERVICE must not send requests into whatever network it sits in.
QString developmentServiceHost() { return QStringLiteral("dev.corvadex.net"); }
QString developerNickname() { return QStringLiteral("Corvadev"); }
QString serviceNamespace() { return QStringLiteral("http://corvadex.net/webservices/"); }
QString serviceKey() { return QStringLiteral("731904268513746029"); }

QString website() {
    QString w = envOr("CORVADEX_WEBSITE", QStringLiteral("http://www.corvadex.net"));
    while (w.endsWith(u'/')) w.chop(1);
    return w;
}

QString websiteDisplay() { return website(); }
QString portal() { return website() + QStringLiteral("/portal/"); }
QString forum() { return QStringLiteral("http://forums.corvadex.net"); }
QString supportAddress() { return QStringLiteral("support@corvadex.net"); }
QString developerContact() { return QStringLiteral("the Corvadex developers (dev@corvadex.net)"); }
QString downloadSite() { return website() + QStringLiteral("/download/"); }
QString staffGuild() { return QStringLiteral("Corvadex Staff"); }
}  // namespace Deployment
