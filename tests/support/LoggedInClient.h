#pragma once
// A client that went the whole login road (login window, connect window, the real socket to
// FakeServer, the player list from FakeWebService) and now sits in its lobby, with sounds
// unpacked and on, the clock at 2026-07-01 20:15:00, and the receive pump stopped so that each
// test decides when the lines it sends are handled. Header-only; it builds on the login tests'
// driver and the lobby tests' log readers.
#include "../lobby/LobbyHelpers.h"
#include "../net/LoginDriver.h"

#include "app/CGUnzipFiles.h"
#include "app/modSettings.h"
#include "app/storedvars.h"
#include "lobby/fancychat.h"
#include "net/frmConnect.h"
#include "platform/Ini.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

struct LoggedInClient {
    LoginDriver driver;
    QPointer<frmCon> con;
    QPointer<frmchildchat> lobby;
    bool ready = false;

    LoggedInClient() {
        driver.fx->services.clock->setWall(QDateTime(QDate(2026, 7, 1), QTime(20, 15, 0)).toMSecsSinceEpoch());
        UnzipOptions quiet;
        if (RunUnzip(ClientFixture::archive(QStringLiteral("wavs.zip")), driver.fx->folder(), quiet) != 0) return;
        if (!driver.loginToLobby() || !QTest::qWaitFor([] { return !ifLoaded<frmConnect>(); }, 5000)) return;
        con = driver.con();
        lobby = ifLoaded<frmchildchat>();
        if (!con || !lobby || !driver.server.waitForLine(QStringLiteral("TABLEQUERY 1"))) return;
        con->tmrPacket->stop();
        con->tmrPacket_Timer();
        QCoreApplication::processEvents();
        WriteIni(QStringLiteral("Options"), QStringLiteral("Sounds"), QStringLiteral("1"), GetIniFile());
        sent();
        sounds();
        mark();
        ready = true;
    }
    ~LoggedInClient() {
        // Leaving on purpose: the loss of the fake server must not start a reconnect.
        ConnectionState = 2;
        if (con) con->Winsock->Close();
    }

    ClientFixture& fx() { return *driver.fx; }
    ScriptedDialogs& dialogs() { return *driver.fx->services.dialogs; }
    FakeServer& server() { return driver.server; }
    void setting(const QString& section, const QString& key, const QString& value) { WriteIni(section, key, value, GetIniFile()); }

    // The server sends the lines; the pump hands them to the dispatcher; what the handlers left
    // for the event loop (the guild list rebuild) runs too.
    void receive(const QStringList& lines) {
        const size_t before = con ? con->lstPackets.size() : 0;
        driver.server.sendLines(lines);
        QDeadlineTimer deadline(5000);
        while (con && con->lstPackets.size() < before + size_t(lines.size()) && !deadline.hasExpired()) QTest::qWait(2);
        if (con) con->tmrPacket_Timer();
        QCoreApplication::processEvents();
    }
    void receive(const QString& line) { receive(QStringList{line}); }

    // Lines the server received since the last call.
    QStringList sent() {
        // Lines still on their way come within moments: wait until a while passes without one.
        qsizetype seen = -1;
        while (seen != driver.server.lines.size()) {
            seen = driver.server.lines.size();
            QTest::qWait(30);
        }
        QStringList out = driver.server.lines.mid(m_seenLines);
        m_seenLines = int(driver.server.lines.size());
        return out;
    }
    // File names of the sounds played since the last call.
    QStringList sounds() {
        QStringList out;
        const QStringList& played = driver.fx->services.sound->played;
        for (int i = m_seenSounds; i < played.size(); ++i) out << QFileInfo(played[i]).fileName();
        m_seenSounds = int(played.size());
        return out;
    }
    // Lines of the lobby log written since the last mark, and the mark moved past them.
    QStringList newLines() {
        const QStringList all = linesOf(lobby->chatin);
        const QStringList out = all.mid(m_seenLog);
        m_seenLog = int(all.size());
        return out;
    }
    // The runs of the lobby log since the last mark (the mark stays).
    QList<Run> newRuns() const { return runsOf(lobby->chatin, m_seenLog); }
    void mark() { m_seenLog = int(linesOf(lobby->chatin).size()); }

private:
    int m_seenLines = 0;
    int m_seenSounds = 0;
    int m_seenLog = 0;
};

// The notice time every LoggedInClient shows.
inline const QString kNoticeTime = QStringLiteral("20:15:00");
