// The administrator messages and the administrator window after a real login: the pass-key
// login by level, the refused key, notices, the warning box, removals, broken lines; then the
// operators' chat, quick calls, the request queue with Grant and Deny, refused private
// messages, Marry Players, the links, and the refused close.
#include "OperatorClient.h"

#include "app/Deployment.h"
#include "app/storedvars.h"
#include "lobby/frmMsgWind.h"

#include <QtTest>

namespace {
using L = QStringList;
const QString kAccepted = QStringLiteral(
    "<Accepted>  The administrator login has been accepted.  Please wait while the administrator window loads.  This may take a "
    "few seconds depending on your internet connection.  Maximum time is 60-80 seconds.  Do not panic if the screen freezes while "
    "it loads. 20:15:00");

L fileLines(const ClientFixture& fx, const char* name) {
    QFile f(fx.path(QLatin1String(name)));
    const L out = f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).split("\r\n") : L();
    return out.mid(0, out.size() - 1);
}
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
void select(QListWidget* list, int row) {
    list->setCurrentRow(row);
    if (QListWidgetItem* item = list->item(row)) item->setSelected(true);
}
}  // namespace

class tst_admin : public QObject {
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
        c.keywords({"help", "scam"});
        c.dialogs().type("00123456");
        c.lobby->mnuadmin_Click();
        QCOMPARE(c.sent(), L{"ADMINLOGIN 123456"});
        QVERIFY(!c.lobby->mnuadmin->isEnabled());
        c.receive("ADMINSTATUS " + level);
        frmadmin* admin = ifLoaded<frmadmin>();
        QVERIFY(admin && admin->isVisible());
        QCOMPARE(itemsShown(form<frmmenu>(), admin), shown);
        QCOMPARE(ClientConfig().AdminStatus(), int16_t(-1));
        QVERIFY(c.lobby->mnuadmin->isEnabled() && c.lobby->tmradmin->isActive());
        QCOMPARE(c.lobby->mnuadmin->text(), QStringLiteral("Admin Logout"));
        QCOMPARE(c.newLines().last(), kAccepted);
        QCOMPARE(entries(admin->lstkeywords), (L{"help", "scam"}));
    }

    void secondLoginKeepsTheQueueAndLog() {
        OperatorClient c;
        c.keywords({"help"});
        QVERIFY(c.becomeOperator("3"));
        c.receive({"CHAT Nyx !endgame", "ADMINCHAT Mod hi"});
        c.lobby->mnuadmin_Click();
        QCOMPARE(c.sent(), L{"ADMINLOGOUT"});
        c.driver.web.clearAnswers();
        c.keywords({"help", "bug"});
        QVERIFY(c.becomeOperator("1"));
        QCOMPARE(entries(c.admin->lstkeywords), (L{"help", "bug"}));
        QCOMPARE(entries(c.admin->lstrequests), L{"ENDGAME Nyx"});
        QCOMPARE(linesOf(c.admin->chatin), L{"Mod commands, \"hi\" "});
        QVERIFY(!c.admin->mnuDisablePM->isVisible());
    }

    void refusedPassKey() {
        OperatorClient c;
        QVERIFY(c.ready);
        c.dialogs().type("87654321");
        c.lobby->mnuadmin_Click();
        c.sounds();
        c.receive("ADMINPASSERROR");
        QCOMPARE(colourOf(c.newRuns(), "invalid"), 16744576L);
        QCOMPARE(c.newLines(), L{"<Pass Error>  The pass key you entered is invalid. 20:15:00"});
        QCOMPARE(c.sounds(), L{"beep.wav"});
        QVERIFY(c.lobby->mnuadmin->isEnabled() && !ifLoaded<frmadmin>());
        QCOMPARE(ClientConfig().AdminStatus(), int16_t(0));
    }

    // What every player sees, with the "mainchat" log on (after "+") or off, logged in or not.
    void notices_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<L>("shown");
        QTest::addColumn<L>("sounds");
        QTest::addColumn<L>("logged");
        const L kick{"kick.wav"};
        QTest::newRow("warning") << "+ADMINWARNING Restart%20soon" << L{"<Admin>  Restart soon 20:15:00"} << L{"pmchat.wav"} << L();
        QTest::newRow("quick call") << "+ADMINKEYWORD Nyx need%20a%20GM" << L{"<Quickcall> Nyx --> need a GM 20:15:00"} << L() << L();
        QTest::newRow("warn") << "+ADMINOPCOMMAND warn Nyx Mod spam%20x" << L{"<Warn> Nyx was warned for: \"spam x\" by Mod 20:15:00"}
                              << kick << L{"(20:15:00) !WARN! Nyx was warned for: \"spam x\" by Mod"};
        QTest::newRow("kick") << "+ADMINOPCOMMAND kick Nyx Mod flood" << L{"<Kick> Nyx was kicked for: \"flood\" by Mod 20:15:00"} << kick
                              << L{"(20:15:00) !KICK! Nyx was kicked for: \"flood\" by Mod"};
        QTest::newRow("ban, not logged") << "ADMINOPCOMMAND ban Nyx Mod x" << L{"<Ban> Nyx was banned for: \"x\" by Mod 20:15:00"} << kick << L();
        QTest::newRow("about the user") << "+ADMINOPCOMMAND warn kira Mod spam" << L() << L() << L();
        QTest::newRow("other command") << "+ADMINOPCOMMAND mute Nyx Mod x" << L() << kick << L();
        QTest::newRow("logged out") << "-ADMINKEYWORD Nyx help" << L() << L() << L();
        QTest::newRow("logged out, command") << "-ADMINOPCOMMAND warn Nyx Mod x" << L() << L() << L();
    }
    void notices() {
        QFETCH(QString, line);
        QFETCH(L, shown);
        QFETCH(L, sounds);
        QFETCH(L, logged);
        OperatorClient c;
        QVERIFY(c.ready);
        c.setting("Options", "Chatlog", line.startsWith(u'+') ? "1" : "0");
        if (line.startsWith(u'-')) ConnectionState = 0;
        c.receive(line.mid(line.startsWith(u'A') ? 0 : 1));
        ConnectionState = 1;
        if (!shown.isEmpty()) QCOMPARE(colourOf(c.newRuns(), " 20:15:00"), line.contains(QLatin1String("KEYWORD")) ? 12632064L : 255L);
        QCOMPARE(c.newLines(), shown);
        QCOMPARE(c.sounds(), sounds);
        QCOMPARE(fileLines(c.fx(), "logs/mainchat_07-01-2026.log"), logged);
    }

    void warningBoxAndChatClear() {
        OperatorClient c;
        QVERIFY(c.ready);
        c.receive({"CHAT Nyx hello", "ADMINWARN Stop%20<b>now</b>", "ADMINCHATCLEAR"});
        QCOMPARE(c.boxes(), L{"Warning|You have been warned!\r\n\r\nReason: Stop <b>now</b>"});
        QCOMPARE(c.dialogs().boxes[0].style, int(vb::Critical));
        QCOMPARE(linesOf(c.lobby->chatin), L{"<Clear>  The server operators have cleared the chat for everyone. 20:15:00"});
    }

    // Lines with fields missing or out of shape are read as they come; the client runs on.
    void brokenLines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<L>("shown");
        QTest::newRow("bare family") << "ADMIN" << L();
        QTest::newRow("unknown keyword") << "ADMINWarning 1 2" << L();
        QTest::newRow("chat without fields") << "ADMINCHAT" << L();
        QTest::newRow("warning without text") << "ADMINWARNING" << L{"<Admin>   20:15:00"};
        QTest::newRow("quick call without fields") << "ADMINKEYWORD" << L{"<Quickcall>  -->  20:15:00"};
        QTest::newRow("command without target") << "ADMINOPCOMMAND warn" << L{"<Warn>  was warned for: \"\" by  20:15:00"};
        QTest::newRow("removal without request") << "ADMINREMOVETRIGGER" << L();
        QTest::newRow("huge level") << "ADMINSTATUS 99999999999999999999" << L{kAccepted};
        QTest::newRow("many fields") << "ADMINOPCOMMAND ban a b c" + QString(" x").repeated(60) << L{"<Ban> a was banned for: \"c\" by b 20:15:00"};
    }
    void brokenLines() {
        QFETCH(QString, line);
        QFETCH(L, shown);
        OperatorClient c;
        QVERIFY(c.ready);
        c.receive({line, "CHAT Nyx still%20here"});
        QCOMPARE(c.newLines(), shown << "Nyx says, \" still here \" ");
        QVERIFY(!form<frmmenu>()->mnuadmincontrols->menuAction()->isVisible());
        QVERIFY(c.healthy());
    }

    void operatorsChatAndQuickCalls() {
        OperatorClient c;
        c.keywords({"help", "scam alert"});
        QVERIFY(c.becomeOperator());
        QTest::keyClick(c.admin->chatout, Qt::Key_Return);
        QTest::keyClicks(c.admin->chatout, "restart  at <b>9</b>");
        QTest::keyClick(c.admin->chatout, Qt::Key_Return);
        c.admin->lstkeywords_DblClick();
        select(c.admin->lstkeywords, 1);
        c.admin->lstkeywords_DblClick();
        QCOMPARE(c.sent(), (L{"ADMINCHAT restart  at <b>9</b>", "ADMINKEYWORD scam alert"}));
        QCOMPARE(c.admin->chatout->text(), QString());
        // The input takes a line of any length.
        c.admin->chatout->setText(QString(1500, u'y'));
        QTest::keyClick(c.admin->chatout, Qt::Key_Return);
        QCOMPARE(c.sent(), L{"ADMINCHAT " + QString(1500, u'y')});
        c.receive("ADMINCHAT Mod " + QString(15001, u'x'));
        c.receive("ADMINCHAT Mod at%20<b>9</b>");
        QCOMPARE(runsOf(c.admin->chatin), (QList<Run>{{"Mod", 12632064, true}, {" commands, \"at <b>9</b>\" ", 12632064, false}, {"\n", 0, false}}));
    }

    // Grant and Deny on the second of two requests (none selected when empty).
    void grantAndDeny_data() {
        QTest::addColumn<QString>("request");
        QTest::addColumn<bool>("grant");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<L>("lines");
        const QString pm = "PM Nyx Your%20request%20for%20an%20ended%20match%20by%20this%20admin%20was%20denied.%20%20%20Reason:%20";
        QTest::newRow("grant other kind") << "TABLE Nyx 4" << true << "" << L{"TRIGGERREMOVE TABLE Nyx 4"};
        QTest::newRow("deny other kind") << "TABLE Nyx 4" << false << "" << L{"ADMINREMOVETRIGGER TABLE Nyx 4"};
        QTest::newRow("deny end game") << "ENDGAME Nyx" << false << "not now" << L{"ADMINREMOVETRIGGER ENDGAME Nyx", pm + "not%20now"};
        QTest::newRow("deny, box cancelled") << "ENDGAME Nyx" << false << "" << L{"ADMINREMOVETRIGGER ENDGAME Nyx", pm};
        QTest::newRow("grant without selection") << "" << true << "" << L();
        QTest::newRow("deny without selection") << "" << false << "" << L();
    }
    void grantAndDeny() {
        QFETCH(QString, request);
        QFETCH(bool, grant);
        QFETCH(QString, reason);
        QFETCH(L, lines);
        OperatorClient c;
        QVERIFY(c.becomeOperator());
        c.admin->lstrequests->addItem("ENDGAME Ryo");
        if (!request.isEmpty()) c.admin->lstrequests->addItem(request), select(c.admin->lstrequests, 1);
        if (!reason.isEmpty()) c.dialogs().type(reason);
        (grant ? c.admin->mnuGrant : c.admin->mnuDeny)->trigger();
        QCOMPARE(c.sent(), lines);
        QCOMPARE(c.boxes(), lines.size() == 2 ? L{"Reason|What reason do you wish to give this user"} : L());
        QCOMPARE(c.sounds(), lines.isEmpty() ? L() : L{"command.wav"});
        QCOMPARE(c.admin->lstrequests->count(), request.isEmpty() ? 1 : 2);
    }

    void endGameRequests() {
        OperatorClient c;
        QVERIFY(c.becomeOperator());
        c.receive({"CHAT Nyx !endgame", "CHAT Ryo !Endgame stuck", "CHAT Ryo !Endgame", "CHAT ryo !endgame"});
        QCOMPARE(c.sounds(), L(4, "requestlog.wav"));
        // The arrow keys sound while the selection can move that way.
        for (auto [row, key] : {std::pair{0, Qt::Key_Up}, {3, Qt::Key_Down}, {1, Qt::Key_Up}, {2, Qt::Key_Down}, {1, Qt::Key_Left}}) {
            c.admin->lstrequests->setCurrentRow(row);
            QTest::keyClick(c.admin->lstrequests, key);
        }
        QCOMPARE(c.sounds(), L(2, "scroll.WAV"));
        select(c.admin->lstrequests, 1);
        c.admin->mnuGrant->trigger();
        frmmenu* menus = ifLoaded<frmmenu>();
        QVERIFY(menus && menus->mnuendmatches->isVisible());
        QCOMPARE(c.sent(), L());
        // A real click on "End Game": the item sounds and sends, and the closed menu sounds after it.
        QMenu* popup = menus->mnuendmatches;
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(menus->mnupenaltyno).center());
        QVERIFY(!popup->isVisible());
        QCoreApplication::processEvents();
        QCOMPARE(c.sent(), (L{"TRIGGERREMOVE ENDGAME Ryo", "TABLEENDMATCH Ryo"}));
        QCOMPARE(c.sounds(), (L{"beep.wav", "command.wav"}));
        // Only the exact request leaves the queue.
        c.receive("ADMINREMOVETRIGGER ENDGAME Ryo ");
        QCOMPARE(entries(c.admin->lstrequests), (L{"ENDGAME Nyx", "ENDGAME ryo"}));
        c.admin->mnuClearAll->trigger();
        QCOMPARE(c.admin->lstrequests->count(), 0);
        QCOMPARE(c.sent(), L());
    }

    void privateMessagesRefused() {
        OperatorClient c;
        QVERIFY(c.becomeOperator("3"));
        const auto shown = [] {
            QString out;
            for (const auto& w : MsgWindows) out += w ? w->chatin->toPlainText() : QString();
            return out;
        };
        c.admin->mnuDisablePM->trigger();
        c.receive("INPM Nyx kira hello%20there");
        QCOMPARE(c.sent(), L{"PM Nyx This%20administrator%20is%20not%20accepting%20private%20messages%20because%20he/she%20is%20busy.%20%20"
                             "Please%20try%20addressing%20your%20question%20in%20main%20chat%20or%20send%20a%20ticket%20to%20our%20customer%20"
                             "service%20center%20on%20our%20website%20at%20" + Deployment::website() + "/support/"});
        QCOMPARE(shown(), QString());
        c.admin->mnuDisablePM_Click();
        c.receive("INPM Nyx kira hello%20there");
        QCOMPARE(c.sent(), L());
        QVERIFY(shown().contains("hello there"));
    }

    void marryPlayers_data() {
        QTest::addColumn<L>("typed");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<bool>("serviceAnswers");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("logged");
        const QString refused = "Server commands, \"Marry Players needs both a groom and a bride; nobody was married.\" ";
        QTest::newRow("married, quotes doubled") << L{"O'Dell", "Nyx"} << true << true << "call spt_MarryPlayer('12345678', 'O''Dell', 'Nyx')"
                                                 << "Server commands, \"Marry Players: O'Dell and Nyx are now married.\" ";
        QTest::newRow("service fails") << L{"Ryo", "Nyx"} << true << false << "call spt_MarryPlayer('12345678', 'Ryo', 'Nyx')"
                                       << "Server commands, \"Marry Players failed: Ryo and Nyx were not married (";
        QTest::newRow("not confirmed") << L{"Ryo", "Nyx"} << false << true << "" << "";
        QTest::newRow("no bride") << L{"Ryo", ""} << true << true << "" << refused;
        QTest::newRow("blank groom") << L{"  ", "Nyx"} << true << true << "" << refused;
    }
    void marryPlayers() {
        QFETCH(L, typed);
        QFETCH(bool, confirmed);
        QFETCH(bool, serviceAnswers);
        QFETCH(QString, query);
        QFETCH(QString, logged);
        OperatorClient c;
        QVERIFY(c.becomeOperator());
        if (serviceAnswers) c.driver.web.answerPrefix("call spt_MarryPlayer", {{{"Result", "string"}}, {}});
        c.driver.web.clearRecords();
        c.dialogs().type(typed[0]), c.dialogs().type(typed[1]), c.dialogs().answer(confirmed ? vb::Yes : vb::No);
        c.admin->mnuMarryPlayers->trigger();
        const L boxes = c.boxes();
        QCOMPARE(boxes.mid(0, 2), (L{"GM Script: Marry Players|Who is the Groom? (The bride will receive this player's surname)",
                                     "GM Script: Marry Player|Who is the Bride?"}));
        if (boxes.size() > 2)
            QCOMPARE(boxes[2], "GM Script: Marry Players|You want to marry the groom: " + typed[0] + " and the bride: " + typed[1] + ".  Is this correct?");
        QCOMPARE(c.driver.web.commands(), query.isEmpty() ? L() : L{query});
        QCOMPARE(linesOf(c.admin->chatin).value(0).left(logged.size()), logged);
    }

    void linksAndClosing() {
        OperatorClient c;
        QVERIFY(c.becomeOperator());
        for (const char* image : {"imgPortal", "imgInfraction", "imgWiki", "imgForum", "imgGld", "imgGldPortal"})
            QTest::mouseClick(c.admin->findChild<QLabel*>(QLatin1String(image)), Qt::LeftButton);
        const QString site = Deployment::website(), forum = Deployment::forum();
        QCOMPARE(c.fx().services.shell->opened, (L{site + "/", site + "/Admin/ApplyInfraction.aspx", site + "/Corvada-Help-Index.aspx", forum + "/",
                                                   forum + "/Guilds/Corvadex%20Staff.aspx", site + "/Guilds/Threads/Corvadex%20Staff/PomplingBoard.aspx"}));
        // The close box is refused with a line in the log; an unload from code only hides.
        QVERIFY(!c.admin->close() && c.admin->isVisible());
        QCOMPARE(linesOf(c.admin->chatin), L{"Server commands, \"The administrative window cannot be closed in this manner.\" "});
        QVERIFY(!unload<frmadmin>() && !c.admin->isVisible());
        c.admin->show();
        // The server's quit answer still ends the program with the console up.
        c.receive("QUITOKAY");
        QVERIFY(c.fx().services.lifecycle->ends > 0);
    }
};

QTEST_MAIN(tst_admin)
#include "tst_admin.moc"
