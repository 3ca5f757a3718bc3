// How the rooms and dialogs look: filled from server lines, grabbed, and checked where a player
// looks: the skin's background and borders, the avatars in their seats, the title strip, the
// buttons with their captions. With CORVADEX_SCREENSHOTS set to a folder the pictures are saved.
#include "FakeWebService.h"
#include "RoomLink.h"
#include "Screenshots.h"

#include "app/HttpClient.h"
#include "tables/frmchallengebox.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"
#include "tables/frmfavrules.h"
#include "tables/frmocv_setup.h"
#include "tables/frmtradebox.h"

#include <QPainter>
#include <QtTest>

namespace {
void save(QWidget* w, const char* name) { ::save(w->grab().toImage(), name); }

// The part of the window's own drawing where the child stands.
QImage shot(QWidget* window, QWidget* child) {
    return part(window->grab().toImage().convertToFormat(QImage::Format_RGB32), window, child);
}

// The avatar as its three layers composed, scaled to the seat.
QImage avatar(const ClientFixture& f, const QString& background, const QString& body, const QString& head, QSize size) {
    QImage out(f.path(QStringLiteral("skins/default/avatars/background_") + background + QStringLiteral(".gif")));
    out = out.convertToFormat(QImage::Format_ARGB32);
    QPainter p(&out);
    p.drawImage(0, 0, QImage(f.path(QStringLiteral("skins/default/avatars/") + body)));
    p.drawImage(0, 0, QImage(f.path(QStringLiteral("skins/default/avatars/") + head)));
    p.end();
    return out.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// True when the window's empty corner shows the skin's background picture, not a plain colour.
bool skinned(QWidget* w, const ClientFixture& f) {
    const QImage grabbed = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage ground = QImage(f.path(QStringLiteral("skins/default/baseform.jpg"))).convertToFormat(QImage::Format_RGB32);
    const QRect corner(w->width() - 40, w->height() - 30, 30, 20);
    // The picture is tiled over a window larger than itself.
    const QRect tile(corner.x() % ground.width(), corner.y() % ground.height(), corner.width(), corner.height());
    return difference(grabbed.copy(corner), ground.copy(tile)) < 0.05;
}
}  // namespace

class tst_roomlook : public QObject {
    Q_OBJECT

private slots:
    void twoSeatRoom() {
        RoomLink l;
        l.creator(true);
        l.receive({QStringLiteral("CHALLENGEBOXS 5 kira Nyx 250 1%200%200%200%200%200%200%200%201%201%200%200%200%200%200%200%200%201%200%200"
                                  "%200%200%200%200%200%200%200%200%200%200%200%200%200%200%200%200%200%200%200%200@@Corvada@@Ashfall"),
                   QStringLiteral("CHALLENGEAVATARS 1 001 002 003 f"), QStringLiteral("CHALLENGEAVATARS 2 003 001 002 m"),
                   QStringLiteral("CHALLENGEREADYS 2 1"), QStringLiteral("CHALLENGECHATS Nyx good luck"),
                   QStringLiteral("CHALLENGECHATS *** Nyx is ready.")});
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        room->Form_Paint();
        save(room, "room_two_seats");
        QVERIFY(skinned(room, *l.fx));
        const QSize seat = room->picavatar[0]->size();
        QVERIFY(difference(shot(room, room->picavatar[0]), avatar(*l.fx, "001", "f_body_003.gif", "f_head_002.gif", seat)) < 0.1);
        QVERIFY(difference(shot(room, room->picavatar[1]), avatar(*l.fx, "003", "m_body_002.gif", "m_head_001.gif", seat)) < 0.1);
        // The borders frame the seats: the skin's border picture stands around each.
        const QImage border = QImage(l.fx->path(QStringLiteral("skins/default/border.gif"))).convertToFormat(QImage::Format_ARGB32);
        const QImage frame = shot(room, room->imgBorder);
        QVERIFY(difference(frame.copy(0, 0, 400, 6), border.copy(0, 0, 400, 6).convertToFormat(QImage::Format_RGB32)) < 0.1);
        // Each control stands inside the window and no two controls overlap.
        QList<QWidget*> controls = {room->Player1, room->Player2, room->ready[1], room->ready[2], room->lstrules, room->chatin,
                                    room->chatout, room->chkJackpot, room->cmdReady, room->cmdChange, room->cmdGoldWager,
                                    room->lnkKick, room->Label1, room->Label2, room->Label3, room->Label4, room->Label5, room->Label6};
        for (int i = 0; i < controls.size(); ++i) {
            QVERIFY2(room->rect().contains(controls[i]->geometry()), qPrintable(controls[i]->objectName()));
            for (int j = i + 1; j < controls.size(); ++j)
                QVERIFY2(!controls[i]->geometry().intersects(controls[j]->geometry()),
                         qPrintable(controls[i]->objectName() + QStringLiteral(" / ") + controls[j]->objectName()));
        }
        QCOMPARE(room->cmdChange->ButtonCaption(), QStringLiteral("Change Rules"));
        QCOMPARE(room->cmdGoldWager->ButtonCaption(), QStringLiteral("Change Wager"));
        QCOMPARE(room->cmdReady->ButtonCaption(), QStringLiteral("Ready"));
        QVERIFY(!room->lnkKick->isHidden());
        // The names read whole in their labels.
        QVERIFY(room->Player1->fontMetrics().horizontalAdvance(room->Player1->text()) <= room->Player1->width());
    }

    void fourSeatRoom() {
        RoomLink l;
        l.receive({QStringLiteral("CHALLENGEBOX 9 kira Nyx Orrin Bree OMNICV_PLAYER 3"), QStringLiteral("CHALLENGEAVATAR 1 001 001 001 f"),
                   QStringLiteral("CHALLENGEAVATAR 2 002 002 002 f"), QStringLiteral("CHALLENGEAVATAR 3 003 003 003 m"),
                   QStringLiteral("CHALLENGEAVATAR 4 001 002 003 f"), QStringLiteral("CHALLENGEREADY 3 1")});
        frmchallengebox* room = ifLoaded<frmchallengebox>();
        save(room, "room_four_seats");
        QVERIFY(skinned(room, *l.fx));
        QCOMPARE(room->lblTitle->text(), QStringLiteral("Challenge - [Team OCV] - Table #: 9"));
        const QSize seat = room->picavatar[2]->size();
        QVERIFY(difference(shot(room, room->picavatar[2]), avatar(*l.fx, "003", "m_body_003.gif", "m_head_003.gif", seat)) < 0.1);
        for (QWidget* w : std::initializer_list<QWidget*>{room->ruleset[0], room->ruleset[1], room->cmdReady, room->cmdChange,
                                                          room->chatin, room->chatout, room->chkJackpot, room->player4})
            QVERIFY2(room->rect().contains(w->geometry()), qPrintable(w->objectName()));
    }

    void dialogs() {
        FakeWebService web;
        qputenv("CORVADEX_WEBSERVICE", web.url().toUtf8());
        HttpClient::setTimeouts({500, 3000});
        web.answer(QStringLiteral("CALL usp_FindDecks()"), {{{QStringLiteral("deck"), QStringLiteral("string")}}, {{"Ashfall"}, {"Stormwake"}}});
        RoomLink l;
        frmtradebox* box = form<frmtradebox>();
        box->show();
        save(box, "rule_setup");
        QVERIFY(skinned(box, *l.fx));
        frmfavrules* fav = form<frmfavrules>();
        fav->show();
        fav->loadsavedrules();
        save(fav, "favourite_rules");
        QVERIFY(skinned(fav, *l.fx));
        frmocv_setup* omni = form<frmocv_setup>();
        omni->show();
        save(omni, "omni_rules");
        QVERIFY(skinned(omni, *l.fx));
        frmchallengewaiting* waiting = form<frmchallengewaiting>();
        waiting->show();
        save(waiting, "waiting_box");
        QVERIFY(skinned(waiting, *l.fx));
        qunsetenv("CORVADEX_WEBSERVICE");
    }
};

QTEST_MAIN(tst_roomlook)
#include "tst_roomlook.moc"
