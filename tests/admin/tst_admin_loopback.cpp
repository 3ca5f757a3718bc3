// An operator against the loopback server tool, run as its own process: the pass key it is
// configured with opens the administrator window, its sample request can be denied and leaves
// the queue when the server says so, and the operators' chat goes round.
#include "ClientFixture.h"
#include "Loopback.h"

#include "admin/frmadmin.h"
#include "app/HttpClient.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "platform/Forms.h"

#include <QtTest>

class tst_admin_loopback : public QObject {
    Q_OBJECT
    Loopback loopback;

private slots:
    void initTestCase() {
        loopback.start();
        if (QTest::currentTestFailed()) return;
        HttpClient::setTimeouts({500, 3000});
    }
    void cleanupTestCase() { loopback.stop(); }
    void init() { loopback.exportAddresses(); }

    void refusedThenAcceptedKey() {
        ClientFixture fx;
        QVERIFY(loginThroughWindows(QStringLiteral("gmkira")).contains(85));
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmchildchat>() != nullptr; }, 5000));
        frmchildchat* lobby = ifLoaded<frmchildchat>();
        fx.services.dialogs->type(QStringLiteral("11111111"));
        lobby->mnuadmin_Click();
        QVERIFY(loopback.printed(QStringLiteral("-> ADMINLOGIN ********")));
        QVERIFY(QTest::qWaitFor([&] { return lobby->mnuadmin->isEnabled(); }, 5000));
        QVERIFY(!ifLoaded<frmadmin>());

        fx.services.dialogs->type(QStringLiteral("12345678"));
        lobby->mnuadmin_Click();
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmadmin>() && ifLoaded<frmadmin>()->isVisible(); }, 5000));
        frmadmin* admin = ifLoaded<frmadmin>();
        QCOMPARE(admin->lstkeywords->count(), 4);
        QVERIFY(!loopback.output.contains(QStringLiteral("ADMINLOGIN 12345678")));
        QVERIFY(QTest::qWaitFor([&] { return admin->lstrequests->count() == 1; }, 5000));
        QCOMPARE(admin->lstrequests->item(0)->text(), QStringLiteral("ENDGAME Nyx"));

        admin->lstrequests->setCurrentRow(0);
        admin->lstrequests->item(0)->setSelected(true);
        fx.services.dialogs->type(QStringLiteral("try again"));
        admin->mnuDeny->trigger();
        QVERIFY(QTest::qWaitFor([&] { return admin->lstrequests->count() == 0; }, 5000));
        QVERIFY(loopback.printed(QStringLiteral("-> PM Nyx Your%20request")));

        admin->chatout->setText(QStringLiteral("all quiet"));
        int16_t enter = 13;
        admin->chatout_KeyPress(enter);
        QVERIFY(QTest::qWaitFor([&] { return admin->chatin->toPlainText().contains(QStringLiteral("gmkira commands, \"all quiet\"")); }, 5000));
        ConnectionState = 2;
    }
};

QTEST_MAIN(tst_admin_loopback)
#include "tst_admin_loopback.moc"
