// The coin-board game through the real dispatcher and window: the rules dialog, the step list
// (data steps at once, one effect a tick, the close dropping what is left), the turn start, the
// selection and its completion, Freeze and the countdown, and lines the board must not take.
#include "Screenshots.h"
#include "VariantLink.h"

#include "app/storedvars.h"
#include "variants/frmsphere.h"
#include "variants/frmsphere_setup.h"

namespace {
frmsphere* sphere() { return ifLoaded<frmsphere>(); }

const QString kReady = QStringLiteral("Click Ready to Begin!");

// The coin values shown ("core|border"), the sum, the multiplier and the lock.
QString boardState() {
    frmsphere* w = sphere();
    QStringList core, border;
    for (QLabel* c : w->corecoin) core << c->text() + (frmsphere::selected(c) ? QStringLiteral("*") : QString());
    for (QLabel* c : w->bordercoin) border << c->text() + (frmsphere::selected(c) ? QStringLiteral("*") : QString());
    return core.join(u',') + u'|' + border.join(u',') + QStringLiteral(" sum ") + w->sum->text() + QStringLiteral(" multi ") +
           w->multi->text() + (w->blnLock ? QStringLiteral(" locked") : QStringLiteral(" open"));
}

// A dealt turn: core coins 3, 5, 4, 6; border coins 1..12 valued 1, 2, 3 ... except border 4,
// dealt 0; multiplier 10; then OBGO with the given time.
QStringList deal(const QString& seconds = QStringLiteral("30")) {
    QStringList out{QStringLiteral("OBSTART")};
    const int core[] = {3, 5, 4, 6};
    for (int slot = 1; slot <= 4; ++slot) out << QStringLiteral("OBCORE %1 %2").arg(slot).arg(core[slot - 1]);
    for (int slot = 1; slot <= 12; ++slot) out << QStringLiteral("OBBORDER %1 %2").arg(slot).arg(slot == 4 ? 0 : slot);
    out << QStringLiteral("OBMULTI 10") << QStringLiteral("OBGO ") + seconds;
    return out;
}

void click(const QString& coin) {
    const int n = coin.mid(1).toInt() - 1;
    if (coin.startsWith(u'c')) sphere()->imgcore_coin_Click(n);
    else sphere()->imgborder_coin_Click(n);
}
}  // namespace

class tst_sphere : public QObject {
    Q_OBJECT

private slots:
    void init() { ClientFixture::unloadAll(); }

    // Okay refuses until all three rules are chosen, then sends them in one line.
    void rulesDialog_data() {
        QTest::addColumn<int>("time");
        QTest::addColumn<int>("score");
        QTest::addColumn<int>("turns");
        QTest::addColumn<QString>("line");
        QTest::newRow("nothing chosen") << -1 << -1 << -1 << "";
        QTest::newRow("no maximum turns") << 3 << 5 << -1 << "";
        QTest::newRow("no time") << -1 << 0 << 0 << "";
        QTest::newRow("smallest") << 0 << 0 << 0 << "CHANGERULE ORBOLT 30 50 15";
        QTest::newRow("largest") << 7 << 10 << 5 << "CHANGERULE ORBOLT 100 100 40";
        QTest::newRow("between") << 3 << 5 << 1 << "CHANGERULE ORBOLT 60 75 20";
    }
    void rulesDialog() {
        QFETCH(int, time);
        QFETCH(int, score);
        QFETCH(int, turns);
        QFETCH(QString, line);
        VariantLink l;
        l.creator(false);
        l.sent();
        frmsphere_setup* w = form<frmsphere_setup>();
        w->show();
        w->cmbtime->setCurrentIndex(time);
        w->cmbmaxscore->setCurrentIndex(score);
        w->cmbmaxturns->setCurrentIndex(turns);
        if (line.isEmpty()) l.dialogs().answer(vb::OK);
        w->cmdOK_Click();
        if (line.isEmpty()) {
            QCOMPARE(l.dialogs().boxes.size(), 1);
            QCOMPARE(l.dialogs().boxes[0].title, QStringLiteral("Orbolt"));
            QCOMPARE(l.dialogs().boxes[0].text, QStringLiteral("All fields must be filled"));
            QVERIFY(ifLoaded<frmsphere_setup>());
            QVERIFY(l.sent().isEmpty());
            QVERIFY(!l.isCreator());
        } else {
            QCOMPARE(l.sent(), QStringList{line});
            QVERIFY(!ifLoaded<frmsphere_setup>());
            QVERIFY(l.isCreator());
        }
    }

    // A burst of data lines and OBGO: the turn starts in the same call, with the go effect.
    void burstStartsTheTurnAtOnce() {
        VariantLink l;
        l.receive(deal());
        frmsphere* w = sphere();
        QVERIFY(w->isVisible());
        QCOMPARE(boardState(), QStringLiteral("3,5,4,6|1,2,3,0,5,6,7,8,9,10,11,12 sum 0 multi 10 open"));
        QVERIFY(w->lstsphere.isEmpty());
        QVERIFY(w->blnReady);
        QCOMPARE(w->lbltime->text(), QStringLiteral("30"));
        QVERIFY(w->timeleft->isActive());
        QCOMPARE(l.sounds(), QList<int>{42});
        w->imgborder_coin[3]->Stop();
        w->imgborder_coin_Finished(3);
        QVERIFY(w->imgborder_coin[3]->isHidden());
        QVERIFY(!w->imgborder_coin[4]->isHidden());
        save(w->grab().toImage(), "sphere_dealt");
    }

    // Effect steps wait a tick each: OBGO behind OBTURNS, two echoes, an empty list.
    void effectsOneATick_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("ticks");  // what shows on arrival and after each tick
        QTest::newRow("go behind turns") << QStringList{"OBTURNS 2", "OBMULTI 5", "OBGO 20"}
                                         << QStringList{"turns 2 time - echo - queued 2", "turns 2 time 20 echo - queued 0"};
        QTest::newRow("two echoes") << QStringList{"OBECHO 2", "OBECHO 3"}
                                    << QStringList{"turns 0 time - echo - queued 2", "turns 0 time - echo ECHO BONUS x2 queued 1",
                                                   "turns 0 time - echo ECHO BONUS x3 queued 0"};
        QTest::newRow("empty list") << QStringList{} << QStringList{"turns 0 time - echo - queued 0", "turns 0 time - echo - queued 0"};
    }
    void effectsOneATick() {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, ticks);
        VariantLink l;
        l.receive(QStringLiteral("OBSTART"));
        frmsphere* w = sphere();
        if (!lines.isEmpty()) l.receive(lines);
        auto show = [w] {
            return QStringLiteral("turns %1 time %2 echo %3 queued %4")
                .arg(w->lblturns->text(), w->lbltime->text().isEmpty() ? QStringLiteral("-") : w->lbltime->text(),
                     w->lblecho->text().isEmpty() ? QStringLiteral("-") : w->lblecho->text())
                .arg(w->lstsphere.size());
        };
        QStringList shown;
        shown << show();
        while (shown.size() < ticks.size()) {
            w->tmrAnti_Timer();
            shown << show();
        }
        QCOMPARE(shown, ticks);
        QVERIFY(w->tmrAnti->isActive());
    }

    void closeDropsQueuedSteps() {
        VariantLink l;
        l.receive({QStringLiteral("OBSTART"), QStringLiteral("OBTURNS 1"), QStringLiteral("OBECHO 2"), QStringLiteral("OBECHO 3")});
        QCOMPARE(sphere()->lstsphere.size(), 3);
        l.receive(QStringLiteral("OBTURNS 1"));
        const QList<int> before = l.sounds();
        l.receive(QStringLiteral("OBCLOSE"));
        QVERIFY(!sphere());
        QCOMPARE(l.sounds(), before);
        QCOMPARE(l.pauses(), QList<int>{1});
        QVERIFY(!InGame);
    }

    // Selections: what is sent, what the board shows, the hint before any core coin.
    void selection_data() {
        QTest::addColumn<QString>("multi");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QString>("status");
        QTest::newRow("core 1 and 3, border 2 and 5")
            << "14" << QStringList{"c1", "c3", "b2", "b5", "b6"} << QStringList{"OBCOMPLETE 1 99 3 99 2 5"} << "";
        QTest::newRow("border before any core")
            << "10" << QStringList{"b2"} << QStringList{} << "You must first select a core coin!";
        QTest::newRow("a core coin that completes alone") << "5" << QStringList{"c2", "c1"} << QStringList{"OBCOMPLETE 99 2 99 99"} << kReady;
        QTest::newRow("a second click adds nothing") << "10" << QStringList{"c1", "c1", "c3", "c3"} << QStringList{} << kReady;
        QTest::newRow("a second click tests again") << "7" << QStringList{"c1", "c3", "c3"} << QStringList{"OBCOMPLETE 1 99 3 99"} << kReady;
        QTest::newRow("no multiplier") << "0" << QStringList{"c1", "c3", "b2", "b5"} << QStringList{} << "";
        QTest::newRow("a multiplier that is no number") << "x" << QStringList{"c1", "c2"} << QStringList{} << kReady;
    }
    void selection() {
        QFETCH(QString, multi);
        QFETCH(QStringList, clicks);
        QFETCH(QStringList, sent);
        QFETCH(QString, status);
        VariantLink l;
        QStringList lines = deal();
        lines.insert(lines.size() - 1, QStringLiteral("OBMULTI ") + multi);
        l.receive(lines);
        l.sent();
        for (const QString& c : clicks) click(c);
        QCOMPARE(l.sent(), sent);
        QCOMPARE(sphere()->lblgamestatus->text(), status);
        QCOMPARE(sphere()->blnLock, !sent.isEmpty());
        QCOMPARE(sphere()->lstsphere, sent.isEmpty() ? QStringList() : QStringList{QStringLiteral("OBCOREBREAK")});
        if (!sent.isEmpty()) QVERIFY(!sphere()->timeleft->isActive());
    }

    void selectionShowsTheSum() {
        VariantLink l;
        l.receive(deal());
        for (const char* c : {"c1", "b2", "b2"}) click(QLatin1String(c));
        QCOMPARE(boardState(), QStringLiteral("3*,5,4,6|1,2*,3,0,5,6,7,8,9,10,11,12 sum 5 multi 10 open"));
        QCOMPARE(l.sounds(), (QList<int>{42, 43, 43}));
        l.receive(QStringLiteral("OBGO 30"));
        QCOMPARE(boardState(), QStringLiteral("3,5,4,6|1,2,3,0,5,6,7,8,9,10,11,12 sum 0 multi 10 open"));
    }

    // The countdown from 3, an immediate time-up for a turn without time, Freeze at any time.
    void countdown_data() {
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QList<int>>("sounds");
        QTest::newRow("from 3") << "3" << QStringList{"2", "1", "0"} << QList<int>{48, 48, 48, 49};
        QTest::newRow("from 12") << "12" << QStringList{"11", "10", "9"} << QList<int>{48, 48};
        QTest::newRow("no time") << "0" << QStringList{"0", "0", "0"} << QList<int>{48, 49};
        // The label shows the turn time as it came; the counter freezes at once.
        QTest::newRow("less than none") << "-4" << QStringList{"-4", "-4", "-4"} << QList<int>{48, 49};
        QTest::newRow("not a number") << "soon" << QStringList{"soon", "soon", "soon"} << QList<int>{48, 49};
        QTest::newRow("with a point") << "3.0" << QStringList{"2", "1", "0"} << QList<int>{48, 48, 48, 49};
        QTest::newRow("more than a byte") << "300" << QStringList{"254", "253", "252"} << QList<int>{};
    }
    void countdown() {
        QFETCH(QString, seconds);
        QFETCH(QStringList, shown);
        QFETCH(QList<int>, sounds);
        VariantLink l;
        l.receive(deal(seconds));
        frmsphere* w = sphere();
        QCOMPARE(w->lbltime->text(), seconds);
        const qsizetype before = l.sounds().size();
        const bool upAtOnce = sounds.size() == 2 && sounds.last() == 49;
        QList<int> heard = upAtOnce ? l.sounds().mid(0, 2) : QList<int>{};
        QStringList seen;
        for (int n = 0; n < 3; ++n) {
            w->timeleft_Timer();
            seen << w->lbltime->text();
        }
        if (!upAtOnce) heard = l.sounds().mid(before);
        QCOMPARE(seen, shown);
        QCOMPARE(heard, sounds);
        const bool up = sounds.contains(49);
        QCOMPARE(l.sent(), up ? QStringList{QStringLiteral("OBFROZEN")} : QStringList{});
        QCOMPARE(w->blnLock, up);
        QCOMPARE(w->lblgamestatus->text(), up ? QStringLiteral("Frozen, board locked") : kReady);
        click(QStringLiteral("c1"));
        QCOMPARE(frmsphere::selected(w->corecoin[0]), !up);
    }

    void readyAndFreezeBeforeTheFirstTurn() {
        VariantLink l;
        l.receive(QStringLiteral("OBSTART"));
        frmsphere* w = sphere();
        QCOMPARE(w->lblgamestatus->text(), kReady);
        l.sent();
        w->cmdGo_Click();
        QVERIFY(w->cmdGo->isHidden());
        w->cmdFreeze_Click();
        QCOMPARE(l.sent(), (QStringList{"OBREADY", "OBFROZEN"}));
        click(QStringLiteral("c1"));
        QVERIFY(!w->CoreSelected());
        l.receive({QStringLiteral("OBOPPSCORE 17"), QStringLiteral("OBOPPFROZEN"), QStringLiteral("OBFREEZE extra")});
        QCOMPARE(w->lbloppscore->text(), QStringLiteral("17"));
        QCOMPARE(w->lbloppstatus->text(), QStringLiteral("Frozen"));
        QCOMPARE(w->lblgamestatus->text(), QStringLiteral("Board Locked, Frozen!"));
        QCOMPARE(l.sounds(), QList<int>{41});
    }

    // Coin lines outside the board or its values are not queued; the board stays as dealt.
    void malformedLines_data() {
        QTest::addColumn<QString>("line");
        QTest::newRow("border 20") << "OBBORDER 20 5";
        QTest::newRow("border 0") << "OBBORDER 0 5";
        QTest::newRow("border without a value") << "OBBORDER 3";
        QTest::newRow("border value not a number") << "OBBORDER 3 x";
        QTest::newRow("core 1 of 300") << "OBCORE 1 300";
        QTest::newRow("core 5") << "OBCORE 5 1";
        QTest::newRow("core -1 value") << "OBCORE 2 -1";
        QTest::newRow("core alone") << "OBCORE";
        QTest::newRow("unknown keyword") << "OBSPIN 3";
    }
    void malformedLines() {
        QFETCH(QString, line);
        VariantLink l;
        l.receive(deal());
        const QString before = boardState();
        l.receive({line, QStringLiteral("OBGO 30")});
        QCOMPARE(boardState(), before);
        QVERIFY(sphere()->lstsphere.isEmpty());
        QVERIFY(l.dialogs().boxes.isEmpty());
        QVERIFY(l.healthy());
    }
};

QTEST_MAIN(tst_sphere)
#include "tst_sphere.moc"
