// How the game windows look in play: a scripted game is driven to mid-game and to the game-over
// window, the windows are photographed, and the cards, scores and turn marker are checked where a
// player looks for them. Offscreen each window draws itself; the same game is also played on an
// X server of its own (Xvfb), where the screen itself is photographed. With CORVADEX_SCREENSHOTS
// set to a folder the pictures are saved there; the X server's run always saves its pictures (in
// "screenshots/game/xvfb" under the working folder when the variable is not set).
#include "FakeWebService.h"
#include "GameLink.h"
#include "Screenshots.h"
#include "XServer.h"

#include "game/frmdisplaybox.h"
#include "game/frmplaying.h"
#include "game/frmselectcards.h"
#include "tables/frmchallengebox_single.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QSet>
#include <memory>

namespace {
// The window as the player sees it. On an X server the screen is photographed where the window
// stands (whatever lay over it would show too); offscreen the window draws itself.
QImage picture(QWidget* window) {
    if (!onXServer()) return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    window->show();
    window->raise();
    window->activateWindow();
    if (!QTest::qWaitForWindowExposed(window)) qWarning("%s was not exposed", qPrintable(window->objectName()));
    // The server draws what the window sent it.
    QTest::qWait(200);
    const QPoint at = window->mapToGlobal(QPoint(0, 0));
    return window->screen()->grabWindow(0, at.x(), at.y(), window->width(), window->height()).toImage().convertToFormat(
        QImage::Format_RGB32);
}

QImage card(const GameLink& l, const QString& colour, const QString& name) {
    return QImage(l.fixture.path(QStringLiteral("decks/") + colour + u'/' + name + QStringLiteral(".jpg")));
}

QRect inWindow(QWidget* window, QWidget* child) { return QRect(child->mapTo(window, QPoint(0, 0)), child->size()); }

// Where the X server's run leaves its pictures.
QString screenFolder() {
    const QString base = qEnvironmentVariable("CORVADEX_SCREENSHOTS");
    return (base.isEmpty() ? QDir::current().absoluteFilePath(QStringLiteral("screenshots/game")) : base) + QStringLiteral("/xvfb");
}

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
        const QImage seenBoard = picture(board);
        save(seenBoard, "board-midgame");
        const auto shotOfBoard = [&](QWidget* child) { return part(seenBoard, board, child); };

        // Cards stand in their cells in their players' colours.
        QVERIFY(difference(shotOfBoard(board->Board[4]), card(l, "blue", "Cinderpup")) < 0.02);
        QVERIFY(difference(shotOfBoard(board->Board[2]), card(l, "blue", "Kilnwarden")) < 0.02);
        // A charged card: the charge stands over its picture; its numbers and name stay in sight.
        const QImage charged = shotOfBoard(board->Board[8]), eel = card(l, "red", "Sparkfin Eel");
        QVERIFY(difference(charged.copy(0, 0, 72, 34), eel.copy(0, 0, 72, 34)) < 0.02);
        QVERIFY(difference(charged.copy(0, 64, 72, 26), eel.copy(0, 64, 72, 26)) < 0.02);
        QVERIFY(difference(charged.copy(22, 38, 28, 22), eel.copy(22, 38, 28, 22)) > 0.3);
        // A free cell shows no card face.
        QVERIFY(difference(shotOfBoard(board->Board[0]), card(l, "blue", "Cinderpup")) > 0.3);
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
        QVERIFY(difference(shotOfBoard(board->playerturn[1]).copy(8, 4, 48, 12),
                           QImage(l.fixture.path(QStringLiteral("skins/default/p1turn.gif"))).copy(8, 4, 48, 12)) < 0.05);
        // The picked card stands out; the open hand of the opponent shows its faces.
        QVERIFY(board->Player1[3]->highlighted());
        QVERIFY(difference(shotOfBoard(board->Player2[4]).copy(0, 0, 62, 40),
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
        const QImage seenPicking = picture(box);
        save(seenPicking, "gameover-picking");
        QCOMPARE(box->lblTitle->text(), QStringLiteral("Game Over - You Win!"));
        QVERIFY(difference(part(seenPicking, box, box->cardimage[0]), card(l, "blue", "Sparkfin Eel")) < 0.02);
        QVERIFY(difference(part(seenPicking, box, box->cardimage[2]), card(l, "blue", "Rimehorn Elk")) < 0.02);
        QCOMPARE(inWindow(box, box->cardimage[2]).top(), inWindow(box, box->cardimage[0]).top() - frmdisplaybox::kRaise);
        QVERIFY(inWindow(box, box->cardimage[2]).top() >= box->picTitle->geometry().bottom());
        for (int i = 1; i < 5; ++i) QVERIFY(box->cardimage[i]->x() > box->cardimage[i - 1]->geometry().right());
        QVERIFY(inWindow(box, box->cardimage[5]).top() > inWindow(box, box->cardimage[0]).bottom());
        QVERIFY(inWindow(box, box->imgOkay).top() > inWindow(box, box->cardimage[9]).bottom());

        l.feed({QStringLiteral("CV_CARDGAIN Rimehorn%20Elk Squall%20Harrier"), QStringLiteral("CV_CARDLOST Cinderpup")});
        box->show();
        QCoreApplication::processEvents();
        const QImage seenTrade = picture(box);
        save(seenTrade, "gameover-trade");
        QVERIFY(difference(part(seenTrade, box, box->cardimage[0]), card(l, "blue", "Rimehorn Elk")) < 0.02);
        QVERIFY(difference(part(seenTrade, box, box->cardimage[1]), card(l, "blue", "Squall Harrier")) < 0.02);
        QVERIFY(difference(part(seenTrade, box, box->cardimage[5]), card(l, "red", "Cinderpup")) < 0.02);
        QVERIFY(difference(part(seenTrade, box, box->cardimage[2]), card(l, "blue", "Rimehorn Elk")) > 0.3);
        QVERIFY(l.quiet());
    }

    void pickingWindow() {
        for (const char* v : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) qunsetenv(v);
        FakeWebService service;
        qputenv("CORVADEX_WEBSERVICE", service.url().toUtf8());
        service.answerPrefix(QStringLiteral("call sps_CVCards("),
                             {{{"Card", "string"}, {"Level", "integer"}, {"Total", "integer"}, {"Special", "string"}},
                              {{"Cinderpup", "1", "2", "No"}, {"Slagshell Tortoise", "1", "1", "No"}, {"Emberlark", "1", "1", "No"},
                               {"Flintjaw Skink", "2", "3", "No"}, {"Kilnwarden", "2", "1", "No"}, {"Lampwick Moth", "2", "1", "No"},
                               {"Basalt Vigil", "3", "2", "No"}, {"Pyrewing Hatchling", "3", "1", "No"},
                               {"Dawnbell Acolyte", "4", "1", "No"}, {"Magmaheart Colossus", "5", "1", "Yes"}}});
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
        const QImage seen = picture(picking);
        save(seen, "picking");
        QVERIFY(difference(part(seen, picking, picking->selected[0]), card(l, "blue", "Basalt Vigil")) < 0.02);
        QVERIFY(difference(part(seen, picking, picking->selected[1]), card(l, "blue", "Cinderpup")) < 0.02);
        QCOMPARE(picking->timeleft->text(), QStringLiteral("143"));
        QVERIFY(l.quiet());
    }

    // The two cases above once more, on an X server of their own, with the screen photographed:
    // this program runs them as a child on the Xvfb display.
    void onAnXServer() {
        if (onXServer()) QSKIP("this is the run on the X server");
        const QString folder = screenFolder();
        QDir(folder).removeRecursively();
        QProcessEnvironment env;
        env.insert(QStringLiteral("CORVADEX_SCREENSHOTS"), folder);
        const XServerRun run = runOnXServer({QStringLiteral("boardMidGameAndGameOver"), QStringLiteral("pickingWindow")}, env);
        if (!run.started) QSKIP("no Xvfb to start");
        QVERIFY2(run.finished && run.exitCode == 0, run.report.constData());
        QVERIFY2(run.report.contains("Totals: 4 passed, 0 failed, 0 skipped"), run.report.constData());
        // The photographs were taken (the run above checked what they show), of whole windows
        // with pictures on them rather than an empty screen.
        for (const char* name : {"board-midgame", "gameover-picking", "gameover-trade", "picking"}) {
            const QImage shot(folder + u'/' + QLatin1String(name) + QStringLiteral(".png"));
            QVERIFY2(shot.width() >= 500 && shot.height() >= 440, name);
            QSet<QRgb> colours;
            for (int y = 0; y < shot.height(); y += 3)
                for (int x = 0; x < shot.width(); x += 3) colours.insert(shot.pixel(x, y));
            QVERIFY2(colours.size() > 200, name);
        }
        qInfo("the X server's pictures: %s", qPrintable(folder));
    }
};

QTEST_MAIN(tst_boardlook)
#include "tst_boardlook.moc"
