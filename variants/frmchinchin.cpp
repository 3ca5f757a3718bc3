#include "variants/frmchinchin.h"

#include "app/ErrorHandler.h"
#include "app/modSkin.h"
#include "app/modSound.h"
#include "game/ModMiscFunctions.h"
#include "platform/Paths.h"

#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>

namespace {
// The default skin's picture is drawn to this size: the dice lie in its bowl and the text and
// the button in the panel below.
constexpr int kTableWidth = 560, kTableHeight = 440;
constexpr int kDie = 64;
// The game's text is kept to about this many characters, the oldest lines going first.
constexpr int kTextLimit = 15000;

const QString kGold = QStringLiteral("#e2bc66");

QString indexed(const char* name, int i) { return QString::fromLatin1(name) + u'_' + QString::number(i); }
}  // namespace

QPixmap DicePicture(const QString& key) {
    if (key.isEmpty()) return {};
    const QString value = GetSkinValue(QStringLiteral("dice"), key);
    const QStringList parts = normalizePath(value).split(u'/', Qt::SkipEmptyParts);
    if (parts.isEmpty()) return {};
    for (const QString& part : parts)
        if (!isSafePathComponent(part)) return {};
    const QString path = clientPath(u'\\' + parts.join(u'\\'));
    if (!QFileInfo(path).isFile()) return {};
    return QPixmap(path);
}

frmchinchin::frmchinchin()
    : menuBar(new QMenuBar(this)), table(new SkinBackdrop(this)), picTitle(new QWidget(table)), lblTitle(new QLabel(picTitle)),
      cmdRoll(new RFButton(table)), chatin(new QTextEdit(table)), TimerTurn(new QTimer(this)) {
    setObjectName(QStringLiteral("frmchinchin"));
    setWindowTitle(QStringLiteral("Chinchirorin"));
    const RequestMenu menu = BuildRequestMenu(menuBar, QStringLiteral("Options"), QString());
    mnuRequests = menu.mnuOptions;
    mnuRequests->setObjectName(QStringLiteral("mnuRequests"));
    mnuEndGameRequest = menu.mnuEndGameRequest;

    LayOutTable(this, menuBar, table, picTitle, lblTitle, QSize(kTableWidth, kTableHeight));

    for (int k = 1; k <= 3; ++k) {
        imgdice[k] = new QLabel(table);
        imgdice[k]->setObjectName(indexed("imgdice", k));
        imgdice[k]->setGeometry(280 - kDie / 2 + (k - 2) * 84, 205 - kDie / 2, kDie, kDie);
        imgdice[k]->setScaledContents(true);
        imgdice[k]->setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    const SeatLabels seats = BuildSeats(table, "player1_score", "player2_score", {0, 10, 440}, 40, 110, playerturn);
    Label2 = seats.caption1;
    Label3 = seats.caption2;
    player1_score = seats.score1;
    player2_score = seats.score2;
    Label1 = GameLabel(table, "Label1", QStringLiteral("Time Left:"), QRect(170, 40, 110, 24),
                       QStringLiteral("font-weight: bold; font-size: 15px; background: transparent; color: #f4e6c4;"),
                       Qt::AlignRight | Qt::AlignVCenter);
    timeleft = GameLabel(table, "timeleft", QString(), QRect(288, 40, 180, 24),
                         QStringLiteral("font-weight: bold; font-size: 15px; background: transparent; color: %1;").arg(kGold));

    chatin->setObjectName(QStringLiteral("chatin"));
    chatin->setReadOnly(true);
    chatin->setAcceptRichText(false);
    chatin->setGeometry(24, 330, 380, 88);
    chatin->setStyleSheet(QStringLiteral("QTextEdit { background: rgba(0, 0, 0, 150); color: white; border: 1px solid #6b4a2a; }"));
    cmdRoll->setObjectName(QStringLiteral("cmdRoll"));
    cmdRoll->move(420, 358);
    connect(cmdRoll, &RFButton::Click, this, &frmchinchin::cmdRoll_Click);
    connect(table, &SkinBackdrop::mouseMoved, this, &frmchinchin::Form_MouseMove);

    TimerTurn->setObjectName(QStringLiteral("TimerTurn"));
    TimerTurn->setInterval(1000);
    m_countdown.emplace(VariantGame::Dice, TimerTurn, timeleft, TurnSeconds);
    connect(TimerTurn, &QTimer::timeout, this, &frmchinchin::TimerTurn_Timer);
    connect(mnuEndGameRequest, &QAction::triggered, this, &frmchinchin::mnuEndGameRequest_Click);
}

void frmchinchin::Form_Load() {
    playerturn[1]->setPixmap(SkinPicture(QStringLiteral("cvboard"), QStringLiteral("p1turn")));
    playerturn[2]->setPixmap(SkinPicture(QStringLiteral("cvboard"), QStringLiteral("p2turn")));
    table->load(QStringLiteral("chinchin"), QStringLiteral("background"));
    clsBaseForm().TileBar(picTitle, lblTitle, QStringLiteral("Chinchirorin"));
    cmdRoll->ButtonCaption(QStringLiteral("Roll Dice"));
}

void frmchinchin::Form_Unload(int& cancel) {
    Q_UNUSED(cancel);
    TimerTurn->stop();
}

void frmchinchin::startTurn(bool own) {
    if (own) {
        m_countdown->start();
    } else {
        m_countdown->stop();
        TurnSeconds = 0;
    }
    cmdRoll->Enabled(own);
}

void frmchinchin::appendText(const QString& text) {
    QTextDocument* doc = chatin->document();
    while (doc->characterCount() > kTextLimit && doc->blockCount() > 1) {
        QTextCursor first(doc->firstBlock());
        first.select(QTextCursor::BlockUnderCursor);
        first.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
        first.removeSelectedText();
    }
    QTextCursor end(doc);
    end.movePosition(QTextCursor::End);
    end.insertText(text + QStringLiteral(" \n"), UserChatFormat(QColor(255, 255, 255)));
    chatin->setTextCursor(end);
    chatin->ensureCursorVisible();
}

void frmchinchin::cmdRoll_Click() {
    shielded("frmchinchin::cmdRoll_Click", [&] {
        if (!cmdRoll->Enabled()) return;
        cmdRoll->Enabled(false);
        if (!OwnMarkerShown(playerturn)) {
            cmdRoll->Enabled(true);
            return;
        }
        SendGameLine(QStringLiteral("CHINCHINROLL"));
        PlaySound(46);
    });
}

void frmchinchin::Form_MouseMove() { cmdRoll->RolloverRelease(); }

void frmchinchin::TimerTurn_Timer() {
    shielded("frmchinchin::TimerTurn_Timer", [&] { guarded(800, [&] { m_countdown->tick(); }); });
}

void frmchinchin::mnuEndGameRequest_Click() {
    shielded("frmchinchin::mnuEndGameRequest_Click",
             [&] { AskRequest(VariantRequest::EndGame, QStringLiteral("CHINCHINENDGAME"), mnuEndGameRequest); });
}
