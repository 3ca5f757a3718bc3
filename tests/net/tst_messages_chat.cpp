// Public chat after a login: what reaches the lobby log and how, the ignore list, end-game
// requests, the administrator's chat bots, link marking and the chat log file.
#include "LoggedInClient.h"

#include "admin/frmadmin.h"
#include "app/modLinks.h"
#include "app/storedvars.h"
#include "lobby/frmguildchat.h"

#include <QtTest>

namespace {
QString logFile(const ClientFixture& fx) { return fx.path(QStringLiteral("logs/mainchat_07-01-2026.log")); }

QStringList logLines(const ClientFixture& fx) {
    QFile f(logFile(fx));
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList out = QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"));
    if (!out.isEmpty() && out.last().isEmpty()) out.removeLast();
    return out;
}

frmadmin* becomeAdministrator() {
    ClientConfig().AdminStatus(1);
    return form<frmadmin>();
}
}  // namespace

class tst_messages_chat : public QObject {
    Q_OBJECT

private slots:
    void chatLinesByTheirForm() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("CHAT Nyx hello%20there friends"));
        QCOMPARE(c.newRuns(), (QList<Run>{{QStringLiteral("Nyx"), ChatColour::White, true},
                                          {QStringLiteral(" says, \" hello there friends \" "), ChatColour::White, false},
                                          {QStringLiteral("\n"), 0, false}}));
        c.mark();
        c.receive({QStringLiteral("CHAT Nyx /me waves"), QStringLiteral("CHAT Nyx /me ***dances***"),
                   QStringLiteral("CHAT Nyx /shout hi"), QStringLiteral("CHAT Nyx /ooc brb")});
        QCOMPARE(c.newRuns().first(), (Run{QStringLiteral("*** Nyx waves"), ChatColour::Green, false}));
        QCOMPARE(c.newLines(), (QStringList{QStringLiteral("*** Nyx waves"), QStringLiteral("*** Nyx  dances "),
                                            QStringLiteral("Nyx shouts, \" hi \" "), QStringLiteral("Nyx says out of character, \" brb \" ")}));
        // A guild line lands in the guild window.
        c.receive(QStringLiteral("CHAT Nyx /guild meet%20at%20nine"));
        QCOMPARE(c.newLines(), QStringList());
        QVERIFY(ifLoaded<frmguildchat>()->chatin->toPlainText().contains(QStringLiteral("Nyx says in guild, \" meet at nine \"")));
        // Markup is text.
        c.receive(QStringLiteral("CHAT <b>Nyx</b> <i>hi</i>"));
        QCOMPARE(c.newLines(), QStringList{QStringLiteral("<b>Nyx</b> says, \" <i>hi</i> \" ")});
    }

    void musicAnnouncementsCanBeHidden() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("CHAT Nyx /me is listening to * Song * "));
        QCOMPARE(c.newLines(), QStringList{QStringLiteral("*** Nyx is listening to * Song * ")});
        c.setting(QStringLiteral("Options"), QStringLiteral("Music"), QStringLiteral("1"));
        c.receive(QStringLiteral("CHAT Nyx /me is listening to * Song * "));
        QCOMPARE(c.newLines(), QStringList());
    }

    void ignoredPlayersAreNotShownButLogged() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.setting(QStringLiteral("Ignore"), QStringLiteral("Nyx"), QStringLiteral("1"));
        c.setting(QStringLiteral("Ignore"), QStringLiteral("Ryo"), QStringLiteral("0"));
        c.setting(QStringLiteral("Options"), QStringLiteral("Chatlog"), QStringLiteral("1"));
        c.receive({QStringLiteral("CHAT Nyx psst"), QStringLiteral("CHAT Ryo hey")});
        QCOMPARE(c.newLines(), QStringList{QStringLiteral("Ryo says, \" hey \" ")});
        QCOMPARE(logLines(c.fx()), (QStringList{QStringLiteral("(20:15:00) Nyx>> psst"), QStringLiteral("(20:15:00) Ryo>> hey")}));
        // Only names of letters, digits and hyphens can be on the list.
        WriteIni(QStringLiteral("Ignore"), QStringLiteral("a.b"), QStringLiteral("1"), GetIniFile());
        c.receive(QStringLiteral("CHAT a.b visible"));
        QCOMPARE(c.newLines(), QStringList{QStringLiteral("a.b says, \" visible \" ")});
    }

    void endGameRequests() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.setting(QStringLiteral("Options"), QStringLiteral("Chatlog"), QStringLiteral("1"));
        c.receive({QStringLiteral("CHAT Nyx !endgame please"), QStringLiteral("CHAT Nyx !Endgame"), QStringLiteral("CHAT Nyx !ENDGAME")});
        QCOMPARE(c.newLines(), QStringList{QStringLiteral("Nyx says, \" !ENDGAME \" ")});
        QCOMPARE(logLines(c.fx()), QStringList{QStringLiteral("(20:15:00) Nyx>> !ENDGAME")});
        QVERIFY(!ifLoaded<frmadmin>());
        c.sounds();

        frmadmin* admin = becomeAdministrator();
        c.receive(QStringLiteral("CHAT Ryo !endgame stuck"));
        QCOMPARE(admin->lstrequests->count(), 1);
        QCOMPARE(admin->lstrequests->item(0)->text(), QStringLiteral("ENDGAME Ryo"));
        QCOMPARE(c.sounds(), QStringList{QStringLiteral("requestlog.wav")});
        QCOMPARE(c.newLines(), QStringList());
    }

    void theEightBall() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.fx().write(QStringLiteral("bottxt/8ball.txt"), "[Stats]\r\nTotal=3\r\n1=Yes\r\n2=No\r\n3=Ask again\r\n");
        becomeAdministrator();
        ChatBotOn = true;
        ChatBotKind = QStringLiteral("8ball");
        c.fx().services.random->values = {0.5, 0.99};
        c.receive({QStringLiteral("CHAT Nyx !8BALL will%20I%20win?"), QStringLiteral("CHAT Ryo !8ball again")});
        QCOMPARE(c.sent(), (QStringList{QStringLiteral("CHAT Nyx, No"), QStringLiteral("CHAT Ryo, Ask again")}));
        QCOMPARE(c.newLines(), (QStringList{QStringLiteral("Nyx says, \" !8BALL will I win? \" "), QStringLiteral("Ryo says, \" !8ball again \" ")}));
        // Another bot, or no bot: no answer.
        ChatBotKind = QStringLiteral("trivia");
        c.receive(QStringLiteral("CHAT Nyx !8ball"));
        ChatBotKind = QStringLiteral("8ball");
        ChatBotOn = false;
        c.receive(QStringLiteral("CHAT Nyx !8ball"));
        QCOMPARE(c.sent(), QStringList());
    }

    void triviaAnswers() {
        LoggedInClient c;
        QVERIFY(c.ready);
        frmadmin* admin = becomeAdministrator();
        ChatBotOn = true;
        TriviaOpen = true;
        admin->QuestionAnswer(QStringLiteral("Blue Dragon"));
        admin->tmrTrivia->start();
        c.receive({QStringLiteral("CHAT Ryo red%20dragon"), QStringLiteral("CHAT Nyx bLUE%20dRAGON")});
        QCOMPARE(c.sent(), QStringList{QStringLiteral("CHAT (Trivia): Nyx answered correctly.  Answer: Blue Dragon - 0 points awarded.")});
        QVERIFY(!TriviaOpen);
        QVERIFY(!admin->tmrTrivia->isActive());
        QVERIFY(admin->tmrTriviaNext->isActive());
        QCOMPARE(admin->QuestionAnswer(), QString());
        QCOMPARE(c.newLines().size(), 2);
        // The same answer again earns nothing.
        TriviaOpen = true;
        c.receive(QStringLiteral("CHAT Ryo blue%20dragon"));
        QCOMPARE(c.sent(), QStringList());
    }

    void linksAreMarked() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("CHAT Nyx see%20http://example.org/a%20or%20www.example.org now"));
        const QString log = c.lobby->chatin->toPlainText();
        QTextCursor at(c.lobby->chatin->document());
        at.setPosition(int(log.lastIndexOf(QStringLiteral("http://example.org/a"))) + 3);
        QCOMPARE(at.charFormat().anchorHref(), QStringLiteral("http://example.org/a"));
        QCOMPARE(vbColorValue(at.charFormat().foreground().color()), kLinkColour);
        at.setPosition(int(log.lastIndexOf(QStringLiteral("www.example.org"))) + 3);
        QCOMPARE(at.charFormat().anchorHref(), QStringLiteral("www.example.org"));
        at.setPosition(int(log.lastIndexOf(QStringLiteral(" now"))) + 2);
        QVERIFY(!at.charFormat().isAnchor());
    }

    void chatLogFile() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("CHAT Nyx before"));
        QCOMPARE(logLines(c.fx()), QStringList());
        // "/log on" writes the option the handler reads.
        c.lobby->chatout->setText(QStringLiteral("/log on"));
        QTest::keyClick(c.lobby->chatout, Qt::Key_Return);
        QCOMPARE(ReadIni(QStringLiteral("Options"), QStringLiteral("Chatlog"), GetIniFile()), QStringLiteral("1"));
        c.receive({QStringLiteral("CHAT Nyx one%20two"), QStringLiteral("CHAT Ryo /me waves")});
        QCOMPARE(logLines(c.fx()), (QStringList{QStringLiteral("(20:15:00) Nyx>> one two"), QStringLiteral("(20:15:00) Ryo>> /me waves")}));
    }

    void aChatLogThatCannotBeWrittenCostsOneNotice() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.setting(QStringLiteral("Options"), QStringLiteral("Chatlog"), QStringLiteral("1"));
        QVERIFY(QDir().mkpath(c.fx().folder() + QStringLiteral("/logs/mainchat_07-01-2026.log")));
        c.receive({QStringLiteral("CHAT Nyx one"), QStringLiteral("CHAT Nyx two")});
        QCOMPARE(c.newLines(), (QStringList{QStringLiteral("Nyx says, \" one \" "),
                                            QStringLiteral("<log>  The chat log file could not be written; chat is not being logged. 20:15:00"),
                                            QStringLiteral("Nyx says, \" two \" ")}));
        QCOMPARE(c.dialogs().boxes.size(), 0);
        QVERIFY(c.con->Winsock->connected());
        QCOMPARE(c.fx().services.lifecycle->ends, 0);
    }

    void nothingBeforeLoginOrWithoutText() {
        LoggedInClient c;
        QVERIFY(c.ready);
        ConnectionState = 0;
        c.receive(QStringLiteral("CHAT Nyx hello"));
        ConnectionState = 1;
        c.receive(QStringLiteral("CHAT Nyx"));
        QCOMPARE(c.newLines(), QStringList());
        // An administrator hears of the broken line.
        becomeAdministrator();
        c.receive(QStringLiteral("CHAT Nyx"));
        QCOMPARE(c.newLines(), QStringList{QStringLiteral("<Invalid>  Nyx has sent a chat string with invalid characters 20:15:00")});
    }
};

QTEST_MAIN(tst_messages_chat)
#include "tst_messages_chat.moc"
