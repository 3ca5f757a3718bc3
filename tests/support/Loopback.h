#pragma once
// The loopback server tool (tools/loopback) run as its own process for the tests that drive the
// whole client against it, and the login through the login and connect windows they start with.
#include "app/HttpClient.h"
#include "net/frmConnect.h"
#include "net/frmstart.h"
#include "platform/Forms.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QtTest>

struct Loopback {
    QProcess process;
    // What the tool printed so far (its log of lines in "->" and out "<-").
    QString output;
    quint16 gamePort = 0;
    QString serviceUrl, siteUrl;

    bool printed(const QString& text, int ms = 5000) {
        return QTest::qWaitFor([&] { return output.contains(text); }, ms);
    }

    // What followed the keyword in the last line the tool sent with it ("%20" read as blanks).
    QString lastSent(const QString& keyword) const {
        const qsizetype at = output.lastIndexOf(QStringLiteral("<- ") + keyword + u' ');
        if (at < 0) return {};
        const qsizetype from = at + keyword.size() + 4;
        return output.mid(from, output.indexOf(u'\n', from) - from).replace(QStringLiteral("%20"), QStringLiteral(" "));
    }

    // Starts the tool on ports of its choosing (and with the options given) and reads where it
    // listens; fails the running test function when it does not come up.
    void start(const QStringList& options = {}) {
        for (const char* v : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) qunsetenv(v);
        const QString program = QStringLiteral(CORVADEX_BIN_DIR "/corvadex-loopback");
        QVERIFY2(QFile::exists(program), "build the corvadex-loopback target first");
        QObject::connect(&process, &QProcess::readyReadStandardOutput, &process,
                         [this] { output += QString::fromLocal8Bit(process.readAllStandardOutput()); });
        process.start(program, QStringList{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--http-port"), QStringLiteral("0")} + options);
        QVERIFY(process.waitForStarted());
        QVERIFY(printed(QStringLiteral("CORVADEX_WEBSITE=")));
        const auto game = QRegularExpression(QStringLiteral("game server on 127\\.0\\.0\\.1:(\\d+)")).match(output);
        const auto web = QRegularExpression(QStringLiteral("web service on (\\S+)")).match(output);
        QVERIFY(game.hasMatch() && web.hasMatch());
        gamePort = quint16(game.captured(1).toUInt());
        serviceUrl = web.captured(1);
        siteUrl = serviceUrl.left(serviceUrl.indexOf(QStringLiteral("/RookfellWebService")));
    }

    // The start of a test program that plays against the tool: the tool up, the client pointed at
    // it, and short web-service timeouts so that a missing answer fails fast.
    void startForClients(const QStringList& options = {}) {
        start(options);
        if (QTest::currentTestFailed()) return;
        exportAddresses();
        HttpClient::setTimeouts({500, 3000});
    }

    // Points the client at the tool's game server, web service and site.
    void exportAddresses() const {
        qputenv("CORVADEX_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(gamePort));
        qputenv("CORVADEX_WEBSERVICE", serviceUrl.toUtf8());
        qputenv("CORVADEX_WEBSITE", siteUrl.toUtf8());
    }

    void stop() {
        process.write("quit\n");
        if (!process.waitForFinished(3000)) process.kill();
        qunsetenv("CORVADEX_SERVER");
        qunsetenv("CORVADEX_WEBSERVICE");
        qunsetenv("CORVADEX_WEBSITE");
    }
};

inline quint16 unusedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::AnyIPv4, 0);
    return probe.serverPort();
}

// Logs a fresh client in through the login window (no proxy listens on the port it is given);
// the connect window's progress steps, waited on until the hand-over to the lobby (85).
inline QList<int> loginThroughWindows(const QString& nick) {
    QList<int> steps;
    frmConnect* c = form<frmConnect>();
    const QMetaObject::Connection counting =
        QObject::connect(c, &frmConnect::progressChanged, c, [&steps](int v) { steps << v; });
    frmstart* w = form<frmstart>();
    w->txtlogin_username->setText(nick);
    w->txtlogin_password->setText(QStringLiteral("pw"));
    w->txtproxy_port->setText(QString::number(unusedPort()));
    w->cmdLogin_Click();
    c->Timer1_Timer();
    // The callers judge whether the hand-over came.
    (void)QTest::qWaitFor([&] { return steps.contains(85); }, 10000);
    // The list lives no longer than this call; later progress must not reach it.
    QObject::disconnect(counting);
    return steps;
}
