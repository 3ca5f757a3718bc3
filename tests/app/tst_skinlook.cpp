// One look: the popup menus and the game board's menu bar are dressed like the lobby's menu bar;
// the stock dialogs opened from the client's own windows stay readable; windows opened over their
// owner open whole on the screen.
#include "LobbyLink.h"
#include "Screenshots.h"

#include "app/frmconfig.h"
#include "game/frmplaying.h"
#include "lobby/frmmenu.h"
#include "platform/WindowPlacement.h"
#include "tables/frmchallengebox.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QtTest>

namespace {
// The colour most of a widget's picture shows.
QString groundOf(QWidget* w) {
    const QImage picture = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> count;
    for (int y = 0; y < picture.height(); y += 2)
        for (int x = 0; x < picture.width(); x += 2) ++count[picture.pixel(x, y)];
    save(picture, qPrintable(w->objectName()));
    return QColor(std::max_element(count.begin(), count.end()).key()).name();
}
}  // namespace

class tst_skinlook : public QObject {
    Q_OBJECT

private slots:
    void menusLookLikeTheLobbysMenuBar_data() {
        QTest::addColumn<QString>("which");
        for (const char* menu : {"command", "mnuTables", "mnuchallengemenu", "board bar", "mnuOptions"}) QTest::newRow(menu) << menu;
    }
    void menusLookLikeTheLobbysMenuBar() {
        QFETCH(QString, which);
        LobbyLink l(QStringLiteral("kira"), ClientFixture::Skin);
        QCOMPARE(groundOf(l.lobby->menuBar()->findChildren<QMenu*>().value(0)), QStringLiteral("#1a1226"));
        QWidget* w = which == QLatin1String("board bar")    ? static_cast<QWidget*>(form<frmplaying>()->menuBar)
                     : which == QLatin1String("mnuOptions") ? form<frmplaying>()->mnuOptions
                                                            : form<frmmenu>()->findChild<QMenu*>(which);
        QCOMPARE(groundOf(w), QStringLiteral("#1a1226"));
    }

    // The options window dresses only its own controls: the stock dialogs it opens keep light
    // text off their light ground.
    void stockDialogsStayReadable_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("font") << 0;
        QTest::newRow("colour") << 1;
        QTest::newRow("message") << 2;
    }
    void stockDialogsStayReadable() {
        QFETCH(int, kind);
        LobbyLink l(QStringLiteral("kira"), ClientFixture::Skin);
        frmconfig* options = form<frmconfig>();
        std::unique_ptr<QDialog> d(kind == 0   ? static_cast<QDialog*>(new QFontDialog(options))
                                   : kind == 1 ? static_cast<QDialog*>(new QColorDialog(options))
                                               : new QMessageBox(QMessageBox::Information, "Corvadex", "Saved.", QMessageBox::Ok, options));
        d->ensurePolished();
        const int ground = d->palette().color(QPalette::Window).lightness();
        int texts = 0;
        for (QWidget* text : d->findChildren<QWidget*>()) {
            if (!qobject_cast<QCheckBox*>(text) && !qobject_cast<QLabel*>(text)) continue;
            text->ensurePolished();
            QVERIFY2(qAbs(text->palette().color(QPalette::WindowText).lightness() - ground) > 100, text->metaObject()->className());
            ++texts;
        }
        QVERIFY(texts > 0);
        options->showonoff->ensurePolished();
        QCOMPARE(options->showonoff->palette().color(QPalette::WindowText).name(), QStringLiteral("#e8dcc0"));
    }

    // Centred over its owner, and moved whole onto the screen where the owner stands near an edge;
    // the four-seat room, wider than the screen here, shows its left edge and title.
    void windowsOpenWholeOnTheScreen_data() {
        QTest::addColumn<QPoint>("owner");
        QTest::addColumn<bool>("room");
        QTest::newRow("owner in the middle") << QPoint(-1, -1) << false;
        QTest::newRow("owner at the top right") << QPoint(10000, 0) << false;
        QTest::newRow("owner below the screen") << QPoint(0, 10000) << false;
        QTest::newRow("four-seat room over the lobby") << QPoint(0, 0) << true;
    }
    void windowsOpenWholeOnTheScreen() {
        QFETCH(QPoint, owner);
        QFETCH(bool, room);
        LobbyLink l(QStringLiteral("kira"), ClientFixture::Skin);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget lobby, box;
        lobby.resize(screen.size() / 2);
        lobby.move(owner == QPoint(-1, -1) ? screen.center() - QPoint(lobby.width() / 2, lobby.height() / 2) : owner);
        lobby.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lobby));
        box.resize(screen.size() / 3);
        QWidget* placed = room ? static_cast<QWidget*>(form<frmchallengebox>()) : &box;
        PlaceOver(placed, &lobby);
        const QRect at(placed->pos(), placed->size());
        QVERIFY(screen.contains(at.topLeft()));
        QVERIFY(room || screen.contains(at));
        if (owner == QPoint(-1, -1)) QVERIFY((at.center() - lobby.frameGeometry().center()).manhattanLength() <= 2);
    }
};

QTEST_MAIN(tst_skinlook)
#include "tst_skinlook.moc"
