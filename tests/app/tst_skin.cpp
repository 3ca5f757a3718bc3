// Skin values, the title strip colours of framed windows, and the skinned button, on the build's
// default skin unpacked into a temporary client folder.
#include "app/RFButton.h"
#include "app/modSettings.h"
#include "app/modSkin.h"
#include "app/storedvars.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/VbCompat.h"
#include "tests/support/ClientFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <cstdio>

namespace {
const QColor kBlue(31, 26, 211);
const QColor kWhite(255, 255, 255);

const QString kButtonSkinError = QStringLiteral(
    "There was a problem with your skin file.  Please check your [skin name].ini (default is default.ini in the "
    "skins\\default folder) to make sure it exists and that nothing is missing. The application will not close but "
    "all buttons will be black.");

struct TitleStrip {
    QWidget picture;
    QLabel* label = new QLabel(&picture);
};

// A button on a shown window.
struct ButtonOnWindow {
    QWidget window;
    RFButton* b = new RFButton(&window);
    bool show() {
        window.resize(200, 100);
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }
};

// The key of the picture a button shows, so that a reload can be told from no change.
qint64 shown(const RFButton& b) { return b.imgButton->pixmap().cacheKey(); }

QImage look(const ClientFixture& fx, const char* key) {
    QImage i(fx.path(QStringLiteral("skins/") + ReadIni("button", key, fx.path("skins/default.ini")).mid(1)));
    return i;
}
QImage shownImage(const RFButton& b) { return b.imgButton->pixmap().toImage(); }
}  // namespace

class TestSkin : public QObject {
    Q_OBJECT

private slots:
    // ---- Skin values ------------------------------------------------------------------------

    void emptySkinNameReadsTheDefaultSkin() {
        ClientFixture fx;
        QCOMPARE(SkinName, QString());
        QCOMPARE(GetSkinValue("button", "normal"), QStringLiteral("\\default\\button_normal.gif"));
        QCOMPARE(SkinName, QStringLiteral("default"));
        QCOMPARE(GetSkinValue("Button", "NORMAL"), QStringLiteral("\\default\\button_normal.gif"));
        QCOMPARE(GetSkinValue("button", "nosuchkey"), QString());
        QCOMPARE(GetSkinValue("nosuchsection", "normal"), QString());
    }

    void customSkinWithMissingKeys() {
        ClientFixture fx;
        fx.write("skins/Dark.ini", "[button]\r\nnormal=\\default\\button_down.gif\r\n[splash]\r\n");
        SkinName = "dark";
        QCOMPARE(GetSkinValue("button", "normal"), QStringLiteral("\\default\\button_down.gif"));
        QCOMPARE(GetSkinValue("button", "rollover"), QString());
        QCOMPARE(GetSkinValue("splash", "background"), QString());
        QVERIFY(SkinPicture("splash", "background").isNull());
        SkinName = "nosuchskin";
        QCOMPARE(GetSkinValue("button", "normal"), QString());
        QCOMPARE(SkinName, QStringLiteral("nosuchskin"));
    }

    void picturePaths() {
        ClientFixture fx;
        QCOMPARE(SkinPicturePath("\\default\\button_normal.gif"), fx.path("skins/default/button_normal.gif"));
        QCOMPARE(SkinPicturePath("\\DEFAULT\\Button_Normal.GIF"), fx.path("skins/default/button_normal.gif"));
        const QPixmap p = SkinPicture("button", "normal");
        QVERIFY(!p.isNull());
        QCOMPARE(p.toImage(), QImage(fx.path("skins/default/button_normal.gif")).convertToFormat(p.toImage().format()));
        fx.write("skins/default.ini", "[button]\r\nnormal=\\default\\missing.gif\r\n");
        QVERIFY(SkinPicture("button", "normal").isNull());
    }

    // A picture loaded, then something done to its file, then loaded again.
    void picturesFollowTheDisk_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("colour");  // of the picture loaded after, "" for none
        QTest::newRow("nothing") << "" << "#ff0000";
        QTest::newRow("saved again") << "save" << "#0000ff";
        QTest::newRow("renamed over") << "rename" << "#0000ff";
        QTest::newRow("removed") << "remove" << "";
        QTest::newRow("folder moved away") << "folder" << "";
    }
    void picturesFollowTheDisk() {
        QFETCH(QString, change);
        QFETCH(QString, colour);
        ClientFixture fx;
        const auto paint = [&](const QString& relative, Qt::GlobalColor c) {
            QImage image(4, 4, QImage::Format_RGB32);
            image.fill(c);
            QVERIFY(image.save(fx.path(relative), "PNG"));
        };
        QVERIFY(QDir().mkpath(fx.path("skins/look")));
        paint("skins/look/t.png", Qt::red);
        QPixmap p;
        QVERIFY(LoadClientPicture(p, "\\SKINS\\look\\t.png"));
        QCOMPARE(QColor(p.toImage().pixel(0, 0)).name(), QStringLiteral("#ff0000"));
        if (change == "save") paint("skins/look/t.png", Qt::blue);
        if (change == "rename") {
            paint("skins/look/new.png", Qt::blue);
            QVERIFY(::rename(QFile::encodeName(fx.path("skins/look/new.png")).constData(), QFile::encodeName(fx.path("skins/look/t.png")).constData()) == 0);
        }
        if (change == "remove") QVERIFY(QFile::remove(fx.path("skins/look/t.png")));
        if (change == "folder") QVERIFY(QDir().rename(fx.path("skins/look"), fx.path("skins/gone")));
        QPixmap again;
        QCOMPARE(LoadClientPicture(again, "\\SKINS\\look\\t.png"), !colour.isEmpty());
        if (!colour.isEmpty()) QCOMPARE(QColor(again.toImage().pixel(0, 0)).name(), colour);
    }

    // ---- Title strip ------------------------------------------------------------------------

    void titleBarBeforeLogin() {
        ClientFixture fx;
        Nickname.clear();
        // Whatever a settings file holds, nobody is logged in.
        fx.write("config/.cvc", "[Options]\r\nTitleBG=255\r\nTitleFG=65280\r\nTitleFont=Courier\r\n");
        TitleStrip t;
        clsBaseForm().TileBar(&t.picture, t.label, "Options <b>x</b>");
        QCOMPARE(t.picture.palette().color(QPalette::Window), kBlue);
        QVERIFY(t.picture.autoFillBackground());
        QCOMPARE(t.label->palette().color(QPalette::WindowText), kWhite);
        QCOMPARE(t.label->font().family(), QStringLiteral("Arial"));
        QCOMPARE(t.label->font().pointSizeF(), 10.0);  // the default skin's tilebarsize
        QCOMPARE(t.label->text(), QStringLiteral("Options <b>x</b>"));
        QCOMPARE(t.label->textFormat(), Qt::PlainText);
    }

    void titleBarOfALoggedInUser_data() {
        QTest::addColumn<QByteArray>("options");
        QTest::addColumn<QColor>("bg");
        QTest::addColumn<QColor>("fg");
        QTest::addColumn<QString>("font");
        QTest::newRow("chosen") << QByteArray("TitleBG=255\r\nTitleFG=65280\r\nTitleFont=Courier\r\n") << QColor(255, 0, 0)
                                << QColor(0, 255, 0) << "Courier";
        QTest::newRow("zeros") << QByteArray("TitleBG=0\r\nTitleFG=0\r\nTitleFont=\r\n") << kBlue << kWhite << "Arial";
        QTest::newRow("missing") << QByteArray() << kBlue << kWhite << "Arial";
        QTest::newRow("leading numbers") << QByteArray("TitleBG=16711680 blue\r\nTitleFG=abc\r\n") << QColor(0, 0, 255)
                                         << kWhite << "Arial";
        QTest::newRow("hex") << QByteArray("TitleBG=&H00FFFF\r\nTitleFG=&HFFFFFF\r\n") << QColor(255, 255, 0) << kWhite
                             << "Arial";
        // Beyond any whole number: as if not set.
        QTest::newRow("too large") << QByteArray("TitleBG=1e999\r\nTitleFG=-1e300\r\n") << kBlue << kWhite << "Arial";
    }

    void titleBarOfALoggedInUser() {
        QFETCH(QByteArray, options);
        QFETCH(QColor, bg);
        QFETCH(QColor, fg);
        QFETCH(QString, font);
        ClientFixture fx;
        Nickname = "anna";
        fx.write("config/anna.cvc", "[Options]\r\n" + options);
        TitleStrip t;
        clsBaseForm().TileBar(&t.picture, t.label, "Pick");
        QCOMPARE(t.picture.palette().color(QPalette::Window), bg);
        QCOMPARE(t.label->palette().color(QPalette::WindowText), fg);
        QCOMPARE(t.label->font().family(), font);
        QCOMPARE(t.label->text(), QStringLiteral("Pick"));
    }

    void titleBarFontSizeFromTheSkin() {
        ClientFixture fx;
        fx.write("skins/default.ini", "[baseform]\r\ntilebarsize=14pt\r\n");
        TitleStrip t;
        clsBaseForm().TileBar(&t.picture, t.label, "x");
        QCOMPARE(t.label->font().pointSizeF(), 14.0);
        // No number, or none at all, is size 0: the system's default size, not the label's own.
        for (const char* skin : {"[baseform]\r\ntilebarsize=big\r\n", "[baseform]\r\ntilebarsize=0\r\n", "[main]\r\n"}) {
            fx.write("skins/default.ini", skin);
            TitleStrip u;
            QFont large = u.label->font();
            large.setPointSizeF(21);
            u.label->setFont(large);
            clsBaseForm().TileBar(&u.picture, u.label, "x");
            QCOMPARE(u.label->font().pointSizeF(), QApplication::font().pointSizeF());
        }
        clsBaseForm().TileBar(nullptr, nullptr, "no strip");  // nothing to colour, no crash
    }

    void containerHoldsTheFramedBackground() {
        ClientFixture fx;
        clsBaseForm b;
        b.LoadContainer(2);
        QVERIFY(!ifLoaded<frmCon>() || ifLoaded<frmCon>()->picBG.isNull());
        b.LoadContainer(1);
        QVERIFY(ifLoaded<frmCon>());
        QVERIFY(!ifLoaded<frmCon>()->picBG.isNull());
        QWidget w;
        b.Load(&w);
        QVERIFY(w.autoFillBackground());
        QVERIFY(!w.palette().brush(QPalette::Window).texture().isNull());
        QVERIFY(ifLoaded<frmCon>()->picBG.isNull());  // the holder is cleared afterwards
    }

    // ---- Skinned button ---------------------------------------------------------------------

    void buttonStartsNormal() {
        ClientFixture fx;
        RFButton b;
        QCOMPARE(b.ButtonState(), QStringLiteral("normal"));
        QCOMPARE(shownImage(b), look(fx, "normal").convertToFormat(shownImage(b).format()));
        QCOMPARE(b.size(), QSize(100, 21));
        QCOMPARE(b.imgButton->objectName(), QStringLiteral("imgButton"));
        QCOMPARE(b.lblCaption->objectName(), QStringLiteral("lblCaption"));
        QCOMPARE(b.lblCaption->textFormat(), Qt::PlainText);
        b.ButtonCaption("Login");
        QCOMPARE(b.ButtonCaption(), QStringLiteral("Login"));
        QCOMPARE(b.lblCaption->text(), QStringLiteral("Login"));
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
        // The skin's hand, taken from the socket window.
        QVERIFY(ifLoaded<frmCon>());
        QCOMPARE(b.cursor().shape(), Qt::BitmapCursor);
    }

    void buttonLooksFollowThePointer() {
        ClientFixture fx;
        ButtonOnWindow w;
        RFButton* b = w.b;
        b->move(10, 10);
        QVERIFY(w.show());
        QSignalSpy clicks(b, &RFButton::Click);
        const qint64 normal = shown(*b);

        QTest::mouseMove(b, QPoint(20, 10));
        QCOMPARE(b->ButtonState(), QStringLiteral("rollover"));
        QCOMPARE(shownImage(*b), look(fx, "rollover").convertToFormat(shownImage(*b).format()));
        const qint64 rollover = shown(*b);
        QVERIFY(rollover != normal);
        QTest::mouseMove(b, QPoint(30, 12));
        QTest::mouseMove(b, QPoint(40, 14));
        QCOMPARE(shown(*b), rollover);  // loaded once

        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(20, 10));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(b->ButtonState(), QStringLiteral("down"));
        QCOMPARE(shownImage(*b), look(fx, "down").convertToFormat(shownImage(*b).format()));
        const qint64 down = shown(*b);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(20, 10));
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(shown(*b), down);  // nothing reloaded

        b->RolloverRelease();
        QCOMPARE(b->ButtonState(), QStringLiteral("normal"));
        QCOMPARE(shownImage(*b), look(fx, "normal").convertToFormat(shownImage(*b).format()));
        const qint64 released = shown(*b);
        b->RolloverRelease();
        QCOMPARE(shown(*b), released);

        // A press that is let go outside the button is no click.
        QTest::mousePress(b, Qt::LeftButton, {}, QPoint(20, 10));
        QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(150, 60));
        QCOMPARE(clicks.count(), 2);
    }

    void stateSetByCode() {
        ClientFixture fx;
        ButtonOnWindow w;
        RFButton* b = w.b;
        QVERIFY(w.show());
        QSignalSpy clicks(b, &RFButton::Click);
        const qint64 normal = shown(*b);
        b->ButtonState("down");
        QCOMPARE(shown(*b), normal);  // setting the state loads nothing
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(shown(*b), normal);
        // The keyboard clicks too.
        b->setFocus();
        QTest::keyClick(b, Qt::Key_Space);
        QCOMPARE(clicks.count(), 2);
    }

    void enabledGoesToLabelAndImage() {
        ClientFixture fx;
        ButtonOnWindow w;
        RFButton* b = w.b;
        QVERIFY(w.show());
        QSignalSpy clicks(b, &RFButton::Click);
        b->Enabled(false);
        QVERIFY(!b->Enabled());
        QVERIFY(!b->lblCaption->isEnabled());
        QVERIFY(!b->imgButton->isEnabled());
        QVERIFY(!b->isEnabled());
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicks.count(), 0);
        b->Enabled(true);
        QVERIFY(b->Enabled() && b->imgButton->isEnabled() && b->isEnabled());
        b->lblCaption->setEnabled(false);
        QVERIFY(!b->Enabled());  // read from the label
    }

    void sizeIsKept() {
        ClientFixture fx;
        ButtonOnWindow w;
        RFButton* b = w.b;
        b->resize(300, 80);
        b->setGeometry(0, 0, 10, 10);
        QVERIFY(w.show());
        QCOMPARE(b->size(), QSize(RFButton::kWidthTwips / 15, RFButton::kHeightTwips / 15));
    }

    void missingButtonPictures() {
        ClientFixture fx;
        fx.write("skins/default.ini", "[main]\r\ncardback=\\default\\cardback.jpg\r\ncursor=\\default\\cursor.gif\r\n");
        ButtonOnWindow w;
        RFButton* b = w.b;
        QCOMPARE(fx.services.dialogs->boxes.size(), 1);
        QCOMPARE(fx.services.dialogs->boxes[0].title, QStringLiteral("Skin Error"));
        QCOMPARE(fx.services.dialogs->boxes[0].text, kButtonSkinError);
        QCOMPARE(fx.services.dialogs->boxes[0].style, int(vb::Critical));
        QCOMPARE(fx.services.lifecycle->ends, 0);  // the program goes on
        QVERIFY(b->imgButton->pixmap().isNull());
        QCOMPARE(b->palette().color(QPalette::Window), QColor(Qt::black));
        QVERIFY(b->cursor().shape() != Qt::BitmapCursor);
        // A click still reaches the window.
        QVERIFY(w.show());
        QSignalSpy clicks(b, &RFButton::Click);
        QTest::mouseMove(b, QPoint(5, 5));
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(fx.services.dialogs->boxes.size(), 1);
    }

    void missingRolloverLook() {
        ClientFixture fx;
        QByteArray ini = fx.read("skins/default.ini");
        ini.replace("rollover=\\default\\button_rollover.gif", "rollover=\\default\\gone.gif");
        fx.write("skins/default.ini", ini);
        ButtonOnWindow w;
        RFButton* b = w.b;
        QVERIFY(w.show());
        QSignalSpy clicks(b, &RFButton::Click);
        QTest::mouseMove(b, QPoint(5, 5));
        QCOMPARE(b->ButtonState(), QStringLiteral("normal"));
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(b->ButtonState(), QStringLiteral("down"));
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
    }
};

QTEST_MAIN(TestSkin)
#include "tst_skin.moc"
