// The options window (defaults written on opening, the skin list, saving, staying in front of
// the lobby) and snapshots. What needs a real X server (the screen photographed, windows stacked)
// runs again on an Xvfb of its own.
#include "ClientFixture.h"
#include "LobbyHelpers.h"
#include "Screenshots.h"
#include "XServer.h"

#include "app/frmconfig.h"
#include "app/modSettings.h"
#include "app/modSnapshot.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat.h"
#include "platform/Forms.h"
#include "platform/Ini.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDir>
#include <QFontDialog>
#include <QImage>
#include <QScreen>
#include <QtTest>

namespace {
QString option(const QString& section, const QString& key) { return ReadIni(section, key, GetIniFile()); }

struct OptionsClient {
    ClientFixture fx;
    OptionsClient() {
        Nickname = QStringLiteral("kira");
        WriteIni(QStringLiteral("startup"), QStringLiteral("skin"), QStringLiteral("default"), MainIniPath());
    }
};

frmchildchat* lobbyAtTheTopLeft() {
    frmchildchat* lobby = form<frmchildchat>();
    lobby->move(0, 0);
    lobby->show();
    return lobby;
}

const QStringList kKeys = {QStringLiteral("Sounds"),  QStringLiteral("Chatlog"),  QStringLiteral("Music"),
                           QStringLiteral("Random"),  QStringLiteral("Minimize"), QStringLiteral("TitleBG"),
                           QStringLiteral("TitleFG"), QStringLiteral("TitleFont"), QStringLiteral("Replays"),
                           QStringLiteral("Reconnect")};
}  // namespace

class tst_options : public QObject {
    Q_OBJECT

private slots:
    void openingWritesMissingDefaults() {
        OptionsClient c;
        // An empty value counts as missing; a present one stays.
        WriteIni(QStringLiteral("Options"), QStringLiteral("Music"), QString(), GetIniFile());
        WriteIni(QStringLiteral("Options"), QStringLiteral("Chatlog"), QStringLiteral("1"), GetIniFile());
        frmconfig* w = form<frmconfig>();
        QCOMPARE(option(QStringLiteral("Chat"), QStringLiteral("ShowJoinPart")), QStringLiteral("1"));
        const QStringList expected = {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("0"),
                                      QStringLiteral("0"), QStringLiteral("13834783"), QStringLiteral("16777215"),
                                      QStringLiteral("Ringbearer"), QStringLiteral("1"), QStringLiteral("10")};
        for (int i = 0; i < kKeys.size(); ++i) QCOMPARE(option(QStringLiteral("Options"), kKeys[i]), expected[i]);
        QVERIFY(w->showonoff->isChecked());
        QVERIFY(w->enablesounds->isChecked());
        QVERIFY(w->chklogchat->isChecked());
        QVERIFY(!w->chkmusic->isChecked());
        QVERIFY(!w->chkrandom->isChecked());
        QVERIFY(!w->chkmini->isChecked());
        QVERIFY(w->chkReplay->isChecked());
        QCOMPARE(w->txtTitleBG->text(), QStringLiteral("13834783"));
        QCOMPARE(w->txtTitleFG->text(), QStringLiteral("16777215"));
        QCOMPARE(w->txtTitleFont->text(), QStringLiteral("Ringbearer"));
        QCOMPARE(w->txtReconnectAttempts->text(), QStringLiteral("10"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Configuration"));
        QCOMPARE(w->lblTitle->text(), QStringLiteral("Configuration"));
        QCOMPARE(w->cmdSave->ButtonCaption(), QStringLiteral("Save"));
        QCOMPARE(w->cmbSkin->currentText(), QStringLiteral("default"));
    }

    void storedTextsFillTheControls() {
        OptionsClient c;
        WriteIni(QStringLiteral("Options"), QStringLiteral("Reconnect"), QStringLiteral("7 tries"), GetIniFile());
        WriteIni(QStringLiteral("Options"), QStringLiteral("Random"), QStringLiteral("1"), GetIniFile());
        WriteIni(QStringLiteral("Options"), QStringLiteral("TitleBG"), QStringLiteral("255"), GetIniFile());
        frmconfig* w = form<frmconfig>();
        QCOMPARE(w->txtReconnectAttempts->text(), QStringLiteral("7"));
        QVERIFY(w->chkrandom->isChecked());
        QCOMPARE(w->txtTitleBG->text(), QStringLiteral("255"));
        // The title strip takes the stored colour.
        QCOMPARE(w->picTitle->palette().color(QPalette::Window), QColor(255, 0, 0));
    }

    void skinList() {
        OptionsClient c;
        c.fx.write(QStringLiteral("skins/Night.ini"), "[main]\r\n");
        c.fx.write(QStringLiteral("skins/default.old.ini"), "[main]\r\n");
        c.fx.write(QStringLiteral("skins/readme.txt"), "not a skin");
        WriteIni(QStringLiteral("startup"), QStringLiteral("skin"), QStringLiteral("night"), MainIniPath());
        frmconfig* w = form<frmconfig>();
        QStringList items;
        for (int i = 0; i < w->cmbSkin->count(); ++i) items << w->cmbSkin->itemText(i);
        QCOMPARE(items, (QStringList{QStringLiteral("default"), QStringLiteral("default"), QStringLiteral("Night")}));
        QCOMPARE(w->cmbSkin->currentText(), QStringLiteral("Night"));
    }

    void saveWritesEveryKeyAndMainIni() {
        OptionsClient c;
        Nickname = QStringLiteral("kira");
        frmconfig* w = form<frmconfig>();
        c.fx.write(QStringLiteral("skins/Night.ini"), "[main]\r\n");
        w->cmbSkin->addItem(QStringLiteral("Night"));
        w->showonoff->setChecked(false);
        w->enablesounds->setChecked(false);
        w->chklogchat->setChecked(true);
        w->chkmusic->setChecked(true);
        w->chkrandom->setChecked(true);
        w->chkmini->setChecked(true);
        w->chkReplay->setChecked(false);
        w->txtTitleBG->setText(QStringLiteral("65280"));
        w->txtTitleFG->setText(QStringLiteral("not a colour"));
        w->txtTitleFont->setText(QStringLiteral("Arial"));
        w->txtReconnectAttempts->setText(QStringLiteral("3x"));
        w->cmbSkin->setCurrentText(QStringLiteral("Night"));
        w->cmdSave_Click();
        QCOMPARE(option(QStringLiteral("Chat"), QStringLiteral("ShowJoinPart")), QStringLiteral("0"));
        const QStringList expected = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                                      QStringLiteral("1"), QStringLiteral("65280"), QStringLiteral("not a colour"),
                                      QStringLiteral("Arial"), QStringLiteral("0"), QStringLiteral("3x")};
        for (int i = 0; i < kKeys.size(); ++i) QCOMPARE(option(QStringLiteral("Options"), kKeys[i]), expected[i]);
        QCOMPARE(ReadIni(QStringLiteral("startup"), QStringLiteral("skin"), MainIniPath()), QStringLiteral("Night"));
        // The new title colour shows at once; the window stays open.
        QCOMPARE(w->picTitle->palette().color(QPalette::Window), QColor(0, 255, 0));
        QVERIFY(ifLoaded<frmconfig>());
        frmchildchat* lobby = ifLoaded<frmchildchat>();
        QVERIFY(lobby);
        QCOMPARE(countLinesContaining(lobby->chatin, QStringLiteral("<Saved>  Your configuration changes have been saved.  You may "
                                                                    "need to relog for some changes to take effect.")),
                 1);
        QCOMPARE(runsOf(lobby->chatin).first().colour, 65535L);
        QCOMPARE(c.fx.services.dialogs->boxes.size(), 0);
    }

    void closeDialogClicksAndUnloads() {
        ClientFixture fx{ClientFixture::Skin | ClientFixture::Wavs};
        Nickname = QStringLiteral("kira");
        WriteIni(QStringLiteral("startup"), QStringLiteral("skin"), QStringLiteral("default"), MainIniPath());
        frmconfig* w = form<frmconfig>();
        const qsizetype before = fx.services.sound->played.size();
        w->CloseDialog();
        QVERIFY(!ifLoaded<frmconfig>());
        QCOMPARE(fx.services.sound->played.size(), before + 1);
        QVERIFY(fx.services.sound->played.last().endsWith(QStringLiteral("/wavs/beep.wav")));
    }

    void saveRefusedWithoutASkin() {
        OptionsClient c;
        QDir(c.fx.path(QStringLiteral("skins"))).remove(QStringLiteral("default.ini"));
        frmconfig* w = form<frmconfig>();
        QCOMPARE(w->cmbSkin->count(), 0);
        w->chkmini->setChecked(true);
        w->cmdSave_Click();
        // Without any skin file the button has no picture either and says so first.
        QCOMPARE(c.fx.services.dialogs->titles(), (QStringList{QStringLiteral("Skin Error"), QStringLiteral("Error")}));
        QCOMPARE(c.fx.services.dialogs->boxes[1].text,
                 QStringLiteral("You must select a skin.  This is critical because changing the skin setting may result in loss in "
                                "the ability to play Corvadex.  Also, changing the skin affects all players who play on this "
                                "computer."));
        QCOMPARE(option(QStringLiteral("Options"), QStringLiteral("Minimize")), QStringLiteral("0"));
        QCOMPARE(ReadIni(QStringLiteral("startup"), QStringLiteral("skin"), MainIniPath()), QStringLiteral("default"));
    }

    void skinOfMainIniNotInTheListIsNoChoice() {
        OptionsClient c;
        WriteIni(QStringLiteral("startup"), QStringLiteral("skin"), QStringLiteral("gone"), MainIniPath());
        frmconfig* w = form<frmconfig>();
        QCOMPARE(w->cmbSkin->currentText(), QString());
        w->cmdSave_Click();
        QCOMPARE(c.fx.services.dialogs->count(QStringLiteral("Error")), 1);
    }

    void pickers() {
        OptionsClient c;
        frmconfig* w = form<frmconfig>();
        w->show();
        // The colour dialog answers with a colour chosen while it is open.
        QTimer::singleShot(50, [] {
            auto* d = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            if (!d) return;
            d->setCurrentColor(QColor(1, 2, 3));
            d->accept();
        });
        w->cmdBackgroundColor_Click();
        QCOMPARE(w->txtTitleBG->text(), QString::number(1 + 2 * 256 + 3 * 65536));
        QTimer::singleShot(50, [] {
            if (auto* d = qobject_cast<QColorDialog*>(QApplication::activeModalWidget())) d->reject();
        });
        w->cmdForeGroundColor_Click();
        QCOMPARE(w->txtTitleFG->text(), QStringLiteral("16777215"));
        QTimer::singleShot(50, [] {
            auto* d = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            if (!d) return;
            d->setCurrentFont(QFont(QStringLiteral("DejaVu Serif")));
            d->accept();
        });
        w->cmdTitleFont_Click();
        QCOMPARE(w->txtTitleFont->text(), QStringLiteral("DejaVu Serif"));
    }

    // ---- Snapshots --------------------------------------------------------------------------

    void snapshotTakesTheFirstFreeNumber() {
        ClientFixture fx;
        fx.write(QStringLiteral("snapshots/snap0.bmp"), "x");
        fx.write(QStringLiteral("snapshots/snap2.bmp"), "x");
        frmchildchat* lobby = form<frmchildchat>();
        lobby->show();
        QVERIFY(TakeSnapshot());
        const QString path = fx.path(QStringLiteral("snapshots/snap1.bmp"));
        const QImage picture(path, "BMP");
        QVERIFY(!picture.isNull());
        QCOMPARE(picture.size(), lobby->size());
        QCOMPARE(fx.read(QStringLiteral("snapshots/snap2.bmp")), QByteArray("x"));
        const QStringList lines = linesOf(lobby->chatin);
        QCOMPARE(lines[0], QStringLiteral("<Snap>  Snapshot taken.  The snapshot was stored at: ") + path);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[2].startsWith(QStringLiteral("Note: Snapshots will only take pictures of the chat window.")));
        QCOMPARE(runsOf(lobby->chatin).first().colour, 65535L);
        QVERIFY(TakeSnapshot());
        QVERIFY(fx.exists(QStringLiteral("snapshots/snap3.bmp")));
    }

    void snapshotFolderIsMadeAndTheClipboardLeftAlone() {
        ClientFixture fx;
        QApplication::clipboard()->setText(QStringLiteral("mine"));
        QVERIFY(!fx.exists(QStringLiteral("snapshots")));
        QVERIFY(TakeSnapshot());
        QVERIFY(fx.exists(QStringLiteral("snapshots/snap0.bmp")));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("mine"));
    }

    void fullSnapshotFolder() {
        ClientFixture fx;
        QDir().mkpath(fx.folder() + QStringLiteral("/snapshots"));
        for (int n = 0; n < 10000; ++n) {
            QFile f(fx.folder() + QStringLiteral("/snapshots/snap") + QString::number(n) + QStringLiteral(".bmp"));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QVERIFY(!TakeSnapshot());
        QVERIFY(!fx.exists(QStringLiteral("snapshots/snap10000.bmp")));
        QCOMPARE(linesOf(form<frmchildchat>()->chatin).first().section(u' ', 0, -2),
                 QStringLiteral("<Error>  Too much snap shots in the snapshots directory, erase some"));
    }

    void snapshotThatCannotBeSaved() {
        ClientFixture fx;
        // A file where the folder should be: no picture can be stored below it.
        fx.write(QStringLiteral("snapshots"), "not a folder");
        QVERIFY(!TakeSnapshot());
        QCOMPARE(fx.services.dialogs->boxes.size(), 1);
        QCOMPARE(fx.services.dialogs->boxes[0].text, QStringLiteral("Error Occured in SnapShot. Error #: 75, Path/File access error"));
        QCOMPARE(fx.services.dialogs->boxes[0].style, int(vb::OKOnly));
        QCOMPARE(fx.read(QStringLiteral("snapshots")), QByteArray("not a folder"));
    }

    // ---- On an X server ---------------------------------------------------------------------

    void snapshotPhotographsTheScreen() {
        if (!onXServer()) QSKIP("needs an X server: see onAnXServer");
        ClientFixture fx;
        frmchildchat* lobby = lobbyAtTheTopLeft();
        // Another window beside the lobby, in a colour of its own.
        QWidget beside;
        beside.setWindowFlag(Qt::FramelessWindowHint);
        beside.setAutoFillBackground(true);
        beside.setPalette(QPalette(QColor(255, 0, 255)));
        const QRect screen = lobby->screen()->geometry();
        beside.setGeometry(screen.right() - 80, screen.bottom() - 60, 70, 50);
        QVERIFY(!beside.geometry().intersects(lobby->frameGeometry()));
        beside.show();
        QVERIFY(QTest::qWaitForWindowExposed(lobby) && QTest::qWaitForWindowExposed(&beside));
        QTest::qWait(300);
        QVERIFY(TakeSnapshot());
        const QImage picture(fx.path(QStringLiteral("snapshots/snap0.bmp")), "BMP");
        save(picture, "snapshot");
        QCOMPARE(picture.size(), screen.size() * lobby->screen()->devicePixelRatio());
        QCOMPARE(QColor(picture.pixel(beside.geometry().center())), QColor(255, 0, 255));
        QVERIFY(difference(picture.copy(QRect(lobby->mapToGlobal(QPoint(0, 0)), lobby->size())), lobby->grab().toImage()) < 0.05);
    }

    void optionsStayInFrontOfTheLobby() {
        if (!onXServer()) QSKIP("needs an X server: see onAnXServer");
        OptionsClient c;
        frmchildchat* lobby = lobbyAtTheTopLeft();
        QVERIFY(QTest::qWaitForWindowExposed(lobby));
        lobby->mnuconfig_Click();
        frmconfig* options = ifLoaded<frmconfig>();
        QVERIFY(options && QTest::qWaitForWindowExposed(options));
        // The player clicks into the lobby: it takes the keyboard, the options stay over it.
        lobby->raise();
        lobby->activateWindow();
        QVERIFY(QTest::qWaitFor([&] { return lobby->isActiveWindow(); }, 5000));
        QTest::qWait(300);
        QVERIFY(lobby->isActiveWindow());
        const QPoint at = options->mapToGlobal(QPoint(0, 0));
        const QImage seen = options->screen()->grabWindow(0, at.x(), at.y(), options->width(), options->height()).toImage();
        save(seen, "options-over-lobby");
        QVERIFY(difference(seen, options->grab().toImage()) < 0.05);
    }

    void onAnXServer() {
        if (onXServer()) QSKIP("this is the run on the X server");
        const XServerRun run = runOnXServer({QStringLiteral("snapshotPhotographsTheScreen"), QStringLiteral("optionsStayInFrontOfTheLobby")});
        if (!run.started) QSKIP("no Xvfb to start");
        QVERIFY2(run.finished && run.exitCode == 0, run.report.constData());
        QVERIFY2(run.report.contains("Totals: 4 passed, 0 failed, 0 skipped"), run.report.constData());
    }
};

QTEST_MAIN(tst_options)
#include "tst_options.moc"
