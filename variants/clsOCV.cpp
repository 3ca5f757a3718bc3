#include "variants/clsOCV.h"

#include "app/ErrorHandler.h"
#include "app/modText.h"
#include "game/ModMiscFunctions.h"
#include "platform/Forms.h"
#include "platform/VbCompat.h"
#include "variants/OmniShared.h"
#include "variants/VariantFrame.h"
#include "variants/frmomni.h"

namespace {
const QString kBlank = QStringLiteral(" ");

frmomni* board() { return form<frmomni>(); }

void queue(const QString& line) { board()->lststeps << line; }
}  // namespace

void clsOCV::GameModule(QString& keyword, QString& line) {
    if (keyword == QLatin1String("OCVBLOCK")) OCVBlock(line);
    else if (keyword == QLatin1String("OCVSTARTER")) OCVStarter(line);
    else if (keyword == QLatin1String("OCVCARDDRAW")) OCVCardDraw(line);
    else if (keyword == QLatin1String("OCVPLACEDAT")) OCVPlacedAt(line);
    else if (keyword == QLatin1String("OCVYOURTURN")) OCVYourTurn();
    else if (keyword == QLatin1String("OCVTURNOVER")) OCVTurnOver();
    else if (keyword == QLatin1String("OCVPLACEDCARD")) OCVPlacedCard(line);
    else if (keyword == QLatin1String("OCVPOINTS")) OCVPoints(line);
    else if (keyword == QLatin1String("OCVBLUECARD")) OCVBlueCard(line);
    else if (keyword == QLatin1String("OCVREDCARD")) OCVRedCard(line);
    else if (keyword == QLatin1String("OCVCARDFLIP")) OCVCardFlip(line);
    else if (keyword == QLatin1String("OCVSAME")) OCVSame();
    else if (keyword == QLatin1String("OCVPLUS")) OCVPlus();
    else if (keyword == QLatin1String("OCVCOMBO")) OCVCombo();
    else if (keyword == QLatin1String("OCVCLOSE")) OCVClose();
}

void clsOCV::OCVBlock(const QString& line) { BlockCell(board()->Board, Divide(line, kBlank)[1]); }

void clsOCV::OCVStarter(const QString& line) {
    guarded(400, [&] {
        const qsizetype blank = line.indexOf(u' ');
        const double n = blank < 0 ? 0 : vbVal(line.mid(blank + 1));
        frmomni* frm = board();
        frm->timeleft->clear();
        frm->gamestatus->clear();
        frm->TimerTurn->stop();
        ClearOmniBoard(*frm);
        for (PictureBox* box : {frm->Player1, frm->player1_nextcard, frm->Player2, frm->player2_nextcard}) box->Picture(CardBack());
        frm->playerturn[1]->hide();
        frm->playerturn[2]->hide();
        const bool blue = IsCreator();
        const int seat = blue ? 1 : 2;
        frm->iam->setText(QString::number(seat));
        // A first mover other than seat 1 or 2 names no marker.
        if (n == 1 || n == 2) frm->playerturn[int(n)]->show();
        frm->show();
        frm->raise();
        if (!blue) frm->playerturn[1]->hide();
        frm->placeDiscard(blue);
        if (n == seat) {
            frm->gamestatus->setText(QStringLiteral("Your turn"));
            frm->Start_timer();
            frm->blnPlay = true;
            frm->PlayedCard(false);
        } else {
            frm->blnPlay = false;
        }
        frm->Timerints = 90;
        UnloadLeadIn(QStringLiteral("OCVSTARTER"));
    });
}

// A missing name reads as empty: that slot shows the empty card with an empty Tag.
void clsOCV::OCVCardDraw(const QString& line) {
    const Fields f = Divide(line, kBlank);
    frmomni* frm = board();
    const bool blue = IsCreator();
    const QString colour = blue ? QStringLiteral("blue") : QStringLiteral("red");
    ShowDrawnCard(blue ? frm->Player1 : frm->Player2, f[1], colour);
    ShowDrawnCard(blue ? frm->player1_nextcard : frm->player2_nextcard, f[2], colour);
}

void clsOCV::OCVPlacedAt(const QString& line) { queue(line); }

void clsOCV::OCVYourTurn() {
    guarded(120, [&] {
        frmomni* frm = board();
        QPointer<frmomni> alive(frm);
        PlayOCVSteps(*frm);
        if (!alive) return;
        frm->gamestatus->setText(QStringLiteral("Your Turn"));
        const bool blue = frm->iam->text() == QLatin1String("1");
        frm->playerturn[blue ? 2 : 1]->hide();
        frm->playerturn[blue ? 1 : 2]->show();
        frm->blnPlay = true;
        frm->PlayedCard(false);
        frm->Start_timer();
    });
}

void clsOCV::OCVTurnOver() {
    guarded(700, [&] {
        frmomni* frm = board();
        QPointer<frmomni> alive(frm);
        PlayOCVSteps(*frm);
        if (!alive) return;
        frm->gamestatus->setText(QStringLiteral("Opponent's Turn"));
        const bool blue = frm->iam->text() == QLatin1String("1");
        frm->playerturn[blue ? 1 : 2]->hide();
        frm->playerturn[blue ? 2 : 1]->show();
        frm->TimerTurn->stop();
        frm->TimerTurn->setInterval(0);
        frm->timeleft->clear();
        frm->blnPlay = false;
        frm->PlayedCard(false);
    });
}

void clsOCV::OCVPlacedCard(const QString& line) {
    guarded(600, [&] {
        if (CellFits(line)) queue(line);
    });
}

// The scores are shown as they come.
void clsOCV::OCVPoints(const QString& line) {
    resumeNext([&] { queue(line); });
}

void clsOCV::OCVBlueCard(const QString& line) {
    if (CellFits(line)) resumeNext([&] { queue(line); });
}

void clsOCV::OCVRedCard(const QString& line) {
    if (CellFits(line)) resumeNext([&] { queue(line); });
}

void clsOCV::OCVCardFlip(const QString& line) {
    if (CellFits(line)) resumeNext([&] { queue(line); });
}

void clsOCV::OCVSame() {
    resumeNext([&] { queue(QStringLiteral("OCVSAME")); });
}

void clsOCV::OCVPlus() {
    resumeNext([&] { queue(QStringLiteral("OCVPLUS")); });
}

void clsOCV::OCVCombo() {
    resumeNext([&] { queue(QStringLiteral("OCVCOMBO")); });
}

void clsOCV::OCVClose() {
    if (frmomni* frm = ifLoaded<frmomni>()) PlayOCVSteps(*frm);
    CloseVariant<frmomni>(VariantGame::Omni);
}
