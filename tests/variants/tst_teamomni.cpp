// The team omni game through the real dispatcher and window: a whole game, the turn queue's
// avatars at once and queued, the game chat both ways, the chat input's keys, and malformed
// lines that change nothing.
#include "VariantLink.h"

#include "../lobby/LobbyHelpers.h"
#include "lobby/fancychat.h"
#include "tables/frmchallengebox.h"
#include "tables/frmchallengewaiting.h"

#include <QBuffer>

namespace {
frmteamomni* team() { return ifLoaded<frmteamomni>(); }

// An avatar layer file of the test's own, so that each picture can be told apart.
QImage writeAvatar(VariantLink& l, const QString& file, QColor colour) {
    QImage img(20, 20, QImage::Format_ARGB32);
    img.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    l.fx->write(QStringLiteral("skins/default/avatars/") + file, bytes);
    return img;
}

// The file a layer shows, by its colour among the pictures written; "" for none.
QString shown(const QLabel* layer, const QMap<QString, QImage>& files) {
    const QImage now = layer->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    if (now.isNull()) return {};
    for (auto it = files.begin(); it != files.end(); ++it)
        if (it.value() == now) return it.key();
    return QStringLiteral("?");
}

QString state() {
    frmteamomni* w = team();
    return boardState(w, {w->player->Tag, w->player_nextcard->Tag, w->iam->text()});
}
}  // namespace

class tst_teamomni : public QObject {
    Q_OBJECT

private slots:
    void init() { ClientFixture::unloadAll(); }

    void wholeGame() {
        VariantLink l;
        form<frmchallengewaiting>()->show();
        form<frmchallengebox>()->show();
        l.lobby->cmdCreate->setEnabled(false);
        l.lobby->cmdJoin->setEnabled(false);
        l.lobby->hide();
        l.sent();
        l.receive({QStringLiteral("TEAM_OCVSTARTER 7"), QStringLiteral("TEAM_OCVCOLOR red"), QStringLiteral("TEAM_OMNIBLOCK 3"),
                   QStringLiteral("TEAM_OCVCARDDRAW Tidecall%20Nymph.jpg Sparkfin%20Eel.jpg"),
                   QStringLiteral("TEAM_OCVPLACEDCARD 12 Gustling blue"), QStringLiteral("TEAM_OCVPOINTS 1 0")});
        frmteamomni* w = team();
        QVERIFY(w && w->isVisible());
        QVERIFY(!ifLoaded<frmchallengewaiting>() && !ifLoaded<frmchallengebox>());
        QCOMPARE(w->windowTitle(), QStringLiteral("Team Omni Corvada"));
        QCOMPARE(w->iam->text(), QStringLiteral("red"));
        QVERIFY(!w->blnPlay && !w->TimerTurn->isActive());
        QCOMPARE(w->Board[3]->Tag, QStringLiteral("Card blocked by mysterious force"));
        QCOMPARE(w->player->Tag, QStringLiteral("Tidecall Nymph"));
        QVERIFY(samePicture(w->player->Picture(), l.card("red", QStringLiteral("Tidecall Nymph"))));
        QCOMPARE(w->player_nextcard->Tag, QStringLiteral("Sparkfin Eel"));
        // Another seat's placement waits for the turn change.
        QCOMPARE(w->Board[12]->Tag, QStringLiteral("empty"));
        QCOMPARE(w->player1_cards->text(), QStringLiteral("0"));
        l.receive(QStringLiteral("TEAM_OCVYOURTURN"));
        QCOMPARE(w->Board[12]->Tag, QStringLiteral("Gustling"));
        QVERIFY(samePicture(w->Board[12]->Picture(), l.card("blue", QStringLiteral("Gustling"))));
        QCOMPARE(w->Colors(12), QStringLiteral("blue"));
        QCOMPARE(w->player1_cards->text(), QStringLiteral("1"));
        QVERIFY(w->blnPlay && w->TimerTurn->isActive());
        // The placed card's step took the hand slot's tag with it; the next draw fills it again.
        l.receive(QStringLiteral("TEAM_OCVCARDDRAW Tidecall%20Nymph.jpg Sparkfin%20Eel.jpg"));

        w->Board_Click(3);
        w->Board_Click(12);
        w->Board_Click(6);
        w->Board_Click(7);
        QCOMPARE(l.sent(), QStringList{QStringLiteral("TEAM_OCVPLACEAT 6")});
        QCOMPARE(w->Board[6]->Tag, QStringLiteral("Tidecall Nymph"));
        QCOMPARE(w->player->Tag, QStringLiteral("Empty"));
        QVERIFY(IsEmptyCard(w->player));
        QVERIFY(w->PlayedCard() && !w->blnPlay && !w->TimerTurn->isActive());

        l.receive({QStringLiteral("TEAM_OCVCARDFLIP 12 2 red"), QStringLiteral("TEAM_OCVREDCARD 12 Gustling"),
                   QStringLiteral("TEAM_OCVSAME 3 4"), QStringLiteral("TEAM_OCVPOINTS 2 3"), QStringLiteral("TEAM_OCVTURNOVER x")});
        QCOMPARE(w->Colors(12), QStringLiteral("red"));
        QVERIFY(samePicture(w->Board[12]->Picture(), l.card("red", QStringLiteral("Gustling"))));
        QCOMPARE(w->player2_cards->text(), QStringLiteral("3"));
        QVERIFY(linesOf(w->chatin).contains(QStringLiteral("<Event> You/Your Opponent triggered a SAME event! ")));
        QVERIFY(!w->blnPlay && !w->PlayedCard() && w->timeleft->text().isEmpty());
        QVERIFY(w->lststeps.isEmpty());

        // Discard only in the own turn, once a game.
        l.receive(QStringLiteral("TEAM_OCVCARDDRAW Emberlark.jpg Cinderpup.jpg"));
        w->cmdDiscard_Click();
        QVERIFY(l.sent().isEmpty());
        l.receive(QStringLiteral("TEAM_OCVYOURTURN"));
        w->cmdDiscard_Click();
        w->cmdDiscard_Click();
        QCOMPARE(l.sent(), QStringList{QStringLiteral("TEAM_OCVCARDDISCARD")});
        QVERIFY(w->player->Tag.isEmpty() && !w->cmdDiscard->Enabled());
        // No card in hand until the next draw: a click places nothing, the time-out still moves.
        w->Board_Click(0);
        QVERIFY(l.sent().isEmpty());
        w->Timerints = 1;
        w->TimerTurn_Timer();
        QCOMPARE(w->timeleft->text(), QStringLiteral("Time Up! Game Over!"));
        QCOMPARE(l.sent(), QStringList{QStringLiteral("TEAM_OCVPLACEAT 0")});

        const qsizetype before = l.pauses().size();
        l.receive(QStringLiteral("TEAM_OCVCLOSE"));
        QVERIFY(!ifLoaded<frmteamomni>());
        QCOMPARE(l.pauses().mid(before), (QList<int>{0, 1}));
        QVERIFY(!InGame);
        QVERIFY(l.lobby->isVisible());
        QVERIFY(l.lobby->cmdCreate->isEnabled() && l.lobby->cmdJoin->isEnabled());
        QVERIFY(l.healthy());
    }

    // The turn queue's seats: the flag in field 6 applies the line at once, any other flag
    // queues it for the next replay. "000", an empty number or an unsafe gender clear a layer.
    void turnQueue_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("atOnce");
        QTest::addColumn<int>("seat");
        QTest::addColumn<QStringList>("expected");  // name, background, body, head
        const QString four = QStringLiteral(
            "TEAM_QUEUE Ann::female::7::000::12 Bob::male::000::3::4 Cid::male::1::1::1 Dee::female::2::2::2 1");
        QTest::newRow("at once, seat 1") << four << true << 0 << QStringList{"Ann", "background_7.gif", "", "female_head_12.gif"};
        QTest::newRow("at once, seat 2") << four << true << 1 << QStringList{"Bob", "", "male_body_3.gif", "male_head_4.gif"};
        const QString shifted = QStringLiteral("TEAM_QUEUE a::male::000::2::5 b::female::3::000::000 1");
        QTest::newRow("flag not in field 6, seat 1") << shifted << false << 0 << QStringList{"a", "", "male_body_2.gif", "male_head_5.gif"};
        QTest::newRow("flag not in field 6, seat 3") << shifted << false << 2 << QStringList{"1", "", "", ""};
        QTest::newRow("unsafe gender") << "TEAM_QUEUE Eve::..%2Ffemale::7::3::4    1" << true << 0 << QStringList{"Eve", "background_7.gif", "", ""};
    }
    void turnQueue() {
        QFETCH(QString, line);
        QFETCH(bool, atOnce);
        QFETCH(int, seat);
        QFETCH(QStringList, expected);
        VariantLink l;
        QMap<QString, QImage> files;
        int hue = 0;
        for (const char* f : {"background_7.gif", "background_3.gif", "background_1.gif", "female_head_12.gif", "male_body_3.gif",
                              "male_head_4.gif", "male_body_2.gif", "male_head_5.gif", "female_body_3.gif", "female_head_4.gif"})
            files[QString::fromLatin1(f)] = writeAvatar(l, QString::fromLatin1(f), QColor::fromHsv((hue += 33) % 360, 200, 200));
        l.receive({QStringLiteral("TEAM_OCVSTARTER 1"), QStringLiteral("TEAM_QUEUE Old::male::1::1::1 Old::male::1::1::1 "
                                                                         "Old::male::1::1::1 Old::male::1::1::1 1")});
        frmteamomni* w = team();
        l.receive(line.replace(QStringLiteral("%2F"), QStringLiteral("/")));
        QCOMPARE(w->picavatar[seat]->toolTip().contains(QStringLiteral("Old")), !atOnce);
        if (!atOnce) l.receive(QStringLiteral("TEAM_OCVYOURTURN"));
        QVERIFY(w->picavatar[seat]->toolTip().contains(expected[0]));
        QVERIFY(w->imghead[seat]->toolTip().contains(expected[0]));
        QCOMPARE(shown(w->picavatar[seat], files), expected[1]);
        QCOMPARE(shown(w->imgbody[seat], files), expected[2]);
        QCOMPARE(shown(w->imghead[seat], files), expected[3]);
        QVERIFY(l.healthy());
    }

    // Another seat's chat: red for the team, white otherwise, always as plain text.
    void incomingChat_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QString>("shownText");
        QTest::addColumn<long>("colour");
        QTest::newRow("team") << "TEAM_GAMECHAT Bob /team hello" << true << "Bob says to team, \" hello \" " << ChatColour::Red;
        QTest::newRow("team twice") << "TEAM_GAMECHAT Bob /team go /TEAM now" << true << "Bob says to team, \" go   now \" "
                                    << ChatColour::Red;
        QTest::newRow("case-sensitive") << "TEAM_GAMECHAT Bob /Team hi" << true << "Bob says, \" /Team hi \" " << ChatColour::White;
        QTest::newRow("markup") << "TEAM_GAMECHAT <b>Al</b> <i>x</i>" << true << "<b>Al</b> says, \" <i>x</i> \" " << ChatColour::White;
        QTest::newRow("no text") << "TEAM_GAMECHAT" << true << " says, \"  \" " << ChatColour::White;
        QTest::newRow("window hidden") << "TEAM_GAMECHAT Bob hi" << false << "" << 0L;
    }
    void incomingChat() {
        QFETCH(QString, line);
        QFETCH(bool, visible);
        QFETCH(QString, shownText);
        QFETCH(long, colour);
        VariantLink l;
        l.receive(QStringLiteral("TEAM_OCVSTARTER 1"));
        if (!visible) team()->hide();
        l.receive(line);
        const QStringList log = linesOf(team()->chatin);
        QCOMPARE(log, shownText.isEmpty() ? QStringList() : QStringList{shownText});
        if (!shownText.isEmpty()) QCOMPARE(lineColour(team()->chatin, 0), colour);
    }

    // The chat input: Enter sends, "/team" speaks to the team; Ctrl+A empties the log, not the input.
    void chatInput_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("ctrlA");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("echo");
        QTest::addColumn<long>("colour");
        QTest::newRow("plain") << "hello all" << false << "TEAM_GAMECHAT hello all" << "You say, \" hello all \" " << ChatColour::White;
        QTest::newRow("team, double blank") << "/team  go" << false << "TEAM_GAMECHAT /team go" << "You say to team, \" go \" "
                                            << ChatColour::Red;
        QTest::newRow("markup") << "<b>x</b>" << false << "TEAM_GAMECHAT <b>x</b>" << "You say, \" <b>x</b> \" " << ChatColour::White;
        QTest::newRow("blank") << "   " << false << "" << "" << 0L;
        QTest::newRow("control character") << QString("a") + QChar(3) + "b" << false << "" << "" << 0L;
        QTest::newRow("ctrl+a") << "draft" << true << "" << "" << 0L;
    }
    void chatInput() {
        QFETCH(QString, typed);
        QFETCH(bool, ctrlA);
        QFETCH(QString, sent);
        QFETCH(QString, echo);
        QFETCH(long, colour);
        VariantLink l;
        l.receive({QStringLiteral("TEAM_OCVSTARTER 1"), QStringLiteral("TEAM_GAMECHAT Bob hi")});
        l.sent();
        frmteamomni* w = team();
        w->chatout->setText(typed);
        if (ctrlA) QTest::keyClick(w->chatout, Qt::Key_A, Qt::ControlModifier);
        else QTest::keyClick(w->chatout, Qt::Key_Return);
        QCOMPARE(l.sent(), sent.isEmpty() ? QStringList() : QStringList{sent});
        QStringList log = ctrlA ? QStringList() : QStringList{QStringLiteral("Bob says, \" hi \" ")};
        if (!echo.isEmpty()) log << echo;
        QCOMPARE(linesOf(w->chatin), log);
        QCOMPARE(w->chatout->text(), sent.isEmpty() ? typed : QString());
        if (!echo.isEmpty()) QCOMPARE(lineColour(w->chatin, 1), colour);
    }

    // Replayed lines read as the game reads them: a colour names its deck folder whatever its
    // letter case, scores are shown as they come; a colour with no deck, an empty one or one that
    // could lead out of the decks places the card without a picture. No box either way, and the
    // taken cell is no longer free.
    void oddLinesReadAsTheGameDoes_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("after");  // cell 4's tag and colour, then the scores
        QTest::addColumn<QString>("deck");  // the folder cell 4's picture comes from; "" none
        QTest::newRow("colour in capitals") << "TEAM_OCVPLACEDCARD 4 Gustling Blue" << "Gustling|Blue|1|1" << "blue";
        QTest::newRow("colour all capitals") << "TEAM_OCVPLACEDCARD 4 Basalt%20Vigil RED" << "Basalt Vigil|RED|1|1" << "red";
        QTest::newRow("colour without a deck") << "TEAM_OCVPLACEDCARD 4 Gustling green" << "Gustling|green|1|1" << "";
        QTest::newRow("colour empty") << "TEAM_OCVPLACEDCARD 4 Gustling" << "Gustling||1|1" << "";
        QTest::newRow("colour leading out") << "TEAM_OCVPLACEDCARD 4 Gustling ..\\red" << "Gustling|..\\red|1|1" << "";
        QTest::newRow("scores as they come") << "TEAM_OCVPOINTS 70000 x" << "empty||70000|x" << "";
        QTest::newRow("scores missing") << "TEAM_OCVPOINTS" << "empty|||" << "";
    }
    void oddLinesReadAsTheGameDoes() {
        QFETCH(QString, line);
        QFETCH(QString, after);
        QFETCH(QString, deck);
        VariantLink l;
        l.receive({QStringLiteral("TEAM_OCVSTARTER 1"), QStringLiteral("TEAM_OCVCOLOR blue"),
                   QStringLiteral("TEAM_OCVCARDDRAW Emberlark.jpg Cinderpup.jpg"), QStringLiteral("TEAM_OCVPOINTS 1 1"), line,
                   QStringLiteral("TEAM_OCVYOURTURN")});
        frmteamomni* w = team();
        QCOMPARE(QStringList({w->Board[4]->Tag, w->Colors(4), w->player1_cards->text(), w->player2_cards->text()}).join(u'|'), after);
        if (!deck.isEmpty()) QVERIFY(samePicture(w->Board[4]->Picture(), l.card(deck.toLatin1().constData(), w->Board[4]->Tag)));
        l.sent();
        const bool free = w->Board[4]->Tag == QLatin1String("empty");
        w->Board_Click(4);
        QCOMPARE(l.sent(), free ? QStringList{QStringLiteral("TEAM_OCVPLACEAT 4")} : QStringList());
        QVERIFY(l.dialogs().boxes.isEmpty());
        QVERIFY(l.healthy());
    }

    // Missing, non-numeric and out-of-range fields: the board stays as it was.
    void malformedLines_data() {
        QTest::addColumn<QString>("line");
        const char* rows[] = {"TEAM_OMNIBLOCK -1", "TEAM_OMNIBLOCK 25", "TEAM_OMNIBLOCK x", "TEAM_OMNIBLOCK",
                              "TEAM_OCVCARDDRAW", "TEAM_OCVPLACEDCARD 99 X red", "TEAM_OCVPLACEDCARD",
                              "TEAM_OCVBLUECARD 30 Gustling", "TEAM_OCVREDCARD -2 Gustling", "TEAM_OCVREDCARD 5",
                              "TEAM_OCVCARDFLIP z 1 red", "TEAM_OCVCARDFLIP", "TEAM_QUEUE", "TEAM_QUEUE :::::::: 0",
                              "TEAM_NOSUCH 1", "TEAM_MATCH"};
        for (const char* r : rows) QTest::newRow(r) << QString::fromLatin1(r);
    }
    void malformedLines() {
        QFETCH(QString, line);
        VariantLink l;
        l.receive({QStringLiteral("TEAM_OCVSTARTER 1"), QStringLiteral("TEAM_OCVCOLOR blue"),
                   QStringLiteral("TEAM_OCVCARDDRAW Gustling.jpg Emberlark.jpg"), QStringLiteral("TEAM_OCVREDCARD 7 Cinderpup"),
                   QStringLiteral("TEAM_OCVPOINTS 1 1"), QStringLiteral("TEAM_OCVTURNOVER")});
        const QString before = state();
        l.receive({line, QStringLiteral("TEAM_OCVTURNOVER")});
        QCOMPARE(state(), before);
        QVERIFY(l.dialogs().boxes.isEmpty());
        QVERIFY(l.healthy());
    }
};

QTEST_MAIN(tst_teamomni)
#include "tst_teamomni.moc"
