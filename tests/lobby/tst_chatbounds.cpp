// Every chat pane stays bounded however long the talk: many lines received through the socket
// and the receive pump into the lobby log, a private-message window, a room's chat, a game's
// chat and the guild log leave each pane near the lobby log's limit, with the newest line last.
#include "RoomLink.h"

#include "app/modLinks.h"
#include "app/storedvars.h"
#include "game/frmplaying.h"
#include "lobby/frmMsgWind.h"
#include "lobby/frmguildchat.h"
#include "tables/frmchallengebox_single.h"

class TestChatBounds : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { ClientFixture::unloadAll(); }

    void paneKeepsTheNewestPart_data() {
        QTest::addColumn<QString>("line");  // %1: the line's number
        QTest::addColumn<QString>("pane");
        QTest::newRow("lobby log") << "CHAT Nyx line%20%1%20of%20a%20long%20talk%20in%20the%20lobby" << "lobby";
        QTest::newRow("private message") << "INPM Nyx kira line%20%1%20of%20a%20long%20private%20talk" << "pm";
        QTest::newRow("room chat") << "CHALLENGECHATS Nyx line %1 of a long talk in the room" << "room";
        QTest::newRow("game chat") << "GAMECHAT Nyx line %1 of a long talk in the game" << "game";
        QTest::newRow("guild log") << "CHAT Bree /guild line %1 of a long talk in the guild" << "guild";
    }
    void paneKeepsTheNewestPart() {
        QFETCH(QString, line);
        QFETCH(QString, pane);
        RoomLink l;
        l.lobby->show();
        if (pane == QLatin1String("room")) form<frmchallengebox_single>()->show();
        if (pane == QLatin1String("game")) form<frmplaying>()->show();
        if (pane == QLatin1String("guild")) {
            GuildName = QStringLiteral("Wolves");
            form<frmguildchat>()->show();
        }
        constexpr int kLines = 480;
        for (int from = 0; from < kLines; from += 120) {
            QStringList lines;
            for (int i = from; i < from + 120; ++i) lines << line.arg(i);
            l.receive(lines);
        }
        // What a handler leaves for the event loop (the guild log's trim) runs between ticks.
        QCoreApplication::processEvents();
        const QTextDocument* doc = pane == QLatin1String("lobby") ? l.lobby->chatin->document()
                                   : pane == QLatin1String("pm")   ? (MsgWindows.value(0) ? MsgWindows.value(0)->chatin->document() : nullptr)
                                   : pane == QLatin1String("room") ? form<frmchallengebox_single>()->chatin->document()
                                   : pane == QLatin1String("guild") ? form<frmguildchat>()->chatin->document()
                                                                   : form<frmplaying>()->chatin->document();
        QVERIFY(doc);
        // Far more was received than the limit; the pane holds at most the limit and one message.
        QVERIFY2(chatLength(doc) <= kChatLogLimit + 120, qPrintable(QString::number(chatLength(doc))));
        QVERIFY(chatLength(doc) > kChatLogLimit - 120);
        const QStringList shown = linesOf(doc);
        QVERIFY(!shown.isEmpty());
        QStringList written = shown;
        while (!written.isEmpty() && written.last().trimmed().isEmpty()) written.removeLast();
        QVERIFY2(written.last().contains(QStringLiteral("line %1 of a long").arg(kLines - 1)), qPrintable(written.last()));
    }
};

QTEST_MAIN(TestChatBounds)
#include "tst_chatbounds.moc"
