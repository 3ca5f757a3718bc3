#include "variants/VariantFrame.h"

#include "app/modSound.h"
#include "app/storedvars.h"
#include "game/ModMiscFunctions.h"
#include "net/frmCon.h"
#include "platform/RuntimeError.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"
#include "tables/frmchallengebox.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"
#include "variants/frmsphere_setup.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <algorithm>

namespace {
const CountdownBand kOmni{90, 180, 14, QStringLiteral("Time Up! Game Over!"), 38, QString()};
const CountdownBand kTeamOmni{90, 180, 14, QStringLiteral("Time Up! Game Over!"), 38, QString()};
const CountdownBand kCardWar{35, 59, 9, QStringLiteral("Times Up!"), 38, QString()};
const CountdownBand kMemory{90, 180, 14, QStringLiteral("Time is Up!"), 800, QStringLiteral("MEMORYFORFEIT")};
const CountdownBand kDice{60, 60, 14, QStringLiteral("Time Up! Game Over!"), 800, QStringLiteral("CHINCHINROLL")};

struct RequestText {
    QString title;
    QString text;
    bool beep;
};

RequestText requestText(VariantRequest request) {
    switch (request) {
        case VariantRequest::EndGame:
            return {QStringLiteral("End Game Request"),
                    QStringLiteral("Are you sure you want to request an end game? If 4 minutes have passed since the last game "
                                   "activity, sending a request will auto terminate the game.  If not, you will not be able to "
                                   "request another end game."),
                    true};
        case VariantRequest::Stalemate:
            return {QStringLiteral("Game Stalemate"), QStringLiteral("Are you sure you want to request a stalemate?"), false};
        case VariantRequest::Surrender:
            return {QStringLiteral("Surrender (Game Termination)"),
                    QStringLiteral("Are you sure you want to surrender? You will automatically lose and will cost 100GP!"), false};
    }
    return {};
}

QAction* addItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}
}  // namespace

const CountdownBand& countdownBand(VariantGame game) {
    switch (game) {
        case VariantGame::Omni: return kOmni;
        case VariantGame::TeamOmni: return kTeamOmni;
        case VariantGame::CardWar: return kCardWar;
        case VariantGame::Memory: return kMemory;
        case VariantGame::Dice: return kDice;
        case VariantGame::CoinBoard: break;
    }
    throw RuntimeError(QStringLiteral("The coin board has a countdown of its own"), 5);
}

TurnCountdown::TurnCountdown(VariantGame game, QTimer* timer, QLabel* timeleft, int16_t& counter)
    : m_band(countdownBand(game)), m_timer(timer), m_timeleft(timeleft), m_counter(counter) {}

void TurnCountdown::start() {
    m_counter = int16_t(m_band.length);
    m_timer->setInterval(1000);
    m_timer->start();
}

void TurnCountdown::stop() {
    m_timer->stop();
    m_timer->setInterval(0);
    m_timeleft->clear();
}

bool TurnCountdown::tick() {
    // The counter is a 16-bit number; it stops at its bottom instead of wrapping round.
    const int t = std::max<int>(m_counter - 1, INT16_MIN);
    m_counter = int16_t(t);
    m_timer->setInterval(1000);
    if (t != 0 && !m_timer->isActive()) m_timer->start();
    if (t >= 1 && t <= m_band.top) {
        if (t <= m_band.tickFrom) PlaySound(48);
        m_timeleft->setText(QString::number(t));
        DoEvents();
        return false;
    }
    PlaySound(49);
    m_timeleft->setText(m_band.timeUpText);
    m_timer->stop();
    m_timer->setInterval(0);
    if (!m_band.timeUpLine.isEmpty()) SendGameLine(m_band.timeUpLine);
    return true;
}

RequestMenu BuildRequestMenu(QMenuBar* bar, const QString& caption, const QString& stalemateCaption) {
    RequestMenu menu;
    menu.mnuOptions = bar->addMenu(caption);
    menu.mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    menu.mnuEndGameRequest = addItem(menu.mnuOptions, "mnuEndGameRequest", QStringLiteral("End Game Request"));
    if (!stalemateCaption.isEmpty()) {
        menu.mnuStalemate = addItem(menu.mnuOptions, "mnuStalemate", stalemateCaption);
        menu.mnuSurrender = addItem(menu.mnuOptions, "mnuSurrender", QStringLiteral("Surrender"));
    }
    return menu;
}

bool AskRequest(VariantRequest request, const QString& line, QAction* item) {
    const RequestText box = requestText(request);
    if (box.beep) PlaySound(3);
    QPointer<QAction> alive(item);
    if (MsgBox(box.text, vb::YesNo | vb::Question, box.title) != vb::Yes) return false;
    SendGameLine(line);
    if (alive) alive->setEnabled(false);
    return true;
}

void UnloadLeadIn(const QString& keyword) {
    if (keyword == QLatin1String("OCVSTARTER")) {
        unload<frmchallengewaiting>();
        unload<frmchallengebox_single>();
    } else if (keyword == QLatin1String("TEAM_OCVSTARTER")) {
        unload<frmchallengewaiting>();
        unload<frmchallengebox>();
    } else if (keyword == QLatin1String("OBSTART")) {
        unload<frmchallengewaiting>();
        unload<frmchallengebox_single>();
        unload<frmsphere_setup>();
    } else if (keyword == QLatin1String("MEMORYYES") || keyword == QLatin1String("CHINCHINYES")) {
        unload<frmchallengewaiting>();
        unload<frmchallengebox_single>();
    } else if (keyword == QLatin1String("CARDWARSLOAD") || keyword == QLatin1String("MEMORYTURN") ||
               keyword == QLatin1String("CHINCHINTURN")) {
        unload<frmchallengebox_single>();
    }
}

CloseRule closeRule(VariantGame game) {
    switch (game) {
        case VariantGame::Omni:
        case VariantGame::TeamOmni:
        case VariantGame::CoinBoard:
        case VariantGame::Memory: return {1, true};
        case VariantGame::Dice: return {-1, true};
        case VariantGame::CardWar: return {-1, false};
    }
    return {};
}

void ApplyClose(VariantGame game, bool (*unloadWindow)()) {
    const CloseRule rule = closeRule(game);
    if (rule.pauseSeconds >= 0) Pause(rule.pauseSeconds);
    unloadWindow();
    if (rule.clearsInGame) InGame = false;
}

void TakeFirstSeat(QWidget* window) {
    frmCon* con = form<frmCon>();
    con->creator->setChecked(true);
    window->show();
    window->setWindowTitle(con->versus->text());
}
