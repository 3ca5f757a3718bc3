// The team family's result line in the lobby log: each game code's name, the text comparison
// of the scores, the colours of its pieces, and the replay notice under the user's setting.
#include "VariantLink.h"

#include "../lobby/LobbyHelpers.h"
#include "app/Deployment.h"
#include "lobby/fancychat.h"

#include <QRegularExpression>

namespace {
constexpr long kOlive = 49344;
}

class tst_teammatch : public QObject {
    Q_OBJECT

private slots:
    void init() { ClientFixture::unloadAll(); }

    void resultLine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("shownText");
        QTest::addColumn<QString>("game");
        QTest::newRow("team omni") << "TEAM_MATCH A 3 B 4 C 1 D 2 6 4 1 77"
                                   << "<Team Omni Corvada> A(3) / B(4) defeats C(1) / D(2) Score: 6-4 " << "Team Omni Corvada";
        QTest::newRow("card game") << "TEAM_MATCH A 3 B 4 C 1 D 2 5 5 2 77" << "<Corvada> A(3) / B(4) ties C(1) / D(2) Score: 5-5 "
                                   << "Corvada";
        QTest::newRow("coin board") << "TEAM_MATCH A 3 B 4 C 1 D 2 05 5 3 77"
                                    << "<Orbolt> A(3) / B(4) defeats C(1) / D(2) Score: 05-5 " << "Orbolt";
        QTest::newRow("memory") << "TEAM_MATCH A 3 B 4 C 1 D 2 9 1 5 77"
                                << "<Corvada Memory> A(3) / B(4) defeats C(1) / D(2) Score: 9-1 " << "Corvada Memory";
        QTest::newRow("dice") << "TEAM_MATCH A 3 B 4 C 1 D 2 9 1 6 77" << "<Chinchirorin> A(3) / B(4) defeats C(1) / D(2) Score: 9-1 "
                              << "Chinchirorin";
        QTest::newRow("unknown code") << "TEAM_MATCH A 3 B 4 C 1 D 2 9 1 4 77" << "<> A(3) / B(4) defeats C(1) / D(2) Score: 9-1 " << "";
        QTest::newRow("missing fields") << "TEAM_MATCH A" << "<> A() / () ties () / () Score: - " << "";
        QTest::newRow("markup in names") << "TEAM_MATCH <b>A</b> 3 B 4 C 1 D 2 6 4 1 77"
                                         << "<Team Omni Corvada> <b>A</b>(3) / B(4) defeats C(1) / D(2) Score: 6-4 "
                                         << "Team Omni Corvada";
    }
    void resultLine() {
        QFETCH(QString, line);
        QFETCH(QString, shownText);
        QFETCH(QString, game);
        VariantLink l;
        l.lobby->chatin->clear();
        l.fx->write(QStringLiteral("config/kira.cvc"), "[Options]\r\nReplays=0\r\n");
        l.receive(line);
        QCOMPARE(linesOf(l.lobby->chatin), QStringList{shownText});
        // The pieces' colours: brackets, outcome and score olive, names white.
        const QList<Run> runs = runsOf(l.lobby->chatin);
        // Without a game name the brackets meet in one olive run.
        QCOMPARE(runs.first(), (Run{game.isEmpty() ? QStringLiteral("<> ") : QStringLiteral("<"), kOlive, false}));
        if (!game.isEmpty()) QCOMPARE(runs[1], (Run{game, ChatColour::White, false}));
        QVERIFY(runs.contains(Run{shownText.contains(QLatin1String(" ties ")) ? QStringLiteral("ties ") : QStringLiteral("defeats "),
                                  kOlive, false}));
        QVERIFY(l.healthy());
    }

    // [Options] Replays: missing becomes "1" and links; "0" keeps quiet; "1" links. Every code
    // links the team omni game's page.
    void replayNotice_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("linked");
        QTest::addColumn<QString>("after");
        QTest::newRow("absent") << QByteArray("[Options]\r\nSounds=1\r\n") << "1" << "77" << true << "1";
        QTest::newRow("off") << QByteArray("[Options]\r\nReplays=0\r\n") << "1" << "77" << false << "0";
        QTest::newRow("on, dice") << QByteArray("[Options]\r\nReplays=1\r\n") << "6" << "78" << true << "1";
        QTest::newRow("on, unsafe id") << QByteArray("[Options]\r\nReplays=1\r\n") << "1" << "../x" << false << "1";
    }
    void replayNotice() {
        QFETCH(QByteArray, settings);
        QFETCH(QString, code);
        QFETCH(QString, id);
        QFETCH(bool, linked);
        QFETCH(QString, after);
        VariantLink l;
        l.lobby->chatin->clear();
        l.fx->write(QStringLiteral("config/kira.cvc"), settings);
        l.receive(QStringLiteral("TEAM_MATCH A 3 B 4 C 1 D 2 6 4 %1 %2").arg(code, id));
        const QStringList log = linesOf(l.lobby->chatin);
        QCOMPARE(log.size(), linked ? 2 : 1);
        if (linked) {
            const QString expected = QStringLiteral("<Replay>  Replay GameID: %1 at %2/Replays/Team-Omni-Corvada-Game-%1.aspx ")
                                         .arg(id, Deployment::website());
            QVERIFY2(log[1].startsWith(expected), qPrintable(log[1]));
            QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$")).match(log[1].mid(expected.size())).hasMatch());
        }
        QCOMPARE(ReadIni(QStringLiteral("Options"), QStringLiteral("Replays"), GetIniFile()), after);
    }

    void nothingBeforeLogin() {
        VariantLink l;
        l.lobby->chatin->clear();
        ConnectionState = 0;
        l.receive(QStringLiteral("TEAM_MATCH A 3 B 4 C 1 D 2 6 4 1 77"));
        ConnectionState = 1;
        QVERIFY(l.lobby->chatin->toPlainText().isEmpty());
    }

    void aLongLogIsTrimmedFirst() {
        VariantLink l;
        l.lobby->chatin->setPlainText(QString(15001, u'x') + u'\n' + QStringLiteral("kept"));
        l.receive(QStringLiteral("TEAM_MATCH A 3 B 4 C 1 D 2 6 4 1 77"));
        const QString log = l.lobby->chatin->toPlainText();
        QVERIFY(!log.contains(QString(15001, u'x')));
        QVERIFY(log.contains(QStringLiteral("kept")));
        QVERIFY(log.contains(QStringLiteral("defeats")));
    }
};

QTEST_MAIN(tst_teammatch)
#include "tst_teammatch.moc"
