#pragma once
// A client logged in to a fake game server: a fresh client folder, the socket window connected,
// the lobby loaded and the automatic receive pump stopped, so a test decides when received lines
// are handled. The lobby and the table tests build their links on it.
#include "ClientFixture.h"
#include "FakeServer.h"

#include "app/modSettings.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "platform/Ini.h"

#include <QDeadlineTimer>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>

#include <memory>

struct LobbyLink {
    std::unique_ptr<ClientFixture> fx;
    FakeServer server;
    QPointer<frmCon> con;
    QPointer<frmchildchat> lobby;

    LobbyLink(const QString& nick, int assets) : fx(std::make_unique<ClientFixture>(assets)) {
        Nickname = nick;
        ClientConfig().Username(nick);
        WriteIni(QStringLiteral("Options"), QStringLiteral("Sounds"), QStringLiteral("1"), GetIniFile());
        con = form<frmCon>();
        con->tmrPacket->stop();
        // Logged in: the connect event then sends nothing of its own.
        ConnectionState = 1;
        con->Winsock->Connect(QStringLiteral("127.0.0.1"), server.port());
        if (!server.waitForClient()) qFatal("no connection");
        QDeadlineTimer deadline(5000);
        while (!con->Winsock->connected() && !deadline.hasExpired()) QTest::qWait(5);
        if (!con->Winsock->connected()) qFatal("not connected");
        lobby = form<frmchildchat>();
    }
    ~LobbyLink() {
        // Leaving on purpose: the loss of the fake server must not start a reconnect.
        ConnectionState = 2;
        if (con) con->Winsock->Close();
        fx.reset();
    }

    ScriptedDialogs& dialogs() { return *fx->services.dialogs; }

protected:
    // Lines the server received since the last call, after waiting ms for lines in flight.
    QStringList sentAfter(int ms) {
        QTest::qWait(ms);
        QStringList out = server.lines.mid(m_seen);
        m_seen = int(server.lines.size());
        return out;
    }

private:
    int m_seen = 0;
};

// The lines of a log (the last, unfinished one included when not empty).
inline QStringList linesOf(const QTextDocument* doc) {
    QStringList lines = doc->toPlainText().split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}
inline QStringList linesOf(const QTextEdit* box) { return linesOf(box->document()); }
inline QStringList linesOf(const QPlainTextEdit* box) { return linesOf(box->document()); }
