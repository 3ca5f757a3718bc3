#pragma once
// A logged-in client for the table and room tests: a fresh client folder with the default skin,
// cards and sounds, the socket window connected to a fake game server, the lobby loaded and the
// automatic receive pump stopped, so a test decides when received lines are handled. It reads
// back what the client sent, which sounds it played and what a rich-text log shows.
#include "LobbyLink.h"
#include "SoundNumbers.h"

#include "platform/VbCompat.h"

#include <QTextBlock>

struct RoomLink : LobbyLink {
    explicit RoomLink(const QString& nick = QStringLiteral("kira"), int assets = ClientFixture::All) : LobbyLink(nick, assets) {}

    RecordingShell& shell() { return *fx->services.shell; }

    // Lines the server received since the last call (after a moment for lines in flight).
    QStringList sent(int ms = 60) { return sentAfter(ms); }
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
    QList<int> sounds() const { return soundNumbers(fx->services.sound->played); }
    // True when the client reported no error and did not end.
    bool healthy() const {
        return fx->services.lifecycle->ends == 0 && !server.lines.join(u'\n').contains(QStringLiteral("ERRORHANDLER"));
    }
};

// The colour (0xBBGGRR) of the text of a log's line, taken from its first run.
inline long lineColour(const QTextDocument* doc, int line) {
    const QTextBlock b = doc->findBlockByNumber(line);
    if (!b.isValid() || b.begin().atEnd()) return -1;
    return vbColorValue(b.begin().fragment().charFormat().foreground().color());
}
inline long lineColour(const QTextEdit* box, int line) { return lineColour(box->document(), line); }
inline long lineColour(const QPlainTextEdit* box, int line) { return lineColour(box->document(), line); }
