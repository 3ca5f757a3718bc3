#include "variants/TwoSeatTurn.h"

#include "game/ModMiscFunctions.h"
#include "platform/Services.h"
#include "variants/SkinBackdrop.h"

#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QVBoxLayout>
#include <QWidget>

bool IsOwnSeat(int seat) { return seat == (IsCreator() ? 1 : 2); }

bool OwnMarkerShown(const SeatMarkers& playerturn) { return !playerturn[IsCreator() ? 1 : 2]->isHidden(); }

void ShowOwnMarker(const SeatMarkers& playerturn) { playerturn[IsCreator() ? 1 : 2]->show(); }

int ShowTurnSeat(QWidget* window, const SeatMarkers& playerturn, const QString& seat) {
    playerturn[1]->hide();
    playerturn[2]->hide();
    window->show();
    const int n = seat == QLatin1String("1") ? 1 : seat == QLatin1String("2") ? 2 : 0;
    if (n == 0) return 0;
    QPointer<QWidget> alive(window);
    Pause(1);
    if (!alive) return -1;
    playerturn[n]->show();
    playerturn[3 - n]->hide();
    return n;
}

QFrame* MakeHoverFrame(QWidget* table, QSize cell) {
    auto* frame = new QFrame(table);
    frame->setObjectName(QStringLiteral("shapecover"));
    frame->resize(cell.width() + 6, cell.height() + 6);
    frame->setStyleSheet(QStringLiteral("QFrame { border: 3px solid #e2bc66; border-radius: 4px; background: transparent; }"));
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    frame->setVisible(false);
    return frame;
}

void LayOutTable(QWidget* window, QMenuBar* menuBar, SkinBackdrop* table, QWidget* picTitle, QLabel* lblTitle, QSize size,
                 QWidget* below) {
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(table);
    if (below) layout->addWidget(below);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    table->setObjectName(QStringLiteral("table"));
    table->setFixedSize(size);
    if (!picTitle || !lblTitle) return;
    picTitle->setObjectName(QStringLiteral("picTitle"));
    picTitle->setGeometry(0, 0, size.width(), 22);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setGeometry(8, 0, size.width() - 16, 22);
    lblTitle->setTextFormat(Qt::PlainText);
}

SeatLabels BuildSeats(QWidget* table, const char* scoreName1, const char* scoreName2, const std::array<int, 3>& lefts, int top,
                      int width, SeatMarkers& playerturn) {
    const QString bold = QStringLiteral("font-weight: bold; background: transparent; color: %1;");
    const QString score = QStringLiteral("font-weight: bold; font-size: 28px; background: transparent; color: %1;");
    SeatLabels out;
    out.caption1 = GameLabel(table, "Label2", QStringLiteral("Player 1"), QRect(lefts[1], top, width, 18),
                             bold.arg(QStringLiteral("#9cc3ff")), Qt::AlignCenter);
    out.caption2 = GameLabel(table, "Label3", QStringLiteral("Player 2"), QRect(lefts[2], top, width, 18),
                             bold.arg(QStringLiteral("#ff9c9c")), Qt::AlignCenter);
    out.score1 = GameLabel(table, scoreName1, QStringLiteral("0"), QRect(lefts[1], top + 20, width, 36),
                           score.arg(QStringLiteral("#cfe0ff")), Qt::AlignCenter);
    out.score2 = GameLabel(table, scoreName2, QStringLiteral("0"), QRect(lefts[2], top + 20, width, 36),
                           score.arg(QStringLiteral("#ffd6d6")), Qt::AlignCenter);
    for (int seat = 1; seat <= 2; ++seat) {
        playerturn[seat] = new QLabel(table);
        playerturn[seat]->setObjectName(QStringLiteral("playerturn_") + QString::number(seat));
        playerturn[seat]->setGeometry(lefts[seat] + (width - 64) / 2, top + 62, 64, 20);
        playerturn[seat]->setScaledContents(true);
        playerturn[seat]->setVisible(false);
    }
    return out;
}
