#pragma once
// A logged-in client for the table and room tests: a fresh client folder with the default skin,
// cards and sounds, the socket window connected to a fake game server, the lobby loaded and the
// automatic receive pump stopped, so a test decides when received lines are handled. It reads
// back what the client sent, which sounds it played and what a rich-text log shows.
#include "ClientFixture.h"
#include "FakeServer.h"

#include "app/modSettings.h"
#include "app/modSound.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/VbCompat.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <memory>

struct RoomLink {
    std::unique_ptr<ClientFixture> fx;
    FakeServer server;
    QPointer<frmCon> con;
    QPointer<frmchildchat> lobby;

    explicit RoomLink(const QString& nick = QStringLiteral("kira"), int assets = ClientFixture::All)
        : fx(std::make_unique<ClientFixture>(assets)) {
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
    ~RoomLink() {
        // Leaving on purpose: the loss of the fake server must not start a reconnect.
        ConnectionState = 2;
        if (con) con->Winsock->Close();
        fx.reset();
    }

    ScriptedDialogs& dialogs() { return *fx->services.dialogs; }
    RecordingShell& shell() { return *fx->services.shell; }

    // Lines the server received since the last call (after a moment for lines in flight).
    QStringList sent(int ms = 60) {
        QTest::qWait(ms);
        QStringList out = server.lines.mid(m_seen);
        m_seen = int(server.lines.size());
        return out;
    }
    // Sends lines as the server and hands them to the dispatcher.
    void receive(const QStringList& lines) {
        const qsizetype before = con ? qsizetype(con->lstPackets.size()) : 0;
        server.sendLines(lines);
        QDeadlineTimer deadline(5000);
        while (con && qsizetype(con->lstPackets.size()) < before + lines.size() && !deadline.hasExpired()) QTest::qWait(2);
        if (con && qsizetype(con->lstPackets.size()) < before + lines.size()) qFatal("lines did not arrive");
        if (con) con->tmrPacket_Timer();
    }
    void receive(const QString& line) { receive(QStringList{line}); }

    void creator(bool on) { con->creator->setChecked(on); }
    bool isCreator() const { return con->creator->isChecked(); }

    // The sound numbers played, in order.
    QList<int> sounds() const {
        QList<int> ids;
        for (const QString& path : fx->services.sound->played) {
            for (int id = 1; id < 60; ++id) {
                const QString file = SoundFile(id);
                if (!file.isEmpty() && resolvePath(clientPath(file)) == path) {
                    ids << id;
                    break;
                }
            }
        }
        return ids;
    }
    // True when the client reported no error and did not end.
    bool healthy() const {
        return fx->services.lifecycle->ends == 0 && !server.lines.join(u'\n').contains(QStringLiteral("ERRORHANDLER"));
    }

private:
    int m_seen = 0;
};

// The lines of a rich-text log.
inline QStringList logLines(const QTextDocument* doc) {
    QStringList lines = doc->toPlainText().split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}
inline QStringList logLines(const QTextEdit* box) { return logLines(box->document()); }
inline QStringList logLines(const QPlainTextEdit* box) { return logLines(box->document()); }

// The colour (0xBBGGRR) of the text of a log's line, taken from its first run.
inline long lineColour(const QTextDocument* doc, int line) {
    const QTextBlock b = doc->findBlockByNumber(line);
    if (!b.isValid() || b.begin().atEnd()) return -1;
    return vbColorValue(b.begin().fragment().charFormat().foreground().color());
}
inline long lineColour(const QTextEdit* box, int line) { return lineColour(box->document(), line); }
inline long lineColour(const QPlainTextEdit* box, int line) { return lineColour(box->document(), line); }
