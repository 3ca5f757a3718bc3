// The administrator messages after a real login: the pass-key login and the levels it grants,
// the refused key, warnings, quick calls, operator actions as others see them, the request
// removals, the chat clear, and broken lines of the family.
#include "OperatorClient.h"

#include "app/storedvars.h"

#include <QtTest>

namespace {
QStringList logFileLines(const ClientFixture& fx) {
    QFile f(fx.path(QStringLiteral("logs/mainchat_07-01-2026.log")));
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList out = QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"));
    if (!out.isEmpty() && out.last().isEmpty()) out.removeLast();
    return out;
}

const QString kAccepted = QStringLiteral(
    "<Accepted>  The administrator login has been accepted.  Please wait while the administrator window loads.  This may take a "
    "few seconds depending on your internet connection.  Maximum time is 60-80 seconds.  Do not panic if the screen freezes while "
    "it loads. 20:15:00");

// The colour of the first run that holds the text; -1 when none does.
long colourOf(const QList<Run>& runs, const QString& text) {
    for (const Run& r : runs)
        if (r.text.contains(text)) return r.colour;
    return -1;
}

// Admin Controls, Warn, Kick, Ban, Silence, IP Check, Single IP Check, End User's Match, Remote
// Server Commands, and the window's Disable Private Messages.
QString itemsShown(frmmenu* m, frmadmin* admin) {
    QString out;
    for (QAction* a : {m->mnuadmincontrols->menuAction(), m->mnuwarn, m->mnukick, m->mnuban, m->mnuSilence, m->mnuipcheck->menuAction(),
                       m->mnusinglecheck, m->mnuendmatch, m->mnuservercommands->menuAction(), admin->mnuDisablePM})
        out += a->isVisible() ? u'Y' : u'-';
    return out;
}
}  // namespace

class tst_admin_messages : public QObject {
    Q_OBJECT

private slots:
    void passKeyLoginByLevel_data() {
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("shown");
        QTest::newRow("1") << "1" << "YY--YYYY--";
        QTest::newRow("2") << "2" << "YYY-YYYY--";
        QTest::newRow("3") << "3" << "YYYYYYYY-Y";
        QTest::newRow("4") << "4" << "YYYYYYYYYY";
        QTest::newRow("5 keeps the rest") << "5" << "YYYYYYYYYY";
        QTest::newRow("unknown level") << "9" << "-YYYYYYYY-";
        QTest::newRow("no level") << "" << "-YYYYYYYY-";
    }
    void passKeyLoginByLevel() {
        QFETCH(QString, level);
        QFETCH(QString, shown);
        OperatorClient c;
        QVERIFY(c.ready);
        c.keywords({QStringLiteral("help"), QStringLiteral("scam")});
        c.dialogs().type(QStringLiteral("00123456"));
        c.lobby->mnuadmin_Click();
        QCOMPARE(c.sent(), QStringList{QStringLiteral("ADMINLOGIN 123456")});
        QVERIFY(!c.lobby->mnuadmin->isEnabled());

        c.receive(QStringLiteral("ADMINSTATUS ") + level);
        frmadmin* admin = ifLoaded<frmadmin>();
        QVERIFY(admin && admin->isVisible());
        QCOMPARE(itemsShown(form<frmmenu>(), admin), shown);
        QCOMPARE(ClientConfig().AdminStatus(), int16_t(-1));
        QCOMPARE(ClientConfig().PassKey(), QStringLiteral("00123456"));
        QVERIFY(c.lobby->mnuadmin->isEnabled());
        QCOMPARE(c.lobby->mnuadmin->text(), QStringLiteral("Admin Logout"));
        QVERIFY(c.lobby->tmradmin->isActive());
        QCOMPARE(c.newLines().last(), kAccepted);
        QVERIFY(c.driver.web.commands().contains(QStringLiteral("call sps_GetAdminKeywords()")));
        QCOMPARE(admin->lstkeywords->count(), 2);
        QCOMPARE(admin->lstkeywords->item(1)->text(), QStringLiteral("scam"));
        QVERIFY(c.healthy());
    }

    void secondLoginKeepsTheQueueAndLog() {
        OperatorClient c;
        c.keywords({QStringLiteral("help")});
        QVERIFY(c.becomeOperator(QStringLiteral("3")));
        c.receive({QStringLiteral("CHAT Nyx !endgame"), QStringLiteral("ADMINCHAT Mod hi")});
        c.lobby->mnuadmin_Click();
        QCOMPARE(c.sent(), QStringList{QStringLiteral("ADMINLOGOUT")});
        QVERIFY(c.admin->isVisible());
        c.driver.web.clearAnswers();
        c.keywords({QStringLiteral("help"), QStringLiteral("bug")});
        QVERIFY(c.becomeOperator(QStringLiteral("1")));
        QCOMPARE(c.admin->lstkeywords->count(), 2);
        QCOMPARE(c.admin->lstrequests->item(0)->text(), QStringLiteral("ENDGAME Nyx"));
        QCOMPARE(c.adminLines(), QStringList{QStringLiteral("Mod commands, \"hi\" ")});
        // Level 1 hides the item level 3 showed.
        QVERIFY(!c.admin->mnuDisablePM->isVisible());
    }

    void refusedPassKey() {
        OperatorClient c;
        QVERIFY(c.ready);
        c.dialogs().type(QStringLiteral("87654321"));
        c.lobby->mnuadmin_Click();
        c.sounds();
        c.receive(QStringLiteral("ADMINPASSERROR"));
        QCOMPARE(colourOf(c.newRuns(), QStringLiteral("invalid")), 16744576L);
        QCOMPARE(c.newLines(), QStringList{QStringLiteral("<Pass Error>  The pass key you entered is invalid. 20:15:00")});
        QCOMPARE(c.sounds(), QStringList{QStringLiteral("beep.wav")});
        QVERIFY(c.lobby->mnuadmin->isEnabled());
        QCOMPARE(c.lobby->mnuadmin->text(), QStringLiteral("Admin Login"));
        QCOMPARE(ClientConfig().AdminStatus(), int16_t(0));
        QVERIFY(!ifLoaded<frmadmin>());
    }

    void warningBox() {
        OperatorClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("ADMINWARN Stop%20spamming%20<b>now</b>"));
        QCOMPARE(c.dialogs().boxes.size(), 1);
        QCOMPARE(c.dialogs().boxes[0].title, QStringLiteral("Warning"));
        QCOMPARE(c.dialogs().boxes[0].text, QStringLiteral("You have been warned!\r\n\r\nReason: Stop spamming <b>now</b>"));
        QCOMPARE(c.dialogs().boxes[0].style, int(vb::Critical));
        QVERIFY(c.healthy());
    }

    // Notices every player sees, with the "mainchat" log switched on or off.
    void notices_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("chatlog");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("sounds");
        QTest::addColumn<QStringList>("logged");
        const QStringList none;
        const QStringList kick{QStringLiteral("kick.wav")};
        QTest::newRow("warning") << "ADMINWARNING Server%20restarts%20soon" << true
                                 << QStringList{"<Admin>  Server restarts soon 20:15:00"} << QStringList{"pmchat.wav"} << none;
        QTest::newRow("quick call") << "ADMINKEYWORD Nyx need%20a%20GM" << true << QStringList{"<Quickcall> Nyx --> need a GM 20:15:00"}
                                    << none << none;
        QTest::newRow("warn, logged") << "ADMINOPCOMMAND warn Nyx Mod spamming%20chat" << true
                                      << QStringList{"<Warn> Nyx was warned for: \"spamming chat\" by Mod 20:15:00"} << kick
                                      << QStringList{"(20:15:00) !WARN! Nyx was warned for: \"spamming chat\" by Mod"};
        QTest::newRow("kick, logged") << "ADMINOPCOMMAND kick Nyx Mod flood" << true
                                      << QStringList{"<Kick> Nyx was kicked for: \"flood\" by Mod 20:15:00"} << kick
                                      << QStringList{"(20:15:00) !KICK! Nyx was kicked for: \"flood\" by Mod"};
        QTest::newRow("ban, not logged") << "ADMINOPCOMMAND ban Nyx Mod cheating" << false
                                         << QStringList{"<Ban> Nyx was banned for: \"cheating\" by Mod 20:15:00"} << kick << none;
        QTest::newRow("about the user") << "ADMINOPCOMMAND warn kira Mod spam" << true << none << none << none;
        QTest::newRow("other letter case is another player")
            << "ADMINOPCOMMAND ban Kira Mod x" << true << QStringList{"<Ban> Kira was banned for: \"x\" by Mod 20:15:00"} << kick
            << QStringList{"(20:15:00) !BAN! Kira was banned for: \"x\" by Mod"};
        QTest::newRow("other command") << "ADMINOPCOMMAND mute Nyx Mod x" << true << none << kick << none;
        QTest::newRow("keyword in other case") << "ADMINWarning hi" << true << none << none << none;
    }
    void notices() {
        QFETCH(QString, line);
        QFETCH(bool, chatlog);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, sounds);
        QFETCH(QStringList, logged);
        OperatorClient c;
        QVERIFY(c.ready);
        c.setting(QStringLiteral("Options"), QStringLiteral("Chatlog"), chatlog ? QStringLiteral("1") : QStringLiteral("0"));
        c.receive(line);
        if (!shown.isEmpty())
            QCOMPARE(colourOf(c.newRuns(), QStringLiteral(" 20:15:00")), line.startsWith(QLatin1String("ADMINKEYWORD")) ? 12632064L : 255L);
        QCOMPARE(c.newLines(), shown);
        QCOMPARE(c.sounds(), sounds);
        QCOMPARE(logFileLines(c.fx()), logged);
    }

    void noticesWaitForTheLogin() {
        OperatorClient c;
        QVERIFY(c.ready);
        ConnectionState = 0;
        c.con->tmrPacket_Timer();
        c.receive({QStringLiteral("ADMINKEYWORD Nyx help"), QStringLiteral("ADMINOPCOMMAND warn Nyx Mod x"), QStringLiteral("ADMINCHAT Mod hi")});
        QCOMPARE(c.newLines(), QStringList());
        QCOMPARE(c.sounds(), QStringList());
        QVERIFY(!ifLoaded<frmadmin>());
        ConnectionState = 1;
    }

    void chatClear() {
        OperatorClient c;
        QVERIFY(c.ready);
        c.receive({QStringLiteral("CHAT Nyx hello"), QStringLiteral("ADMINCHATCLEAR")});
        QCOMPARE(linesOf(c.lobby->chatin),
                 QStringList{QStringLiteral("<Clear>  The server operators have cleared the chat for everyone. 20:15:00")});
    }

    void removalTakesOnlyExactRequests() {
        OperatorClient c;
        QVERIFY(c.becomeOperator());
        c.receive({QStringLiteral("CHAT Bob !endgame"), QStringLiteral("CHAT bob !endgame"), QStringLiteral("CHAT Bob !Endgame now"),
                   QStringLiteral("CHAT Bobby !endgame")});
        c.admin->lstrequests->addItem(QStringLiteral("TABLE Bob 3"));
        c.receive(QStringLiteral("ADMINREMOVETRIGGER ENDGAME Bob "));
        QStringList left;
        for (int i = 0; i < c.admin->lstrequests->count(); ++i) left << c.admin->lstrequests->item(i)->text();
        QCOMPARE(left, (QStringList{"ENDGAME bob", "ENDGAME Bobby", "TABLE Bob 3"}));
        c.receive(QStringLiteral("ADMINREMOVETRIGGER TABLE Bob 3"));
        QCOMPARE(c.admin->lstrequests->count(), 2);
    }

    // Lines with fields missing or out of shape are read as they come; the client runs on.
    void brokenLines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("shown");
        const QStringList none;
        QTest::newRow("bare family") << "ADMIN" << none;
        QTest::newRow("unknown keyword") << "ADMINFOO 1 2" << none;
        QTest::newRow("chat without fields") << "ADMINCHAT" << none;
        QTest::newRow("warning without text") << "ADMINWARNING" << QStringList{"<Admin>   20:15:00"};
        QTest::newRow("quick call without fields") << "ADMINKEYWORD" << QStringList{"<Quickcall>  -->  20:15:00"};
        QTest::newRow("command without fields") << "ADMINOPCOMMAND" << none;
        QTest::newRow("command without target") << "ADMINOPCOMMAND warn" << QStringList{"<Warn>  was warned for: \"\" by  20:15:00"};
        QTest::newRow("removal without request") << "ADMINREMOVETRIGGER" << none;
        QTest::newRow("status with a huge level") << "ADMINSTATUS 99999999999999999999" << QStringList{kAccepted};
        QTest::newRow("status with markup") << "ADMINSTATUS <b>4</b>" << QStringList{kAccepted};
        QTest::newRow("many fields") << QString("ADMINOPCOMMAND ban a b c") + QString(" x").repeated(60)
                                     << QStringList{"<Ban> a was banned for: \"c\" by b 20:15:00"};
        QTest::newRow("pass error with fields") << "ADMINPASSERROR 1 2" << QStringList{"<Pass Error>  The pass key you entered is invalid. 20:15:00"};
    }
    void brokenLines() {
        QFETCH(QString, line);
        QFETCH(QStringList, shown);
        OperatorClient c;
        QVERIFY(c.ready);
        c.receive(line);
        QCOMPARE(c.newLines(), shown);
        // An unknown level grants nothing.
        QVERIFY(!form<frmmenu>()->mnuadmincontrols->menuAction()->isVisible());
        c.receive(QStringLiteral("CHAT Nyx still%20here"));
        QCOMPARE(c.newLines(), QStringList{QStringLiteral("Nyx says, \" still here \" ")});
        QVERIFY(c.healthy());
    }
};

QTEST_MAIN(tst_admin_messages)
#include "tst_admin_messages.moc"
