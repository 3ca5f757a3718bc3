// How the game windows look in play: a scripted game is driven to mid-game and to the game-over
// window, the windows are grabbed, and the cards, scores and turn marker are checked where a
// player looks for them. With CORVADEX_SCREENSHOTS set to a folder the pictures are saved there.
#include "FakeWebService.h"
#include "GameLink.h"

#include "game/frmdisplaybox.h"
#include "game/frmplaying.h"
#include "game/frmselectcards.h"
#include "tables/frmchallengebox_single.h"

#include <QDir>
#include <memory>

namespace {
void save(QWidget* w, const char* name) {
    const QString folder = qEnvironmentVariable("CORVADEX_SCREENSHOTS");
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    w->grab().save(folder + u'/' + QLatin1String(name) + QStringLiteral(".png"));
}

// The part of the window's picture where the child stands.
QImage shot(QWidget* window, QWidget* child) {
    const QImage all = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = all.devicePixelRatio();
    const QRect at(child->mapTo(window, QPoint(0, 0)) * ratio, child->size() * ratio);
    return all.copy(at);
}

// Share of pixels that differ by more than a little in some channel.
double difference(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull()) return 1.0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    int off = 0;
    for (int r = 0; r < x.height(); ++r)
        for (int c = 0; c < x.width(); ++c) {
            const QRgb p = x.pixel(c, r), q = y.pixel(c, r);
            if (std::abs(qRed(p) - qRed(q)) > 24 || std::abs(qGreen(p) - qGreen(q)) > 24 || std::abs(qBlue(p) - qBlue(q)) > 24) ++off;
        }
    return double(off) / (x.width() * x.height());
}

QImage card(const GameLink& l, const QString& colour, const QString& name) {
    return QImage(l.fixture.path(QStringLiteral("decks/") + colour + u'/' + name + QStringLiteral(".jpg")));
}

QRect inWindow(QWidget* window, QWidget* child) { return QRect(child->mapTo(window, QPoint(0, 0)), child->size()); }
}  // namespace

class tst_boardlook : public QObject {
    Q_OBJECT

private slots:
    void boardMidGameAndGameOver() {
        GameLink l;
        frmchallengebox_single* room = form<frmchallengebox_single>();
        room->Player1->setText(QStringLiteral("Tester"));
        room->Player2->setText(QStringLiteral("Rival"));
        clsCVRules& rules = *room->oCVGame();
        rules.OpenRule(true);
        rules.Same(true);
        rules.Plus(true);
        rules.Elemental(true);
        rules.decks(QStringLiteral("Ashfall Stormwake"));
        l.feed({QStringLiteral("CV_PICKCARDS 0"), QStringLiteral("CV_HAND 0 Cinderpup"), QStringLiteral("CV_HAND 1 Kilnwarden"),
                QStringLiteral("CV_HAND 2 Basalt%20Vigil"), QStringLiteral("CV_HAND 3 Emberlark"),
                QStringLiteral("CV_HAND 4 Magmaheart%20Colossus"),
                QStringLiteral("CV_OPENCARD Sparkfin%20Eel Tidecall%20Nymph Rimehorn%20Elk Frostmere%20Heron Squall%20Harrier"),
                QStringLiteral("CV_ELEMENT 6 fire"), QStringLiteral("CV_STARTER 1")});
        frmplaying* board = ifLoaded<frmplaying>();
        QVERIFY(board);
        board->setWindowTitle(QStringLiteral("Corvada [Rival]"));
        board->TimerTurn->stop();
        board->Player1_Click(0);
        board->Board_Click(4);
        l.feed({QStringLiteral("CV_BLUECARD 4 Cinderpup"), QStringLiteral("CV_TURNOVER"),
                QStringLiteral("CV_PLACEDCARD 1 2 Rimehorn%20Elk"), QStringLiteral("CV_REDCARD 1 Rimehorn%20Elk"),
                QStringLiteral("CV_POINTS 5 5"), QStringLiteral("CV_YOURTURN")});
        board->TimerTurn->stop();
        board->Player1_Click(1);
        board->Board_Click(2);
        l.feed({QStringLiteral("CV_BLUECARD 2 Kilnwarden"), QStringLiteral("CV_CARDFLIP 1 1 blue"),
                QStringLiteral("CV_BLUECARD 1 Rimehorn%20Elk"), QStringLiteral("CV_SAME"), QStringLiteral("CV_POINTS 6 4"),
                QStringLiteral("CV_TURNOVER"), QStringLiteral("CV_PLACEDCARD 8 0 Sparkfin%20Eel"),
                QStringLiteral("CV_REDCARD 8 Sparkfin%20Eel"), QStringLiteral("CV_MINUSELEMENT 8 -1"), QStringLiteral("CV_YOURTURN")});
        board->TimerTurn->stop();
        for (int i = 0; i < 48; ++i) board->TimerTurn_Timer();
        board->Player1_Click(3);
        QTRY_VERIFY_WITH_TIMEOUT(!board->Board[1]->isHidden(), 5000);
        QCoreApplication::processEvents();
        save(board, "board-midgame");

        // Cards stand in their cells in their players' colours.
        QVERIFY(difference(shot(board, board->Board[4]), card(l, "blue", "Cinderpup")) < 0.02);
        // (its lower part carries the elemental charge)
        QVERIFY(difference(shot(board, board->Board[8]).copy(0, 0, 72, 56), card(l, "red", "Sparkfin Eel").copy(0, 0, 72, 56)) < 0.02);
        QVERIFY(difference(shot(board, board->Board[2]), card(l, "blue", "Kilnwarden")) < 0.02);
        // A free cell shows no card face.
        QVERIFY(difference(shot(board, board->Board[0]), card(l, "blue", "Cinderpup")) > 0.3);
        // The cells make a 3x3 grid inside the board picture's table, left to right, top to bottom.
        const QRect table(124, 77, 257, 310);
        for (int i = 0; i < 9; ++i) {
            const QRect cell = board->Board[i]->geometry();
            QVERIFY(table.contains(cell));
            if (i % 3) QVERIFY(cell.left() > board->Board[i - 1]->geometry().right());
            if (i >= 3) QVERIFY(cell.top() > board->Board[i - 3]->geometry().bottom());
        }
        // Hands beside the table, blue left and red right; scores over their hands.
        for (int i = 0; i < 5; ++i) {
            QVERIFY(board->Player1[i]->geometry().right() < table.left());
            QVERIFY(board->Player2[i]->geometry().left() > table.right());
        }
        const QRect blueHand = board->Player1[0]->geometry().united(board->Player1[4]->geometry());
        const QRect score1 = board->player1_cards->geometry();
        QVERIFY(score1.bottom() <= blueHand.top() && std::abs(score1.center().x() - blueHand.center().x()) < 12);
        QCOMPARE(board->player1_cards->text(), QStringLiteral("6"));
        QCOMPARE(board->player2_cards->text(), QStringLiteral("4"));
        // The blue turn marker, under the blue hand, shows the skin's picture.
        QVERIFY(!board->playerturn[1]->isHidden() && board->playerturn[2]->isHidden());
        const QRect marker = board->playerturn[1]->geometry();
        QVERIFY(marker.top() >= blueHand.bottom() && std::abs(marker.center().x() - blueHand.center().x()) < 12);
        // (the marker's rounded corners are transparent)
        QVERIFY(difference(shot(board, board->playerturn[1]).copy(8, 4, 48, 12),
                           QImage(l.fixture.path(QStringLiteral("skins/default/p1turn.gif"))).copy(8, 4, 48, 12)) < 0.05);
        // The picked card stands out; the open hand of the opponent shows its faces.
        QVERIFY(board->Player1[3]->highlighted());
        QVERIFY(difference(shot(board, board->Player2[4]).copy(0, 0, 62, 40),
                           card(l, "red", "Squall Harrier").scaledToWidth(62, Qt::SmoothTransformation).copy(0, 0, 62, 40)) < 0.1);
        QCOMPARE(board->element[8]->text(), QStringLiteral("-1"));
        QCOMPARE(board->timeleft->text(), QStringLiteral("42"));

        // Game over: the winner has picked one card of two.
        l.feed({QStringLiteral("CV_CLOSE"),
                QStringLiteral("CV_DISPLAY 9001 Win x 1 2 Sparkfin%20Eel Tidecall%20Nymph Rimehorn%20Elk Frostmere%20Heron Squall%20Harrier")});
        frmdisplaybox* box = ifLoaded<frmdisplaybox>();
        QVERIFY(box);
        box->timeout->stop();
        box->cardimage_Click(2);
        for (int i = 0; i < 7; ++i) box->timeout_Timer();
        QCoreApplication::processEvents();
        save(box, "gameover-picking");
        QCOMPARE(box->lblTitle->text(), QStringLiteral("Game Over - You Win!"));
        QVERIFY(difference(shot(box, box->cardimage[0]), card(l, "blue", "Sparkfin Eel")) < 0.02);
        QCOMPARE(inWindow(box, box->cardimage[2]).top(), inWindow(box, box->cardimage[0]).top() - frmdisplaybox::kRaise);
        QVERIFY(inWindow(box, box->cardimage[2]).top() >= box->picTitle->geometry().bottom());
        for (int i = 1; i < 5; ++i) QVERIFY(box->cardimage[i]->x() > box->cardimage[i - 1]->geometry().right());
        QVERIFY(inWindow(box, box->cardimage[5]).top() > inWindow(box, box->cardimage[0]).bottom());
        QVERIFY(inWindow(box, box->imgOkay).top() > inWindow(box, box->cardimage[9]).bottom());

        l.feed({QStringLiteral("CV_CARDGAIN Rimehorn%20Elk Squall%20Harrier"), QStringLiteral("CV_CARDLOST Cinderpup")});
        box->show();
        QCoreApplication::processEvents();
        save(box, "gameover-trade");
        QVERIFY(difference(shot(box, box->cardimage[5]), card(l, "red", "Cinderpup")) < 0.02);
        QVERIFY(difference(shot(box, box->cardimage[1]), card(l, "blue", "Squall Harrier")) < 0.02);
        QVERIFY(difference(shot(box, box->cardimage[2]), card(l, "blue", "Rimehorn Elk")) > 0.3);
        QVERIFY(l.quiet());
    }

    void pickingWindow() {
        for (const char* v : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) qunsetenv(v);
        FakeWebService service;
        qputenv("CORVADEX_WEBSERVICE", service.url().toUtf8());
        service.answerPrefix(QStringLiteral("call sps_CVCards("),
                             {{{"Card", "string"}, {"Level", "integer"}, {"Total", "integer"}, {"Special", "string"}},
                              {{"Cinderpup", "1", "2", "No"}, {"Emberlark", "1", "1", "No"}, {"Kilnwarden", "2", "1", "No"},
                               {"Basalt Vigil", "3", "2", "No"}, {"Magmaheart Colossus", "5", "1", "Yes"}}});
        GameLink l;
        form<frmchallengebox_single>()->oCVGame()->decks(QStringLiteral("Ashfall Stormwake"));
        form<frmchallengebox_single>()->oCVGame()->TradeNone(true);
        l.feed(QStringLiteral("CV_PICKCARDS 1"));
        frmselectcards* picking = ifLoaded<frmselectcards>();
        QVERIFY(picking);
        picking->Timer1->stop();
        picking->cmbDecks->setCurrentIndex(0);
        picking->cmbDecks_Click();
        for (const char* name : {"Basalt Vigil", "Cinderpup"}) {
            for (int row = 0; row < picking->gridModel->rowCount(); ++row)
                if (picking->gridModel->index(row, 0).data().toString() == QLatin1String(name)) {
                    picking->DataGrid->setCurrentIndex(picking->gridModel->index(row, 0));
                    picking->DataGrid_Click(row + 1, 1);
                }
            picking->cmdPick_Click();
        }
        picking->DataGrid_Click(0, 3);
        for (int i = 0; i < 37; ++i) picking->Timer1_Timer();
        QCoreApplication::processEvents();
        save(picking, "picking");
        QVERIFY(difference(shot(picking, picking->selected[0]), card(l, "blue", "Basalt Vigil")) < 0.02);
        QVERIFY(difference(shot(picking, picking->selected[1]), card(l, "blue", "Cinderpup")) < 0.02);
        QCOMPARE(picking->timeleft->text(), QStringLiteral("143"));
        QVERIFY(l.quiet());
    }
};

QTEST_MAIN(tst_boardlook)
#include "tst_boardlook.moc"
