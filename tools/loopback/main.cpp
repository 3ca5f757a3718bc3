// corvadex-loopback: a game server and web service on 127.0.0.1 for trying the client alone.
//   corvadex-loopback [--port 4000] [--http-port 4080] [--pass-key 12345678] [--admin-level 4]
// It prints how to point a client at it (tools/setup-and-run.sh does so). While it runs in a
// terminal, type "drop" to close every connection (the client then reconnects), "request" to
// send the operators another end-game request and quick call, or "quit".
#include "tools/loopback/LoopbackGame.h"
#include "tools/loopback/LoopbackWeb.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

namespace {
void print(const QString& text) {
    static QTextStream out(stdout);
    out << text << Qt::endl;
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvadex-loopback"));
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("A Corvadex game server and web service on this machine."));
    options.addHelpOption();
    options.addOption({QStringLiteral("port"), QStringLiteral("Game server port (0: any free one)."), QStringLiteral("port"),
                       QStringLiteral("4000")});
    options.addOption({QStringLiteral("http-port"), QStringLiteral("Web service and web site port (0: any free one)."),
                       QStringLiteral("port"), QStringLiteral("4080")});
    options.addOption({QStringLiteral("pass-key"), QStringLiteral("The operators' 8-digit pass key."), QStringLiteral("key"),
                       QStringLiteral("12345678")});
    options.addOption({QStringLiteral("admin-level"), QStringLiteral("The operator level the pass key grants (1 to 5)."),
                       QStringLiteral("level"), QStringLiteral("4")});
    options.process(app);

    bool okGame = false, okWeb = false;
    const uint gamePort = options.value(QStringLiteral("port")).toUInt(&okGame);
    const uint webPort = options.value(QStringLiteral("http-port")).toUInt(&okWeb);
    if (!okGame || !okWeb || gamePort > 65535 || webPort > 65535) {
        print(QStringLiteral("ports are numbers from 0 to 65535"));
        return 2;
    }
    LoopbackGame game;
    game.operators(options.value(QStringLiteral("pass-key")), options.value(QStringLiteral("admin-level")));
    LoopbackWeb web([&game] { return game.online(); });
    if (!game.listen(quint16(gamePort))) {
        print(QStringLiteral("cannot serve the game on 127.0.0.1:%1: %2").arg(gamePort).arg(game.errorString()));
        return 1;
    }
    if (!web.listen(quint16(webPort))) {
        print(QStringLiteral("cannot serve the web service on 127.0.0.1:%1: %2").arg(webPort).arg(web.errorString()));
        return 1;
    }
    print(QStringLiteral("game server on 127.0.0.1:%1").arg(game.port()));
    print(QStringLiteral("web service on %1").arg(web.serviceUrl()));
    print(QStringLiteral("point a client here with:"));
    print(QStringLiteral("  CORVADEX_SERVER=127.0.0.1:%1 CORVADEX_WEBSERVICE=%2 CORVADEX_WEBSITE=%3")
              .arg(game.port())
              .arg(web.serviceUrl(), web.siteUrl()));
    print(QStringLiteral("operator pass key: %1 (level %2)")
              .arg(options.value(QStringLiteral("pass-key")), options.value(QStringLiteral("admin-level"))));

    // Typed commands; without a terminal (stdin at its end) there are none.
    QSocketNotifier typed(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&typed, &QSocketNotifier::activated, &app, [&] {
        char buffer[256];
        if (!std::fgets(buffer, sizeof buffer, stdin)) {
            typed.setEnabled(false);
            return;
        }
        const QString command = QString::fromLocal8Bit(buffer).trimmed();
        if (command == QLatin1String("drop"))
            game.dropAll();
        else if (command == QLatin1String("request"))
            game.sampleRequests();
        else if (command == QLatin1String("quit") || command == QLatin1String("exit"))
            app.quit();
        else if (!command.isEmpty())
            print(QStringLiteral("commands: drop, request, quit"));
    });
    return app.exec();
}
