#include "variants/frmcardwars.h"

#include "app/Deployment.h"
#include "app/ErrorHandler.h"
#include "app/clsClientConfig.h"
#include "app/modLinks.h"
#include "app/modSkin.h"
#include "app/storedvars.h"
#include "game/ModMiscFunctions.h"
#include "lobby/PictureLabel.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "platform/Paths.h"
#include "variants/CardWarIcons.h"
#include "variants/TwoSeatTurn.h"


namespace {
// The surface is drawn at the size of the default skin's picture; the hands, play slots and the
// log panel lie where that picture draws their trays.
constexpr int kTableWidth = 700, kTableHeight = 520;
constexpr int kHandTop = 110, kHandPitch = 40, kHandWidth = 62, kHandHeight = 63;
constexpr int kBlueLeft = 86, kRedLeft = 541;

const QString kGold = QStringLiteral("#e2bc66");

QString indexed(const char* name, int i) { return QString::fromLatin1(name) + u'_' + QString::number(i); }

PictureBox* box(QWidget* parent, const QString& name, const QRect& where) {
    auto* b = new PictureBox(parent);
    b->setObjectName(name);
    b->setGeometry(where);
    return b;
}

QLabel* picture(QWidget* parent, const char* name, const QRect& where) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(where);
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    return l;
}
}  // namespace

frmcardwars::frmcardwars() : menuBar(new QMenuBar(this)), table(new SkinBackdrop(this)), TimerTurn(new QTimer(this)) {
    setObjectName(QStringLiteral("frmcardwars"));
    setWindowTitle(QStringLiteral("Corvada War"));
    const RequestMenu menu = BuildRequestMenu(menuBar, QStringLiteral("Option"), QStringLiteral("Ask Opponent for Stalemate"));
    mnuOptions = menu.mnuOptions;
    mnuEndGameRequest = menu.mnuEndGameRequest;
    mnuStalemate = menu.mnuStalemate;
    mnuSurrender = menu.mnuSurrender;

    LayOutTable(this, menuBar, table, nullptr, nullptr, QSize(kTableWidth, kTableHeight));

    for (int k = 0; k < kHand; ++k) {
        const int top = kHandTop + kHandPitch * k;
        Player1[k] = box(table, indexed("Player1", k), QRect(kBlueLeft, top, kHandWidth, kHandHeight));
        Player2[k] = box(table, indexed("Player2", k), QRect(kRedLeft, top, kHandWidth, kHandHeight));
        Player1[k]->Tag = Player2[k]->Tag = QStringLiteral("Empty");
        connect(Player1[k], &PictureBox::clicked, this, [this, k] { Player1_Click(k); });
        connect(Player2[k], &PictureBox::clicked, this, [this, k] { Player2_Click(k); });
    }
    for (int k = 0; k < 2; ++k) {
        imgcard[k] = box(table, indexed("imgcard", k), QRect(k == 0 ? 254 : 378, 164, 72, 90));
        imgcard[k]->Tag = QStringLiteral("empty");
        connect(imgcard[k], &PictureBox::clicked, this, [this, k] { imgcard_Click(k); });
    }

    const QString bold = QStringLiteral("font-weight: bold; background: transparent; color: %1;");
    lblTitle = GameLabel(table, "lblTitle", QStringLiteral("You Are Playing: Corvada War"), QRect(16, 48, 300, 20), bold.arg(kGold));
    auto* help = new PictureLabel(table);
    help->setObjectName(QStringLiteral("lblHelp"));
    help->setText(QStringLiteral("[How To Play]"));
    help->setTextFormat(Qt::PlainText);
    help->setGeometry(574, 48, 110, 20);
    help->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    help->setStyleSheet(QStringLiteral("font-weight: bold; background: transparent; color: #9cc3ff; text-decoration: underline;"));
    connect(help, &PictureLabel::Click, this, &frmcardwars::lblHelp_Click);
    lblHelp = help;

    const QString life = QStringLiteral("font-weight: bold; font-size: 24px; background: transparent; color: %1;");
    GameLabel(table, "Label1", QStringLiteral("Life"), QRect(168, 72, 70, 18), bold.arg(QStringLiteral("#9cc3ff")), Qt::AlignCenter);
    GameLabel(table, "Label2", QStringLiteral("Life"), QRect(462, 72, 70, 18), bold.arg(QStringLiteral("#ff9c9c")), Qt::AlignCenter);
    player1_life = GameLabel(table, "player1_life", QStringLiteral("1000"), QRect(163, 88, 80, 30), life.arg(QStringLiteral("#cfe0ff")),
                             Qt::AlignCenter);
    player2_life = GameLabel(table, "player2_life", QStringLiteral("1000"), QRect(457, 88, 80, 30), life.arg(QStringLiteral("#ffd6d6")),
                             Qt::AlignCenter);
    const QString combo = QStringLiteral("font-weight: bold; font-size: 15px; background: transparent; color: %1;");
    lblP1Combo = GameLabel(table, "lblP1Combo", QString(), QRect(230, 262, 120, 22), combo.arg(kGold), Qt::AlignCenter);
    lblP2Combo = GameLabel(table, "lblP2Combo", QString(), QRect(354, 262, 120, 22), combo.arg(kGold), Qt::AlignCenter);

    plr1status = picture(table, "plr1status", QRect(259, 123, 62, 50));
    plr2status = picture(table, "plr2status", QRect(384, 119, 62, 50));
    imgElement = picture(table, "imgElement", QRect(340, 199, 21, 21));
    imgNothing = picture(table, "imgNothing", QRect(340, 199, 21, 21));
    imgNothing->setVisible(false);

    GameLabel(table, "Label3", QStringLiteral("Time Left:"), QRect(250, 292, 96, 22), bold.arg(QStringLiteral("#f4e6c4")),
              Qt::AlignRight | Qt::AlignVCenter);
    timeleft = GameLabel(table, "timeleft", QString(), QRect(352, 292, 110, 22), bold.arg(kGold));
    gamestatus = GameLabel(table, "gamestatus", QString(), QRect(230, 318, 244, 22),
                           QStringLiteral("font-weight: bold; font-size: 14px; background: transparent; color: %1;").arg(kGold),
                           Qt::AlignCenter);

    chatin = new QTextEdit(table);
    chatin->setObjectName(QStringLiteral("chatin"));
    chatin->setReadOnly(true);
    chatin->setGeometry(24, 378, 652, 120);
    chatin->setStyleSheet(QStringLiteral("QTextEdit { background: rgba(10, 6, 6, 170); color: #00c0c0; border: none; }"));

    TimerTurn->setObjectName(QStringLiteral("TimerTurn"));
    TimerTurn->setInterval(1000);
    m_countdown.emplace(VariantGame::CardWar, TimerTurn, timeleft, m_turnSeconds);
    connect(TimerTurn, &QTimer::timeout, this, &frmcardwars::TimerTurn_Timer);
    connect(mnuEndGameRequest, &QAction::triggered, this, &frmcardwars::mnuEndGameRequest_Click);
    connect(mnuStalemate, &QAction::triggered, this, &frmcardwars::mnuStalemate_Click);
    connect(mnuSurrender, &QAction::triggered, this, &frmcardwars::mnuSurrender_Click);
}

void frmcardwars::Form_Load() {
    imlicons = CardWarIcons();
    plr1status->setPixmap(imlicons[2]);
    plr2status->setPixmap(imlicons[1]);
    QPixmap blank(21, 21);
    blank.fill(Qt::transparent);
    imgNothing->setPixmap(blank);
    imgElement->setPixmap(blank);

    const QCursor hand = ifLoaded<frmCon>() ? ifLoaded<frmCon>()->skinCursor() : QCursor(Qt::PointingHandCursor);
    const QPixmap empty = CardBack();
    for (int k = 0; k < kHand; ++k) {
        for (PictureBox* b : {Player1[k], Player2[k]}) {
            b->setCursor(hand);
            b->Picture(empty);
        }
    }
    for (PictureBox* b : imgcard) {
        b->setCursor(hand);
        b->Picture(empty);
    }
    lblHelp->setCursor(hand);

    const QString value = GetSkinValue(QStringLiteral("cvw"), QStringLiteral("background"));
    QPixmap ground;
    if (!value.isEmpty()) {
        ground.load(SkinPicturePath(value));
    } else {
        ClientConfig().SkinOutofDate(-1);
        form<frmchildchat>()->addmsg(QStringLiteral("The application could not find a corvada war skin, used the default instead.  Your "
                                                    "skin might be out of date or the file may be renamed incorrectly."),
                                     ChatColour::Red);
        const QString first = clientPath(QStringLiteral("\\skins\\default\\corvadawar\\cvwar.jpg"));
        ground.load(FileExists(first) ? first : clientPath(QStringLiteral("\\skins\\default\\corvadawar\\cvwar2.jpg")));
    }
    table->setPicture(ground);
}

void frmcardwars::Form_Unload(int& cancel) {
    Q_UNUSED(cancel);
    TimerTurn->stop();
}

// ---- Timer --------------------------------------------------------------------------------------

void frmcardwars::Start_timer() { m_countdown->start(); }
void frmcardwars::Stop_timer() { TimerTurn->stop(); }
void frmcardwars::Reset_Timer() { timeleft->clear(); }

void frmcardwars::TimerTurn_Timer() {
    shielded("frmcardwars::TimerTurn_Timer", [&] {
        guarded(38, [&] {
            QPointer<frmcardwars> self(this);
            if (!m_countdown->tick() || !self) return;
            Battle = false;
            timeOutMove();
        });
    });
}

// The first card still in the own hand goes; the play slot waits for the server's reveal, and a
// card the user had picked keeps sticking out.
void frmcardwars::timeOutMove() {
    std::array<PictureBox*, kHand>& hand = ownHand();
    for (int k = 0; k < kHand; ++k) {
        if (IsEmptyCard(hand[k])) continue;
        hand[k]->Picture(CardBack());
        hand[k]->Tag = QStringLiteral("Empty");
        hand[k]->ToolTipText(QString());
        SendGameLine(QStringLiteral("CARDWARS_PLACEAT ") + QString::number(k));
        return;
    }
}

// ---- Choosing and playing -----------------------------------------------------------------------

void frmcardwars::Player1_Click(int Index) {
    shielded("frmcardwars::Player1_Click", [&] { guarded(35, [&] { chooseCard(1, Index); }); });
}

void frmcardwars::Player2_Click(int Index) {
    shielded("frmcardwars::Player2_Click", [&] { guarded(36, [&] { chooseCard(2, Index); }); });
}

void frmcardwars::chooseCard(int seat, int Index) {
    if (Index < 0 || Index >= kHand) return;
    std::array<PictureBox*, kHand>& hand = seat == 1 ? Player1 : Player2;
    if (IsEmptyCard(hand[Index]) || playerid != seat) return;
    const int prev = SelectedID == -1 ? 5 : SelectedID;
    if (!Battle || hand[Index]->Tag == QLatin1String("Empty") || Index == prev) return;
    const int out = seat == 1 ? kOffset : -kOffset;  // towards the play slots
    if (SelectedID >= 0 && SelectedID < kHand) hand[SelectedID]->move(hand[SelectedID]->x() - out, hand[SelectedID]->y());
    hand[Index]->move(hand[Index]->x() + out, hand[Index]->y());
    SelectedID = int16_t(Index);
}

void frmcardwars::imgcard_Click(int Index) {
    shielded("frmcardwars::imgcard_Click", [&] {
        guarded(533, [&] {
            if (Index < 0 || Index > 1 || Index + 1 != playerid) return;
            if (imgcard[Index]->Tag != QLatin1String("empty") || SelectedID < 0 || SelectedID >= kHand) return;
            Stop_timer();
            Reset_Timer();
            PictureBox* chosen = ownHand()[SelectedID];
            chosen->move(chosen->x() + (playerid == 1 ? -kOffset : kOffset), chosen->y());
            imgcard[Index]->Picture(chosen->Picture());
            imgcard[Index]->Tag = StripJpg(chosen->Tag);
            chosen->Picture(CardBack());
            chosen->Tag = QStringLiteral("Empty");
            Battle = false;
            const int16_t played = SelectedID;
            gamestatus->setText(QStringLiteral("Analyzing Move"));
            QPointer<frmcardwars> self(this);
            SendGameLine(QStringLiteral("CARDWARS_PLACEAT ") + QString::number(played));
            if (!self) return;
            gamestatus->clear();
            if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->back_away();
            if (self) SelectedID = -1;
        });
    });
}

// ---- Log, rules and requests --------------------------------------------------------------------

void frmcardwars::AddBlockTxt(const QString& label, const QString& text) { AppendBlockTxt(chatin, label, text); }

void frmcardwars::lblHelp_Click() {
    shielded("frmcardwars::lblHelp_Click", [&] { OpenLink(Deployment::website() + QStringLiteral("/GameInfo/What-Is-CVWRules.aspx")); });
}

void frmcardwars::mnuEndGameRequest_Click() {
    shielded("frmcardwars::mnuEndGameRequest_Click",
             [&] { AskRequest(VariantRequest::EndGame, QStringLiteral("CARDWARS_ENDGAME"), mnuEndGameRequest); });
}

void frmcardwars::mnuStalemate_Click() {
    shielded("frmcardwars::mnuStalemate_Click",
             [&] { AskRequest(VariantRequest::Stalemate, QStringLiteral("CARDWARS_STALEMATE"), mnuStalemate); });
}

void frmcardwars::mnuSurrender_Click() {
    shielded("frmcardwars::mnuSurrender_Click", [&] {
        QPointer<frmcardwars> self(this);
        if (AskRequest(VariantRequest::Surrender, QStringLiteral("CARDWARS_SURRENDER"), mnuSurrender) && self) m_countdown->stop();
    });
}
