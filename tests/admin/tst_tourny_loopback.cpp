// A four-player tournament run against the loopback server tool: the operator's pass key, the
// tournament window from the Scripts menu, four loopback players entering by private message
// (each of them in the lobby's player list), their results reported by the server round after
// round, the winner line and the logging calls; the helper's automatic answers to the entrants
// are not answered again. The window's picture is saved when CORVADEX_SCREENSHOTS names a folder.
#include "ClientFixture.h"
#include "Loopback.h"
#include "Screenshots.h"

#include "admin/frmTournyHelper.h"
#include "admin/frmadmin.h"
#include "app/HttpClient.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat.h"

#include <QTreeWidget>
#include <QtTest>

class tst_tourny_loopback : public QObject {
    Q_OBJECT
    Loopback loopback;

private slots:
    void initTestCase() { loopback.startForClients(); }
    void cleanupTestCase() { loopback.stop(); }

    void fourPlayers() {
        ClientFixture fx(ClientFixture::All);
        QVERIFY(loginThroughWindows(QStringLiteral("kira")).contains(85));
        fx.services.dialogs->type(QStringLiteral("12345678"));
        ifLoaded<frmchildchat>()->mnuadmin_Click();
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmadmin>() && ifLoaded<frmadmin>()->isVisible(); }, 8000));
        ifLoaded<frmadmin>()->mnuTournamentHelper->trigger();
        frmTournyHelper* w = ifLoaded<frmTournyHelper>();
        QVERIFY(w && w->isVisible());
        w->txtTitle->setText(QStringLiteral("Loopback Cup"));
        w->txtRules->setText(QStringLiteral("Best of one"));
        w->cmbType->setCurrentText(QStringLiteral("Single Elimination"));
        w->cmbGame->setCurrentText(QStringLiteral("Corvada War"));
        w->cmbFee->setCurrentText(QStringLiteral("0"));
        w->cmbTimer->setCurrentText(QStringLiteral("5"));
        w->chkAcceptPM->click();
        w->cmdBegin_Click();
        QVERIFY(QTest::qWaitFor([&] { return w->lstRegistrations->count() == 4; }, 8000));
        // Every entrant is a player on line, in the lobby's list.
        const QTreeWidget* players = ifLoaded<frmchildchat>()->playerlist;
        for (int i = 0; i < w->lstRegistrations->count(); ++i) {
            const QString entrant = w->lstRegistrations->item(i)->text();
            const auto listed = players->findItems(entrant + u' ', Qt::MatchStartsWith);
            QVERIFY2(listed.size() == 1, qPrintable(entrant));
        }
        // The helper tells each entrant so; the entrants, residents all, do not answer that.
        for (const char* resident : {"Nyx", "Orrin", "Bree", "Quill"})
            QVERIFY(loopback.printed(QStringLiteral("(%1 does not answer an automatic reply)").arg(QLatin1String(resident))));
        while (w->tmrTimer->isActive()) w->tmrTimer_Timer();
        QVERIFY(TourneyRunning);
        QCOMPARE(w->lstmatches->count(), 2);
        save(w->grab().toImage(), "tourny_loopback");
        QVERIFY(QTest::qWaitFor([] { return !TourneyRunning; }, 20000));
        const QString log = w->txtDebug->toPlainText();
        QVERIFY2(log.contains(QStringLiteral("Tournament ended.  Winner: bree")) || log.contains(QStringLiteral("Winner: Bree")),
                 qPrintable(log));
        QVERIFY2(!log.contains(QStringLiteral("Could not log")), qPrintable(log));
        // Four entries by private message, four answers of the helper, and no more private messages.
        QCOMPARE(loopback.output.count(QStringLiteral("<- INPM ")), 4);
        QCOMPARE(loopback.output.count(QStringLiteral("-> PM ")), 4);
    }
};

QTEST_MAIN(tst_tourny_loopback)
#include "tst_tourny_loopback.moc"
