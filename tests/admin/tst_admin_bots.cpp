// The chat bots of the administrator window, run by a logged-in operator with a scripted random
// generator and the bots' timers fired by the test: the trivia quiz from its question file with
// scoring, time-outs and its end lines, the 8-ball, the switches between them, refused counts.
#include "OperatorClient.h"

#include "app/storedvars.h"

#include <QtTest>

namespace {
// Four questions worth 5, 3, 5 and nothing (a Points value that is no number).
QByteArray quizFile(const QString& questions, const QString& giveAnswers) {
    return QStringLiteral("[Data]\r\nTitle=Card Lore\r\nQuestions=%1\r\nGiveAnswers=%2\r\n"
                          "[1]\r\nQuestion=Which element burns?\r\nAnswer=Fire\r\nPoints=5\r\n"
                          "[2]\r\nQuestion=How many cells has the board?\r\nAnswer=nine\r\nPoints=3\r\n"
                          "[3]\r\nQuestion=Who rules the sea?\r\nAnswer=Leviathan\r\nPoints=5\r\n"
                          "[4]\r\nQuestion=Name a rule.\r\nAnswer=Same\r\nPoints=lots\r\n")
        .arg(questions, giveAnswers)
        .toLatin1();
}
const QStringList kAnswers = {"Fire", "nine", "Leviathan", "Same"};
const QStringList kQuestions = {"Which element burns?", "How many cells has the board?", "Who rules the sea?", "Name a rule."};

QString activation(const QString& count) {
    return QStringLiteral("CHAT Trivia Interactive is activated. kira has chosen Card Lore competition trivia.  The winner after ") + count +
           QStringLiteral(" will .... win! Each question is 30 seconds. - Powered by Brightmoor, Inc.");
}
QString question(int number, int k) {
    return QStringLiteral("CHAT Trivia Question - Question #%1: ").arg(number) + kQuestions[k - 1];
}

struct BotClient : OperatorClient {
    bool start(const QString& questions = QStringLiteral("4"), const QString& giveAnswers = QStringLiteral("1")) {
        fx().write(QStringLiteral("bottxt/lore.txt"), quizFile(questions, giveAnswers));
        fx().write(QStringLiteral("bottxt/8ball.txt"), "[Stats]\r\nTotal=3\r\n1=Yes\r\n2=No\r\n3=Ask again\r\n");
        return becomeOperator();
    }
    // Chooses question k (1 to 4 of four) for the next draw.
    void draw(int k) { fx().services.random->values.push_back((k - 0.5) / 4); }
    void trivia(const QString& name, const QString& count) {
        dialogs().type(name);
        dialogs().type(count);
        admin->mnuTriviaBot->trigger();
    }
};
}  // namespace

class tst_admin_bots : public QObject {
    Q_OBJECT

private slots:
    void aWholeQuiz() {
        BotClient c;
        QVERIFY(c.start());
        c.draw(1);
        const QList<int> pausedBefore = c.fx().services.clock->pauses;
        c.trivia(QStringLiteral("lore"), QStringLiteral("3"));
        QCOMPARE(c.dialogs().titles(), (QStringList{"Trivia Name?", "Questions?"}));
        QCOMPARE(c.sent(), (QStringList{activation("3"), "CHAT Let's Begin!", question(1, 1)}));
        QCOMPARE(c.fx().services.clock->pauses, pausedBefore + QList<int>{3});
        QVERIFY(TriviaOpen && c.admin->tmrTrivia->isActive());
        QCOMPARE(c.admin->tmrTrivia->interval(), 30000);

        c.receive({QStringLiteral("CHAT Ryo water"), QStringLiteral("CHAT Nyx fIRE"), QStringLiteral("CHAT Ryo fire")});
        QCOMPARE(c.sent(), QStringList{"CHAT (Trivia): Nyx answered correctly.  Answer: Fire - 5 points awarded."});
        QVERIFY(!TriviaOpen && !c.admin->tmrTrivia->isActive() && c.admin->tmrTriviaNext->isActive());
        QCOMPARE(c.admin->tmrTriviaNext->interval(), 5000);

        c.draw(2);
        c.admin->tmrTriviaNext_Timer();
        QVERIFY(!c.admin->tmrTriviaNext->isActive());
        c.admin->tmrTrivia_Timer();
        // A late answer earns nothing.
        c.receive(QStringLiteral("CHAT Ryo nine"));
        c.draw(1);
        c.admin->tmrTriviaNext_Timer();
        c.receive(QStringLiteral("CHAT Ryo Fire"));
        c.admin->tmrTriviaNext_Timer();
        QCOMPARE(c.sent(), (QStringList{question(2, 2), "CHAT Time is up! The answer is: nine", question(3, 1),
                                        "CHAT (Trivia): Ryo answered correctly.  Answer: Fire - 5 points awarded.",
                                        "CHAT We have a tie! The winners are: Nyx, Ryo"}));
        QVERIFY(!ChatBotOn);
        QCOMPARE(ChatBotKind, QString());
    }

    // Who answers each drawn question (nobody: the time runs out) and how the quiz ends.
    void endLines_data() {
        QTest::addColumn<QList<int>>("drawn");
        QTest::addColumn<QStringList>("answerers");
        QTest::addColumn<QString>("end");
        QTest::newRow("no winners") << QList<int>{1, 2} << QStringList{"", ""} << "CHAT We have no winners. Trivia has ended.";
        QTest::newRow("champion") << QList<int>{1, 2, 3} << QStringList{"Nyx", "Ryo", "Nyx"}
                                  << "CHAT Trivia has ended.  The trivia champion is Nyx with 10 points! Congratulations!";
        QTest::newRow("5, 3 and 5 tie the first and third") << QList<int>{1, 2, 3} << QStringList{"Nyx", "Ryo", "Ash"}
                                                            << "CHAT We have a tie! The winners are: Nyx, Ash";
        QTest::newRow("names in other case share a score") << QList<int>{1, 2, 3} << QStringList{"Nyx", "NYX", "Ryo"}
                                                          << "CHAT Trivia has ended.  The trivia champion is Nyx with 8 points! Congratulations!";
        QTest::newRow("a question without points") << QList<int>{4} << QStringList{"Nyx"}
                                                   << "CHAT Trivia has ended.  The trivia champion is Nyx with 0 points! Congratulations!";
        QTest::newRow("no questions") << QList<int>{} << QStringList{} << "CHAT We have no winners. Trivia has ended.";
    }
    void endLines() {
        QFETCH(QList<int>, drawn);
        QFETCH(QStringList, answerers);
        QFETCH(QString, end);
        BotClient c;
        QVERIFY(c.start());
        for (int k : drawn) c.draw(k);
        c.trivia(QStringLiteral("lore"), QString::number(drawn.size()));
        for (int i = 0; i < drawn.size(); ++i) {
            if (answerers[i].isEmpty())
                c.admin->tmrTrivia_Timer();
            else
                c.receive(QStringLiteral("CHAT ") + answerers[i] + u' ' + kAnswers[drawn[i] - 1]);
            c.admin->tmrTriviaNext_Timer();
        }
        QCOMPARE(c.sent().last(), end);
        QVERIFY(!ChatBotOn);
    }

    void timeOut_data() {
        QTest::addColumn<QString>("giveAnswers");
        QTest::addColumn<QString>("said");
        QTest::newRow("answers given") << "1" << "CHAT Time is up! The answer is: Leviathan";
        QTest::newRow("answers disabled") << "0" << "CHAT Time is up! The answer is: [Answers are disabled]";
        QTest::newRow("not said") << "" << "CHAT Time is up! The answer is: [Answers are disabled]";
    }
    void timeOut() {
        QFETCH(QString, giveAnswers);
        QFETCH(QString, said);
        BotClient c;
        QVERIFY(c.start(QStringLiteral("4"), giveAnswers));
        c.draw(3);
        c.trivia(QStringLiteral("lore"), QStringLiteral("1"));
        c.sent();
        c.admin->tmrTrivia_Timer();
        QCOMPARE(c.sent(), QStringList{said});
        QVERIFY(!TriviaOpen && c.admin->tmrTriviaNext->isActive());
    }

    // A quiz switched off posts nothing more, however it is switched off and wherever it stood.
    void switchingOffEndsTheQuiz_data() {
        QTest::addColumn<QString>("by");
        QTest::addColumn<bool>("answeredFirst");
        QTest::addColumn<QString>("said");
        QTest::newRow("8-ball, question open") << "8ball" << false << "CHAT 8-Ball is deactivated.";
        QTest::newRow("8-ball, between questions") << "8ball" << true << "CHAT 8-Ball is deactivated.";
        QTest::newRow("trivia, question open") << "trivia" << false << "CHAT Trivia Interactive is deactivated.";
        QTest::newRow("trivia, between questions") << "trivia" << true << "CHAT Trivia Interactive is deactivated.";
    }
    void switchingOffEndsTheQuiz() {
        QFETCH(QString, by);
        QFETCH(bool, answeredFirst);
        QFETCH(QString, said);
        BotClient c;
        QVERIFY(c.start());
        c.draw(1);
        c.trivia(QStringLiteral("lore"), QStringLiteral("3"));
        if (answeredFirst) c.receive(QStringLiteral("CHAT Nyx fire"));
        c.sent();
        if (by == QLatin1String("8ball"))
            c.admin->mnu8Ball->trigger();
        else
            c.trivia(QStringLiteral("lore"), QStringLiteral("2"));
        QCOMPARE(c.sent(), QStringList{said});
        QVERIFY(!ChatBotOn && !TriviaOpen);
        QVERIFY(!c.admin->tmrTrivia->isActive() && !c.admin->tmrTriviaNext->isActive());
        c.receive(QStringLiteral("CHAT Ryo fire"));
        QCOMPARE(c.sent(), QStringList());

        // A new quiz starts from nothing.
        c.draw(2);
        c.trivia(QStringLiteral("lore"), QStringLiteral("1"));
        QCOMPARE(c.sent(), (QStringList{activation("1"), "CHAT Let's Begin!", question(1, 2)}));
        QVERIFY(c.admin->Scores().isEmpty());
        c.admin->tmrTrivia_Timer();
        c.admin->tmrTriviaNext_Timer();
        QCOMPARE(c.sent().last(), QStringLiteral("CHAT We have no winners. Trivia has ended."));
    }

    // What the two boxes may hold; a refusal changes nothing and sends nothing.
    void quizStart_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("fileQuestions");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("announced");
        QTest::newRow("capped to the file") << "lore" << "50" << "4" << "" << "4";
        QTest::newRow("name in other case") << "LORE" << "2" << "4" << "" << "2";
        QTest::newRow("no name") << "" << "2" << "4" << "" << "";
        QTest::newRow("no such file") << "history" << "2" << "4" << "Trivia Interactive|You do not have the file you tried to open." << "";
        QTest::newRow("a path") << "../lore" << "2" << "4" << "Trivia Interactive|You do not have the file you tried to open." << "";
        QTest::newRow("count not a number") << "lore" << "many" << "4"
                                            << "Trivia Interactive|The number of questions must be a whole number of 0 or more." << "";
        QTest::newRow("count empty") << "lore" << "" << "4"
                                     << "Trivia Interactive|The number of questions must be a whole number of 0 or more." << "";
        QTest::newRow("count below 0") << "lore" << "-2" << "4"
                                       << "Trivia Interactive|The number of questions must be a whole number of 0 or more." << "";
        QTest::newRow("count too big") << "lore" << "70000" << "4"
                                       << "Trivia Interactive|The number of questions must be a whole number of 0 or more." << "";
        QTest::newRow("file count not a number")
            << "lore" << "2" << "ten"
            << "Trivia Interactive|The trivia file lore.txt does not say how many questions it holds: its [Data] Questions must be a whole "
               "number of 0 or more."
            << "";
    }
    void quizStart() {
        QFETCH(QString, name);
        QFETCH(QString, count);
        QFETCH(QString, fileQuestions);
        QFETCH(QString, box);
        QFETCH(QString, announced);
        BotClient c;
        QVERIFY(c.start(fileQuestions));
        c.trivia(name, count);
        QStringList boxes;
        for (const BoxRecord& b : c.dialogs().boxes.mid(2)) boxes << b.title + u'|' + b.text;
        QCOMPARE(boxes, box.isEmpty() ? QStringList() : QStringList{box});
        const QStringList sent = c.sent();
        QCOMPARE(sent.value(0), announced.isEmpty() ? QString() : activation(announced));
        QCOMPARE(ChatBotOn, !announced.isEmpty());
    }

    // The first-run archives bring an 8-ball file and a short quiz, so both bots run at once.
    void theExampleFiles() {
        BotClient c;
        QVERIFY(c.becomeOperator());
        c.admin->mnu8Ball->trigger();
        c.fx().services.random->values = {0.0};
        c.receive(QStringLiteral("CHAT Nyx !8ball shall%20I?"));
        c.admin->mnu8Ball->trigger();
        QCOMPARE(c.sent(), (QStringList{"CHAT 8-Ball is activated.  Type !8ball yourquestion to trigger it.  - Powered by Brightmoor, Inc.",
                                        "CHAT Nyx, It is certain.", "CHAT 8-Ball is deactivated."}));
        c.fx().services.random->values = {0.99, 0.0};
        c.trivia(QStringLiteral("general"), QStringLiteral("2"));
        c.receive(QStringLiteral("CHAT Nyx combo"));
        c.admin->tmrTriviaNext_Timer();
        c.receive(QStringLiteral("CHAT Ryo 9"));
        c.admin->tmrTriviaNext_Timer();
        QCOMPARE(c.sent(), (QStringList{
                               "CHAT Trivia Interactive is activated. kira has chosen General Corvada competition trivia.  The winner after 2 "
                               "will .... win! Each question is 30 seconds. - Powered by Brightmoor, Inc.",
                               "CHAT Let's Begin!", "CHAT Trivia Question - Question #1: Which rule lets a captured card capture again?",
                               "CHAT (Trivia): Nyx answered correctly.  Answer: Combo - 3 points awarded.",
                               "CHAT Trivia Question - Question #2: How many cells does the Corvada board have?",
                               "CHAT (Trivia): Ryo answered correctly.  Answer: 9 - 1 points awarded.",
                               "CHAT Trivia has ended.  The trivia champion is Nyx with 3 points! Congratulations!"}));
    }

    void theEightBall() {
        BotClient c;
        QVERIFY(c.becomeOperator());
        QVERIFY(QFile::remove(c.fx().path(QStringLiteral("bottxt/8ball.txt"))));
        c.admin->mnu8Ball->trigger();
        QCOMPARE(c.dialogs().boxes.size(), 1);
        QCOMPARE(c.dialogs().boxes[0].title + u'|' + c.dialogs().boxes[0].text, QStringLiteral("8Ball Interactive|You do not have an 8ball file."));
        QCOMPARE(c.sent(), QStringList());

        c.fx().write(QStringLiteral("bottxt/8ball.txt"), "[Stats]\r\nTotal=3\r\n1=Yes\r\n2=No\r\n3=Ask again\r\n");
        c.admin->mnu8Ball->trigger();
        QCOMPARE(c.sent(), QStringList{"CHAT 8-Ball is activated.  Type !8ball yourquestion to trigger it.  - Powered by Brightmoor, Inc."});
        c.fx().services.random->values = {0.0, 0.99, 0.4};
        c.receive({QStringLiteral("CHAT Nyx !8ball will%20I%20win?"), QStringLiteral("CHAT Ryo !8BALL"), QStringLiteral("CHAT Ash !8bal")});
        QCOMPARE(c.sent(), (QStringList{"CHAT Nyx, Yes", "CHAT Ryo, Ask again"}));
        // Choosing the quiz while the 8-ball runs only switches the 8-ball off.
        c.fx().write(QStringLiteral("bottxt/lore.txt"), quizFile(QStringLiteral("4"), QStringLiteral("1")));
        c.trivia(QStringLiteral("lore"), QStringLiteral("2"));
        QCOMPARE(c.sent(), QStringList{"CHAT Trivia Interactive is deactivated."});
        c.receive(QStringLiteral("CHAT Nyx !8ball"));
        QCOMPARE(c.sent(), QStringList());
    }
};

QTEST_MAIN(tst_admin_bots)
#include "tst_admin_bots.moc"
