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
#include <QMessageBox>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QtTest>

namespace {
// The colour most of a widget's picture shows.
QRgb groundOf(QWidget* w) {
    w->ensurePolished();
    const QImage picture = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> count;
    for (int y = 0; y < picture.height(); y += 2)
        for (int x = 0; x < picture.width(); x += 2) ++count[picture.pixel(x, y) & 0xFFFFFF];
    QRgb most = 0;
    for (auto it = count.begin(); it != count.end(); ++it)
        if (it.value() > count.value(most)) most = it.key();
    return most;
}

double luminance(const QColor& c) { return 0.2126 * c.redF() + 0.7152 * c.greenF() + 0.0722 * c.blueF(); }

// Contrast ratio of two colours (1 = none, 21 = black on white).
double contrast(const QColor& a, const QColor& b) {
    const double x = luminance(a), y = luminance(b);
    return (qMax(x, y) + 0.05) / (qMin(x, y) + 0.05);
}
}  // namespace

class tst_skinlook : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { ClientFixture::unloadAll(); }

    void menusLookLikeTheLobbysMenuBar_data() {
        QTest::addColumn<QString>("which");
        QTest::newRow("lobby menu") << "lobby";
        QTest::newRow("player popup") << "command";
        QTest::newRow("table popup") << "mnuTables";
        QTest::newRow("games popup") << "mnuchallengemenu";
        QTest::newRow("board menu bar") << "board bar";
        QTest::newRow("board options") << "board options";
    }
    void menusLookLikeTheLobbysMenuBar() {
        QFETCH(QString, which);
        LobbyLink l(QStringLiteral("kira"), ClientFixture::Skin);
        QMenu* lobbyMenu = l.lobby->menuBar()->findChildren<QMenu*>().value(0);
        QVERIFY(lobbyMenu);
        const QRgb ground = groundOf(lobbyMenu);
        QWidget* w = nullptr;
        if (which == QLatin1String("lobby")) w = lobbyMenu;
        else if (which == QLatin1String("board bar")) w = form<frmplaying>()->menuBar;
        else if (which == QLatin1String("board options")) w = form<frmplaying>()->mnuOptions;
        else w = form<frmmenu>()->findChild<QMenu*>(which);
        QVERIFY(w);
        QCOMPARE(QColor(groundOf(w)).name(), QColor(ground).name());
        save(w->grab().toImage(), qPrintable(QStringLiteral("menu-") + which));
        QCOMPARE(QColor(ground).name(), QStringLiteral("#1a1226"));
    }

    // The options window dresses its own controls; the stock dialogs it opens keep theirs, so
    // their labels and check boxes stand out from their ground.
    void stockDialogsStayReadable_data() {
        QTest::addColumn<QString>("which");
        QTest::newRow("font") << "font";
        QTest::newRow("colour") << "colour";
        QTest::newRow("message") << "message";
    }
    void stockDialogsStayReadable() {
        QFETCH(QString, which);
        LobbyLink l(QStringLiteral("kira"), ClientFixture::Skin);
        frmconfig* options = form<frmconfig>();
        QDialog* d = which == QLatin1String("font")     ? static_cast<QDialog*>(new QFontDialog(options))
                     : which == QLatin1String("colour") ? static_cast<QDialog*>(new QColorDialog(options))
                                                        : static_cast<QDialog*>(new QMessageBox(QMessageBox::Information, QStringLiteral("Corvadex"),
                                                                                                QStringLiteral("Saved."), QMessageBox::Ok, options));
        d->ensurePolished();
        int checked = 0;
        for (QWidget* text : d->findChildren<QWidget*>()) {
            if (!qobject_cast<QCheckBox*>(text) && !qobject_cast<QLabel*>(text)) continue;
            text->ensurePolished();
            const QColor ink = text->palette().color(QPalette::WindowText);
            const QColor ground = d->palette().color(QPalette::Window);
            QVERIFY2(contrast(ink, ground) > 3.0, qPrintable(text->metaObject()->className() + u' ' + ink.name() + u'/' + ground.name()));
            ++checked;
        }
        QVERIFY(checked > 0);
        save(d->grab().toImage(), qPrintable(QStringLiteral("dialog-") + which));
        // The window's own check boxes keep the skin's light text.
        options->showonoff->ensurePolished();
        QCOMPARE(options->showonoff->palette().color(QPalette::WindowText).name(), QStringLiteral("#e8dcc0"));
        delete d;
    }

    // A window opened over its owner is centred on it, and moved whole onto the screen where the
    // owner stands near an edge; one wider than the screen shows its left edge and title.
    void windowsOpenWholeOnTheScreen_data() {
        QTest::addColumn<QPoint>("owner");
        QTest::addColumn<bool>("room");
        QTest::newRow("owner in the middle") << QPoint(-1, -1) << false;
        QTest::newRow("owner at the left edge") << QPoint(0, 40) << false;
        QTest::newRow("owner at the top right") << QPoint(10000, 0) << false;
        QTest::newRow("owner below the screen") << QPoint(0, 10000) << false;
        QTest::newRow("four-seat room over a small lobby") << QPoint(0, 0) << true;
    }
    void windowsOpenWholeOnTheScreen() {
        QFETCH(QPoint, owner);
        QFETCH(bool, room);
        LobbyLink l(QStringLiteral("kira"), ClientFixture::Skin);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget small;
        small.resize(screen.width() / 2, screen.height() / 2);
        small.move(owner == QPoint(-1, -1) ? screen.center() - QPoint(small.width() / 2, small.height() / 2) : owner);
        small.show();
        QVERIFY(QTest::qWaitForWindowExposed(&small));
        QWidget box;
        box.resize(screen.width() / 3, screen.height() / 3);
        QWidget* placed = room ? static_cast<QWidget*>(form<frmchallengebox>()) : &box;
        PlaceOver(placed, &small);
        const QRect at(placed->pos(), placed->frameGeometry().size().expandedTo(placed->size()));
        QVERIFY2(screen.contains(at.topLeft()), qPrintable(QStringLiteral("%1,%2").arg(at.x()).arg(at.y())));
        if (!room) QVERIFY(screen.contains(at));
        if (owner == QPoint(-1, -1)) QVERIFY((at.center() - small.frameGeometry().center()).manhattanLength() <= 2);
    }
};

QTEST_MAIN(tst_skinlook)
#include "tst_skinlook.moc"
