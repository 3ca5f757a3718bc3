#pragma once
// Addresses and fixed values of the service this build talks to. CORVADEX_SERVER (host:port),
// CORVADEX_WEBSERVICE (SOAP endpoint URL) and CORVADEX_WEBSITE (base URL) override them.
#include <QString>

namespace Deployment {
QString serverHost();   // the default game-server host
QString serverPort();   // the default game-server port, "4000"
// CORVADEX_WEBSERVICE when set, else "" (the endpoint is then chosen from the server address).
QString webServiceOverride();
QString publicServiceHost();
QString developmentServiceHost();
QString developerNickname();
QString serviceNamespace();  // ends in "/"
QString serviceKey();
QString website();           // base URL without trailing "/"
QString websiteDisplay();    // as shown in texts
QString portal();
QString forum();             // the forum site, a host of its own
QString supportAddress();
QString developerContact();
QString downloadSite();
QString staffGuild();        // the operators' guild, whose pages the administrator window links
}  // namespace Deployment
