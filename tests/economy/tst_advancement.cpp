// The two advancement windows against a fake web service and game server: the queries they run,
// the figures and the Train button they show, the lines Train and the share list send, the
// refusal when the data cannot be read, and the advancement lines of the server.
#include "EconomyLink.h"

#include "economy/frmAdvancement.h"
#include "economy/frmVAdvancement.h"

namespace {
const Reply kAbilities = table({"Ability", "Category", "Level", "MaxLevel", "Description"},
                               {{"Iron's Will", "Body", "2", "5", "Harder to break"},
                                {"Quick Study", "Mind", "10", "10", "More experience"},
                                {"Keen Eye", "Mind", "9", "10", "See more"}});

Reply stats(const QString& exp, const QString& share, const QString& points, const QString& trained, bool veteran) {
    Reply r;
    r.columns = {{"EXPNext", "string"}};
    if (!veteran) r.columns.append(FakeWebService::Column{"Percent", "integer"});
    r.columns << FakeWebService::Column{"AAPoints", "integer"} << FakeWebService::Column{"AATrained", "integer"};
    QStringList row{exp};
    if (!veteran) row << share;
    row << points << trained;
    r.rows = {row};
    return r;
}

AdvancementWindow* open(bool veteran) {
    return veteran ? static_cast<AdvancementWindow*>(form<frmVAdvancement>()) : form<frmAdvancement>();
}
}  // namespace

class tst_advancement : public QObject {
    Q_OBJECT

    static void answer(EconomyLink& l, bool veteran, const Reply& figures) {
        const QString v = veteran ? QStringLiteral("V") : QStringLiteral("A");
        l.web.answer(QStringLiteral("call sps_Player%1A('Tester')").arg(v), kAbilities);
        l.web.answer(QStringLiteral("call sps_Player%1AStats('Tester')").arg(v), figures);
        l.web.answerPrefix(QStringLiteral("call sps_%1ADescription(").arg(v), table({"description"}, {{"Stands firm."}}));
    }

private slots:
    void cleanup() { ClientFixture::unloadAll(); }

    void openingQueriesAndFigures_data() {
        QTest::addColumn<bool>("veteran");
        QTest::addColumn<QString>("points");
        QTest::addColumn<bool>("train");
        QTest::addRow("alternate, points to spend") << false << "3" << true;
        QTest::addRow("alternate, none") << false << "0" << false;
        QTest::addRow("veteran, points to spend") << true << "2" << true;
        QTest::addRow("veteran, none") << true << "0" << false;
    }
    void openingQueriesAndFigures() {
        QFETCH(bool, veteran);
        QFETCH(QString, points);
        QFETCH(bool, train);
        EconomyLink l;
        answer(l, veteran, stats("1200", "30", points, "7", veteran));
        AdvancementWindow* w = open(veteran);
        w->RefreshGrid();
        const QString v = veteran ? QStringLiteral("V") : QStringLiteral("A");
        const QString abilities = QStringLiteral("call sps_Player%1A('Tester')").arg(v);
        const QString figures = QStringLiteral("call sps_Player%1AStats('Tester')").arg(v);
        QCOMPARE(l.queries(), QStringList({abilities, figures, abilities, figures}));
        QCOMPARE(w->windowTitle(), veteran ? QStringLiteral("Veteran Advancement") : QStringLiteral("Alternate Advancement"));
        QCOMPARE(w->DataGrid->Rows(), 4);
        QCOMPARE(w->DataGrid->ColWidth(5), 0);
        QCOMPARE(w->lblAAEXP->text(), QStringLiteral("1200"));
        QCOMPARE(w->lblAASpend->text(), points);
        QCOMPARE(w->lblAATrained->text(), veteran ? QString() : QStringLiteral("7"));
        if (!veteran) QCOMPARE(w->cmbAASlider->currentText(), QStringLiteral("30%"));
        QCOMPARE(w->cmdTrain->Enabled(), train);
        // Sorting fits the columns again but keeps the description hidden.
        w->DataGrid_Click(0, 3);
        QCOMPARE(w->DataGrid->TextMatrix(2, 1), QStringLiteral("Keen Eye"));
        QCOMPARE(w->DataGrid->ColWidth(5), 0);
        // The refresh line enables Train whatever the figures say.
        l.feed(veteran ? QStringLiteral("AAVETREFRESH") : QStringLiteral("AAREFRESH"));
        QCOMPARE(l.queries(), QStringList({abilities, figures}));
        QVERIFY(w->cmdTrain->Enabled());
        QVERIFY(l.boxes().isEmpty());
    }

    void unreadableDataClosesTheWindow_data() {
        QTest::addColumn<bool>("veteran");
        QTest::addColumn<bool>("serviceDown");
        QTest::addRow("alternate, no stats record") << false << false;
        QTest::addRow("veteran, no stats record") << true << false;
        QTest::addRow("alternate, service fails") << false << true;
    }
    void unreadableDataClosesTheWindow() {
        QFETCH(bool, veteran);
        QFETCH(bool, serviceDown);
        EconomyLink l;
        answer(l, veteran, table({"EXPNext", "Percent", "AAPoints"}, {}));
        if (serviceDown) l.web.setMode(FakeWebService::Mode::Error500);
        open(veteran)->show();
        QCOMPARE(l.boxes(), QStringList({"Error|Could Not Get Advancement Ability Data"}));
        QVERIFY(veteran ? !ifLoaded<frmVAdvancement>() : !ifLoaded<frmAdvancement>());
        QVERIFY(l.sent().isEmpty());
    }

    // Train sends the key of the chosen ability; the share list sends its percentage.
    void linesSent_data() {
        QTest::addColumn<bool>("veteran");
        QTest::addColumn<int>("row");   // train the ability of this row (0: none chosen)
        QTest::addColumn<int>("share"); // or, from 0 up, pick this share item instead
        QTest::addColumn<QString>("line");
        QTest::addRow("train, two-word name") << false << 1 << -1 << "ALTERNATETRAIN iron's";
        QTest::addRow("train, veteran") << true << 2 << -1 << "VETERANALTERNATETRAIN quick";
        QTest::addRow("train, no row chosen") << false << 0 << -1 << "";
        QTest::addRow("share 40 percent") << false << 0 << 4 << "ALTERNATESET 40";
        QTest::addRow("share 100 percent") << false << 0 << 10 << "ALTERNATESET 100";
        QTest::addRow("share 0 percent") << false << 0 << 0 << "ALTERNATESET 0";
    }
    void linesSent() {
        QFETCH(bool, veteran);
        QFETCH(int, row);
        QFETCH(int, share);
        QFETCH(QString, line);
        EconomyLink l;
        answer(l, veteran, stats("5", "30", "4", "1", veteran));
        AdvancementWindow* w = open(veteran);
        if (share >= 0) {
            w->cmbAASlider->setCurrentIndex(share);
            w->cmbAASlider_Click();
            QCOMPARE(l.sent(), QStringList{line});
            return;
        }
        if (row > 0) w->DataGrid_Click(row, 1);
        w->cmdTrain_Click();
        QCOMPARE(l.sent(), line.isEmpty() ? QStringList() : QStringList{line});
        // Disabled until the next refresh once a line went.
        QCOMPARE(w->cmdTrain->Enabled(), line.isEmpty());
    }

    void descriptionOfTheClickedAbility() {
        EconomyLink l;
        answer(l, false, stats("5", "30", "4", "1", false));
        AdvancementWindow* w = open(false);
        l.queries();
        w->DataGrid_Click(1, 2);
        QCOMPARE(l.queries(), QStringList{"call sps_AADescription('Iron''s Will')"});
        QCOMPARE(w->lblDescription->text(), QStringLiteral("Stands firm."));
        QCOMPARE(w->SelectedLevel(), QStringLiteral("2"));
        QCOMPARE(w->SelectedMaxLevels(), QStringLiteral("5"));
        QCOMPARE(w->SelectedDescription(), QStringLiteral("Harder to break"));
    }

    void levelUpNotice_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("ending");
        QTest::addRow("seven points") << "AALEVELUP 7" << "You now have 7AA points";
        QTest::addRow("no field") << "AALEVELUP" << "You now have AA points";
    }
    void levelUpNotice() {
        QFETCH(QString, line);
        QFETCH(QString, ending);
        EconomyLink l;
        l.fx->services.sound->played.clear();
        l.feed(line);
        QVERIFY2(l.lastChatLine().contains(QStringLiteral("Congratulations! You have gained an AA point.  ") + ending),
                 qPrintable(l.lastChatLine()));
        QCOMPARE(soundNumbers(l.fx->services.sound->played), QList<int>{31});
    }
};

QTEST_MAIN(tst_advancement)
#include "tst_advancement.moc"
