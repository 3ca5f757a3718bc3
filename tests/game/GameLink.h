#pragma once
// What the game tests share: a logged-in client with the default skin, cards and sounds, its
// socket window connected to a fake game server, and readers of what it sent and played.
#include "ClientFixture.h"
#include "FakeServer.h"
#include "SoundNumbers.h"

#include "app/storedvars.h"
#include "net/frmCon.h"
#include "platform/Forms.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QtTest>

struct GameLink {
    ClientFixture fixture{ClientFixture::All};
    FakeServer server;
    QPointer<frmCon> con;

    // creator: this client created the table and plays blue.
    explicit GameLink(bool creator = true) {
        Nickname = QStringLiteral("Tester");
        fixture.write(QStringLiteral("config/Tester.cvc"), "[Options]\r\nSounds=1\r\n");
        con = form<frmCon>();
        con->tmrPacket->stop();
        con->creator->setChecked(creator);
        con->versus->setText(QStringLiteral("Rival"));
        con->Winsock->Connect(QStringLiteral("127.0.0.1"), server.port());
        if (!server.waitForClient()) qFatal("no connection");
        QDeadlineTimer deadline(5000);
        while (!con->Winsock->connected() && !deadline.hasExpired()) QTest::qWait(5);
        server.waitForLine(QStringLiteral("VERSION 3.4.5"));
        server.lines.clear();
        // Logged in: notices are written, and sounds follow the user's option.
        ConnectionState = 1;
    }
    ~GameLink() {
        // The end of the test is no lost connection.
        ConnectionState = 0;
    }

    // Sends lines as the server and lets the receive pump hand them to the dispatcher.
    void feed(const QStringList& lines) {
        server.sendLines(lines);
        QDeadlineTimer deadline(5000);
        while (int(con->lstPackets.size()) < lines.size() && !deadline.hasExpired()) QTest::qWait(2);
        if (int(con->lstPackets.size()) < lines.size()) qFatal("lines did not arrive");
        con->tmrPacket_Timer();
    }
    void feed(const QString& line) { feed(QStringList{line}); }

    // Waits until the client has sent this line; the lines sent so far otherwise.
    bool sent(const QString& line, int ms = 3000) { return server.lines.contains(line) || server.waitForLine(line, ms); }
    // Gives a moment for lines that should not come.
    QStringList sentAfterAWhile(int ms = 150) {
        QTest::qWait(ms);
        return server.lines;
    }

    // The sound numbers played, in order.
    QList<int> sounds() const { return soundNumbers(fixture.services.sound->played); }
    void clearSounds() { fixture.services.sound->played.clear(); }
    // No box the test did not ask for, and the client still running.
    bool quiet() const {
        return fixture.services.dialogs->boxes.isEmpty() && fixture.services.lifecycle->ends == 0 &&
               !server.lines.join(u'\n').contains(QStringLiteral("ERRORHANDLER"));
    }
};
