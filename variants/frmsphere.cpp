#include "variants/frmsphere.h"

#include "app/ErrorHandler.h"
#include "app/modSkin.h"
#include "app/modSound.h"
#include "game/ModMiscFunctions.h"
#include "net/frmCon.h"
#include "platform/RuntimeError.h"
#include "platform/VbCompat.h"
#include "variants/TwoSeatTurn.h"
#include "variants/clsSphere.h"

#include <QMouseEvent>
#include <QMovie>
#include <QtMath>

namespace {
// The default skin's picture is drawn to this size: the coins lie in its arena, the player's
// figures in the left panels and the opponent's in the right ones.
constexpr int kTableWidth = 720, kTableHeight = 620;
constexpr int kCoin = 52;
constexpr QPoint kCentre(360, 300);
constexpr int kRing = 170, kCoreOffset = 36;

QString indexed(const char* name, int i) { return QString::fromLatin1(name) + u'_' + QString::number(i); }

// A skin picture of [sphere] into the animation; a skin without it leaves no picture.
void loadPicture(AnimatedPicture* picture, const QString& key) {
    try {
        picture->ReadGIF(SkinPicturePath(GetSkinValue(QStringLiteral("sphere"), key)));
        // The coin stands still on its first picture until it is played.
        picture->movie()->jumpToFrame(0);
    } catch (const RuntimeError&) {
        picture->Stop();
        picture->clear();
    }
}

QLabel* figure(QWidget* table, const char* name, const QString& caption, int left, int top) {
    const QString style = QStringLiteral("font-weight: bold; font-size: 12px; background: transparent; color: %1;");
    GameLabel(table, (QByteArray(name) + "Caption").constData(), caption, QRect(left, top, 72, 20), style.arg(QStringLiteral("#f4e6c4")),
              Qt::AlignRight | Qt::AlignVCenter);
    return GameLabel(table, name, QString(), QRect(left + 76, top, 44, 20), style.arg(QStringLiteral("#e2bc66")));
}

const QString kCoinStyle = QStringLiteral("font-weight: bold; font-size: 15px; background: transparent; color: %1;");
}  // namespace

frmsphere::frmsphere()
    : table(new SkinBackdrop(this)), picTitle(new QWidget(table)), lblTitle(new QLabel(picTitle)), imgStatus(new AnimatedPicture(table)),
      cmdGo(new RFButton(table)), cmdFreeze(new RFButton(table)), tmrAnti(new QTimer(this)), timeleft(new QTimer(this)) {
    setObjectName(QStringLiteral("frmsphere"));
    setWindowTitle(QStringLiteral("Orbolt"));
    LayOutTable(this, nullptr, table, picTitle, lblTitle, QSize(kTableWidth, kTableHeight));

    auto place = [this](AnimatedPicture*& picture, QLabel*& value, const char* pictureName, const char* valueName, int i, QPoint at) {
        picture = new AnimatedPicture(table);
        picture->setObjectName(indexed(pictureName, i));
        picture->setGeometry(at.x() - kCoin / 2, at.y() - kCoin / 2, kCoin, kCoin);
        picture->setScaledContents(true);
        picture->setAttribute(Qt::WA_TransparentForMouseEvents, false);
        picture->installEventFilter(this);
        value = GameLabel(table, "", QString(), picture->geometry(), kCoinStyle.arg(QStringLiteral("black")), Qt::AlignCenter);
        value->setObjectName(indexed(valueName, i));
        value->setAttribute(Qt::WA_TransparentForMouseEvents);
    };
    for (int i = 0; i < kCore; ++i)
        place(imgcore_coin[i], corecoin[i], "imgcore_coin", "corecoin", i,
              kCentre + QPoint(i % 2 ? kCoreOffset : -kCoreOffset, i < 2 ? -kCoreOffset : kCoreOffset));
    for (int i = 0; i < kBorder; ++i) {
        const double angle = qDegreesToRadians(-90.0 + 30.0 * i);
        place(imgborder_coin[i], bordercoin[i], "imgborder_coin", "bordercoin", i,
              kCentre + QPoint(qRound(kRing * qCos(angle)), qRound(kRing * qSin(angle))));
        connect(imgborder_coin[i], &AnimatedPicture::Finished, this, [this, i] { imgborder_coin_Finished(i); });
    }

    const QString heading = QStringLiteral("font-weight: bold; font-size: 14px; background: transparent; color: %1;");
    GameLabel(table, "lblYou", QStringLiteral("Your Score"), QRect(14, 70, 120, 22), heading.arg(QStringLiteral("#9cc3ff")),
              Qt::AlignCenter);
    quota = figure(table, "quota", QStringLiteral("Score:"), 14, 100);
    sum = figure(table, "sum", QStringLiteral("Sum:"), 14, 126);
    multi = figure(table, "multi", QStringLiteral("Multiplier:"), 14, 152);
    multi->setText(QStringLiteral("0"));
    lblturns = figure(table, "lblturns", QStringLiteral("Turns:"), 14, 178);
    lbltime = figure(table, "lbltime", QStringLiteral("Time Left:"), 14, 204);
    GameLabel(table, "lblOpponent", QStringLiteral("Your Opponent"), QRect(580, 70, 134, 22), heading.arg(QStringLiteral("#ff9c9c")),
              Qt::AlignCenter);
    lbloppscore = figure(table, "lbloppscore", QStringLiteral("Score:"), 586, 100);
    lbloppstatus = figure(table, "lbloppstatus", QStringLiteral("Status:"), 586, 126);
    lblecho = GameLabel(table, "lblecho", QString(), QRect(152, 54, 416, 24), heading.arg(QStringLiteral("#ffd77a")), Qt::AlignCenter);
    lblgamestatus = GameLabel(table, "lblgamestatus", QString(), QRect(152, 536, 416, 24), heading.arg(QStringLiteral("#f4e6c4")),
                              Qt::AlignCenter);
    imgStatus->setObjectName(QStringLiteral("imgStatus"));
    imgStatus->setGeometry(596, 360, 100, 100);
    imgStatus->setScaledContents(true);
    imgStatus->setAttribute(Qt::WA_TransparentForMouseEvents);

    const int buttonLeft = 14 + (120 - RFButton::kWidthTwips / kTwipsPerPixel) / 2;
    cmdGo->setObjectName(QStringLiteral("cmdGo"));
    cmdGo->move(buttonLeft, 380);
    cmdFreeze->setObjectName(QStringLiteral("cmdFreeze"));
    cmdFreeze->move(buttonLeft, 420);
    connect(cmdGo, &RFButton::Click, this, &frmsphere::cmdGo_Click);
    connect(cmdFreeze, &RFButton::Click, this, &frmsphere::cmdFreeze_Click);
    connect(table, &SkinBackdrop::mouseMoved, this, &frmsphere::Form_MouseMove);

    tmrAnti->setObjectName(QStringLiteral("tmrAnti"));
    tmrAnti->setInterval(2000);
    timeleft->setObjectName(QStringLiteral("timeleft"));
    timeleft->setInterval(1000);
    connect(tmrAnti, &QTimer::timeout, this, &frmsphere::tmrAnti_Timer);
    connect(timeleft, &QTimer::timeout, this, &frmsphere::timeleft_Timer);
}

void frmsphere::Form_Load() {
    table->load(QStringLiteral("sphere"), QStringLiteral("background"));
    cmdGo->ButtonCaption(QStringLiteral("Ready"));
    cmdGo->setToolTip(plainToolTip(QStringLiteral("Click to Begin!")));
    cmdFreeze->ButtonCaption(QStringLiteral("Freeze/Stop"));
    const QCursor hand = ifLoaded<frmCon>() ? ifLoaded<frmCon>()->skinCursor() : QCursor(Qt::PointingHandCursor);
    for (int i = 0; i < kBorder; ++i) {
        loadPicture(imgborder_coin[i], QStringLiteral("bordercoin"));
        borderTag[i] = QStringLiteral("spin");
        imgborder_coin[i]->setCursor(hand);
    }
    for (int i = 0; i < kCore; ++i) {
        loadPicture(imgcore_coin[i], QStringLiteral("corecoin"));
        imgcore_coin[i]->setCursor(hand);
    }
    clsBaseForm().TileBar(picTitle, lblTitle, QStringLiteral("Orbolt"));
    tmrAnti->start();
}

void frmsphere::Form_Unload(int& cancel) {
    Q_UNUSED(cancel);
    tmrAnti->stop();
    timeleft->stop();
}

bool frmsphere::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int i = 0; i < kCore; ++i)
            if (watched == imgcore_coin[i]) imgcore_coin_Click(i);
        for (int i = 0; i < kBorder; ++i)
            if (watched == imgborder_coin[i]) imgborder_coin_Click(i);
    } else if (event->type() == QEvent::MouseMove) {
        Form_MouseMove();
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Coins ---------------------------------------------------------------------------------------

void frmsphere::select(QLabel* coin, bool on) {
    coin->setProperty("selectedCoin", on);
    coin->setStyleSheet(kCoinStyle.arg(on ? QStringLiteral("#ff0000") : QStringLiteral("black")));
}

bool frmsphere::selected(const QLabel* coin) { return coin->property("selectedCoin").toBool(); }

void frmsphere::spinborder(int intIndex, bool blnSpin) {
    if (intIndex < 0 || intIndex >= kBorder) return;
    if (blnSpin) {
        imgborder_coin[intIndex]->Loop = 0;
        imgborder_coin[intIndex]->Play();
        PlaySound(43);
    } else {
        imgborder_coin[intIndex]->Stop();
    }
}

void frmsphere::spincore(int intIndex, bool blnSpin) {
    if (intIndex < 0 || intIndex >= kCore) return;
    if (blnSpin) {
        imgcore_coin[intIndex]->Loop = 0;
        imgcore_coin[intIndex]->Play();
        PlaySound(43);
    } else {
        imgcore_coin[intIndex]->Stop();
    }
}

void frmsphere::spinbust(int intIndex) {
    if (intIndex < 0 || intIndex >= kBorder) return;
    AnimatedPicture* coin = imgborder_coin[intIndex];
    coin->Stop();
    coin->Loop = 1;
    borderTag[intIndex] = QStringLiteral("bust");
    loadPicture(coin, QStringLiteral("bordercoinbreak"));
    coin->Play();
}

void frmsphere::spinreset(int intIndex) {
    if (intIndex < 0 || intIndex >= kBorder) return;
    imgborder_coin[intIndex]->Stop();
    imgborder_coin[intIndex]->Loop = 0;
    loadPicture(imgborder_coin[intIndex], QStringLiteral("bordercoin"));
    borderTag[intIndex] = QStringLiteral("spin");
}

void frmsphere::spincorereset(int intIndex) {
    if (intIndex < 0 || intIndex >= kCore) return;
    imgcore_coin[intIndex]->Stop();
    imgcore_coin[intIndex]->Loop = 0;
    loadPicture(imgcore_coin[intIndex], QStringLiteral("corecoin"));
}

void frmsphere::imgborder_coin_Finished(int Index) {
    if (Index < 0 || Index >= kBorder || borderTag[Index] != QLatin1String("bust")) return;
    imgborder_coin[Index]->Stop();
    imgborder_coin[Index]->hide();
    loadPicture(imgborder_coin[Index], QStringLiteral("bordercoin"));
    borderTag[Index] = QStringLiteral("spin");
}

bool frmsphere::CoreSelected() const {
    for (const QLabel* coin : corecoin)
        if (selected(coin)) return true;
    return false;
}

QString frmsphere::SendComplete() const {
    QStringList fields;
    for (int i = 0; i < kCore; ++i) fields << (selected(corecoin[i]) ? QString::number(i + 1) : QStringLiteral("99"));
    for (int i = 0; i < kBorder; ++i)
        if (selected(bordercoin[i])) fields << QString::number(i + 1);
    return fields.join(u' ');
}

void frmsphere::addAndTest(QLabel* coin, bool wasSelected) {
    if (!wasSelected) {
        select(coin, true);
        sum->setText(vbStr(vbVal(coin->text()) + vbVal(sum->text())));
    }
    const double s = vbVal(sum->text()), m = vbVal(multi->text());
    // Without a multiplier no sum completes; the selection stays open.
    if (!(std::abs(s) < 2147483647.0 && std::abs(m) < 2147483647.0)) return;
    const int32_t whole = vbCLng(s), by = vbCLng(m);
    if (by == 0 || whole % by != 0) return;
    lstsphere << QStringLiteral("OBCOREBREAK");
    blnLock = true;
    timeleft->stop();
    SendGameLine(QStringLiteral("OBCOMPLETE ") + SendComplete());
}

void frmsphere::imgcore_coin_Click(int Index) {
    shielded("frmsphere::imgcore_coin_Click", [&] {
        if (Index < 0 || Index >= kCore || !blnReady || blnLock) return;
        const bool was = selected(corecoin[Index]);
        if (!was) spincore(Index, true);
        addAndTest(corecoin[Index], was);
    });
}

void frmsphere::imgborder_coin_Click(int Index) {
    shielded("frmsphere::imgborder_coin_Click", [&] {
        if (Index < 0 || Index >= kBorder || !blnReady || blnLock) return;
        if (!CoreSelected()) {
            lblgamestatus->setText(QStringLiteral("You must first select a core coin!"));
            return;
        }
        const bool was = selected(bordercoin[Index]);
        if (!was) {
            lblgamestatus->clear();
            spinborder(Index, true);
        }
        addAndTest(bordercoin[Index], was);
    });
}

// ---- Buttons, countdown and steps ------------------------------------------------------------------

void frmsphere::cmdGo_Click() {
    shielded("frmsphere::cmdGo_Click", [&] {
        if (!cmdGo->Enabled()) return;
        lblgamestatus->clear();
        QPointer<frmsphere> self(this);
        SendGameLine(QStringLiteral("OBREADY"));
        if (!self) return;
        cmdGo->Enabled(false);
        cmdGo->hide();
    });
}

void frmsphere::freeze() {
    blnLock = true;
    timeleft->stop();
    QPointer<frmsphere> self(this);
    SendGameLine(QStringLiteral("OBFROZEN"));
    if (self) lblgamestatus->setText(QStringLiteral("Frozen, board locked"));
}

void frmsphere::cmdFreeze_Click() {
    shielded("frmsphere::cmdFreeze_Click", [&] { freeze(); });
}

void frmsphere::timeleft_Timer() {
    shielded("frmsphere::timeleft_Timer", [&] {
        // The counter stops at 0: a tick that finds it there changes nothing.
        if (time == 0) {
            timeleft->stop();
            return;
        }
        --time;
        lbltime->setText(QString::number(time));
        if (time <= 10) PlaySound(48);
        if (time == 0) {
            PlaySound(49);
            freeze();
        }
    });
}

void frmsphere::tmrAnti_Timer() {
    shielded("frmsphere::tmrAnti_Timer", [&] { clsSphere().play_sphereboard(); });
}

void frmsphere::Form_MouseMove() {
    cmdGo->RolloverRelease();
    cmdFreeze->RolloverRelease();
}

void SphereEffect(const QString& name, int count) {
    frmsphere* frm = ifLoaded<frmsphere>();
    if (!frm) return;
    frm->tmrAnti->stop();
    frm->imgStatus->Stop();
    if (name == QLatin1String("frozen")) PlaySound(41);
    else if (name == QLatin1String("corebreak")) PlaySound(40);
    else if (name == QLatin1String("go")) PlaySound(42);
    else if (name == QLatin1String("echo")) PlaySound(44);
    loadPicture(frm->imgStatus, name);
    frm->imgStatus->Loop = count;
    frm->imgStatus->Play();
    frm->tmrAnti->start();
}
