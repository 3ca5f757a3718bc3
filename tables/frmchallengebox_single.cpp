#include "tables/frmchallengebox_single.h"

#include "app/ErrorHandler.h"
#include "app/modSkin.h"
#include "app/storedvars.h"
#include "game/ModMiscFunctions.h"
#include "game/clsCVRules.h"
#include "lobby/frmchildchat.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"
#include "tables/clsChallengeBoxes.h"
#include "tables/frmocv_setup.h"
#include "tables/frmtradebox.h"
#include "variants/frmsphere_setup.h"

#include <cmath>

namespace {
constexpr int kWidth = 640, kHeight = 486;
constexpr int kRightColumn = 424, kRightWidth = 204;

// The name a game key shows in the title; "" for a key the room does not know.
QString gameName(const QString& key) {
    static const std::pair<const char*, const char*> names[] = {
        {"cv", "Corvada"},       {"ocv", "Omni CV"},           {"ob", "Orbolt"},
        {"cvm", "CV Memory"},    {"chinchin", "Chinchirorin"}, {"cardwars", "Corvada War"},
    };
    for (const auto& [k, name] : names)
        if (key == QLatin1String(k)) return QString::fromLatin1(name);
    return {};
}

// Shows a dialog of the room modeless and in front; a dialog that closed itself while loading is left alone.
template <class Dialog>
void showDialog() {
    Dialog* dialog = form<Dialog>();
    if (ifLoaded<Dialog>() != dialog) return;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
}  // namespace

frmchallengebox_single::frmchallengebox_single()
    : ChallengeRoom(2, {QStringLiteral("CHALLENGECHATS"), QStringLiteral("GAMEREADY"), QStringLiteral("TABLEJACKPOTCHANGE 1"),
                        QStringLiteral("TABLECLOSE")}),
      lstrules(new QListWidget(this)),
      cmdGoldWager(new RFButton(this)),
      lnkKick(new PictureLabel(this)),
      imgBorder(new QLabel(this)),
      imgBorder1(new QLabel(this)) {
    DressWindow(this, "frmchallengebox_single", QStringLiteral("Challenge Box"), {kWidth, kHeight}, picTitle, lblTitle);

    imgBorder->setObjectName(QStringLiteral("imgBorder"));
    imgBorder1->setObjectName(QStringLiteral("imgBorder1"));
    placeSeat(1, Player1, imgBorder, QPoint(12, 32));
    placeSeat(2, Player2, imgBorder1, QPoint(12, 142));
    Label1 = staticLabel("Label1", QStringLiteral("Player 1:"), QRect(112, 54, 76, 22));
    Label2 = staticLabel("Label2", QStringLiteral("Player 2:"), QRect(112, 164, 76, 22));
    Label3 = staticLabel("Label3", QStringLiteral("Ready:"), QRect(112, 90, 76, 20));
    Label4 = staticLabel("Label4", QStringLiteral("Ready:"), QRect(112, 200, 76, 20));
    Label5 = staticLabel("Label5", QStringLiteral("Game Rules:"), QRect(kRightColumn, 32, kRightWidth, 18), true);
    Label6 = staticLabel("Label6", QStringLiteral("Player Chat:"), QRect(12, 254, 200, 18), true);

    lnkKick->setObjectName(QStringLiteral("lnkKick"));
    lnkKick->setText(QStringLiteral("Kick Player"));
    lnkKick->setGeometry(300, 200, 100, 20);
    lnkKick->setStyleSheet(QStringLiteral("color: #ff9c9c; text-decoration: underline; background: transparent;"));
    lnkKick->setToolTip(QStringLiteral("Click to Kick Player From Table").toHtmlEscaped());
    lnkKick->setVisible(false);

    lstrules->setObjectName(QStringLiteral("lstrules"));
    lstrules->setGeometry(kRightColumn, 52, kRightWidth, 194);
    lstrules->setStyleSheet(RoomScrollStyle("QListWidget"));
    lstrules->setSelectionMode(QAbstractItemView::NoSelection);
    lstrules->setFocusPolicy(Qt::NoFocus);

    chatin->setGeometry(12, 274, 400, 150);
    chatout->setGeometry(12, 428, 400, 24);
    chkJackpot->setGeometry(12, 458, 400, 22);
    const int buttonLeft = kRightColumn + (kRightWidth - RFButton::kWidthTwips / kTwipsPerPixel) / 2;
    cmdReady->move(buttonLeft, 290);
    cmdChange->move(buttonLeft, 322);
    cmdGoldWager->setObjectName(QStringLiteral("cmdGoldWager"));
    cmdGoldWager->move(buttonLeft, 354);
    m_rollover << cmdGoldWager;

    connect(cmdChange, &RFButton::Click, this, &frmchallengebox_single::cmdChange_Click);
    connect(cmdGoldWager, &RFButton::Click, this, &frmchallengebox_single::cmdGoldWager_Click);
    connect(lnkKick, &PictureLabel::Click, this, &frmchallengebox_single::lnkKick_Click);
}

void frmchallengebox_single::Form_Load() {
    shielded("frmchallengebox_single::Form_Load", [&] {
        loadCommon();
        const QPixmap border = SkinPicture(QStringLiteral("main"), QStringLiteral("border"));
        imgBorder->setPixmap(border);
        imgBorder1->setPixmap(border);
        lnkKick->setCursor(HandCursor());
        cmdChange->ButtonCaption(QStringLiteral("Change Rules"));
        cmdGoldWager->ButtonCaption(QStringLiteral("Change Wager"));
        SetTitle();
    });
}

std::shared_ptr<clsCVRules> frmchallengebox_single::oCVGame() {
    if (!m_oCVGame) m_oCVGame = std::make_shared<clsCVRules>();
    return m_oCVGame;
}

void frmchallengebox_single::Tablenumber(int16_t number) {
    m_tablenumber = number;
    SetTitle();
}

void frmchallengebox_single::GameKey(const QString& key) {
    m_gameKey = key;
    SetTitle();
}

void frmchallengebox_single::SetTitle() {
    m_title = QStringLiteral("Challenge - [") + gameName(m_gameKey) + QStringLiteral("] - Table #: ") + QString::number(m_tablenumber);
    clsBaseForm().TileBar(picTitle, lblTitle, m_title);
    update();
}

void frmchallengebox_single::paintEvent(QPaintEvent* e) {
    Form_Paint();
    ChallengeRoom::paintEvent(e);
}

void frmchallengebox_single::Form_Paint() {
    shielded("frmchallengebox_single::Form_Paint", [&] {
        // Change Rules is the creator's, but for the dice game, where each player sets a wager.
        // It follows the key as it is now: a room painted before its first record keeps nothing.
        const bool rules = IsCreator() || m_gameKey == QLatin1String("chinchin");
        if (cmdChange->Enabled() != rules) cmdChange->Enabled(rules);
        // Once offered, the kick stays; it refuses by itself when seat 2 is empty.
        if (IsCreator() && !Player2->text().isEmpty() && lnkKick->isHidden()) lnkKick->setVisible(true);
        // Only seat 1 sets the table's gold wager.
        const bool wager = Player1->text() == ClientConfig().Username();
        if (cmdGoldWager->isHidden() == wager) cmdGoldWager->setVisible(wager);
    });
}

void frmchallengebox_single::cmdChange_Click() {
    // A failure of Change Rules ends it quietly.
    shielded("frmchallengebox_single::cmdChange_Click", [&] {
        if (m_gameKey == QLatin1String("chinchin")) return diceWager();
        if (!IsCreator()) return;
        if (m_gameKey == QLatin1String("cv"))
            showDialog<frmtradebox>();
        else if (m_gameKey == QLatin1String("ocv"))
            showDialog<frmocv_setup>();
        else if (m_gameKey == QLatin1String("ob"))
            showDialog<frmsphere_setup>();
    });
}

void frmchallengebox_single::diceWager() {
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    const double points = lobby ? lobby->AP() : 0;
    const double limit = std::trunc(points / 3);
    const QString answer = InputBox(QStringLiteral("What is your wager? (0 to Cancel)"), QStringLiteral("Wager"), vbStr(limit));
    const double wager = std::trunc(vbVal(answer));
    if (!(wager > 0)) return;
    if (wager <= limit) {
        SendRoomLine(QStringLiteral("CHANGERULE CHINCHIN ") + vbStr(wager));
        return;
    }
    clsChallengeBoxes().challengechats(
        QStringLiteral("CHALLENGECHATS *** Wager is greater than 1/3 of your total AP.  Wager change has been cancelled."));
}

void frmchallengebox_single::cmdGoldWager_Click() {
    shielded("frmchallengebox_single::cmdGoldWager_Click", [&] {
        const QString answer = InputBox(QStringLiteral("How much gold do you wish to wager?"), QStringLiteral("Wager"),
                                        QStringLiteral("0"));
        // The answer goes out as typed; the server judges it. Only cancel, a plain "0" and a
        // leading number above the player's gold stay here.
        if (answer.isEmpty() || answer == QLatin1String("0")) return;
        frmchildchat* lobby = ifLoaded<frmchildchat>();
        const double gold = lobby ? lobby->Gold() : 0;
        if (vbVal(answer) > gold) return;
        SendRoomLine(QStringLiteral("CHANGEWAGER ") + answer);
    });
}

void frmchallengebox_single::lnkKick_Click() {
    shielded("frmchallengebox_single::lnkKick_Click", [&] {
        if (IsCreator() && !Player2->text().isEmpty()) {
            SendRoomLine(QStringLiteral("CHALLENGECHATS /kick 2"));
        } else if (Player2->text().isEmpty()) {
            MsgBox(QStringLiteral("A player must be present in order for you to kick them"), vb::OKOnly, QStringLiteral("Corvadex"));
        } else {
            MsgBox(QStringLiteral("You must be the table creator to use this function"), vb::OKOnly, QStringLiteral("Corvadex"));
            lnkKick->setVisible(false);
        }
    });
}
