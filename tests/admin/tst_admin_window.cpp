// The administrator window of a logged-in operator: the operators' chat both ways, quick calls,
// the request queue with its keys, Grant and Deny, the refusal of private messages, Marry
// Players, the links, and the window's refusal to be closed.
#include "OperatorClient.h"

#include "app/Deployment.h"
#include "app/storedvars.h"
#include "lobby/frmMsgWind.h"

#include <QtTest>

namespace {
// The texts of every open private-message window.
QString privateMessages() {
    QString out;
    for (const auto& w : MsgWindows)
        if (w) out += w->chatin->toPlainText();
    return out;
}

QStringList entries(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}
}  // namespace

class tst_admin_window : public QObject {
    Q_OBJECT

private slots:
    void operatorsChatBothWays() {
        OperatorClient c;
        QVERIFY(c.becomeOperator());
        c.admin->chatout->setFocus();
        QTest::keyClick(c.admin->chatout, Qt::Key_Return);
        QTest::keyClicks(c.admin->chatout, QStringLiteral("server  restart at <b>9</b>"));
        QTest::keyClick(c.admin->chatout, Qt::Key_Return);
        QCOMPARE(c.sent(), QStringList{QStringLiteral("ADMINCHAT server  restart at <b>9</b>")});
        QCOMPARE(c.admin->chatout->text(), QString());

        c.receive(QStringLiteral("ADMINCHAT Mod restart%20at%20<b>9</b>"));
        QCOMPARE(runsOf(c.admin->chatin), (QList<Run>{{QStringLiteral("Mod"), 12632064, true},
                                                     {QStringLiteral(" commands, \"restart at <b>9</b>\" "), 12632064, false},
                                                     {QStringLiteral("\n"), 0, false}}));
        // A full log starts again.
        c.receive(QStringLiteral("ADMINCHAT Mod ") + QString(15001, u'x'));
        c.receive(QStringLiteral("ADMINCHAT Mod short"));
        QCOMPARE(c.adminLines(), QStringList{QStringLiteral("Mod commands, \"short\" ")});
    }

    void quickCalls() {
        OperatorClient c;
        c.keywords({QStringLiteral("help"), QStringLiteral("scam alert")});
        QVERIFY(c.becomeOperator());
        c.admin->lstkeywords_DblClick();
        QCOMPARE(c.sent(), QStringList());
        c.select(c.admin->lstkeywords, 1);
        c.admin->lstkeywords_DblClick();
        QCOMPARE(c.sent(), QStringList{QStringLiteral("ADMINKEYWORD scam alert")});
        c.receive(QStringLiteral("ADMINKEYWORD Nyx scam%20alert"));
        QCOMPARE(c.newLines(), QStringList{QStringLiteral("<Quickcall> Nyx --> scam alert 20:15:00")});
    }

    void requestKeysSound_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("sound");
        QTest::newRow("up from the middle") << 3 << 1 << int(Qt::Key_Up) << true;
        QTest::newRow("up on the first") << 3 << 0 << int(Qt::Key_Up) << false;
        QTest::newRow("down from the first") << 3 << 0 << int(Qt::Key_Down) << true;
        QTest::newRow("down on the last") << 3 << 2 << int(Qt::Key_Down) << false;
        QTest::newRow("empty list") << 0 << -1 << int(Qt::Key_Down) << false;
        QTest::newRow("other key") << 3 << 1 << int(Qt::Key_Left) << false;
    }
    void requestKeysSound() {
        QFETCH(int, entries);
        QFETCH(int, row);
        QFETCH(int, key);
        QFETCH(bool, sound);
        OperatorClient c;
        QVERIFY(c.becomeOperator());
        for (int i = 0; i < entries; ++i) c.receive(QStringLiteral("CHAT P%1 !endgame").arg(i));
        c.sounds();
        c.admin->lstrequests->setCurrentRow(row);
        QTest::keyClick(c.admin->lstrequests, Qt::Key(key));
        QCOMPARE(c.sounds(), sound ? QStringList{QStringLiteral("scroll.WAV")} : QStringList());
    }

    void grantAndDeny_data() {
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("boxes");
        const QStringList none;
        QTest::newRow("grant other kind") << "TABLE Nyx 4" << "grant" << none << QStringList{"TRIGGERREMOVE TABLE Nyx 4"} << none;
        QTest::newRow("deny other kind") << "TABLE Nyx 4" << "deny" << none << QStringList{"ADMINREMOVETRIGGER TABLE Nyx 4"} << none;
        QTest::newRow("deny end game")
            << "ENDGAME Nyx" << "deny" << QStringList{"not now"}
            << QStringList{"ADMINREMOVETRIGGER ENDGAME Nyx",
                           "PM Nyx Your%20request%20for%20an%20ended%20match%20by%20this%20admin%20was%20denied.%20%20%20Reason:%20not%20now"}
            << QStringList{"Reason|What reason do you wish to give this user"};
        QTest::newRow("deny end game, box cancelled")
            << "ENDGAME Nyx" << "deny" << none
            << QStringList{"ADMINREMOVETRIGGER ENDGAME Nyx",
                           "PM Nyx Your%20request%20for%20an%20ended%20match%20by%20this%20admin%20was%20denied.%20%20%20Reason:%20"}
            << QStringList{"Reason|What reason do you wish to give this user"};
        QTest::newRow("grant without selection") << "" << "grant" << none << none << none;
        QTest::newRow("deny without selection") << "" << "deny" << none << none << none;
    }
    void grantAndDeny() {
        QFETCH(QString, request);
        QFETCH(QString, action);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, boxes);
        OperatorClient c;
        QVERIFY(c.becomeOperator());
        c.admin->lstrequests->addItem(QStringLiteral("ENDGAME Ryo"));
        if (!request.isEmpty()) {
            c.admin->lstrequests->addItem(request);
            c.select(c.admin->lstrequests, 1);
        }
        for (const QString& t : typed) c.dialogs().type(t);
        (action == QLatin1String("grant") ? c.admin->mnuGrant : c.admin->mnuDeny)->trigger();
        QCOMPARE(c.sent(), lines);
        QStringList shown;
        for (const BoxRecord& b : c.dialogs().boxes) shown << b.title + u'|' + b.text;
        QCOMPARE(shown, boxes);
        QCOMPARE(c.sounds(), lines.isEmpty() ? QStringList() : QStringList{QStringLiteral("command.wav")});
        // The queue changes only when the server says the request was handled.
        QCOMPARE(c.admin->lstrequests->count(), request.isEmpty() ? 1 : 2);
    }

    void grantingAnEndGameRequest() {
        OperatorClient c;
        QVERIFY(c.becomeOperator());
        c.receive({QStringLiteral("CHAT Nyx !endgame"), QStringLiteral("CHAT Ryo !Endgame stuck")});
        QCOMPARE(entries(c.admin->lstrequests), (QStringList{"ENDGAME Nyx", "ENDGAME Ryo"}));
        QCOMPARE(c.sounds(), (QStringList{"requestlog.wav", "requestlog.wav"}));
        c.select(c.admin->lstrequests, 1);
        c.admin->mnuGrant->trigger();
        frmmenu* menus = ifLoaded<frmmenu>();
        QVERIFY(menus && menus->mnuendmatches->isVisible());
        QCOMPARE(c.sent(), QStringList());
        menus->mnupenaltyno->trigger();
        menus->mnuendmatches->hide();
        QCOMPARE(c.sent(), (QStringList{"TRIGGERREMOVE ENDGAME Ryo", "TABLEENDMATCH Ryo"}));
        QCOMPARE(c.sounds(), (QStringList{"beep.wav", "command.wav"}));
        QVERIFY(c.newLines().last().startsWith(QStringLiteral("<Request>  Request has been sent to server.")));
        c.receive(QStringLiteral("ADMINREMOVETRIGGER ENDGAME Ryo"));
        QCOMPARE(entries(c.admin->lstrequests), QStringList{"ENDGAME Nyx"});
        c.admin->mnuClearAll->trigger();
        QCOMPARE(c.admin->lstrequests->count(), 0);
        QCOMPARE(c.sent(), QStringList());
    }

    void privateMessagesRefused() {
        OperatorClient c;
        QVERIFY(c.becomeOperator(QStringLiteral("3")));
        QVERIFY(c.admin->mnuDisablePM->isVisible());
        c.admin->mnuDisablePM->trigger();
        QVERIFY(c.admin->mnuDisablePM->isChecked());
        c.receive(QStringLiteral("INPM Nyx kira hello%20there"));
        QCOMPARE(c.sent(), QStringList{QStringLiteral("PM Nyx This%20administrator%20is%20not%20accepting%20private%20messages%20because%20"
                                                      "he/she%20is%20busy.%20%20Please%20try%20addressing%20your%20question%20in%20main%"
                                                      "20chat%20or%20send%20a%20ticket%20to%20our%20customer%20service%20center%20on%"
                                                      "20our%20website%20at%20") +
                                       Deployment::website() + QStringLiteral("/support/")});
        QCOMPARE(privateMessages(), QString());
        c.admin->mnuDisablePM_Click();
        QVERIFY(!c.admin->mnuDisablePM->isChecked());
        c.receive(QStringLiteral("INPM Nyx kira hello%20there"));
        QCOMPARE(c.sent(), QStringList());
        QVERIFY(privateMessages().contains(QStringLiteral("hello there")));
    }

    void marryPlayers_data() {
        QTest::addColumn<QString>("groom");
        QTest::addColumn<QString>("bride");
        QTest::addColumn<int>("confirm");
        QTest::addColumn<bool>("serviceAnswers");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("logged");
        QTest::newRow("married") << "Ryo" << "Nyx" << int(vb::Yes) << true << "call spt_MarryPlayer('12345678', 'Ryo', 'Nyx')"
                                 << "Server commands, \"Marry Players: Ryo and Nyx are now married.\" ";
        QTest::newRow("quotes doubled") << "O'Dell" << "Nyx" << int(vb::Yes) << true
                                        << "call spt_MarryPlayer('12345678', 'O''Dell', 'Nyx')"
                                        << "Server commands, \"Marry Players: O'Dell and Nyx are now married.\" ";
        QTest::newRow("service fails") << "Ryo" << "Nyx" << int(vb::Yes) << false << "call spt_MarryPlayer('12345678', 'Ryo', 'Nyx')"
                                       << "Server commands, \"Marry Players failed: Ryo and Nyx were not married (";
        QTest::newRow("not confirmed") << "Ryo" << "Nyx" << int(vb::No) << true << "" << "";
        QTest::newRow("no bride") << "Ryo" << "" << int(vb::Yes) << true << ""
                                  << "Server commands, \"Marry Players needs both a groom and a bride; nobody was married.\" ";
        QTest::newRow("blank groom") << "  " << "Nyx" << int(vb::Yes) << true << ""
                                     << "Server commands, \"Marry Players needs both a groom and a bride; nobody was married.\" ";
    }
    void marryPlayers() {
        QFETCH(QString, groom);
        QFETCH(QString, bride);
        QFETCH(int, confirm);
        QFETCH(bool, serviceAnswers);
        QFETCH(QString, query);
        QFETCH(QString, logged);
        OperatorClient c;
        QVERIFY(c.becomeOperator());
        if (serviceAnswers) c.driver.web.answerPrefix(QStringLiteral("call spt_MarryPlayer"), {{{QStringLiteral("Result"), QStringLiteral("string")}}, {}});
        c.driver.web.clearRecords();
        c.dialogs().type(groom);
        c.dialogs().type(bride);
        c.dialogs().answer(confirm);
        c.admin->mnuMarryPlayers->trigger();
        QStringList titles = c.dialogs().titles();
        QCOMPARE(titles.mid(0, 2), (QStringList{"GM Script: Marry Players", "GM Script: Marry Player"}));
        if (titles.size() > 2)
            QCOMPARE(c.dialogs().boxes[2].text, QStringLiteral("You want to marry the groom: ") + groom + QStringLiteral(" and the bride: ") +
                                                    bride + QStringLiteral(".  Is this correct?"));
        QCOMPARE(c.driver.web.commands(), query.isEmpty() ? QStringList() : QStringList{query});
        const QStringList log = c.adminLines();
        QCOMPARE(log.isEmpty() ? QString() : log.last().left(logged.size()), logged);
    }

    void links_data() {
        QTest::addColumn<QString>("image");
        QTest::addColumn<bool>("forum");
        QTest::addColumn<QString>("page");
        QTest::newRow("portal") << "imgPortal" << false << "/";
        QTest::newRow("infraction") << "imgInfraction" << false << "/Admin/ApplyInfraction.aspx";
        QTest::newRow("wiki") << "imgWiki" << false << "/Corvada-Help-Index.aspx";
        QTest::newRow("forum") << "imgForum" << true << "/";
        QTest::newRow("guild") << "imgGld" << true << "/Guilds/Corvadex%20Staff.aspx";
        QTest::newRow("guild board") << "imgGldPortal" << false << "/Guilds/Threads/Corvadex%20Staff/PomplingBoard.aspx";
    }
    void links() {
        QFETCH(QString, image);
        QFETCH(bool, forum);
        QFETCH(QString, page);
        OperatorClient c;
        QVERIFY(c.becomeOperator());
        auto* label = c.admin->findChild<QLabel*>(image);
        QVERIFY(label && label->isVisible());
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(c.fx().services.shell->opened, QStringList{(forum ? Deployment::forum() : Deployment::website()) + page});
    }

    void closingIsRefusedButShutdownEnds() {
        OperatorClient c;
        QVERIFY(c.becomeOperator());
        QVERIFY(!c.admin->close());
        QVERIFY(c.admin->isVisible());
        QCOMPARE(c.adminLines(), QStringList{QStringLiteral("Server commands, \"The administrative window cannot be closed in this manner.\" ")});
        // An unload from code hides the window; a hidden one unloads.
        QVERIFY(!unload<frmadmin>());
        QVERIFY(ifLoaded<frmadmin>() && !c.admin->isVisible());
        c.admin->show();
        // The server's quit answer still ends the program with the console up.
        c.receive(QStringLiteral("QUITOKAY"));
        QVERIFY(c.fx().services.lifecycle->ends > 0);
    }
};

QTEST_MAIN(tst_admin_window)
#include "tst_admin_window.moc"
