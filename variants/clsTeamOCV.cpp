#include "variants/clsTeamOCV.h"

#include "app/ErrorHandler.h"
#include "app/modText.h"
#include "game/ModMiscFunctions.h"
#include "lobby/frmchildchat.h"
#include "net/LineFields.h"
#include "net/TeamMatch.h"
#include "platform/Forms.h"
#include "variants/OmniShared.h"
#include "variants/VariantFrame.h"
#include "variants/frmteamomni.h"

namespace {
const QString kBlank = QStringLiteral(" ");

frmteamomni* board() { return form<frmteamomni>(); }

void queue(const QString& line) { board()->lststeps << line; }
}  // namespace

void clsTeamOCV::GameModule(QString& keyword, QString& line) {
    if (keyword == QLatin1String("TEAM_MATCH")) TeamMatch(line);
    else if (keyword == QLatin1String("TEAM_OMNIBLOCK")) TeamOmniBlock(line);
    else if (keyword == QLatin1String("TEAM_OCVSTARTER")) TeamOCVStarter();
    else if (keyword == QLatin1String("TEAM_OCVCARDDRAW")) TeamOCVCardDraw(line);
    else if (keyword == QLatin1String("TEAM_OCVPLACEDAT")) TeamOCVPlacedAt(line);
    else if (keyword == QLatin1String("TEAM_OCVYOURTURN")) TeamOCVYourTurn();
    else if (keyword == QLatin1String("TEAM_OCVTURNOVER")) TeamOCVTurnOver();
    else if (keyword == QLatin1String("TEAM_OCVPLACEDCARD")) TeamOCVPlacedCard(line);
    else if (keyword == QLatin1String("TEAM_OCVPOINTS")) TeamOCVPoints(line);
    else if (keyword == QLatin1String("TEAM_OCVBLUECARD")) TeamOCVBlueCard(line);
    else if (keyword == QLatin1String("TEAM_OCVREDCARD")) TeamOCVRedCard(line);
    else if (keyword == QLatin1String("TEAM_OCVCARDFLIP")) TeamOCVCardFlip(line);
    else if (keyword == QLatin1String("TEAM_OCVSAME")) TeamOCVSame();
    else if (keyword == QLatin1String("TEAM_OCVPLUS")) TeamOCVPlus();
    else if (keyword == QLatin1String("TEAM_OCVCOMBO")) TeamOCVCombo();
    else if (keyword == QLatin1String("TEAM_OCVCOLOR")) TeamOCVColor(line);
    else if (keyword == QLatin1String("TEAM_QUEUE")) TeamQueue(line);
    else if (keyword == QLatin1String("TEAM_OCVCLOSE")) TeamOCVClose();
    else if (keyword == QLatin1String("TEAM_GAMECHAT")) TeamGameChat(line);
}

void clsTeamOCV::TeamMatch(const QString& line) { TeamMatchLine(line); }

void clsTeamOCV::TeamOmniBlock(const QString& line) { BlockCell(board()->Board, Divide(line, kBlank)[1]); }

void clsTeamOCV::TeamOCVStarter() {
    guarded(400, [&] {
        frmteamomni* frm = board();
        frm->timeleft->clear();
        frm->TimerTurn->stop();
        frm->PlayedCard(false);
        ClearOmniBoard(*frm);
        frm->player->Picture(CardBack());
        frm->player_nextcard->Picture(CardBack());
        frm->show();
        frm->raise();
        frm->Timerints = 90;
        UnloadLeadIn(QStringLiteral("TEAM_OCVSTARTER"));
    });
}

void clsTeamOCV::TeamOCVCardDraw(const QString& line) {
    if (lines::fieldCount(line) < 2) {
        qWarning("card draw ignored: no cards in \"%s\"", qPrintable(line));
        return;
    }
    const Fields f = Divide(line, kBlank);
    frmteamomni* frm = board();
    const QString colour = frm->iam->text();
    ShowDrawnCard(frm->player, f[1], colour);
    ShowDrawnCard(frm->player_nextcard, f[2], colour);
}

void clsTeamOCV::TeamOCVPlacedAt(const QString& line) {
    resumeNext([&] { queue(line); });
}

void clsTeamOCV::TeamOCVYourTurn() {
    guarded(120, [&] {
        frmteamomni* frm = board();
        QPointer<frmteamomni> alive(frm);
        PlayTeamOCVSteps(*frm);
        if (!alive) return;
        frm->blnPlay = true;
        frm->PlayedCard(false);
        frm->Start_timer();
    });
}

void clsTeamOCV::TeamOCVTurnOver() {
    guarded(701, [&] {
        frmteamomni* frm = board();
        QPointer<frmteamomni> alive(frm);
        PlayTeamOCVSteps(*frm);
        if (!alive) return;
        frm->TimerTurn->stop();
        frm->TimerTurn->setInterval(0);
        frm->PlayedCard(false);
        frm->timeleft->clear();
        frm->blnPlay = false;
    });
}

void clsTeamOCV::TeamOCVPlacedCard(const QString& line) {
    guarded(600, [&] {
        if (CellFits(line)) queue(line);
    });
}

// The scores are shown as they come.
void clsTeamOCV::TeamOCVPoints(const QString& line) {
    resumeNext([&] { queue(line); });
}

void clsTeamOCV::TeamOCVBlueCard(const QString& line) {
    if (CellFits(line)) resumeNext([&] { queue(line); });
}

void clsTeamOCV::TeamOCVRedCard(const QString& line) {
    if (CellFits(line)) resumeNext([&] { queue(line); });
}

void clsTeamOCV::TeamOCVCardFlip(const QString& line) {
    if (CellFits(line)) resumeNext([&] { queue(line); });
}

void clsTeamOCV::TeamOCVSame() {
    resumeNext([&] { queue(QStringLiteral("TEAM_OCVSAME")); });
}

void clsTeamOCV::TeamOCVPlus() {
    resumeNext([&] { queue(QStringLiteral("TEAM_OCVPLUS")); });
}

void clsTeamOCV::TeamOCVCombo() {
    resumeNext([&] { queue(QStringLiteral("TEAM_OCVCOMBO")); });
}

void clsTeamOCV::TeamOCVColor(const QString& line) { board()->iam->setText(Divide(line, kBlank)[1]); }

// The flag is always field 6, even when a seat record before it is missing.
void clsTeamOCV::TeamQueue(const QString& line) {
    if (Divide(line, kBlank)[5] == QLatin1String("1")) StepTeamQueue(*board(), line);
    else queue(line);
}

void clsTeamOCV::TeamOCVClose() {
    if (frmteamomni* frm = ifLoaded<frmteamomni>()) PlayTeamOCVSteps(*frm);
    CloseVariant<frmteamomni>(VariantGame::TeamOmni);
    frmchildchat* lobby = form<frmchildchat>();
    lobby->show();
    lobby->cmdCreate->setEnabled(true);
    lobby->cmdJoin->setEnabled(true);
}

void clsTeamOCV::TeamGameChat(const QString& line) {
    frmteamomni* frm = board();
    if (!frm->isVisible()) return;
    const QString sender = Divide(line, kBlank)[1];
    const QString text = line.mid(QStringLiteral("TEAM_GAMECHAT ").size() + sender.size()).trimmed();
    frm->ShowGameChat(sender, text);
}
