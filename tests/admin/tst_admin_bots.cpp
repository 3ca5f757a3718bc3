// The chat bots of an operator's administrator window, with a scripted random generator and the
// bots' timers fired by the test: the example files of the first-run archives, scoring and the
// end lines, time-outs, switching a bot off mid-quiz, and the counts a quiz refuses.
#include "OperatorClient.h"

#include "app/storedvars.h"

#include <QtTest>

namespace {
using L = QStringList;
// Four questions worth 5, 3, 5 and nothing (a Points value that is no number).
QByteArray quizFile(const QString& questions, const QString& giveAnswers) {
    QString text = QStringLiteral("[Data]\r\nTitle=Lore\r\nQuestions=%1\r\nGiveAnswers=%2\r\n").arg(questions, giveAnswers);
    const char* rows[][3] = {{"Q1", "Fire", "5"}, {"Q2", "nine", "3"}, {"Q3", "Leviathan", "5"}, {"Q4", "Same", "lots"}};
    for (int i = 0; i < 4; ++i)
        text += QStringLiteral("[%1]\r\nQuestion=%2\r\nAnswer=%3\r\nPoints=%4\r\n").arg(i + 1).arg(rows[i][0], rows[i][1], rows[i][2]);
    return text.toLatin1();
}
const L kAnswers = {"Fire", "nine", "Leviathan", "Same"};
const QString kEightBallOn = "CHAT 8-Ball is activated.  Type !8ball yourquestion to trigger it.  - Powered by Brightmoor, Inc.";

struct BotClient : OperatorClient {
    bool start(const QString& questions = "4", const QString& giveAnswers = "1") {
        fx().write("bottxt/lore.txt", quizFile(questions, giveAnswers));
        return becomeOperator();
    }
    // Draws question k (of four) next.
    void draw(int k) { fx().services.random->values.push_back((k - 0.5) / 4); }
    void trivia(const QString& name, const QString& count) {
        dialogs().type(name), dialogs().type(count);
        admin->mnuTriviaBot->trigger();
    }
};
}  // namespace

class tst_admin_bots : public QObject {
    Q_OBJECT

private slots:
    // The first-run archives bring an 8-ball file and a short quiz, so both bots run at once.
    void theExampleFiles() {
        BotClient c;
        QVERIFY(c.becomeOperator());
        c.fx().services.random->values = {0.0, 0.99, 0.0};
        c.admin->mnu8Ball->trigger();
        c.receive({"CHAT Nyx !8BALL shall%20I?", "CHAT Ryo !8bal"});
        c.admin->mnu8Ball->trigger();
        QCOMPARE(c.sent(), (L{kEightBallOn, "CHAT Nyx, It is certain.", "CHAT 8-Ball is deactivated."}));

        const int pauses = int(c.fx().services.clock->pauses.size());
        c.trivia("general", "2");
        QCOMPARE(c.boxes(), (L{"Trivia Name?|Name of the trivia file (minus the extension, IE if general.txt, then general)?",
                               "Questions?|How many questions?"}));
        QCOMPARE(c.fx().services.clock->pauses.mid(pauses), QList<int>{3});
        QVERIFY(TriviaOpen && c.admin->tmrTrivia->isActive() && c.admin->tmrTrivia->interval() == 30000);
        c.receive({"CHAT Ryo chain", "CHAT Nyx cOMBO", "CHAT Ryo combo"});
        QVERIFY(!TriviaOpen && !c.admin->tmrTrivia->isActive() && c.admin->tmrTriviaNext->interval() == 5000);
        c.admin->tmrTriviaNext_Timer();
        c.admin->tmrTrivia_Timer();
        c.receive("CHAT Ryo 9");
        c.admin->tmrTriviaNext_Timer();
        QCOMPARE(c.sent(), (L{"CHAT Trivia Interactive is activated. kira has chosen General Corvada competition trivia.  The winner after 2 "
                              "will .... win! Each question is 30 seconds. - Powered by Brightmoor, Inc.",
                              "CHAT Let's Begin!", "CHAT Trivia Question - Question #1: Which rule lets a captured card capture again?",
                              "CHAT (Trivia): Nyx answered correctly.  Answer: Combo - 3 points awarded.",
                              "CHAT Trivia Question - Question #2: How many cells does the Corvada board have?",
                              "CHAT Time is up! The answer is: 9",
                              "CHAT Trivia has ended.  The trivia champion is Nyx with 3 points! Congratulations!"}));
        QVERIFY(!ChatBotOn && ChatBotKind.isEmpty());
    }

    // Who answers each drawn question ("" lets the time run out), and the last line of the quiz.
    void scoresAndEndLines_data() {
        QTest::addColumn<QList<int>>("drawn");
        QTest::addColumn<L>("answerers");
        QTest::addColumn<QString>("giveAnswers");
        QTest::addColumn<QString>("last");
        QTest::newRow("no winners") << QList<int>{1, 2} << L{"", ""} << "1" << "CHAT We have no winners. Trivia has ended.";
        QTest::newRow("no questions") << QList<int>{} << L{} << "1" << "CHAT We have no winners. Trivia has ended.";
        QTest::newRow("answers disabled") << QList<int>{3} << L{""} << "0" << "CHAT Time is up! The answer is: [Answers are disabled]";
        QTest::newRow("champion") << QList<int>{1, 2, 3} << L{"Nyx", "Ryo", "Nyx"} << "1"
                                  << "CHAT Trivia has ended.  The trivia champion is Nyx with 10 points! Congratulations!";
        QTest::newRow("5, 3 and 5 tie") << QList<int>{1, 2, 3} << L{"Nyx", "Ryo", "Ash"} << "1" << "CHAT We have a tie! The winners are: Nyx, Ash";
        QTest::newRow("one score for any case") << QList<int>{1, 2, 3} << L{"Nyx", "NYX", "Ryo"} << "1"
                                                << "CHAT Trivia has ended.  The trivia champion is Nyx with 8 points! Congratulations!";
        QTest::newRow("no points") << QList<int>{4} << L{"Nyx"} << "1"
                                   << "CHAT Trivia has ended.  The trivia champion is Nyx with 0 points! Congratulations!";
    }
    void scoresAndEndLines() {
        QFETCH(QList<int>, drawn);
        QFETCH(L, answerers);
        QFETCH(QString, giveAnswers);
        QFETCH(QString, last);
        BotClient c;
        QVERIFY(c.start("4", giveAnswers));
        for (int k : drawn) c.draw(k);
        c.trivia("lore", QString::number(drawn.size()));
        for (int i = 0; i < drawn.size(); ++i) {
            if (answerers[i].isEmpty()) c.admin->tmrTrivia_Timer();
            else c.receive("CHAT " + answerers[i] + u' ' + kAnswers[drawn[i] - 1]);
            if (!last.contains(QLatin1String("Time is up"))) c.admin->tmrTriviaNext_Timer();
        }
        QCOMPARE(c.sent().last(), last);
    }

    // A quiz switched off posts nothing more, whichever menu and wherever it stood.
    void switchingOffEndsTheQuiz_data() {
        QTest::addColumn<bool>("byEightBall");
        QTest::addColumn<bool>("answeredFirst");
        QTest::newRow("8-ball, question open") << true << false;
        QTest::newRow("8-ball, between questions") << true << true;
        QTest::newRow("trivia, question open") << false << false;
        QTest::newRow("trivia, between questions") << false << true;
    }
    void switchingOffEndsTheQuiz() {
        QFETCH(bool, byEightBall);
        QFETCH(bool, answeredFirst);
        BotClient c;
        QVERIFY(c.start());
        c.draw(1);
        c.trivia("lore", "3");
        if (answeredFirst) c.receive("CHAT Nyx fire");
        c.sent();
        if (byEightBall) c.admin->mnu8Ball->trigger();
        else c.trivia("lore", "2");
        c.receive("CHAT Ryo fire");
        QCOMPARE(c.sent(), L{byEightBall ? "CHAT 8-Ball is deactivated." : "CHAT Trivia Interactive is deactivated."});
        QVERIFY(!ChatBotOn && !TriviaOpen && !c.admin->tmrTrivia->isActive() && !c.admin->tmrTriviaNext->isActive());
        // A new quiz starts with no scores.
        c.draw(2);
        c.trivia("lore", "1");
        c.admin->tmrTrivia_Timer();
        c.admin->tmrTriviaNext_Timer();
        QCOMPARE(c.sent().mid(2), (L{"CHAT Trivia Question - Question #1: Q2", "CHAT Time is up! The answer is: nine",
                                     "CHAT We have no winners. Trivia has ended."}));
    }

    // The boxes of a quiz start: what is refused changes nothing and sends nothing.
    void quizStart_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("fileQuestions");
        QTest::addColumn<QString>("outcome");  // the box after the two questions, or the count announced
        const QString noFile = "Trivia Interactive|You do not have the file you tried to open.";
        const QString badCount = "Trivia Interactive|The number of questions must be a whole number of 0 or more.";
        QTest::newRow("capped to the file") << "lore" << "50" << "4" << "4";
        QTest::newRow("no name") << "" << "2" << "4" << "";
        QTest::newRow("no such file") << "history" << "2" << "4" << noFile;
        QTest::newRow("a path") << "../lore" << "2" << "4" << noFile;
        QTest::newRow("count not a number") << "lore" << "many" << "4" << badCount;
        QTest::newRow("count below 0") << "lore" << "-2" << "4" << badCount;
        QTest::newRow("file count not a number") << "lore" << "2" << "ten"
                                                 << "Trivia Interactive|The trivia file lore.txt does not say how many questions it "
                                                    "holds: its [Data] Questions must be a whole number of 0 or more.";
    }
    void quizStart() {
        QFETCH(QString, name);
        QFETCH(QString, count);
        QFETCH(QString, fileQuestions);
        QFETCH(QString, outcome);
        BotClient c;
        QVERIFY(c.start(fileQuestions));
        c.trivia(name, count);
        const bool runs = outcome.size() == 1;
        QCOMPARE(c.boxes(2), runs || outcome.isEmpty() ? L() : L{outcome});
        QCOMPARE(c.sent().value(0).contains(" The winner after " + outcome + " will "), runs);
        QCOMPARE(ChatBotOn, runs);
    }

    void eightBallSwitch() {
        BotClient c;
        QVERIFY(c.start());
        const QByteArray answers = c.fx().read("bottxt/8ball.txt");
        QVERIFY(QFile::remove(c.fx().path("bottxt/8ball.txt")));
        c.admin->mnu8Ball->trigger();
        QCOMPARE(c.boxes(), L{"8Ball Interactive|You do not have an 8ball file."});
        QVERIFY(!ChatBotOn);
        // Choosing the quiz while the 8-ball runs only switches the 8-ball off.
        c.fx().write("bottxt/8ball.txt", answers);
        c.admin->mnu8Ball->trigger();
        c.trivia("lore", "2");
        c.receive("CHAT Nyx !8ball");
        QCOMPARE(c.sent(), (L{kEightBallOn, "CHAT Trivia Interactive is deactivated."}));
    }
};

QTEST_MAIN(tst_admin_bots)
#include "tst_admin_bots.moc"
