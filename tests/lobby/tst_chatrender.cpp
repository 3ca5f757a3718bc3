// Chat rendering: notice lines, received chat lines by their leading command and where they
// land, colours from skin texts, padded rows, the bounded lobby log and the chat log files.
#include "ClientFixture.h"
#include "LobbyHelpers.h"

#include "admin/frmadmin.h"
#include "app/modSettings.h"
#include "app/storedvars.h"
#include "lobby/chatloggers.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmguildchat.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/RuntimeError.h"

#include <QDateTime>
#include <QtTest>

namespace {
constexpr long White = ChatColour::White;
constexpr long Yellow = ChatColour::Yellow;
constexpr long Green = ChatColour::Green;
constexpr long LightGreen = ChatColour::LightGreen;
constexpr long Red = ChatColour::Red;
constexpr long Cyan = ChatColour::Cyan;
const QString NL = QStringLiteral("\n");

// The client's clock stands at a known local time of day.
void setClock(ClientFixture& fx, int h, int m, int s) {
    fx.services.clock->setWall(QDateTime(QDate(2026, 3, 14), QTime(h, m, s)).toMSecsSinceEpoch());
}

QPlainTextEdit* lobbyLog() { return form<frmchildchat>()->chatin; }
}  // namespace

class tst_chatrender : public QObject {
    Q_OBJECT

private slots:
    void noticeLine() {
        ClientFixture fx;
        setClock(fx, 9, 5, 7);
        PrintChatLine(QStringLiteral("Error"), QString(), QStringLiteral("x"), Red);
        PrintChatLine(QStringLiteral("Buddy"), QStringLiteral("kira"), QStringLiteral("is here"), Yellow);
        const QList<Run> expected = {
            {QStringLiteral("<"), Red, false},       {QStringLiteral("Error"), White, true}, {QStringLiteral(">  "), Red, false},
            {QStringLiteral("x 09:05:07"), Red, false}, {NL, 0, false},
            {QStringLiteral("<"), Yellow, false},    {QStringLiteral("Buddy"), White, true}, {QStringLiteral("> "), Yellow, false},
            {QStringLiteral("kira "), Yellow, true}, {QStringLiteral("is here 09:05:07"), Yellow, false}, {NL, 0, false},
        };
        // Two blanks between label and text of a notice without a name: "> " plain, " " bold.
        QList<Run> runs = runsOf(lobbyLog());
        QCOMPARE(runs.size(), expected.size() + 1);
        QCOMPARE(runs[2], (Run{QStringLiteral("> "), Red, false}));
        QCOMPARE(runs[3], (Run{QStringLiteral(" "), Red, true}));
        runs[2].text += runs[3].text;
        runs.removeAt(3);
        QCOMPARE(runs, expected);
        QCOMPARE(linesOf(lobbyLog()), (QStringList{QStringLiteral("<Error>  x 09:05:07"), QStringLiteral("<Buddy> kira is here 09:05:07")}));
    }

    void noticeUsesTheSkinFontAndMovesTheInputCaret() {
        ClientFixture fx;
        frmchildchat* lobby = form<frmchildchat>();
        lobby->chatout->setText(QStringLiteral("half typed"));
        lobby->chatout->setCursorPosition(2);
        PrintChatLine(QStringLiteral("Table"), QString(), QStringLiteral("t"), Yellow);
        QCOMPARE(lobby->chatout->cursorPosition(), 10);
        QCOMPARE(lobby->chatout->text(), QStringLiteral("half typed"));
        const QTextCharFormat f = lobby->chatin->document()->begin().begin().fragment().charFormat();
        QCOMPARE(f.fontFamilies().toStringList().value(0), QStringLiteral("Verdana"));
        QCOMPARE(f.fontPointSize(), 9.0);
    }

    // Every row of the command table once, in the lobby log.
    void commandTable_data() {
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("raw");
        QTest::addColumn<QList<Run>>("runs");
        const QString dq = QStringLiteral("\"");
        QTest::newRow("level up") << QStringLiteral("12") << QStringLiteral("/ooc hi") << false
                                  << QList<Run>{{QStringLiteral("Congratulations! Welcome to level 12! "), Yellow, false}};
        QTest::newRow("ooc") << QString() << QStringLiteral("/OOC hello there") << false
                             << QList<Run>{{QStringLiteral("bob"), Green, true},
                                           {QStringLiteral(" says out of character, ") + dq + QStringLiteral(" hello there ") + dq + u' ', Green, false}};
        QTest::newRow("ooc short") << QString() << QStringLiteral("/ooc ") << false << QList<Run>{{QStringLiteral(" "), Green, false}};
        QTest::newRow("auction") << QString() << QStringLiteral("/auction Fire Drake 500g") << false
                                 << QList<Run>{{QStringLiteral("bob"), LightGreen, true},
                                               {QStringLiteral(" auctions, ") + dq + QStringLiteral(" Fire Drake 500g ") + dq + u' ', LightGreen, false}};
        QTest::newRow("auction nothing") << QString() << QStringLiteral("/auction ") << false
                                         << QList<Run>{{QStringLiteral("bob"), LightGreen, true},
                                                       {QStringLiteral(" auctions nothing. Penny for the poor? "), LightGreen, false}};
        QTest::newRow("random") << QString() << QStringLiteral("/random rolls 42") << false
                                << QList<Run>{{QStringLiteral("***** "), Red, false}, {QStringLiteral("bob"), Red, true},
                                              {QStringLiteral("  rolls 42 "), Red, false}};
        QTest::newRow("shout") << QString() << QStringLiteral("/shouting now") << false
                               << QList<Run>{{QStringLiteral("bob"), Red, true},
                                             {QStringLiteral(" shouts, ") + dq + QStringLiteral(" ng now ") + dq + u' ', Red, false}};
        QTest::newRow("shout nothing") << QString() << QStringLiteral("/shout") << false
                                       << QList<Run>{{QStringLiteral("bob"), Red, true},
                                                     {QStringLiteral(" shouts nothing? What a wuss! "), Red, false}};
        QTest::newRow("plain") << QString() << QStringLiteral("good game") << false
                               << QList<Run>{{QStringLiteral("bob"), White, true},
                                             {QStringLiteral(" says, ") + dq + QStringLiteral(" good game ") + dq + u' ', White, false}};
        QTest::newRow("raw") << QString() << QStringLiteral("/ooc as it is") << true
                             << QList<Run>{{QStringLiteral("/ooc as it is "), 16744576, false}};
    }

    void commandTable() {
        QFETCH(QString, level);
        QFETCH(QString, text);
        QFETCH(bool, raw);
        QFETCH(QList<Run>, runs);
        ClientFixture fx;
        Nickname = QStringLiteral("kira");
        RenderIncomingChat(QStringLiteral("bob"), level, text, 16744576, raw);
        runs << Run{NL, 0, false};
        QCOMPARE(runsOf(lobbyLog()), runs);
        // Nothing went to the other logs.
        QVERIFY(!ifLoaded<frmguildchat>());
        QVERIFY(!ifLoaded<frmadmin>());
    }

    void hiddenRollsAndMusic() {
        ClientFixture fx;
        Nickname = QStringLiteral("kira");
        WriteIni(QStringLiteral("Options"), QStringLiteral("Random"), QStringLiteral("1"), GetIniFile());
        WriteIni(QStringLiteral("Options"), QStringLiteral("Music"), QStringLiteral("1"), GetIniFile());
        RenderIncomingChat(QStringLiteral("bob"), QString(), QStringLiteral("/RANDOM rolls 7"), White);
        RenderIncomingChat(QStringLiteral("bob"), QString(), QStringLiteral("x /me is listening to * Song"), White, true);
        RenderIncomingChat(QStringLiteral("bob"), QString(), QStringLiteral("/me is listening to * Song"), White);
        QCOMPARE(lobbyLog()->toPlainText(), QString());
        // The music filter is case-sensitive; other options show.
        RenderIncomingChat(QStringLiteral("bob"), QString(), QStringLiteral("/ME IS LISTENING TO * Song"), White);
        WriteIni(QStringLiteral("Options"), QStringLiteral("Random"), QStringLiteral("0"), GetIniFile());
        RenderIncomingChat(QStringLiteral("bob"), QString(), QStringLiteral("/random rolls 7"), White);
        QCOMPARE(linesOf(lobbyLog()), (QStringList{QStringLiteral("bob says, \" /ME IS LISTENING TO * Song \" "),
                                                   QStringLiteral("***** bob  rolls 7 ")}));
    }

    void guildAndAdministratorLines() {
        ClientFixture fx;
        Nickname = QStringLiteral("kira");
        const QString dq = QStringLiteral("\"");
        RenderIncomingChat(QStringLiteral("ann"), QString(), QStringLiteral("/guild raid at nine"), White);
        RenderIncomingChat(QStringLiteral("ann"), QString(), QStringLiteral("/g go"), White);
        RenderIncomingChat(QStringLiteral("ann"), QString(), QStringLiteral("/guild"), White);
        RenderIncomingChat(QStringLiteral("ann"), QString(), QStringLiteral("/g"), White);
        RenderIncomingChat(QStringLiteral("mod"), QString(), QStringLiteral("/admin reboot soon"), White);
        RenderIncomingChat(QStringLiteral("mod"), QString(), QStringLiteral("/admin"), White);
        QCOMPARE(lobbyLog()->toPlainText(), QString());
        frmguildchat* guild = ifLoaded<frmguildchat>();
        QVERIFY(guild);
        QVERIFY(!guild->isVisible());
        // Its first line is the load's notice that the skin has no picture for the guild.
        QCOMPARE(runsOf(guild->chatin, 1),
                 (QList<Run>{{QStringLiteral("ann"), LightGreen, true},
                             {QStringLiteral(" says in guild, ") + dq + QStringLiteral(" raid at nine ") + dq, LightGreen, false},
                             {NL, 0, false},
                             {QStringLiteral("ann"), LightGreen, true},
                             {QStringLiteral(" says in guild, ") + dq + QStringLiteral(" go ") + dq, LightGreen, false},
                             {NL, 0, false},
                             {QStringLiteral("ann"), LightGreen, true},
                             {QStringLiteral(" says in guild, ") + dq + QStringLiteral(" ild ") + dq, LightGreen, false},
                             {NL, 0, false},
                             {QStringLiteral("ann"), LightGreen, true}}));
        frmadmin* admin = ifLoaded<frmadmin>();
        QVERIFY(admin);
        QVERIFY(!admin->isVisible());
        QCOMPARE(runsOf(admin->chatin),
                 (QList<Run>{{QStringLiteral("mod"), Cyan, true},
                             {QStringLiteral(" commands, ") + dq + QStringLiteral(" reboot soon ") + dq, Cyan, false},
                             {NL, 0, false},
                             {QStringLiteral("mod"), Cyan, true},
                             {QStringLiteral(" commands nothing.  What a wuss!"), Cyan, false},
                             {NL, 0, false}}));
    }

    void serverTextIsNeverMarkup() {
        ClientFixture fx;
        Nickname = QStringLiteral("kira");
        const QString evil = QStringLiteral("<b>bold</b> <a href=\"http://x\">link</a> <img src=\"x.png\"> &amp;");
        RenderIncomingChat(QStringLiteral("<i>bob</i>"), QString(), evil, White);
        PrintChatLine(QStringLiteral("<h1>L</h1>"), QStringLiteral("<u>n</u>"), evil, Red);
        frmchildchat* lobby = form<frmchildchat>();
        lobby->addmsg(evil, Yellow);
        const QStringList lines = linesOf(lobby->chatin);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QStringLiteral("<i>bob</i> says, \" ") + evil + QStringLiteral(" \" "));
        QVERIFY(lines[1].startsWith(QStringLiteral("<<h1>L</h1>> <u>n</u> ") + evil));
        QCOMPARE(lines[2], evil);
        QVERIFY(!lobby->chatin->document()->toHtml().contains(QStringLiteral("<img")));
        for (QTextBlock b = lobby->chatin->document()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it) QVERIFY(!it.fragment().charFormat().isAnchor());
    }

    void colours() {
        QCOMPARE(HexToColor(QStringLiteral("FF0000")), std::optional<long>(255));
        QCOMPARE(HexToColor(QStringLiteral("F")), std::optional<long>(15L << 16));
        QCOMPARE(HexToColor(QStringLiteral("#00FF00")), std::optional<long>(65280));
        QCOMPARE(HexToColor(QStringLiteral("E2BC66")), std::optional<long>(0x66BCE2));
        QCOMPARE(HexToColor(QString()), std::optional<long>(0));
        QCOMPARE(HexToColor(QStringLiteral("12 456")), std::nullopt);
        QCOMPARE(HexToColor(QStringLiteral("1234-5")), std::nullopt);
        QCOMPARE(HexToColor(QStringLiteral("magenta")), std::nullopt);
        QCOMPARE(ColorFromName(QStringLiteral("Magnenta"), 1), 16711935L);
        QCOMPARE(ColorFromName(QStringLiteral("WHITE"), 1), 16777215L);
        QCOMPARE(ColorFromName(QStringLiteral("black"), 1), 0L);
        QCOMPARE(ColorFromName(QStringLiteral("cyan"), 1), 16776960L);
        QCOMPARE(ColorFromName(QStringLiteral("green"), 1), 65280L);
        QCOMPARE(ColorFromName(QStringLiteral("red"), 1), 255L);
        QCOMPARE(ColorFromName(QStringLiteral("yellow"), 1), 65535L);
        QCOMPARE(ColorFromName(QStringLiteral("Blue"), 1), 16711680L);
        QCOMPARE(ColorFromName(QStringLiteral("7FB2F0"), 1), 0xF0B27FL);
        // Neither a known name nor hexadecimal: the caller's default.
        QCOMPARE(ColorFromName(QStringLiteral("magenta"), 4242), 4242L);
        QCOMPARE(ColorFromName(QStringLiteral("light blue"), 7), 7L);
    }

    void padRight() {
        QString row = QStringLiteral("Table 1 ");
        PadRight(row, QStringLiteral("abc"), 10);
        QCOMPARE(row, QStringLiteral("Table 1 abc       "));
        PadRight(row, QStringLiteral("longer than six"), 6);
        QCOMPARE(row, QStringLiteral("Table 1 abc       longer than six"));
        QString wide;
        PadRight(wide, QStringLiteral("x"), 300);
        QCOMPARE(wide.size(), 300);
        PadRight(wide, QStringLiteral("y"), -4);
        QCOMPARE(wide.size(), 301);
    }

    // Above 15000 characters each write first drops the oldest line, never the whole log.
    void lobbyLogStaysBounded() {
        ClientFixture fx;
        Nickname = QStringLiteral("kira");
        frmchildchat* lobby = form<frmchildchat>();
        const QString filler(98, u'x');
        for (int i = 0; i < 400; ++i) lobby->addmsg(QString::number(i).rightJustified(3, u'0') + filler, White);
        QVERIFY(lobby->chatin->document()->characterCount() - 1 <= 15000 + 102);
        const QStringList lines = linesOf(lobby->chatin);
        QCOMPARE(lines.last().left(3), QStringLiteral("399"));
        // The oldest kept line lost its start to the single blank of the trim; later lines are whole.
        QVERIFY(lines.first().startsWith(u' '));
        QCOMPARE(lines[1].left(3).toInt() + int(lines.size()) - 2, 399);
        QVERIFY(lines.size() > 140);
    }

    void trimDropsOnlyAFinishedLine() {
        ClientFixture fx;
        frmchildchat* lobby = form<frmchildchat>();
        lobby->addmsg(QString(15001, u'a'), White);
        lobby->addmsg(QStringLiteral("next"), White);
        QCOMPARE(linesOf(lobby->chatin), (QStringList{QStringLiteral(" next")}));
        // A long log without a line break is left as it is.
        lobby->chatin->setPlainText(QString(20000, u'b'));
        PrintChatLine(QStringLiteral("x"), QString(), QStringLiteral("y"), White);
        QCOMPARE(linesOf(lobby->chatin).size(), 1);
        QVERIFY(linesOf(lobby->chatin).first().startsWith(QString(20000, u'b') + QStringLiteral("<x>  y ")));
        PrintChatLine(QStringLiteral("z"), QString(), QStringLiteral("w"), White);
        QCOMPARE(linesOf(lobby->chatin).size(), 1);
        QVERIFY(lobby->chatin->toPlainText().startsWith(QStringLiteral(" <z>  w ")));
    }

    void chatLogFiles() {
        ClientFixture fx;
        setClock(fx, 21, 4, 59);
        LogChat(QStringLiteral("kira says hi"), QStringLiteral("mainchat"));
        LogChat(QStringLiteral("second"), QStringLiteral("mainchat"));
        QCOMPARE(fx.read(QStringLiteral("logs/mainchat_03-14-2026.log")), QByteArray("(21:04:59) kira says hi\r\n(21:04:59) second\r\n"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, LogChat(QStringLiteral("x"), QStringLiteral("../escape")));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, LogChat(QStringLiteral("x"), QString()));
        QVERIFY(!fx.exists(QStringLiteral("escape_03-14-2026.log")));
    }
};

QTEST_MAIN(tst_chatrender)
#include "tst_chatrender.moc"
