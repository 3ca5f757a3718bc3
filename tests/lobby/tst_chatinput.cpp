// The chat input of a logged-in client against the fake server: lines typed into the real lobby
// input and the lines the server receives, the notices, boxes and settings they leave; control
// keys and the reply key; flood control up to the kick; the guild input; chat logs on disk.
#include "ClientFixture.h"
#include "LobbyHelpers.h"

#include "app/clsClientConfig.h"
#include "app/modSettings.h"
#include "app/storedvars.h"
#include "lobby/ChatInput.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmguildchat.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "platform/Ini.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QtTest>

namespace {
constexpr long kOlive = 49344;  // (192, 192, 0)

// A logged-in client with two players on line, the lobby shown and its input enabled.
struct Chatting : LoggedIn {
    Chatting() {
        receive({QStringLiteral("NEWPLAYER 0 0 0 0 bob"), QStringLiteral("NEWPLAYER 0 0 0 0 [VIP]%20Nyx")});
        lobby->show();
        lobby->chatout->setEnabled(true);
        lobby->chatout->setFocus();
        sent();
        fx->services.sound->played.clear();
        m_logLines = int(linesOf(lobby->chatin).size());
    }
    ~Chatting() { setNowPlayingSource({}); }

    // Types text into the emptied input, key by key.
    void type(const QString& text) {
        lobby->chatout->clear();
        QTest::keyClicks(lobby->chatout, text);
    }
    void enter(Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(lobby->chatout, Qt::Key_Return, mods); }
    // Log lines written since the last call, each without its trailing time.
    QStringList newLogLines() {
        static const QRegularExpression time(QStringLiteral(" \\d\\d:\\d\\d:\\d\\d$"));
        const QStringList all = linesOf(lobby->chatin);
        QStringList out;
        for (int i = m_logLines; i < all.size(); ++i) out << QString(all[i]).remove(time);
        m_logLines = int(all.size());
        return out;
    }
    QStringList boxes() const {
        QStringList out;
        for (const BoxRecord& b : fx->services.dialogs->boxes) out << b.title + u'|' + b.text;
        return out;
    }
    // Waits for the last expected line, then gives every line received since the last call.
    QStringList sentAfter(const QStringList& expected) {
        if (!expected.isEmpty()) server.waitForLine(expected.last());
        return sent();
    }

private:
    int m_logLines = 0;
};

QString ini(const QString& sectionKey) {
    return ReadIni(sectionKey.section(u'/', 0, 0), sectionKey.section(u'/', 1), GetIniFile());
}
}  // namespace

class tst_chatinput : public QObject {
    Q_OBJECT

private slots:
    // ---- Typed lines --------------------------------------------------------------------------

    void typedLines_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QStringList>("notices");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("settings");
        using L = QStringList;
        const L none;
        const QString empty;
        const auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };

        // Plain chat.
        row("plain") << "" << "hello all" << L{"CHAT hello all"} << none << empty << none << none;
        row("double blanks") << "" << "good  game   all" << L{"CHAT good game  all"} << none << empty << none << none;
        row("markup is text") << "" << "<b>hi</b> & co" << L{"CHAT <b>hi</b> & co"} << none << empty << none << none;
        row("leading blank") << "" << " hi" << L{"CHAT  hi"} << none << empty << none << none;
        row("empty line") << "" << "" << none << none << empty << none << none;
        row("blank line") << "" << "   " << none << none << "   " << none << none;
        row("/ooc alone") << "" << "/ooc" << none << none << "/ooc" << none << none;
        row("/shout alone") << "" << " /shout " << none << none << " /shout " << none << none;
        row("/auction alone") << "" << "/auction" << none << none << "/auction" << none << none;
        row("/ooc with text") << "" << "/ooc brb" << L{"CHAT /ooc brb"} << none << empty << none << none;
        row("back from away") << "away" << "back now" << L{"CHAT back now", "CHAT /me is back.", "AWAY 0"}
                              << L{"<Back>  You are now back from away mode"} << empty << none << L{"Away/Status=0"};

        // /random.
        const QString tooHigh = QStringLiteral("<error>  Random maximums cannot be higher than 32000");
        const QString order = QStringLiteral("<error>  The first number must be the lowest compared to the other.  Try again.");
        row("/random 5 10") << "" << "/random 5 10" << L{"RANDOM 5 10"} << none << empty << none << none;
        row("/random 2.7 9.9") << "" << "/random 2.7 9.9" << L{"RANDOM 2 9"} << none << empty << none << none;
        row("/random 7 7") << "" << "/random 7 7" << L{"RANDOM 7 7"} << none << empty << none << none;
        row("/random 0 32000") << "" << "/random 0 32000" << L{"RANDOM 0 32000"} << none << empty << none << none;
        row("/Random 1 6") << "" << "/Random 1 6" << L{"RANDOM 1 6"} << none << empty << none << none;
        row("/random -1 5") << "" << "/random -1 5" << none << none << "/random -1 5" << none << none;
        row("/random 1 32001") << "" << "/random 1 32001" << none << L{tooHigh} << "/random 1 32001" << none << none;
        row("/random 10 5") << "" << "/random 10 5" << none << L{order} << "/random 10 5" << none << none;
        const QString usage = QStringLiteral(
            "<error>  To randomly roll dice, type /random min max where min is the minimum roll (must be greater than zero) "
            "and max is the maximum roll (must be less than 32000)");
        row("/random alone") << "" << "/random" << none << L{usage} << "/random" << none << none;
        row("/random a b") << "" << "/random a b" << none << L{usage} << "/random a b" << none << none;
        row("/random one bound") << "" << "/random 5" << none << L{usage} << "/random 5" << none << none;

        // /tell and /msg: bob and "[VIP] Nyx" are on line.
        const QString noZed = QStringLiteral("--> zed does not exist.");
        row("/tell bob") << "" << "/tell bob good game" << L{"PM bob good%20game"} << L{"You tell bob, \" good game \""}
                         << empty << none << none;
        row("/msg Nyx") << "" << "/msg Nyx hi" << L{"PM Nyx hi"} << L{"You tell Nyx, \" hi \""} << empty << none << none;
        row("/tell part of a name") << "" << "/tell bo hi" << L{"PM bo hi"} << L{"You tell bo, \" hi \""} << empty << none << none;
        row("/tell wrong case") << "" << "/tell Bob hi" << none << L{"--> Bob does not exist."} << "/tell Bob hi" << none << none;
        row("/tell absent") << "" << "/tell zed hello" << none << L{noZed} << "/tell zed hello" << none << none;
        row("/tell no message") << "" << "/tell bob" << none << none << "/tell bob" << none << none;
        row("/tell no name") << "" << "/tell   bob hi" << none << none << "/tell   bob hi" << none << none;

        // /away.
        const QString reason200 = QStringLiteral("gone ") + QString(195, u'z');
        row("/away reason") << "" << "/away lunch break" << L{"CHAT /me is away.  Reason: lunch break", "AWAY 1"}
                            << L{"<Away>  You are now on away. Reason: lunch break"} << empty << none
                            << L{"Away/Status=1", "Away/Reason=lunch%20break"};
        row("/away 200") << "" << "/away " + reason200 << L{"CHAT /me is away.  Reason: " + reason200, "AWAY 1"}
                         << L{"<Away>  You are now on away. Reason: " + reason200} << empty << none << L{"Away/Status=1"};
        row("/away 201") << "" << "/away " + reason200 + "z" << none << none << "/away " + reason200 + "z"
                         << L{"Error|Too many characters, try again later"} << L{"Away/Status="};
        row("/away alone") << "" << "/away" << none << none << "/away" << none << L{"Away/Status="};
        row("/away 2") << "" << "/away 2" << none << none << "/away 2" << none << L{"Away/Status="};
        row("/away while away") << "away" << "/away again" << none << none << "/away again" << none << none;

        // /mod.
        row("/mod on") << "" << "/mod on" << L{"ADMINMOD 1"} << none << empty << none << none;
        row("/mod off") << "" << "/mod off" << L{"ADMINMOD 0"} << none << empty << none << none;
        row("/mod other") << "" << "/mod quiet" << L{"ADMINMOD quiet"} << none << empty << none << none;
        row("/mod alone") << "" << "/mod" << none << none << "/mod" << none << none;

        // Switches.
        row("/log on") << "" << "/log on" << none << L{"<log>  Chat Logging On"} << empty << none << L{"Options/Chatlog=1"};
        row("/log off") << "" << "/log off" << none << L{"<log>  Chat Logging Off"} << empty << none << L{"Options/Chatlog=0"};
        row("/log other") << "" << "/log maybe" << none << none << empty << none << L{"Options/Chatlog="};
        row("/sound off") << "" << "/sound off" << none << L{"<log>  Sounds Off"} << empty << none << L{"Options/Sounds=0"};
        row("/sound on") << "" << "/sound on" << none << L{"<log>  Sounds On"} << empty << none << L{"Options/Sounds=1"};
        row("/join off") << "" << "/join off" << none << L{"<log>  Join/Part Messages Off"} << empty << none
                         << L{"Chat/ShowJoinPart=0"};
        row("/joins on") << "" << "/joins on" << none << L{"<log>  Join/Part Messages On"} << empty << none
                         << L{"Chat/ShowJoinPart=1"};

        // Guild.
        row("/guilddisband") << "guild" << "/guilddisband" << L{"GUILDDISBAND"} << L{"<disband>  You have disbanded from your guild"}
                             << empty << none << none;

        // /music.
        const QString noPlayer = QStringLiteral("<Music>  You must have winamp open and playing a song to use this command.");
        const QString hidden = QStringLiteral(
            "<Music>  You have the option to ignore /music messages turned on in the configuration window.  This means you "
            "cannot use the command either.");
        row("/music without a title") << "" << "/music" << none << L{noPlayer} << "/music" << none << none;
        row("/music playing") << "title" << "/music" << L{"CHAT /me is listening to * Artist - Song * "} << none << empty << none
                              << none;
        row("/music hidden") << "title,hidemusic" << "/music" << none << L{hidden} << "/music" << none << none;
        row("/MUSIC is chat") << "title" << "/MUSIC" << L{"CHAT /MUSIC"} << none << empty << none << none;

        // Moderation.
        row("/warn as admin") << "admin" << "/warn bob be nice" << L{"ADMINWARN bob be%20nice"} << none << empty << none << none;
        row("/kick as admin") << "admin" << "/kick bob flooding" << L{"ADMINKICK bob flooding"} << none << empty << none << none;
        row("/ban as admin") << "admin" << "/ban Nyx cheats a lot" << L{"ADMINBAN Nyx cheats%20a%20lot"} << none << empty << none
                             << none;
        row("/warn not admin") << "" << "/warn bob be nice" << none << none << empty << none << none;
        row("/kick not admin") << "" << "/kick bob flooding" << none << none << empty << none << none;
        row("/warn absent") << "admin" << "/warn zed rude" << none << L{noZed} << "/warn zed rude" << none << none;
        row("/warn no reason") << "admin" << "/warn bob" << none << none << "/warn bob" << none << none;
        row("/warn absent no reason") << "admin" << "/warn zed" << none << L{noZed} << "/warn zed" << none << none;
        row("/Warn is chat") << "admin" << "/Warn bob x" << L{"CHAT /Warn bob x"} << none << empty << none << none;
        row("withheld /where") << "" << "hello /where are you" << none << none << empty << none << none;
        row("withheld /admin") << "" << "see /admin now" << none << none << empty << none << none;
        row("withheld /kickme") << "admin" << "/kickme" << none << none << empty << none << none;
    }

    void typedLines() {
        QFETCH(QString, setup);
        QFETCH(QString, typed);
        QFETCH(QStringList, sent);
        QFETCH(QStringList, notices);
        QFETCH(QString, kept);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, settings);

        Chatting c;
        const QStringList flags = setup.split(u',', Qt::SkipEmptyParts);
        if (flags.contains(QLatin1String("admin"))) ClientConfig().AdminStatus(-1);
        if (flags.contains(QLatin1String("away"))) {
            WriteIni(QStringLiteral("Away"), QStringLiteral("Status"), QStringLiteral("1"), GetIniFile());
            c.lobby->mnuawayon->setChecked(true);
        }
        if (flags.contains(QLatin1String("title"))) setNowPlayingSource([] { return QStringLiteral("Artist - Song"); });
        if (flags.contains(QLatin1String("hidemusic")))
            WriteIni(QStringLiteral("Options"), QStringLiteral("Music"), QStringLiteral("1"), GetIniFile());
        if (flags.contains(QLatin1String("guild"))) form<frmguildchat>();

        c.type(typed);
        c.enter();
        QCOMPARE(c.sentAfter(sent), sent);
        QCOMPARE(c.newLogLines(), notices);
        // A refused command says so in red.
        if (!notices.isEmpty() && notices.last().startsWith(QLatin1String("<error>")))
            QCOMPARE(lastColour(c.lobby->chatin), ChatColour::Red);
        QCOMPARE(c.lobby->chatout->text(), kept);
        QCOMPARE(c.boxes(), boxes);
        for (const QString& s : settings) QCOMPARE(s.section(u'=', 0, 0) + u'=' + ini(s.section(u'=', 0, 0)), s);
        // A line that went through (its input emptied) is counted once for flood control; /away
        // empties the input without counting.
        QCOMPARE(int(FloodCount), kept.isEmpty() && !typed.isEmpty() && !typed.startsWith(QLatin1String("/away")) ? 1 : 0);
        if (flags.contains(QLatin1String("guild"))) QVERIFY(!ifLoaded<frmguildchat>());
    }

    void awayByCommandSetsTheLobbysAwayMode() {
        Chatting c;
        c.type(QStringLiteral("/away lunch"));
        c.enter();
        QVERIFY(c.server.waitForLine(QStringLiteral("AWAY 1")));
        QVERIFY(c.lobby->mnuawayon->isChecked());
        QVERIFY(!c.lobby->mnuawayoff->isChecked());
        QCOMPARE(c.fx->services.sound->played.size(), 1);
        QVERIFY(c.fx->services.sound->played[0].endsWith(QLatin1String("/on.wav")));
        // Nothing counted: the next four lines do not warn.
        for (int i = 0; i < 4; ++i) {
            c.type(QStringLiteral("line %1").arg(i));
            c.enter();
        }
        QCOMPARE(c.boxes(), QStringList());
        QVERIFY(!c.lobby->mnuawayon->isChecked());
    }

    void tellEchoIsOliveWithABoldYou() {
        Chatting c;
        const int before = c.lobby->chatin->document()->blockCount() - 1;
        c.type(QStringLiteral("/tell bob <i>gg</i>"));
        c.enter();
        QVERIFY(c.server.waitForLine(QStringLiteral("PM bob <i>gg</i>")));
        const QList<Run> runs = runsOf(c.lobby->chatin, before);
        QCOMPARE(runs.value(0), (Run{QStringLiteral("You"), kOlive, true}));
        QCOMPARE(runs.value(1), (Run{QStringLiteral(" tell bob, \" <i>gg</i> \""), kOlive, false}));
    }

    // ---- Keys ---------------------------------------------------------------------------------

    void controlKeys() {
        Chatting c;
        c.lobby->addmsg(QStringLiteral("old line"), 255);
        // Ctrl+A empties the log and still reaches the input, which selects its text.
        c.type(QStringLiteral("half typed"));
        QTest::keyClick(c.lobby->chatout, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(c.lobby->chatin->toPlainText(), QString());
        QCOMPARE(c.lobby->chatout->selectedText(), QStringLiteral("half typed"));
        // Ctrl+V pastes into an empty input, and types a blank after text.
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
        c.lobby->chatout->clear();
        QTest::keyClick(c.lobby->chatout, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(c.lobby->chatout->text(), QStringLiteral("pasted"));
        QTest::keyClick(c.lobby->chatout, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(c.lobby->chatout->text(), QStringLiteral("pasted "));
        // Enter and Ctrl+Enter both send.
        c.enter();
        QVERIFY(c.server.waitForLine(QStringLiteral("CHAT pasted ")));
        c.type(QStringLiteral("again"));
        c.enter(Qt::ControlModifier);
        QCOMPARE(c.sentAfter({QStringLiteral("CHAT again")}), (QStringList{QStringLiteral("CHAT pasted "), QStringLiteral("CHAT again")}));
        QCOMPARE(c.lobby->chatout->text(), QString());
        // A line holding a carriage return is not handled at all.
        c.lobby->chatout->setText(QStringLiteral("two\rlines"));
        QVERIFY(c.lobby->chatout->text().contains(u'\r'));
        c.enter();
        QCOMPARE(c.sent(), QStringList());
        QCOMPARE(c.lobby->chatout->text(), QStringLiteral("two\rlines"));
        QCOMPARE(int(FloodCount), 2);
    }

    void replyKey() {
        Chatting c;
        c.lobby->addmsg(QStringLiteral("kept"), 255);
        c.newLogLines();
        // No private message yet: a notice, the key swallowed, the log kept.
        QTest::keyClick(c.lobby->chatout, Qt::Key_QuoteLeft);
        QCOMPARE(c.lobby->chatout->text(), QString());
        QCOMPARE(c.newLogLines(), QStringList{QStringLiteral("<PM>  You have not received a PM this session")});
        bool yellow = false;
        for (const Run& r : runsOf(c.lobby->chatin))
            if (r.text.startsWith(QLatin1String("You have not received"))) yellow = r.colour == 65535 && !r.bold;
        QVERIFY(yellow);
        QVERIFY(c.lobby->chatin->toPlainText().startsWith(QLatin1String("kept")));
        // With a sender on record the input becomes "/msg <sender> ", caret at its end.
        LastPMSender = QStringLiteral("bob");
        QTest::keyClick(c.lobby->chatout, Qt::Key_QuoteLeft);
        QCOMPARE(c.lobby->chatout->text(), QStringLiteral("/msg bob "));
        QCOMPARE(c.lobby->chatout->cursorPosition(), 9);
        QTest::keyClicks(c.lobby->chatout, QStringLiteral("gg`wp"));
        c.enter();
        QCOMPARE(c.sentAfter({QStringLiteral("PM bob gg`wp")}), QStringList{QStringLiteral("PM bob gg`wp")});
        // After typing, the backquote is a character like any other.
        c.type(QStringLiteral("a`"));
        QCOMPARE(c.lobby->chatout->text(), QStringLiteral("a`"));
        QCOMPARE(c.newLogLines(), QStringList{QStringLiteral("You tell bob, \" gg`wp \"")});
        // A private message received from the server puts its sender on record.
        c.receive({QStringLiteral("INPM Nyx kira hi%20there")});
        c.lobby->chatout->clear();
        QTest::keyClick(c.lobby->chatout, Qt::Key_QuoteLeft);
        QCOMPARE(c.lobby->chatout->text(), QStringLiteral("/msg Nyx "));
    }

    // ---- Flood control ------------------------------------------------------------------------

    void floodWarnsThenKicks() {
        Chatting c;
        AdminMinutes = 7;
        QStringList lines;
        for (int i = 1; i <= 5; ++i) {
            c.type(QStringLiteral("spam %1").arg(i));
            c.enter();
            lines << QStringLiteral("CHAT spam %1").arg(i);
        }
        QCOMPARE(c.sentAfter(lines), lines);
        QCOMPARE(c.fx->services.dialogs->boxes.size(), 1);
        const BoxRecord warning = c.fx->services.dialogs->boxes[0];
        QCOMPARE(warning.title, QStringLiteral("Flooding"));
        QCOMPARE(warning.style, int(vb::Critical));
        QCOMPARE(warning.text, QStringLiteral("You have been warned... flooding in the chat will cause you to get kicked, if it happens "
                                              "again, you will be kicked.  If this continues to be a problem, an admin can ban you "
                                              "for the rest of the day."));
        QVERIFY(FloodWarned);
        QCOMPARE(int(FloodCount), 0);
        QCOMPARE(c.lobby->chatout->text(), QString());

        // A new flood window: four lines, a tick, four more never reach five.
        for (int i = 0; i < 4; ++i) {
            c.type(QStringLiteral("calm %1").arg(i));
            c.enter();
        }
        c.lobby->floodtimers_Timer();
        for (int i = 0; i < 4; ++i) {
            c.type(QStringLiteral("calm again %1").arg(i));
            c.enter();
        }
        QCOMPARE(c.sentAfter({QStringLiteral("CHAT calm again 3")}).size(), 8);
        QCOMPARE(c.fx->services.dialogs->boxes.size(), 1);
        QVERIFY(!c.fx->services.lifecycle->ending());

        // The fifth line of this window: the kick.
        c.type(QStringLiteral("one too many"));
        c.enter();
        QCOMPARE(c.boxes().size(), 2);
        QCOMPARE(c.fx->services.dialogs->boxes[1].title, QStringLiteral("Flooding"));
        QCOMPARE(c.fx->services.dialogs->boxes[1].style, int(vb::Critical));
        QCOMPARE(c.fx->services.dialogs->boxes[1].text,
                 QStringLiteral("You are now being kicked.  Come back later when you decide to stop flooding the chat."));
        QCOMPARE(c.sentAfter({QStringLiteral("QUIT 7")}), (QStringList{QStringLiteral("CHAT one too many"),
                                                                       QStringLiteral("CHAT /me has been kicked for flooding."),
                                                                       QStringLiteral("QUIT 7")}));
        QVERIFY(c.fx->services.lifecycle->ending());
        QCOMPARE(c.fx->services.lifecycle->lastStatus, 0);
        QCOMPARE(ConnectionState, int16_t(2));
        QVERIFY(!ifLoaded<frmchildchat>());
        QVERIFY(!ifLoaded<frmCon>());
        // The server sees the client go, and no second quit line.
        QVERIFY(c.server.waitForDisconnect());
        QCOMPARE(c.sent(), QStringList());
    }

    void aCountedLineRestartsTheFloodWindow() {
        Chatting c;
        c.lobby->floodtimers->stop();
        c.type(QStringLiteral("/log maybe"));
        c.enter();
        QVERIFY(c.lobby->floodtimers->isActive());
        QCOMPARE(int(FloodCount), 1);
        // A running window is not restarted by the next line.
        const int remaining = c.lobby->floodtimers->remainingTime();
        QTest::qWait(300);
        c.type(QStringLiteral("hi"));
        c.enter();
        QVERIFY(c.lobby->floodtimers->remainingTime() <= remaining - 200);
    }

    // ---- Guild input --------------------------------------------------------------------------

    void guildInputSendsGuildChat() {
        Chatting c;
        frmguildchat* guild = form<frmguildchat>();
        guild->show();
        guild->chatout->setFocus();
        // An empty guild input: Enter sends nothing and the idle count stays.
        c.lobby->intIdle = 4;
        QTest::keyClick(guild->chatout, Qt::Key_Return);
        QCOMPARE(c.sent(), QStringList());
        QCOMPARE(c.lobby->intIdle, int16_t(4));
        // Every line is guild chat, whatever it begins with.
        QTest::keyClicks(guild->chatout, QStringLiteral("/away  now"));
        QCOMPARE(c.lobby->intIdle, int16_t(0));
        QTest::keyClick(guild->chatout, Qt::Key_Return);
        QTest::keyClicks(guild->chatout, QStringLiteral("/random 1 6"));
        QTest::keyClick(guild->chatout, Qt::Key_Return);
        QCOMPARE(c.sentAfter({QStringLiteral("CHAT /guild /random 1 6")}),
                 (QStringList{QStringLiteral("CHAT /guild /away now"), QStringLiteral("CHAT /guild /random 1 6")}));
        QCOMPARE(guild->chatout->text(), QString());
        // Withheld words stay out, the line is still taken.
        QTest::keyClicks(guild->chatout, QStringLiteral("ask /admin"));
        QTest::keyClick(guild->chatout, Qt::Key_Return);
        QCOMPARE(c.sent(), QStringList());
        QCOMPARE(guild->chatout->text(), QString());
        QCOMPARE(int(FloodCount), 3);
        // An empty guild input leaves Ctrl+A to the box: the guild log keeps its text.
        guild->chatin->setPlainText(QStringLiteral("guild talk"));
        QTest::keyClick(guild->chatout, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(guild->chatin->toPlainText(), QStringLiteral("guild talk"));
        QTest::keyClicks(guild->chatout, QStringLiteral("x"));
        QTest::keyClick(guild->chatout, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(guild->chatin->toPlainText(), QString());
    }

    // ---- Chat logs ----------------------------------------------------------------------------

    void logOnWritesReceivedChat() {
        Chatting c;
        c.fx->services.clock->setWall(QDateTime(QDate(2031, 3, 9), QTime(21, 5, 7)).toMSecsSinceEpoch());
        const QString file = QStringLiteral("logs/mainchat_03-09-2031.log");
        c.receive({QStringLiteral("CHAT bob before")});
        QVERIFY(!c.fx->exists(file));
        c.type(QStringLiteral("/log on"));
        c.enter();
        c.receive({QStringLiteral("CHAT bob hello%20there"), QStringLiteral("CHAT Nyx /me waves")});
        QCOMPARE(QString::fromLatin1(c.fx->read(file)),
                 QStringLiteral("(21:05:07) bob>> hello there\r\n(21:05:07) Nyx>> /me waves\r\n"));
        c.type(QStringLiteral("/log off"));
        c.enter();
        c.receive({QStringLiteral("CHAT bob after")});
        QCOMPARE(QString::fromLatin1(c.fx->read(file)).count(u'\n'), 2);
    }
};

QTEST_MAIN(tst_chatinput)
#include "tst_chatinput.moc"
