// The open tables and the match results after a login: the table list rows exactly as they are
// padded, rows replaced in place and removed, the table slots, the rules view, "Out of Tables",
// the jackpot replies, and the result lines with their replay links.
#include "LoggedInClient.h"

#include "admin/frmTournyHelper.h"
#include "app/storedvars.h"
#include "game/frmTableInfo.h"
#include "tables/frmchallengebox.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"

#include <QtTest>

Q_DECLARE_METATYPE(Run)

namespace {
QStringList rows() {
    QStringList out;
    QListWidget* list = ifLoaded<frmchildchat>()->lsttables;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

// A rule vector of the standard game: 40 fields, "1" at the given items.
QString vector(std::initializer_list<int> set) {
    QStringList items(40, QStringLiteral("0"));
    for (int k : set) items[k] = QStringLiteral("1");
    return items.join(u' ');
}
}  // namespace

class tst_messages_tables : public QObject {
    Q_OBJECT

private slots:
    void rowsArePaddedAndKeptInPlace() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("ADDTABLE 5 Kira  1 0 1@@Fast%20games@@ Standard Rare @@250"));
        QCOMPARE(rows(), QStringList{QStringLiteral("Table 5  Kira         vs. {JOIN}       Fast games")});
        const clsTables* slot = TableSlot(5);
        QCOMPARE(slot->tableleft, QStringLiteral("Kira"));
        QCOMPARE(slot->tableright, QString());
        QCOMPARE(slot->Rules, QStringLiteral("1 0 1 250"));
        QCOMPARE(slot->comment, QStringLiteral("Fast games"));
        QCOMPARE(slot->decks, QStringLiteral("Standard Rare"));
        QCOMPARE(slot->GoldWager, 250.0);

        c.receive({QStringLiteral("ADDTABLE 12 Ryo Nyx r@@x@@d@@0"), QStringLiteral("ADDTABLE 5 Kira Ryo 1 0 1@@Fast%20games@@Standard@@300")});
        QCOMPARE(rows(), (QStringList{QStringLiteral("Table 5  Kira         vs. Ryo          Fast games"),
                                      QStringLiteral("Table 12 Ryo          vs. Nyx          x    ")}));
        // The second seat empties again: the row shows it empty, no "{JOIN}".
        c.receive(QStringLiteral("ADDTABLE 5 Kira  1 0 1@@@@Standard@@300"));
        QCOMPARE(rows().first(), QStringLiteral("Table 5  Kira         vs. ") + QString(13 + 5, u' '));
        // Long names are kept whole.
        c.receive(QStringLiteral("ADDTABLE 12 Maximilianusxx Nyx r@@commentary@@d@@0"));
        QCOMPARE(rows().last(), QStringLiteral("Table 12 Maximilianusxxvs. Nyx          commentary"));
        QCOMPARE(c.newLines(), QStringList());
    }

    // The join marker of a new row stays while the second seat stays free, whatever refreshes the
    // row; once a player has sat there and left, the seat shows empty.
    void joinMarkerStaysWhileTheSeatStaysFree_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("seat");
        QTest::newRow("the same record again (a reconnect)") << QStringList{"ADDTABLE 5 Kira  r@@Fast@@d@@0"} << "{JOIN}       ";
        QTest::newRow("the rules asked for") << QStringList{"TABLEINFO 5 Kira  r@@Fast@@d@@0"} << "{JOIN}       ";
        QTest::newRow("new rules") << QStringList{"ADDTABLE 5 Kira  s@@Faster@@d@@250"} << "{JOIN}       ";
        QTest::newRow("a player came and left")
            << QStringList{"ADDTABLE 5 Kira Ryo r@@Fast@@d@@0", "ADDTABLE 5 Kira  r@@Fast@@d@@0"} << QString(13, u' ');
        QTest::newRow("a player sits down") << QStringList{"ADDTABLE 5 Kira Ryo r@@Fast@@d@@0"} << "Ryo          ";
    }
    void joinMarkerStaysWhileTheSeatStaysFree() {
        QFETCH(QStringList, lines);
        QFETCH(QString, seat);
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("ADDTABLE 5 Kira  r@@Fast@@d@@0"));
        c.receive(lines);
        QCOMPARE(rows(), QStringList{QStringLiteral("Table 5  Kira         vs. ") + seat + QStringLiteral("Fast") +
                                     (lines.last().contains(QLatin1String("Faster")) ? QStringLiteral("er") : QStringLiteral(" "))});
        QCOMPARE(TableSlot(5)->tableright, seat.trimmed() == QLatin1String("{JOIN}") ? QString() : seat.trimmed());
    }

    void theRowOfTableOneIsNotTheRowOfTableTen() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive({QStringLiteral("ADDTABLE 10 Ryo  r@@ten@@d@@0"), QStringLiteral("ADDTABLE 1 Nyx  r@@one@@d@@0")});
        QCOMPARE(rows(), (QStringList{QStringLiteral("Table 10 Ryo          vs. {JOIN}       ten  "),
                                      QStringLiteral("Table 1  Nyx          vs. {JOIN}       one  ")}));
        c.receive(QStringLiteral("REMOVETABLE 1"));
        QCOMPARE(rows(), QStringList{QStringLiteral("Table 10 Ryo          vs. {JOIN}       ten  ")});
    }

    void removalEmptiesTheSlot() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("ADDTABLE 7 Kira Ryo 1 0@@talk@@Standard@@90"));
        c.receive(QStringLiteral("REMOVETABLE 7"));
        QCOMPARE(rows(), QStringList());
        const clsTables* slot = TableSlot(7);
        QCOMPARE(slot->tableid, int16_t(7));
        QCOMPARE(slot->tableleft, QString());
        QCOMPARE(slot->tableright, QString());
        QCOMPARE(slot->Rules, QStringLiteral(" "));
        QCOMPARE(slot->comment, QString());
        QCOMPARE(slot->decks, QStringLiteral("0"));
        QCOMPARE(slot->GoldWager, 0.0);
        // A table without a row: only the slot.
        TableSlot(8)->tableleft = QStringLiteral("Zed");
        c.receive(QStringLiteral("REMOVETABLE 8"));
        QCOMPARE(TableSlot(8)->tableleft, QString());
        QCOMPARE(rows(), QStringList());
        // Both seats empty (two blanks in a row) takes the row away instead of drawing it.
        c.receive({QStringLiteral("ADDTABLE 3 Ryo  r@@x@@d@@0"), QStringLiteral("ADDTABLE 3   r@@x@@d@@0")});
        QCOMPARE(rows(), QStringList());
    }

    void seatsOnly() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("TABLE 9 Kira Ryo"));
        QCOMPARE(TableSlot(9)->tableid, int16_t(9));
        QCOMPARE(TableSlot(9)->tableleft, QStringLiteral("Kira"));
        QCOMPARE(TableSlot(9)->tableright, QStringLiteral("Ryo"));
        QCOMPARE(rows(), QStringList());
    }

    void tableInfoOpensTheRulesView() {
        LoggedInClient c;
        QVERIFY(c.ready);
        QVERIFY(!ifLoaded<frmTableInfo>());
        c.receive(QStringLiteral("TABLEINFO 4 Kira Ryo ") + vector({0, 8, 9}) + QStringLiteral("@@Come%20in@@Standard@@250"));
        QCOMPARE(rows(), QStringList{QStringLiteral("Table 4  Kira         vs. Ryo          Come in")});
        frmTableInfo* info = ifLoaded<frmTableInfo>();
        QVERIFY(info && info->isVisible());
        QCOMPARE(info->lblTitle->text(), QStringLiteral("You are Viewing Rules for Table: 4"));
        // The page in full is the rules view's own test; here: it shows this table.
        const QStringList page = linesOf(info->chatin);
        QCOMPARE(page.first(), QStringLiteral("Corvada"));
        QVERIFY(page.contains(QStringLiteral("Same")));
        QCOMPARE(page.last(), QStringLiteral("Gold Wager: 250"));
        // It opens over the lobby; a page the player moved stays where it is.
        QVERIFY(c.lobby->isVisible());
        QVERIFY((info->geometry().center() - c.lobby->geometry().center()).manhattanLength() <= 8);
        info->move(info->pos() + QPoint(40, 30));
        const QPoint moved = info->pos();
        // Another table refills the same window.
        c.receive(QStringLiteral("TABLEINFO 6 Nyx  MEMORY@@@@@@40"));
        QCOMPARE(linesOf(info->chatin), (QStringList{QStringLiteral("Corvada Memory"), QString(), QStringLiteral("Gold Wager: 40")}));
        QCOMPARE(info->lblTitle->text(), QStringLiteral("You are Viewing Rules for Table: 6"));
        QCOMPARE(info->pos(), moved);
    }

    void outOfTables() {
        LoggedInClient c;
        QVERIFY(c.ready);
        form<frmchallengewaiting>()->show();
        c.receive(QStringLiteral("NOTABLE"));
        QCOMPARE(c.dialogs().boxes.size(), 1);
        const BoxRecord box = c.dialogs().boxes.first();
        QCOMPARE(box.title, QStringLiteral("Out of Tables"));
        QCOMPARE(box.text, QStringLiteral("There are no empty tables on the server.  Try again later."));
        QCOMPARE(box.style, int(vb::Information));
        QVERIFY(!ifLoaded<frmchallengewaiting>());
    }

    void jackpotReplies() {
        LoggedInClient c;
        QVERIFY(c.ready);
        frmchallengebox_single* room = form<frmchallengebox_single>();
        c.receive({QStringLiteral("TABLEJACKPOTCHANGE 1 1"), QStringLiteral("TABLEJACKPOTCHANGE 2 1"),
                   QStringLiteral("TABLEJACKPOTCHANGE 0 1"), QStringLiteral("TABLEJACKPOTCHANGE 5 1")});
        QStringList shown = linesOf(room->chatin);
        for (QString& line : shown) line = line.trimmed();
        QCOMPARE(shown,
                 (QStringList{QStringLiteral("Your jackpot participation was successfully changed."),
                              QStringLiteral("You cannot make changes to your jackpot participation when the game is active."),
                              QStringLiteral("An error occurred when processing your change with your jackpot participation.")}));
        const QList<Run> runs = runsOf(room->chatin);
        QCOMPARE(runs[0].colour, ChatColour::Green);
        QCOMPARE(runs[2].colour, ChatColour::Yellow);
        QCOMPARE(runs[4].colour, ChatColour::Red);
        // Room 2 is the four-seat room; room 3 is no room.
        frmchallengebox* four = form<frmchallengebox>();
        c.receive({QStringLiteral("TABLEJACKPOTCHANGE 1 2"), QStringLiteral("TABLEJACKPOTCHANGE 1 3")});
        QCOMPARE(linesOf(room->chatin).size(), 3);
        QCOMPARE(linesOf(four->chatin).size(), 1);
        QCOMPARE(linesOf(four->chatin).first().trimmed(), QStringLiteral("Your jackpot participation was successfully changed."));
        QCOMPARE(runsOf(four->chatin).first().colour, ChatColour::Green);
    }

    void matchResults_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QList<Run>>("result");
        constexpr long dim = 0x00C0C0, white = ChatColour::White;
        // Neighbouring runs of one colour and weight read as one ("Ryo(9) " and "Score:").
        const auto head = [&](const QString& game, const QString& outcome) {
            QList<Run> runs;
            if (game.isEmpty())
                runs << Run{QStringLiteral("<> "), dim, false};
            else
                runs << Run{QStringLiteral("<"), dim, false} << Run{game, white, true} << Run{QStringLiteral("> "), dim, false};
            runs << Run{QStringLiteral("Kira(12) "), white, true} << Run{outcome, dim, false};
            return runs;
        };
        QTest::newRow("defeats") << "MATCH Kira 12 Ryo 9 6 4 1 777"
                                 << (head(QStringLiteral("Corvada"), QStringLiteral("defeats ")) +
                                     QList<Run>{{QStringLiteral("Ryo(9) Score:"), white, true}, {QStringLiteral(" 6-4 "), dim, false}});
        QTest::newRow("ties") << "MATCH Kira 12 Ryo 9 5 5 2 778"
                              << (head(QStringLiteral("Omni Corvada"), QStringLiteral("ties ")) +
                                  QList<Run>{{QStringLiteral("Ryo(9) Score:"), white, true}, {QStringLiteral(" 5-5 "), dim, false}});
        QTest::newRow("dice: no score") << "MATCH Kira 12 Ryo 9 2 1 6 779"
                                        << (head(QStringLiteral("Chinchirorin"), QStringLiteral("defeats ")) +
                                            QList<Run>{{QStringLiteral("Ryo(9) "), white, true}});
        QTest::newRow("unknown game") << "MATCH Kira 12 Ryo 9 2 1 9 780"
                                      << (head(QString(), QStringLiteral("defeats ")) +
                                          QList<Run>{{QStringLiteral("Ryo(9) Score:"), white, true}, {QStringLiteral(" 2-1 "), dim, false}});
        QTest::newRow("names stay text") << "MATCH <b>Kira</b> 12 Ryo 9 3 1 3 781"
                                         << (QList<Run>{{QStringLiteral("<"), dim, false},
                                                        {QStringLiteral("Orbolt"), white, true},
                                                        {QStringLiteral("> "), dim, false},
                                                        {QStringLiteral("<b>Kira</b>(12) "), white, true},
                                                        {QStringLiteral("defeats "), dim, false},
                                                        {QStringLiteral("Ryo(9) Score:"), white, true},
                                                        {QStringLiteral(" 3-1 "), dim, false}});
    }
    void matchResults() {
        QFETCH(QString, line);
        QFETCH(QList<Run>, result);
        LoggedInClient c;
        QVERIFY(c.ready);
        c.setting(QStringLiteral("Options"), QStringLiteral("Replays"), QStringLiteral("0"));
        c.receive(line);
        QList<Run> runs = c.newRuns();
        QVERIFY(!runs.isEmpty());
        QCOMPARE(runs.takeLast().text, QStringLiteral("\n"));
        QCOMPARE(runs, result);
        QCOMPARE(c.newLines().size(), 1);
    }

    void scoreIsUnderlined() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("MATCH Kira 12 Ryo 9 6 4 3 777"));
        QTextCursor at(c.lobby->chatin->document());
        const QString log = c.lobby->chatin->toPlainText();
        const int score = int(log.lastIndexOf(QStringLiteral("Score:")));
        QVERIFY(score > 0);
        at.setPosition(score + 1);
        QVERIFY(at.charFormat().fontUnderline());
        at.setPosition(score + 6);
        QVERIFY(!at.charFormat().fontUnderline());
        QVERIFY(log.contains(QStringLiteral("<Orbolt> Kira(12) defeats Ryo(9) Score: 6-4 ")));
    }

    void replayLinks() {
        LoggedInClient c;
        QVERIFY(c.ready);
        QCOMPARE(ReadIni(QStringLiteral("Options"), QStringLiteral("Replays"), GetIniFile()), QString());
        c.receive(QStringLiteral("MATCH Kira 12 Ryo 9 6 4 4 4321"));
        // Replays are on until the player turns them off.
        QCOMPARE(ReadIni(QStringLiteral("Options"), QStringLiteral("Replays"), GetIniFile()), QStringLiteral("1"));
        const QStringList shown = c.newLines();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1], QStringLiteral("<Replay>  Replay GameID: 4321 at ") + c.driver.web.baseUrl() +
                               QStringLiteral("/Replays/Corvada-Memory-Game-4321.aspx 20:15:00"));
        c.setting(QStringLiteral("Options"), QStringLiteral("Replays"), QStringLiteral("0"));
        c.receive(QStringLiteral("MATCH Kira 12 Ryo 9 6 4 1 4322"));
        QCOMPARE(c.newLines().size(), 1);
    }

    void resultsWhileATournamentRuns() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("MATCH Kira 12 Ryo 9 6 4 1 1"));
        QVERIFY(!ifLoaded<frmTournyHelper>());
        // The tournament hears of results even before a login.
        TourneyRunning = true;
        ConnectionState = 0;
        c.mark();
        c.receive(QStringLiteral("MATCH Kira 12 Ryo 9 6 4 1 2"));
        QVERIFY(ifLoaded<frmTournyHelper>());
        QCOMPARE(c.newLines(), QStringList());
    }
};

QTEST_MAIN(tst_messages_tables)
#include "tst_messages_tables.moc"
