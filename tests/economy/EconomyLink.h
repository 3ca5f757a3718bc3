#pragma once
// What the economy tests share: a client logged in to a fake game server with its lobby, a fake
// web service answering the windows' stored procedures, and readers of what the client sent.
#include "FakeWebService.h"
#include "LobbyLink.h"
#include "SoundNumbers.h"

#include "lobby/frmchildchat.h"

#include <QtTest>

using Reply = FakeWebService::Reply;

struct EconomyLink : LobbyLink {
    FakeWebService web;

    EconomyLink() : LobbyLink(QStringLiteral("Tester"), ClientFixture::All) {
        for (const char* v : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) qunsetenv(v);
        qputenv("CORVADEX_WEBSERVICE", web.url().toUtf8());
        lobby->AvatarGender(QStringLiteral("m"));
        lobby->Gold(500);
    }
    ~EconomyLink() { qunsetenv("CORVADEX_WEBSERVICE"); }

    // The server sends the lines and the receive pump hands them on.
    void feed(const QString& line) {
        server.sendLines({line});
        QDeadlineTimer deadline(5000);
        while (con->lstPackets.empty() && !deadline.hasExpired()) QTest::qWait(2);
        con->tmrPacket_Timer();
    }
    // Lines the client sent since the last call.
    QStringList sent() { return sentAfter(120); }
    // Commands the web service ran since the last call.
    QStringList queries() {
        const QStringList all = web.commands();
        const QStringList out = all.mid(m_seenQueries);
        m_seenQueries = int(all.size());
        return out;
    }
    QStringList boxes() {
        QStringList out;
        for (const BoxRecord& b : dialogs().boxes) out << b.title + u'|' + b.text;
        dialogs().clear();
        return out;
    }
    QString lastChatLine() const {
        const QStringList lines = linesOf(lobby->chatin);
        return lines.isEmpty() ? QString() : lines.last();
    }

private:
    int m_seenQueries = 0;
};

// A reply of string columns.
inline Reply table(const QStringList& columns, const QList<QStringList>& rows) {
    Reply r;
    for (const QString& c : columns) r.columns.append({c, QStringLiteral("string")});
    r.rows = rows;
    return r;
}
