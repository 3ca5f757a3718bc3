#pragma once
// Drives the login road of a fresh client against FakeServer and FakeWebService: the real login
// window, the real connect window, the real socket. Header-only, shared by the login tests.
#include "ClientFixture.h"
#include "FakeServer.h"
#include "FakeWebService.h"

#include "app/HttpClient.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "net/frmConnect.h"
#include "net/frmstart.h"
#include "platform/Forms.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTest>
#include <QTreeWidget>

#include <memory>

// A local port nothing is bound to right now.
inline quint16 freeLocalPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::AnyIPv4, 0);
    return probe.serverPort();
}

// The texts of the lobby's player tree, in order.
inline QStringList playerEntries() {
    QStringList out;
    if (frmchildchat* lobby = ifLoaded<frmchildchat>())
        for (int i = 0; i < lobby->playerlist->topLevelItemCount(); ++i) out << lobby->playerlist->topLevelItem(i)->text(0);
    return out;
}

struct LoginDriver {
    std::unique_ptr<ClientFixture> fx;
    FakeServer server;
    FakeWebService web;
    QList<int> progress;  // every ProgressBar value of every connect window, in order
    QPointer<frmstart> login;

    static QString showMain() {
        return QStringLiteral("SHOWMAIN 1500 0 12000 7 14000 2 f 001 002 003 25 Night%20Owls 40 0 3 100 200 300 10 50");
    }
    static FakeWebService::Reply players() {
        return {{{QStringLiteral("Player"), QStringLiteral("string")}},
                {{QStringLiteral("kira:::12:::Wolves")}, {QStringLiteral("Nyx:::7:::")}, {QStringLiteral("KIRA:::3:::")}}};
    }

    LoginDriver() : fx(std::make_unique<ClientFixture>(ClientFixture::Skin)) {
        for (const char* v : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) qunsetenv(v);
        qputenv("CORVADEX_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(server.port()));
        qputenv("CORVADEX_WEBSERVICE", web.url().toUtf8());
        qputenv("CORVADEX_WEBSITE", web.baseUrl().toUtf8());
        HttpClient::setTimeouts({500, 3000});
        web.answer(QStringLiteral("call sps_GetPlayers()"), players());
    }
    ~LoginDriver() {
        fx.reset();
        qunsetenv("CORVADEX_SERVER");
        qunsetenv("CORVADEX_WEBSERVICE");
        qunsetenv("CORVADEX_WEBSITE");
    }

    ScriptedDialogs& dialogs() { return *fx->services.dialogs; }
    frmConnect* connectWindow() { return ifLoaded<frmConnect>(); }
    frmCon* con() { return ifLoaded<frmCon>(); }

    // Loads the connect window ahead of the login so that its steps are recorded.
    void watchProgress() {
        frmConnect* c = form<frmConnect>();
        QObject::connect(c, &frmConnect::progressChanged, c, [this](int v) { progress << v; });
    }

    frmstart* open() {
        login = form<frmstart>();
        watchProgress();
        return login;
    }

    void type(const QString& nick, const QString& password, const QString& port = QString()) {
        login->txtlogin_username->setText(nick);
        login->txtlogin_password->setText(password);
        login->txtproxy_port->setText(port.isEmpty() ? QString::number(freeLocalPort()) : port);
    }

    // Login click and the connect window's first tick (which asks the socket to connect).
    void begin(const QString& nick = QStringLiteral("kira"), const QString& password = QStringLiteral("secret1")) {
        if (!login) open();
        type(nick, password);
        login->cmdLogin_Click();
        if (frmConnect* c = connectWindow()) c->Timer1_Timer();
    }

    // begin(), then true once the server has the version.
    bool connect(const QString& nick = QStringLiteral("kira"), const QString& password = QStringLiteral("secret1")) {
        begin(nick, password);
        return connectWindow() && server.waitForClient() && server.waitForLine(QStringLiteral("VERSION 3.4.5"));
    }

    // SHOWMENU answered by the login line.
    bool authenticate(const QString& nick = QStringLiteral("kira"), const QString& password = QStringLiteral("secret1")) {
        server.send(QStringLiteral("SHOWMENU"));
        return server.waitForLine(QStringLiteral("LOADGAME ") + nick + u' ' + password);
    }

    bool handedOver(int ms = 8000) {
        return QTest::qWaitFor([this] { return progress.contains(85); }, ms);
    }

    // The whole road up to the lobby's bring-up.
    bool loginToLobby() {
        if (!connect() || !authenticate()) return false;
        server.sendLines({QStringLiteral("LOADGAME-OK"), showMain(), QStringLiteral("MOTD Welcome back"), QStringLiteral("QUERYPLAYERS")});
        return handedOver();
    }
};
