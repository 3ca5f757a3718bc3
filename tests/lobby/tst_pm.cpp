// Private messages after a login: the window a message opens, its slot in the table, its skin,
// its flashing, the partner's later messages, replies typed into it, and what the receiver does
// for players who are ignored, while away, during tournaments and for a busy administrator.
#include "LoggedInClient.h"

#include "admin/frmadmin.h"
#include "app/Deployment.h"
#include "app/storedvars.h"
#include "lobby/frmMsgWind.h"

#include <QtTest>

namespace {
frmMsgWind* window(int slot) { return slot < MsgWindows.size() ? MsgWindows[slot].data() : nullptr; }

// The open windows by slot: the partner's name, or "" for a free slot.
QStringList openSlots() {
    QStringList out;
    for (int s = 0; s <= MsgWindowCount; ++s) out << (MsgWindowUsed.value(s) && window(s) ? window(s)->Tag : QString());
    return out;
}

void closeWindow(frmMsgWind* w) {
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
}  // namespace

class tst_pm : public QObject {
    Q_OBJECT

private slots:
    void aMessageOpensItsWindow() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("INPM Nyx kira hi%20there%50second%20line"));
        frmMsgWind* w = window(0);
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("Nyx - Private Message"));
        QCOMPARE(w->Tag, QStringLiteral("Nyx"));
        QCOMPARE(w->player(), QStringLiteral("Nyx"));
        QCOMPARE(w->lblName->text(), QStringLiteral("Nyx"));
        QCOMPARE(w->Label1->text(), QStringLiteral("0"));
        QCOMPARE(MsgWindowUsed.value(0), int16_t(1));
        QCOMPARE(LastPMSender, QStringLiteral("Nyx"));
        // Header in the partner's header colour, the text in the partner's text colour (skin "pm").
        QCOMPARE(runsOf(w->chatin), (QList<Run>{{QStringLiteral("Nyx Says: "), 0xF0B27F, false},
                                                {QStringLiteral("\n"), 0, false},
                                                {QStringLiteral("hi there"), 0xC4E0EC, false},
                                                {QStringLiteral("\n"), 0, false},
                                                {QStringLiteral("second line"), 0xC4E0EC, false},
                                                {QStringLiteral("\n"), 0, false},
                                                {QStringLiteral("\n"), 0, false}}));
        QCOMPARE(w->windowState() & Qt::WindowMinimized, Qt::WindowStates());
        // Typing goes into the input, not the log.
        QCOMPARE(w->focusWidget(), static_cast<QWidget*>(w->chatout));
        // The next message of the partner goes into the same window.
        w->chatin->moveCursor(QTextCursor::Start);
        c.receive(QStringLiteral("INPM Nyx kira again"));
        QCOMPARE(openSlots(), QStringList{QStringLiteral("Nyx")});
        QCOMPARE(linesOf(w->chatin), (QStringList{QStringLiteral("Nyx Says: "), QStringLiteral("hi there"), QStringLiteral("second line"),
                                                   QString(), QStringLiteral("Nyx Says: "), QStringLiteral("again"), QString()}));
        QCOMPARE(w->chatin->textCursor().position(), w->chatin->document()->characterCount() - 1);
        // Another letter case is another partner.
        c.receive(QStringLiteral("INPM NYX kira hello"));
        QCOMPARE(openSlots(), (QStringList{QStringLiteral("Nyx"), QStringLiteral("NYX")}));
        QCOMPARE(window(1)->windowTitle(), QStringLiteral("NYX - Private Message"));
        QCOMPARE(c.newLines(), QStringList());
        QCOMPARE(c.sent(), QStringList());
    }

    // A message whose text is missing still reaches its window, empty.
    void aMessageWithoutText() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive({QStringLiteral("INPM Nyx kira"), QStringLiteral("INPM Nyx")});
        QCOMPARE(openSlots(), QStringList{QStringLiteral("Nyx")});
        QVERIFY(window(0)->isVisible());
        QCOMPARE(linesOf(window(0)->chatin), (QStringList{QStringLiteral("Nyx Says: "), QString(), QString(), QStringLiteral("Nyx Says: "),
                                                          QString(), QString()}));
    }

    void namesAreText() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("INPM <b>Nyx</b> kira <i>hi</i>"));
        frmMsgWind* w = window(0);
        QVERIFY(w);
        QCOMPARE(w->lblName->textFormat(), Qt::PlainText);
        QCOMPARE(w->windowTitle(), QStringLiteral("<b>Nyx</b> - Private Message"));
        QCOMPARE(linesOf(w->chatin).mid(0, 2), (QStringList{QStringLiteral("<b>Nyx</b> Says: "), QStringLiteral("<i>hi</i>")}));
    }

    void slotsAreReused() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive({QStringLiteral("INPM Ada kira 1"), QStringLiteral("INPM Bo kira 2"), QStringLiteral("INPM Cy kira 3")});
        QCOMPARE(openSlots(), (QStringList{QStringLiteral("Ada"), QStringLiteral("Bo"), QStringLiteral("Cy")}));
        // The first free slot is taken again; the closed partner gets a new window.
        closeWindow(window(0));
        QCOMPARE(openSlots(), (QStringList{QString(), QStringLiteral("Bo"), QStringLiteral("Cy")}));
        c.receive(QStringLiteral("INPM Ada kira back"));
        QCOMPARE(openSlots(), (QStringList{QStringLiteral("Ada"), QStringLiteral("Bo"), QStringLiteral("Cy")}));
        QCOMPARE(linesOf(window(0)->chatin), (QStringList{QStringLiteral("Ada Says: "), QStringLiteral("back"), QString()}));
        // Free slots at the top are dropped before a new one is taken.
        closeWindow(window(2));
        closeWindow(window(1));
        QCOMPARE(MsgWindowCount, int16_t(2));
        c.receive(QStringLiteral("INPM Di kira 4"));
        QCOMPARE(openSlots(), (QStringList{QStringLiteral("Ada"), QStringLiteral("Di")}));
        QCOMPARE(window(1)->Label1->text(), QStringLiteral("1"));
        // Esc in the log closes the window too.
        QTest::keyClick(window(1)->chatin, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(openSlots(), (QStringList{QStringLiteral("Ada"), QString()}));
    }

    void awayAnswersAndStillShows() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.setting(QStringLiteral("Away"), QStringLiteral("Status"), QStringLiteral("1"));
        c.setting(QStringLiteral("Away"), QStringLiteral("Reason"), QStringLiteral("gone%20fishing"));
        c.lobby->mnuawayon->setChecked(true);
        c.receive(QStringLiteral("INPM Nyx kira are%20you%20there"));
        QCOMPARE(c.sent(), QStringList{QStringLiteral("PM Nyx gone%20fishing")});
        frmMsgWind* w = window(0);
        QVERIFY(w && w->isVisible());
        QVERIFY(w->windowState() & Qt::WindowMinimized);
    }

    void minimizedByOption() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.setting(QStringLiteral("Options"), QStringLiteral("Minimize"), QStringLiteral("1"));
        c.receive(QStringLiteral("INPM Nyx kira hi"));
        QVERIFY(window(0)->windowState() & Qt::WindowMinimized);
        QCOMPARE(c.sent(), QStringList());
    }

    void ignoredSendersGetNothing() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.setting(QStringLiteral("Ignore"), QStringLiteral("Nyx"), QStringLiteral("1"));
        c.setting(QStringLiteral("Away"), QStringLiteral("Status"), QStringLiteral("1"));
        c.receive(QStringLiteral("INPM Nyx kira hi"));
        QCOMPARE(openSlots(), QStringList{QString()});
        QCOMPARE(c.sent(), QStringList());
        QCOMPARE(LastPMSender, QString());
    }

    void tournamentsAndBusyAdministrators() {
        LoggedInClient c;
        QVERIFY(c.ready);
        // Entries by private message: the message registers its sender and is not shown.
        TourneyAnnounced = true;
        TourneyAcceptPM = true;
        c.driver.web.answerPrefix(QStringLiteral("call spt_ActiveTournamentFee("), FakeWebService::Reply{{{"Status", "integer"}}, {{"1"}}});
        c.receive(QStringLiteral("INPM Nyx kira join"));
        QCOMPARE(openSlots(), QStringList{QString()});
        QCOMPARE(c.sent(), QStringList{QStringLiteral("PM Nyx You%20have%20been%20added%20to%20the%20tournament.")});
        // Announced without entries by message: the sender is told, the message shown.
        TourneyAcceptPM = false;
        c.receive(QStringLiteral("INPM Nyx kira join"));
        QCOMPARE(c.sent(), QStringList{QStringLiteral(
                               "PM Nyx This%20administrator%20is%20running%20a%20tournament%20and%20cannot%20accept%20registrations.")});
        QCOMPARE(openSlots(), QStringList{QStringLiteral("Nyx")});
        TourneyAnnounced = false;
        // An administrator who turned private messages off answers for himself.
        ClientConfig().AdminStatus(1);
        form<frmadmin>()->mnuDisablePM->setChecked(true);
        c.receive(QStringLiteral("INPM Ryo kira help"));
        QCOMPARE(c.sent(), QStringList{
                               QStringLiteral("PM Ryo This%20administrator%20is%20not%20accepting%20private%20messages%20because%20he/"
                                              "she%20is%20busy.%20%20Please%20try%20addressing%20your%20question%20in%20main%20chat%20"
                                              "or%20send%20a%20ticket%20to%20our%20customer%20service%20center%20on%20our%20website%20at%20") +
                               Deployment::website() + QStringLiteral("/support/")});
        QCOMPARE(openSlots(), QStringList{QStringLiteral("Nyx")});
    }

    void typingAReply() {
        LoggedInClient c;
        QVERIFY(c.ready);
        ClientConfig().Username(QStringLiteral("kira"));
        c.receive(QStringLiteral("INPM Nyx kira hi"));
        frmMsgWind* w = window(0);
        QTest::keyClicks(w->chatout, QStringLiteral("a  b"));
        QTest::keyClick(w->chatout, Qt::Key_Return);
        QCOMPARE(c.sent(), QStringList{QStringLiteral("PM Nyx a%20b")});
        QCOMPARE(w->chatout->text(), QString());
        QCOMPARE(linesOf(w->chatin).mid(3), (QStringList{QStringLiteral("kira Says: "), QStringLiteral("a b"), QString()}));
        const QList<Run> runs = runsOf(w->chatin);
        QCOMPARE(runs[runs.size() - 5], (Run{QStringLiteral("kira Says: "), 0x66BCE2, false}));
        QCOMPARE(runs[runs.size() - 3], (Run{QStringLiteral("a b"), ChatColour::White, false}));
        // Three blanks become two; blanks alone send nothing and stay.
        w->chatout->setText(QStringLiteral("x   y"));
        QTest::keyClick(w->chatout, Qt::Key_Return);
        QCOMPARE(c.sent(), QStringList{QStringLiteral("PM Nyx x%20%20y")});
        w->chatout->setText(QStringLiteral("   "));
        QTest::keyClick(w->chatout, Qt::Key_Return);
        QCOMPARE(c.sent(), QStringList());
        QCOMPARE(w->chatout->text(), QStringLiteral("   "));
        // Ctrl+V types a blank once something is typed.
        w->chatout->setText(QStringLiteral("ab"));
        QTest::keyClick(w->chatout, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w->chatout->text(), QStringLiteral("ab "));
        // A line holding Ctrl+C's character is not sent, and Esc does not close then.
        w->chatout->setText(QStringLiteral("x") + QChar(3));
        QTest::keyClick(w->chatout, Qt::Key_Return);
        QTest::keyClick(w->chatout, Qt::Key_Escape);
        QCOMPARE(c.sent(), QStringList());
        QCOMPARE(openSlots(), QStringList{QStringLiteral("Nyx")});
        w->chatout->clear();
        QTest::keyClick(w->chatout, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(openSlots(), QStringList{QString()});
    }

    void sendingEndsAwayMode() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("INPM Nyx kira hi"));
        c.lobby->mnuawayon->setChecked(true);
        c.lobby->mnuawayoff->setChecked(false);
        c.lobby->intIdle = 7;
        window(0)->chatout->setText(QStringLiteral("back now"));
        QTest::keyClick(window(0)->chatout, Qt::Key_Return);
        QVERIFY(!c.lobby->mnuawayon->isChecked());
        QCOMPARE(c.lobby->intIdle, int16_t(0));
        const QStringList sent = c.sent();
        QCOMPARE(sent.first(), QStringLiteral("PM Nyx back%20now"));
        QVERIFY(sent.contains(QStringLiteral("AWAY 0")));
    }

    void flashesUntilNoticed() {
        LoggedInClient c;
        QVERIFY(c.ready);
        // A window the player has not looked at yet (the platform here activates every window it
        // shows, so this one stays hidden, as an opener would leave it until it sets its names).
        const int16_t slot = NewMsgWindow();
        frmMsgWind* w = window(slot);
        QVERIFY(w && !w->isVisible());
        w->Tag = QStringLiteral("Nyx");
        QVERIFY(w->Timer1->isActive());
        QCOMPARE(w->Timer1->interval(), 1000);
        w->Timer1_Timer();
        // The partner's next message goes into it and the flashing goes on.
        c.receive(QStringLiteral("INPM Nyx kira hi"));
        QCOMPARE(openSlots(), QStringList{QStringLiteral("Nyx")});
        QCOMPARE(linesOf(w->chatin).mid(0, 2), (QStringList{QStringLiteral("Nyx Says: "), QStringLiteral("hi")}));
        QVERIFY(w->Timer1->isActive());
        // Looked at once: it stops for good.
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(w, &activate);
        QVERIFY(!w->Timer1->isActive());
        c.receive(QStringLiteral("INPM Nyx kira more"));
        QVERIFY(!w->Timer1->isActive());
    }

    void aSkinWithoutItsSectionUsesTheDefaults() {
        LoggedInClient c;
        QVERIFY(c.ready);
        QByteArray skin = c.fx().read(QStringLiteral("skins/default.ini"));
        const qsizetype at = skin.indexOf("[pm]");
        QVERIFY(at >= 0);
        skin.replace(at, 4, "[xx]");
        c.fx().write(QStringLiteral("skins/default.ini"), skin);
        c.receive(QStringLiteral("INPM Nyx kira hi"));
        const QStringList notices = c.newLines();
        QCOMPARE(notices.size(), 16);
        QCOMPARE(notices.first(), QStringLiteral("The application could not find a pm skin, used the default instead. Run the patcher."));
        QCOMPARE(notices.count(QStringLiteral(
                     "The application could not find the details of the private window, used the default instead. Run the patcher.")),
                 15);
        QVERIFY(ClientConfig().SkinOutofDate());
        frmMsgWind* w = window(0);
        QCOMPARE(runsOf(w->chatin).first(), (Run{QStringLiteral("Nyx Says: "), 16711680, false}));
        QCOMPARE(runsOf(w->chatin)[2], (Run{QStringLiteral("hi"), 16777215, false}));
        QCOMPARE(w->lblName->font().family(), QStringLiteral("Verdana"));
    }
};

QTEST_MAIN(tst_pm)
#include "tst_pm.moc"
