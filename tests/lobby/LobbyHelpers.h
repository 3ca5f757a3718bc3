#pragma once
// Shared by the lobby tests: what a rich-text log holds as coloured runs and lines, and a socket
// window logged in to a fake server.
#include "LobbyLink.h"

#include "platform/VbCompat.h"

#include <QTextBlock>

// One stretch of a log with one colour and weight (neighbours with equal formats are merged).
struct Run {
    QString text;
    long colour = 0;
    bool bold = false;
    bool operator==(const Run& o) const { return text == o.text && colour == o.colour && bold == o.bold; }
};

inline char* toString(const Run& r) {
    return qstrdup(QStringLiteral("{\"%1\", %2, %3}").arg(r.text).arg(r.colour).arg(r.bold ? "bold" : "plain").toUtf8().constData());
}

// The runs of a log from a block on (line breaks show as "\n" runs of their own).
inline QList<Run> runsOf(const QTextDocument* doc, int fromBlock = 0) {
    QList<Run> out;
    const auto add = [&out](const QString& text, long colour, bool bold) {
        if (!out.isEmpty() && out.last().colour == colour && out.last().bold == bold && text != u'\n' && out.last().text != u'\n')
            out.last().text += text;
        else
            out << Run{text, colour, bold};
    };
    QTextBlock b = doc->begin();
    for (int i = 0; i < fromBlock && b.isValid(); ++i) b = b.next();
    for (; b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat fmt = f.charFormat();
            add(f.text(), vbColorValue(fmt.foreground().color()), fmt.fontWeight() >= QFont::Bold);
        }
        if (b.next().isValid()) out << Run{QStringLiteral("\n"), 0, false};
    }
    return out;
}

inline QList<Run> runsOf(const QTextEdit* box, int fromBlock = 0) { return runsOf(box->document(), fromBlock); }
inline QList<Run> runsOf(const QPlainTextEdit* box, int fromBlock = 0) { return runsOf(box->document(), fromBlock); }

// The colour of the last written run of a log (line breaks aside); -1 for an empty log.
template <class Box>
long lastColour(const Box* box) {
    const QList<Run> runs = runsOf(box);
    for (auto it = runs.rbegin(); it != runs.rend(); ++it)
        if (it->text != u'\n') return it->colour;
    return -1;
}

inline int countLinesContaining(const QTextDocument* doc, const QString& text) {
    int n = 0;
    for (const QString& line : linesOf(doc)) n += line.contains(text);
    return n;
}
inline int countLinesContaining(const QTextEdit* box, const QString& text) { return countLinesContaining(box->document(), text); }
inline int countLinesContaining(const QPlainTextEdit* box, const QString& text) { return countLinesContaining(box->document(), text); }

// The lobby tests' logged-in client: skin and sounds unpacked, the nickname kira.
struct LoggedIn : LobbyLink {
    explicit LoggedIn(int assets = ClientFixture::Skin | ClientFixture::Wavs) : LobbyLink(QStringLiteral("kira"), assets) {}

    // Lines the server received since the last call.
    QStringList sent() { return sentAfter(30); }
    // Sends lines to the client and hands them to the dispatcher.
    void receive(const QStringList& lines) {
        server.sendLines(lines);
        QDeadlineTimer deadline(5000);
        while (con && int(con->lstPackets.size()) < int(lines.size()) && !deadline.hasExpired()) QTest::qWait(5);
        if (con) con->tmrPacket_Timer();
    }
};
