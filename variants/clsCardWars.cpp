#include "variants/clsCardWars.h"

#include "admin/frmTournyHelper.h"
#include "app/ErrorHandler.h"
#include "app/modSettings.h"
#include "app/modSkin.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "game/ModMiscFunctions.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "net/TeamMatch.h"
#include "platform/Ini.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"
#include "variants/VariantFrame.h"
#include "variants/frmcardwars.h"

namespace {
const QString kBlank = QStringLiteral(" ");
constexpr long kOlive = 0x00C0C0;  // (192, 192, 0)

frmcardwars* board() { return form<frmcardwars>(); }

// The card back of the skin, a picture of its own each time it is shown, as one loaded anew from
// its file: never the empty card, so a hand of backs can still be chosen and played.
QPixmap cardBack() { return SkinPicture(QStringLiteral("main"), QStringLiteral("cardback")).copy(); }

void showBacks(frmcardwars* w) {
    for (PictureBox* slot : w->imgcard) slot->Picture(cardBack());
}

// A whole number of the line that must lie in lo..hi; anything else leaves the line unread.
bool inRange(const QString& field, int lo, int hi, int& out) {
    if (field.trimmed().isEmpty()) return false;
    const double v = vbVal(field);
    if (!(v > lo - 0.5 && v < hi + 0.5)) return false;
    out = vbCInt(v);
    return out >= lo && out <= hi;
}

void ignored(const char* why, const QString& line) { qWarning("card war line ignored (%s): \"%s\"", why, qPrintable(line)); }

// A status picture placed by the status text ("1" sword, "2" shield).
void placeStatus(QLabel* status, const QPixmap& picture, const QString& field, QPoint sword, QPoint shield) {
    status->setPixmap(picture);
    status->resize(picture.size());
    if (field == QLatin1String("1")) status->move(sword);
    else if (field == QLatin1String("2")) status->move(shield);
}

// A played card as the reveal names it; without a name the slot shows the empty card.
QPixmap revealed(const QString& field, const QString& colour) {
    const QString name = DecodeCardName(field);
    if (IsCardName(name)) return CardPicture(name, colour);
    qWarning("card war reveal: no %s card name", qPrintable(colour));
    return CardBack();
}

// A number of the line rounded to 16 bits; false when it does not fit.
bool fits16(const QString& field, int16_t& out) {
    const double v = vbVal(field);
    if (!(v > -32768.5 && v < 32767.5)) return false;
    out = vbCInt(v);
    return true;
}
}  // namespace

QString CardWarsVerb(double a, double b) {
    if (a > 0 && b > 0) return QStringLiteral("stalemated ");
    if (a <= 100) return QStringLiteral("routs ");
    if (a <= 500) return QStringLiteral("kills ");
    if (a <= 750) return QStringLiteral("slaughters ");
    if (a <= 900) return QStringLiteral("destroys ");
    if (a <= 999) return QStringLiteral("obliterates ");
    return QStringLiteral("wipes out ");
}

void clsCardWars::GameModule(QString& keyword, QString& line) {
    if (keyword == QLatin1String("CARDWARSLOAD")) CardWarsLoad(line);
    else if (keyword == QLatin1String("CARDWARSBOARD")) CardWarsBoard(line);
    else if (keyword == QLatin1String("CARDWARSSTART")) CardWarsStart();
    else if (keyword == QLatin1String("CARDWARSHAND")) CardWarsHand(line);
    else if (keyword == QLatin1String("CARDWARSPHASE")) CardWarsPhase(line);
    else if (keyword == QLatin1String("CARDWARSHISTORY")) CardWarsHistory(line);
    else if (keyword == QLatin1String("CARDWARSMATCH")) CardWarsMatch(line);
    else if (keyword == QLatin1String("CARDWARSCLOSE")) CardWarsClose();
}

void clsCardWars::CardWarsLoad(const QString& line) {
    int16_t seat = 0;
    if (!fits16(Divide(line, kBlank)[1], seat)) return ignored("seat", line);
    UnloadLeadIn(QStringLiteral("CARDWARSLOAD"));
    frmcardwars* w = board();
    w->player1_life->setText(QStringLiteral("1000"));
    w->player2_life->setText(QStringLiteral("1000"));
    w->playerid = seat;
    w->SelectedID = -1;
    w->show();
    w->raise();
    showBacks(w);
}

void clsCardWars::CardWarsBoard(const QString& line) {
    const Fields f = Divide(line, kBlank);
    int status1 = 0, status2 = 0, element = 0;
    // The pictures are numbered 1 sword, 2 shield, 3..12 the elements.
    if (!inRange(f[1], 1, 2, status1) || !inRange(f[2], 1, 2, status2)) return ignored("status", line);
    const bool noElement = f[5] == QLatin1String("0");
    if (!noElement && !inRange(f[5], 1, 10, element)) return ignored("element", line);
    frmcardwars* w = board();
    placeStatus(w->plr1status, w->imlicons[status1], f[1], QPoint(259, 123), QPoint(266, 112));
    placeStatus(w->plr2status, w->imlicons[status2], f[2], QPoint(384, 119), QPoint(390, 114));
    w->player1_life->setText(f[6]);
    w->player2_life->setText(f[7]);
    showBacks(w);
    if (f[4] != QLatin1String("0")) {
        if (f[3] == QLatin1String("1")) w->lblP1Combo->setText(f[4]);
        else if (f[3] == QLatin1String("2")) w->lblP2Combo->setText(f[4]);
    } else {
        w->lblP1Combo->clear();
        w->lblP2Combo->clear();
    }
    w->imgElement->setPixmap(noElement ? w->imgNothing->pixmap() : w->imlicons[element + 2]);
    QPointer<frmcardwars> alive(w);
    Pause(0);
    if (alive) CardWarsStart();
}

void clsCardWars::CardWarsStart() {
    frmcardwars* w = board();
    for (PictureBox* slot : w->imgcard) {
        slot->Tag = QStringLiteral("empty");
        slot->Picture(cardBack());
    }
    w->Battle = true;
    w->Start_timer();
}

void clsCardWars::CardWarsHand(const QString& line) {
    const Fields f = Divide(line, kBlank);
    frmcardwars* w = board();
    const bool blue = f[1] == QLatin1String("1");
    std::array<PictureBox*, frmcardwars::kHand>& shown = blue ? w->Player1 : w->Player2;
    std::array<PictureBox*, frmcardwars::kHand>& backs = blue ? w->Player2 : w->Player1;
    const QString colour = blue ? QStringLiteral("blue") : QStringLiteral("red");
    QPointer<frmcardwars> alive(w);
    for (int k = 0; k < frmcardwars::kHand; ++k) {
        const QString name = DecodeCardName(f[2 + k]);
        if (!IsCardName(name)) {
            // No card to hold: the slot shows the empty card, as a played one does.
            qWarning("card war hand: slot %d has no card name in \"%s\"", k, qPrintable(line));
            shown[k]->Picture(CardBack());
            shown[k]->Tag = QStringLiteral("Empty");
            continue;
        }
        // A missing picture is reported in a box, during which the window may go.
        const QPixmap card = CardPicture(name, colour);
        if (!alive) return;
        shown[k]->Picture(card);
        shown[k]->Tag = QString();
    }
    for (PictureBox* slot : backs) slot->Picture(cardBack());
}

void clsCardWars::CardWarsPhase(const QString& line) {
    const Fields f = Divide(line, kBlank);
    frmcardwars* w = board();
    QPointer<frmcardwars> alive(w);
    const QPixmap blue = revealed(f[1], QStringLiteral("blue"));
    const QPixmap red = revealed(f[2], QStringLiteral("red"));
    if (!alive) return;
    w->imgcard[0]->Picture(blue);
    w->imgcard[1]->Picture(red);
}

void clsCardWars::CardWarsHistory(const QString& line) {
    board()->AddBlockTxt(QStringLiteral("History"), DecodeCardName(Divide(line, kBlank)[1]));
}

void clsCardWars::CardWarsMatch(const QString& line) {
    if (ConnectionState != 1) return;
    const Fields f = Divide(line, kBlank);
    {
        const std::unique_ptr<ChatRuns> runs = BeginResultLine();
        ChatRuns& out = *runs;
        out.run(QStringLiteral("<"), kOlive);
        out.run(QStringLiteral("Corvada War"), ChatColour::White, true);
        out.run(QStringLiteral("> "), kOlive);
        out.run(f[1] + u'(' + f[2] + QStringLiteral(") "), ChatColour::White, true);
        out.run(CardWarsVerb(vbVal(f[5]), vbVal(f[6])), kOlive);
        out.run(f[3] + u'(' + f[4] + QStringLiteral(") "), ChatColour::White, true);
        out.run(QStringLiteral("\n"), ChatColour::White, true);
    }
    ReplayNotice(f[7], QStringLiteral("Corvada-War-Game"));
    if (!TourneyRunning) return;
    int16_t winnerScore = 0, loserScore = 0;
    if (!fits16(f[5], winnerScore) || !fits16(f[6], loserScore)) return ignored("score for the tournament", line);
    form<frmTournyHelper>()->HandleMatch(f[1], f[3], winnerScore, loserScore, 7);
}

void clsCardWars::CardWarsClose() { CloseVariant<frmcardwars>(VariantGame::CardWar); }
