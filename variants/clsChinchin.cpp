#include "variants/clsChinchin.h"

#include "app/modText.h"
#include "net/LineFields.h"
#include "platform/Paths.h"
#include "variants/VariantFrame.h"
#include "variants/frmchinchin.h"

#include <QPointer>

namespace {
const QString kBlank = QStringLiteral(" ");
}  // namespace

void clsChinchin::GameModule(QString& keyword, QString& line) {
    if (keyword == QLatin1String("CHINCHINYES")) ChinchinYes();
    else if (keyword == QLatin1String("CHINCHINTURN")) ChinchinTurn(line);
    else if (keyword == QLatin1String("CHINCHINTEXT")) ChinchinText(line);
    else if (keyword == QLatin1String("CHINCHINDICE")) ChinchinDice(line);
    else if (keyword == QLatin1String("CHINCHINCLOSE")) ChinchinClose();
    else if (keyword == QLatin1String("CHINCHINPOINTS")) ChinchinPoints(line);
}

void clsChinchin::ChinchinYes() { StartFromYes<frmchinchin>(QStringLiteral("CHINCHINYES")); }

void clsChinchin::ChinchinTurn(const QString& line) {
    QPointer<frmchinchin> frm = form<frmchinchin>();
    const int seat = ShowTurnSeat(frm, frm->playerturn, Divide(line, kBlank)[1]);
    if (seat > 0 && frm) {
        frm->startTurn(IsOwnSeat(seat));
        for (int k = 1; k <= 3; ++k) frm->imgdice[k]->clear();
    }
    UnloadLeadIn(QStringLiteral("CHINCHINTURN"));
}

void clsChinchin::ChinchinText(const QString& line) {
    frmchinchin* frm = ifLoaded<frmchinchin>();
    if (!frm || !frm->isVisible()) return;
    // The blank after the keyword stays in front of the text.
    frm->appendText(line.mid(12));
}

// The fields are the skin's keys as they come; a missing one shows no picture. Only a key that
// could be read as a way out of the folder makes the line unread.
void clsChinchin::ChinchinDice(const QString& line) {
    const Fields f = Divide(line, kBlank);
    for (int k = 1; k <= 3; ++k) {
        if (!f[k].isEmpty() && !isSafePathComponent(f[k])) {
            lines::reject("CHINCHINDICE", line);
            return;
        }
    }
    frmchinchin* frm = form<frmchinchin>();
    for (int k = 1; k <= 3; ++k) frm->imgdice[k]->setPixmap(DicePicture(f[k]));
}

void clsChinchin::ChinchinClose() { CloseVariant<frmchinchin>(VariantGame::Dice); }

void clsChinchin::ChinchinPoints(const QString& line) {
    const Fields f = Divide(line, kBlank);
    frmchinchin* frm = form<frmchinchin>();
    if (f[1] == QLatin1String("1")) frm->player1_score->setText(f[2]);
    else if (f[1] == QLatin1String("2")) frm->player2_score->setText(f[2]);
}
