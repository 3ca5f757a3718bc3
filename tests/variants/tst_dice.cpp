// The dice game through the real dispatcher and window: the roll in the own turn only and only
// once, the automatic roll at time-up, the dice pictures from the skin, points, the game's text,
// the request and the close, and lines the window must not act on.
#include "Screenshots.h"
#include "VariantLink.h"

#include "app/modSkin.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "variants/frmchinchin.h"

#include <QFile>

namespace {
frmchinchin* dice() { return ifLoaded<frmchinchin>(); }

// Which dice show the skin's picture of which face ("4,5,-": the third shows none).
QString diceFaces() {
    QStringList out;
    for (int k = 1; k <= 3; ++k) {
        const QPixmap shown = dice()->imgdice[k]->pixmap();
        QString face = QStringLiteral("-");
        for (int v = 1; v <= 6; ++v)
            if (samePicture(shown, DicePicture(QString::number(v)))) face = QString::number(v);
        if (face == u'-' && !shown.isNull()) face = QStringLiteral("?");
        out << face;
    }
    return out.join(u',');
}

void play(VariantLink& l, const QStringList& script) {
    for (const QString& step : script) {
        if (step == QLatin1String("roll")) dice()->cmdRoll_Click();
        else l.receive(step);
    }
}
}  // namespace

class tst_dice : public QObject {
    Q_OBJECT

private slots:
    void init() { ClientFixture::unloadAll(); }

    // The roll reaches the server once in the own turn; outside it the button stays live.
    void roll_data() {
        QTest::addColumn<bool>("creator");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("own turn") << true << QStringList{"CHINCHINYES", "CHINCHINTURN 1", "roll"} << QStringList{"CHINCHINROLL"} << false;
        QTest::newRow("twice in the own turn")
            << true << QStringList{"CHINCHINYES", "CHINCHINTURN 1", "roll", "roll"} << QStringList{"CHINCHINROLL"} << false;
        QTest::newRow("seat 2 in its turn") << false << QStringList{"CHINCHINTURN 2", "roll"} << QStringList{"CHINCHINROLL"} << false;
        QTest::newRow("the opponent's turn") << true << QStringList{"CHINCHINYES", "CHINCHINTURN 2", "roll"} << QStringList{} << false;
        QTest::newRow("before any turn") << true << QStringList{"CHINCHINYES", "roll"} << QStringList{} << true;
        QTest::newRow("a turn of no seat") << true << QStringList{"CHINCHINYES", "CHINCHINTURN 0", "roll"} << QStringList{} << true;
        QTest::newRow("the next own turn") << true << QStringList{"CHINCHINYES", "CHINCHINTURN 1", "roll", "CHINCHINTURN 2",
                                                                  "CHINCHINTURN 1", "roll"}
                                           << QStringList{"CHINCHINROLL", "CHINCHINROLL"} << false;
    }
    void roll() {
        QFETCH(bool, creator);
        QFETCH(QStringList, script);
        QFETCH(QStringList, sent);
        QFETCH(bool, enabled);
        VariantLink l;
        l.creator(creator);
        l.sent();
        play(l, script);
        QCOMPARE(l.sent(), sent);
        QCOMPARE(dice()->cmdRoll->Enabled(), enabled);
        QCOMPARE(l.sounds().count(46), sent.size());
        // Locked without a roll: the opponent's turn, whose countdown is not ours.
        if (!enabled && sent.isEmpty()) QVERIFY(!dice()->TimerTurn->isActive());
    }

    // The automatic roll at time-up, and the next own turn counting again from 60.
    void automaticRollAndTheNextTurn() {
        VariantLink l;
        play(l, {"CHINCHINYES", "CHINCHINTURN 1"});
        l.sent();
        frmchinchin* w = dice();
        QStringList shown;
        for (int n = 0; n < 100 && w->TimerTurn->isActive(); ++n) {
            w->TimerTurn_Timer();
            shown << w->timeleft->text();
        }
        QCOMPARE(shown.first(), QStringLiteral("59"));
        QCOMPARE(shown.size(), 60);
        QCOMPARE(shown.last(), QStringLiteral("Time Up! Game Over!"));
        QCOMPARE(l.sent(), QStringList{QStringLiteral("CHINCHINROLL")});
        QVERIFY(!l.sounds().contains(46));
        QVERIFY(w->cmdRoll->Enabled());
        play(l, {"CHINCHINTURN 2", "CHINCHINTURN 1"});
        QCOMPARE(w->TurnSeconds, 60);
        w->TimerTurn_Timer();
        QCOMPARE(w->timeleft->text(), QStringLiteral("59"));
    }

    // Dice, points and the turn clearing the dice.
    void diceAndPoints() {
        VariantLink l;
        play(l, {"CHINCHINYES", "CHINCHINTURN 1", "CHINCHINDICE 4 5 6", "CHINCHINPOINTS 1 12", "CHINCHINPOINTS 2 3",
                 "CHINCHINPOINTS 3 99"});
        QCOMPARE(diceFaces(), QStringLiteral("4,5,6"));
        QCOMPARE(dice()->player1_score->text(), QStringLiteral("12"));
        QCOMPARE(dice()->player2_score->text(), QStringLiteral("3"));
        play(l, {"CHINCHINTEXT kira rolls 4-5-6: the straight, 12 points"});
        dice()->TimerTurn_Timer();
        save(dice()->grab().toImage(), "dice_midgame");
        play(l, {"CHINCHINDICE 1 1 7"});
        QCOMPARE(diceFaces(), QStringLiteral("1,1,-"));
        play(l, {"CHINCHINTURN 2"});
        QCOMPARE(diceFaces(), QStringLiteral("-,-,-"));
    }

    // A [dice] value outside the client folder, or naming a folder, shows no picture.
    void dicePicturesOnlyFromTheClientFolder_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("shown");
        QTest::newRow("plain file") << "\\skins\\default\\dice\\2.gif" << true;
        QTest::newRow("up and out") << "\\skins\\..\\..\\outside-die.gif" << false;
        QTest::newRow("a folder") << "\\skins" << false;
        QTest::newRow("empty") << "" << false;
    }
    void dicePicturesOnlyFromTheClientFolder() {
        QFETCH(QString, value);
        QFETCH(bool, shown);
        VariantLink l;
        // A die picture beside the client folder, which a skin must not reach.
        const QString outside = ClientFolder() + QStringLiteral("/../outside-die.gif");
        QVERIFY(QFile::copy(clientPath(QStringLiteral("\\skins\\default\\dice\\2.gif")), outside));
        const auto cleanup = qScopeGuard([&] { QFile::remove(outside); });
        WriteIni(QStringLiteral("dice"), QStringLiteral("4"), value, clientPath(QStringLiteral("\\skins\\default.ini")));
        play(l, {"CHINCHINYES", "CHINCHINDICE 4 4 4"});
        QCOMPARE(!dice()->imgdice[1]->pixmap().isNull(), shown);
        QVERIFY(l.healthy());
    }

    // Text lines go in as plain text after the keyword's blank, only while the window shows.
    void gameText() {
        VariantLink l;
        play(l, {"CHINCHINTEXT dropped while no window shows"});
        QVERIFY(!dice());
        play(l, {"CHINCHINYES", "CHINCHINTEXT kira rolls <b>4-5-6</b> %20", "CHINCHINTEXT"});
        QCOMPARE(dice()->chatin->toPlainText(), QStringLiteral(" kira rolls <b>4-5-6</b> %20 \n \n"));
        dice()->hide();
        play(l, {"CHINCHINTEXT hidden"});
        QVERIFY(!dice()->chatin->toPlainText().contains(QStringLiteral("hidden")));
        QCOMPARE(lineColour(dice()->chatin, 0), 0xFFFFFFL);
    }

    void endGameRequestAndClose() {
        VariantLink l;
        play(l, {"CHINCHINYES", "CHINCHINTURN 2"});
        l.sent();
        l.dialogs().answer(vb::Yes);
        dice()->mnuEndGameRequest->trigger();
        QCOMPARE(l.dialogs().titles(), QStringList{QStringLiteral("End Game Request")});
        QCOMPARE(l.sent(), QStringList{QStringLiteral("CHINCHINENDGAME")});
        QVERIFY(!dice()->mnuEndGameRequest->isEnabled());
        play(l, {"CHINCHINCLOSE"});
        QVERIFY(!dice());
        QVERIFY(!InGame);
    }

    // Dice keys are the skin's as they come: a key the skin lacks, or a missing one, shows no
    // picture on that die only. Lines the window must not act on (a key that could lead out of
    // the folder, points of no seat) leave the dice as they were. Points and the roll stay.
    void oddLines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("faces");
        QTest::newRow("two dice") << "CHINCHINDICE 4 5" << "4,5,-";
        QTest::newRow("one key not a number") << "CHINCHINDICE 4 5 x" << "4,5,-";
        QTest::newRow("no key a number") << "CHINCHINDICE a b c" << "-,-,-";
        QTest::newRow("no keys") << "CHINCHINDICE" << "-,-,-";
        QTest::newRow("dice key with a path") << "CHINCHINDICE 4 ..%2F5 6" << "2,3,4";
        QTest::newRow("dice key with a folder") << "CHINCHINDICE 4 5 x\\6" << "2,3,4";
        QTest::newRow("dice key going up") << "CHINCHINDICE .. 5 6" << "2,3,4";
        QTest::newRow("points of no seat") << "CHINCHINPOINTS 7 9" << "2,3,4";
        QTest::newRow("unknown keyword") << "CHINCHINSHAKE 1" << "2,3,4";
    }
    void oddLines() {
        QFETCH(QString, line);
        QFETCH(QString, faces);
        VariantLink l;
        play(l, {"CHINCHINYES", "CHINCHINTURN 1", "CHINCHINDICE 2 3 4", "CHINCHINPOINTS 1 5"});
        l.receive(line.replace(QStringLiteral("%2F"), QStringLiteral("/")));
        QCOMPARE(diceFaces(), faces);
        QCOMPARE(dice()->player1_score->text() + u'/' + dice()->player2_score->text(), QStringLiteral("5/0"));
        QVERIFY(dice()->cmdRoll->Enabled());
        QVERIFY(l.dialogs().boxes.isEmpty());
        QVERIFY(l.healthy());
    }
};

QTEST_MAIN(tst_dice)
#include "tst_dice.moc"
