#include "variants/clsSphere.h"

#include "app/modSound.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "game/ModMiscFunctions.h"
#include "net/LineFields.h"
#include "platform/VbCompat.h"
#include "variants/VariantFrame.h"
#include "variants/frmsphere.h"

#include <QPointer>

namespace {
const QString kBlank = QStringLiteral(" ");

// A coin line's slot and value: the slot within 1..count, the value a whole number 0..255.
bool coinFields(const QString& line, int count, int& slot, uint8_t& value) {
    const Fields f = Divide(line, kBlank);
    long long s = 0, v = 0;
    if (!lines::wholeNumber(f[1], 1, count, s) || !lines::wholeNumber(f[2], 0, 255, v)) return false;
    slot = int(s);
    value = uint8_t(v);
    return true;
}
}  // namespace

void clsSphere::GameModule(QString& keyword, QString& line) {
    if (keyword == QLatin1String("OBSTART")) OBStart();
    else if (keyword == QLatin1String("OBGO")) OBGo(line);
    else if (keyword == QLatin1String("OBBORDER")) OBBorder(line);
    else if (keyword == QLatin1String("OBCORE")) OBCore(line);
    else if (keyword == QLatin1String("OBMULTI")) queue(line);
    else if (keyword == QLatin1String("OBSCORE")) queue(line);
    else if (keyword == QLatin1String("OBTURNS")) queue(line);
    else if (keyword == QLatin1String("OBFREEZE")) OBFreeze();
    else if (keyword == QLatin1String("OBOPPSCORE")) OBOppScore(line);
    else if (keyword == QLatin1String("OBOPPFROZEN")) OBOppFrozen();
    else if (keyword == QLatin1String("OBECHO")) queue(line);
    else if (keyword == QLatin1String("OBCLOSE")) OBClose();
}

void clsSphere::queue(const QString& step) { form<frmsphere>()->lstsphere << step; }

void clsSphere::OBStart() {
    UnloadLeadIn(QStringLiteral("OBSTART"));
    frmsphere* frm = form<frmsphere>();
    frm->show();
    frm->sum->setText(QStringLiteral("0"));
    frm->quota->setText(QStringLiteral("0"));
    frm->lblturns->setText(QStringLiteral("0"));
    ResetCoinSlots();
    frm->lblgamestatus->setText(QStringLiteral("Click Ready to Begin!"));
    frm->lblgamestatus->show();
}

void clsSphere::OBGo(const QString& line) {
    queue(line);
    play_sphereboard();
}

void clsSphere::OBBorder(const QString& line) {
    int slot = 0;
    uint8_t value = 0;
    if (!coinFields(line, frmsphere::kBorder, slot, value)) return lines::reject("OBBORDER", line);
    queue(line);
}

void clsSphere::OBCore(const QString& line) {
    int slot = 0;
    uint8_t value = 0;
    if (!coinFields(line, frmsphere::kCore, slot, value)) return lines::reject("OBCORE", line);
    queue(line);
}

void clsSphere::OBFreeze() {
    queue(QStringLiteral("OBFREEZE"));
    play_sphereboard();
}

void clsSphere::OBOppScore(const QString& line) { form<frmsphere>()->lbloppscore->setText(Divide(line, kBlank)[1]); }

void clsSphere::OBOppFrozen() { form<frmsphere>()->lbloppstatus->setText(QStringLiteral("Frozen")); }

void clsSphere::OBClose() {
    // The steps still queued are dropped: none may play during the pause before the close.
    if (frmsphere* frm = ifLoaded<frmsphere>()) {
        frm->tmrAnti->stop();
        frm->lstsphere.clear();
    }
    CloseVariant<frmsphere>(VariantGame::CoinBoard);
}

void clsSphere::play_sphereboard() {
    QPointer<frmsphere> frm = ifLoaded<frmsphere>();
    // Data steps are applied one after the other without waiting; the first effect step ends
    // the call, and the next step waits for the next tick.
    while (frm) {
        const QString step = frm->lstsphere.isEmpty() ? QString() : frm->lstsphere.first();
        const Fields f = Divide(step, kBlank);
        const QString& keyword = f[0];
        int slot = 0;
        uint8_t value = 0;
        bool data = true;
        if (keyword == QLatin1String("OBCOREBREAK")) {
            SphereEffect(QStringLiteral("corebreak"), 1);
            data = false;
        } else if (keyword == QLatin1String("OBBORDER")) {
            if (coinFields(step, frmsphere::kBorder, slot, value)) BorderCoins[slot] = {value, 0};
        } else if (keyword == QLatin1String("OBCORE")) {
            if (coinFields(step, frmsphere::kCore, slot, value)) CoreCoins[slot] = {value, 0};
        } else if (keyword == QLatin1String("OBMULTI")) {
            frm->multi->setText(f[1]);
        } else if (keyword == QLatin1String("OBSCORE")) {
            frm->quota->setText(f[1]);
        } else if (keyword == QLatin1String("OBTURNS")) {
            frm->lblturns->setText(f[1]);
            SphereEffect(QStringLiteral("nextturn"), 1);
            data = false;
        } else if (keyword == QLatin1String("OBFREEZE")) {
            frm->lblgamestatus->setText(QStringLiteral("Board Locked, Frozen!"));
            SphereEffect(QStringLiteral("frozen"), 1);
            data = false;
        } else if (keyword == QLatin1String("OBECHO")) {
            frm->lblecho->setText(QStringLiteral("ECHO BONUS x") + f[1]);
            SphereEffect(QStringLiteral("echo"), 1);
            data = false;
        } else if (keyword == QLatin1String("OBGO")) {
            StartTurn(step);
            data = false;
        } else {
            data = false;
        }
        if (!frm) return;
        if (!frm->lstsphere.isEmpty()) frm->lstsphere.removeFirst();
        if (!data) return;
    }
}

void clsSphere::StartTurn(const QString& step) {
    QPointer<frmsphere> frm = ifLoaded<frmsphere>();
    const QString seconds = Divide(step, kBlank)[1];
    frm->blnReady = true;
    for (int slot = 1; slot <= frmsphere::kBorder; ++slot) {
        const int i = slot - 1;
        frm->bordercoin[i]->setText(QString::number(BorderCoins[slot].CoinValue));
        if (BorderCoins[slot].CoinValue != 0) {
            frm->spinreset(i);
            frm->bordercoin[i]->show();
            frm->imgborder_coin[i]->show();
        } else {
            frm->spinbust(i);
        }
        if (slot <= frmsphere::kCore) {
            frm->spincorereset(i);
            frm->corecoin[i]->setText(QString::number(CoreCoins[slot].CoinValue));
            frmsphere::select(frm->corecoin[i], false);
        }
        frmsphere::select(frm->bordercoin[i], false);
    }
    frm->sum->setText(QStringLiteral("0"));
    // The turn time is a byte; a time of none, 0 or less is up at once, and a longer one than a
    // byte holds counts from the longest.
    const double asked = vbIsNumeric(seconds) ? vbVal(seconds) : 0;
    frm->time = uint8_t(asked >= 255 ? 255 : asked > 0 ? vbCInt(asked) : 0);
    frm->lbltime->setText(seconds);
    if (frm->time > 0) {
        frm->timeleft->start(1000);
        frm->blnLock = false;
    } else {
        PlaySound(48);
        PlaySound(49);
        frm->freeze();
        if (!frm) return;
    }
    SphereEffect(QStringLiteral("go"), 1);
}
