#include "game/clsCVFunctions.h"

#include "app/ErrorHandler.h"
#include "app/modSkin.h"
#include "app/modSound.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "game/ModMiscFunctions.h"
#include "game/frmdisplaybox.h"
#include "game/frmplaying.h"
#include "game/frmselectcards.h"
#include "lobby/fancychat.h"
#include "platform/Forms.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"
#include "tables/frmtradebox.h"

#include <QPointer>

namespace {
const QString kBlank = QStringLiteral(" ");

// The steps that wait in the board's queue as received, and those kept as their keyword alone.
const QLatin1String kWholeSteps[] = {
    QLatin1String("CV_CARDFLIP"), QLatin1String("CV_POINTS"),   QLatin1String("CV_PLUSELEMENT"),
    QLatin1String("CV_MINUSELEMENT"), QLatin1String("CV_BLUECARD"), QLatin1String("CV_REDCARD"),
};
const QLatin1String kBareSteps[] = {
    QLatin1String("CV_SAME"), QLatin1String("CV_PLUS"), QLatin1String("CV_MINUS"),
    QLatin1String("CV_MULTIPLY"), QLatin1String("CV_COMBO"),
};

// A count or side from a server field: the leading number rounded to 16 bits, or fallback when
// it does not fit.
int16_t readNumber(const QString& field, int16_t fallback = 0) {
    const double v = vbVal(field);
    if (!(v > -32768.5 && v < 32767.5)) return fallback;
    return vbCInt(v);
}

void showTurn(frmplaying* board, int side) {
    board->playerturn[1]->setVisible(side == 1);
    board->playerturn[2]->setVisible(side == 2);
}
}  // namespace

void clsCVFunctions::GameModule(QString& keyword, QString& line) {
    if (keyword == QLatin1String("CV_STARTER")) return CVStarter(line);
    if (keyword == QLatin1String("CV_PICKCARDS")) return CVPickCards(line);
    if (keyword == QLatin1String("CV_ELEMENT")) return CVElement(line);
    if (keyword == QLatin1String("CV_YOURTURN")) return CVYourTurn();
    if (keyword == QLatin1String("CV_TURNOVER")) return CVTurnOver();
    for (const QLatin1String step : kWholeSteps)
        if (keyword == step) return queueStep(line);
    for (const QLatin1String step : kBareSteps)
        if (keyword == step) return queueStep(keyword);
    if (keyword == QLatin1String("CV_PLACEDCARD")) return CVPlacedCard(line);
    if (keyword == QLatin1String("CV_OPENCARD")) return CVOpenCard(line);
    if (keyword == QLatin1String("CV_HAND")) return CVHand(line);
    if (keyword == QLatin1String("CV_CLOSE")) return CVClose();
    if (keyword == QLatin1String("CV_CARDGAIN")) return CVCardGain(line);
    if (keyword == QLatin1String("CV_CARDLOST")) return CVCardLost(line);
    if (keyword == QLatin1String("CV_DISPLAY")) return CVDisplay(line);
}

// ---- A new game -------------------------------------------------------------------------------

void clsCVFunctions::CVPickCards(const QString& line) {
    guarded(113, [&] {
        // "CV_PICKCARDS 0" deals the hands at random: the board is prepared, nobody picks.
        const bool dealt = line == QLatin1String("CV_PICKCARDS 0");
        const QPixmap back = CardBack();
        frmplaying* board = form<frmplaying>();
        frmselectcards* picking = dealt ? nullptr : form<frmselectcards>();
        for (int i = 0; i < frmplaying::kSlots; ++i) {
            if (picking) picking->selected[i]->Picture(back);
            board->Player1[i]->Picture(back);
            board->Player2[i]->Picture(back);
        }
        for (int i = 0; i < frmplaying::kCells; ++i) {
            board->element[i]->clear();
            board->Board[i]->Picture(back);
            board->Board[i]->ToolTipText(QString());
            board->ElementCard(i, QString());
            board->Board[i]->Tag = QStringLiteral("empty");
            board->Colors(i, QString());
        }
        // The room's rule set goes on to the picking and the board as the same object.
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        const std::shared_ptr<clsCVRules> rules = room ? room->oCVGame() : std::make_shared<clsCVRules>();
        if (room) rules->Opponent(IsCreator() ? room->Player2->text() : room->Player1->text());
        if (picking) {
            picking->oCV(rules);
            picking->DivideDecks();
            picking->Start_this();
            picking->show();
        }
        board->oCV(rules);
        if (dealt) rules->WriteRuleList(board->lstrules);
        unload<frmchallengebox_single>();
        unload<frmtradebox>();
        unload<frmchallengewaiting>();
    });
}

void clsCVFunctions::CVHand(const QString& line) {
    const Fields f = Divide(line, kBlank);
    int slot = 0;
    if (!ReadIndex(f[1], frmplaying::kSlots, slot) || f[2].isEmpty()) {
        qWarning("CV_HAND ignored: slot \"%s\", card \"%s\"", qPrintable(f[1]), qPrintable(f[2]));
        return;
    }
    const QString name = DecodeCardName(f[2]);
    frmplaying* board = form<frmplaying>();
    const bool blue = IsCreator();
    PictureBox* card = blue ? board->Player1[slot] : board->Player2[slot];
    card->Picture(CardPicture(name, blue ? QStringLiteral("blue") : QStringLiteral("red")));
    card->Tag = name;
}

void clsCVFunctions::CVOpenCard(const QString& line) {
    const Fields f = Divide(line, kBlank);
    frmplaying* board = form<frmplaying>();
    const bool opponentRed = IsCreator();
    for (int i = 0; i < frmplaying::kSlots; ++i) {
        if (f[i + 1].isEmpty()) continue;
        const QString name = DecodeCardName(f[i + 1]);
        resumeNext([&] {
            PictureBox* card = opponentRed ? board->Player2[i] : board->Player1[i];
            card->Picture(CardPicture(name, opponentRed ? QStringLiteral("red") : QStringLiteral("blue")));
        });
    }
}

void clsCVFunctions::CVElement(const QString& line) {
    const Fields f = Divide(line, kBlank);
    int cell = 0;
    if (!ReadIndex(f[1], frmplaying::kCells, cell)) {
        qWarning("CV_ELEMENT ignored: cell \"%s\"", qPrintable(f[1]));
        return;
    }
    frmplaying* board = form<frmplaying>();
    board->ElementCard(cell, f[2]);
    const QString value = GetSkinValue(QStringLiteral("elements"), f[2]);
    QPixmap picture;
    if (!value.isEmpty() && picture.load(SkinPicturePath(value))) board->Board[cell]->Picture(picture);
}

void clsCVFunctions::CVStarter(const QString& line) {
    guarded(127, [&] {
        const qsizetype blank = line.indexOf(u' ');
        const int side = blank < 0 ? 0 : readNumber(line.mid(blank + 1));
        if (side != 1 && side != 2) {
            qWarning("CV_STARTER ignored: side \"%s\"", qPrintable(line));
            return;
        }
        frmplaying* board = form<frmplaying>();
        board->TimerValue(90);
        board->timeleft->clear();
        board->TimerTurn->stop();
        board->gamestatus->clear();
        board->PlayedCard(false);
        // An element the server has already put on the first cell stays in sight.
        if (board->ElementCard(0).isEmpty()) board->Board[0]->Picture(CardBack());
        showTurn(board, 0);
        if (!IsCreator()) {
            board->playerid(2);
            showTurn(board, side);
            board->show();
            if (side == 2) board->Start_timer();
        } else {
            board->playerid(1);
            showTurn(board, side);
            if (side == 1) {
                board->gamestatus->setText(QStringLiteral("Your Turn"));
                board->Start_timer();
            }
        }
        board->TimerValue(90);
        board->OrderSequence(0);
        board->show();
    });
}

// ---- Turns and steps ----------------------------------------------------------------------------

void clsCVFunctions::queueStep(const QString& step) { form<frmplaying>()->lststeps << step; }

void clsCVFunctions::CVPlacedCard(const QString& line) {
    guarded(131, [&] { queueStep(line); });
}

void clsCVFunctions::CVYourTurn() {
    guarded(120, [&] {
        QPointer<frmplaying> board = form<frmplaying>();
        PlayCVSteps(*board);
        if (!board) return;
        board->gamestatus->setText(QStringLiteral("Your Turn"));
        showTurn(board, board->playerid() == 1 ? 1 : 2);
        board->PlayedCard(false);
        board->Start_timer();
    });
}

void clsCVFunctions::CVTurnOver() {
    guarded(121, [&] {
        QPointer<frmplaying> board = form<frmplaying>();
        PlayCVSteps(*board);
        if (!board) return;
        board->gamestatus->setText(QStringLiteral("Opponent's Turn"));
        showTurn(board, board->playerid() == 1 ? 2 : 1);
        board->TimerTurn->stop();
        board->PlayedCard(false);
        board->timeleft->clear();
    });
}

void clsCVFunctions::CVClose() {
    QPointer<frmplaying> board = form<frmplaying>();
    PlayCVSteps(*board);
    // A moment for the last flips before the board goes.
    Pause(1);
    unload<frmplaying>();
    InGame = false;
}

// ---- Game over ----------------------------------------------------------------------------------

void clsCVFunctions::CVDisplay(const QString& line) {
    const Fields f = Divide(line, kBlank);
    const QString& result = f[2];
    const QString& flag = f[4];
    const bool win = result == QLatin1String("Win");
    const bool loss = result == QLatin1String("Loss");
    const bool draw = result == QLatin1String("Draw");
    // A count that does not fit, or below 0, takes no cards. A picker never gets more cards
    // than are offered (6 stands for every card: then nobody picks).
    int16_t count = std::max<int16_t>(readNumber(f[5]), 0);
    int offered = 0;
    for (int i = 0; i < frmdisplaybox::kOffered; ++i) offered += !f[6 + i].isEmpty();
    if (flag == QLatin1String("1") && count != 6 && count > offered) count = int16_t(offered);
    const bool picking = count != 0 && count != 6;

    // Each game over starts from a fresh window, whatever an earlier trade left in one.
    unload<frmdisplaybox>();
    frmdisplaybox* box = form<frmdisplaybox>();
    box->lstget->clear();
    box->lstcards->clear();
    box->CardsWon(count);
    box->GameID(vbVal(f[1]));
    box->timeleft->setVisible(false);
    const auto disableCards = [box] {
        for (PictureBox* card : box->cardimage) card->setEnabled(false);
        box->timeout->stop();
    };
    if (win) {
        box->ChangeTitle(QStringLiteral("Game Over - You Win!"));
        // The count as the server wrote it, unless it had to be cut to the cards offered.
        box->lblCardstoPick->setText(count == readNumber(f[5]) ? f[5] : QString::number(count));
        PlaySound(23);
        box->TimerValue(30);
        box->timeout->start();
        box->timeleft->setVisible(true);
    } else if (loss) {
        box->ChangeTitle(QStringLiteral("Game Over - You Lose!"));
        disableCards();
        box->lblCardstoPick->setText(QStringLiteral("0"));
        PlaySound(24);
    } else if (draw) {
        box->ChangeTitle(QStringLiteral("Game Over - You Tie!"));
        box->lblCardstoPick->setText(QStringLiteral("0"));
        PlaySound(25);
        disableCards();
    }
    if (picking) {
        if (win) box->lblgamestatus->setText(QStringLiteral("Pick ") + QString::number(count) + QStringLiteral(" cards."));
        if (draw) box->lblgamestatus->clear();
        if (flag == QLatin1String("1")) {
            for (int i = 0; i < frmdisplaybox::kOffered; ++i) {
                PictureBox* card = box->cardimage[i];
                if (f[6 + i].isEmpty()) {
                    card->Tag.clear();
                    card->ToolTipText(QString());
                    continue;
                }
                const QString name = DecodeCardName(f[6 + i]);
                card->Tag = name;
                card->setEnabled(true);
                card->ToolTipText(name);
                card->Picture(CardPicture(name, QStringLiteral("blue")));
            }
        } else if (flag == QLatin1String("0")) {
            box->lstcards->setVisible(false);
            box->lstget->setVisible(false);
            if (!draw) box->lblgamestatus->setText(QStringLiteral("Opponent is choosing card(s)"));
        }
    } else {
        box->lblCardstoPick->setText(QStringLiteral("0"));
        box->lstcards->setVisible(false);
        box->lstget->setVisible(false);
        box->timeout->stop();
        box->TimerValue(0);
        box->timeleft->clear();
    }
    box->imgOkay->setVisible(true);
    box->show();
}

void clsCVFunctions::CVCardGain(const QString& line) {
    const Fields f = Divide(line, kBlank);
    frmdisplaybox* box = form<frmdisplaybox>();
    box->lstcards->clear();
    box->timeout->stop();
    box->timeleft->clear();
    const int top = readNumber(GetSkinValue(QStringLiteral("display"), QStringLiteral("topcards_top")));
    for (int i = 0; i < frmdisplaybox::kOffered; ++i) box->cardimage[i]->move(box->cardimage[i]->x(), top);
    if (f[1] == QLatin1String("Nothing")) {
        box->lstcards->setVisible(false);
        box->lblgamestatus->setVisible(true);
        box->lblgamestatus->setText(QStringLiteral("No cards were gained"));
    } else {
        // The row shows the cards won and nothing else: a slot without one turns face down.
        const QPixmap back = CardBack();
        for (int i = 0; i < frmdisplaybox::kOffered; ++i) {
            const QString name = DecodeCardName(f[1 + i]);
            if (name.isEmpty()) {
                box->cardimage[i]->ToolTipText(QString());
                box->cardimage[i]->Picture(back);
                continue;
            }
            resumeNext([&] {
                box->cardimage[i]->ToolTipText(name);
                box->cardimage[i]->Picture(CardPicture(name, QStringLiteral("blue")));
            });
            PrintChatLine(QStringLiteral("Gain"), QString(), QStringLiteral("You gained 1 ") + StripJpg(name), 65535);
        }
    }
    box->imgOkay->setVisible(true);
    box->timeout->stop();
    box->timeleft->clear();
}

void clsCVFunctions::CVCardLost(const QString& line) {
    const Fields f = Divide(line, kBlank);
    frmdisplaybox* box = form<frmdisplaybox>();
    if (f[1] == QLatin1String("Nothing")) {
        box->lblgamestatus->setText(QStringLiteral("Opponent did not take any cards"));
        box->lblgamestatus->setVisible(true);
    } else {
        for (int i = 0; i < frmdisplaybox::kOffered; ++i) {
            const QString name = DecodeCardName(f[1 + i]);
            if (name.isEmpty()) continue;
            box->cardimage[frmdisplaybox::kOffered + i]->Picture(CardPicture(name, QStringLiteral("red")));
            PrintChatLine(QStringLiteral("Loss"), QString(), QStringLiteral("You lost 1 ") + StripJpg(name), 255);
        }
        box->timeleft->setVisible(false);
        box->timeleft->clear();
    }
    box->imgOkay->setVisible(true);
}
