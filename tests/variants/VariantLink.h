#pragma once
// What the variant-game tests share: a logged-in client with the lobby, the default skin, cards
// and sounds, connected to a fake game server with the receive pump stopped; readers of the
// pictures, pauses and the lines sent.
#include "RoomLink.h"

#include "game/ModMiscFunctions.h"
#include "platform/Paths.h"
#include "variants/frmomni.h"
#include "variants/frmteamomni.h"

#include <QImage>
#include <QtTest>

struct VariantLink : RoomLink {
    VariantLink() { InGame = true; }

    // The deck picture of a card ("blue" or "red").
    QPixmap card(const char* colour, const QString& name) const {
        return QPixmap(resolvePath(clientPath(QStringLiteral("\\decks\\") + QLatin1String(colour) + u'\\' + name + QStringLiteral(".jpg"))));
    }
    QList<int> pauses() const { return fx->services.clock->pauses; }
};

inline bool samePicture(const QPixmap& a, const QPixmap& b) {
    return !a.isNull() && !b.isNull() &&
           a.toImage().convertToFormat(QImage::Format_ARGB32) == b.toImage().convertToFormat(QImage::Format_ARGB32);
}

// The tags of the 25 cells, "." for a free cell, "#" for a blocked one.
template <class W>
QString boardTags(const W* w) {
    QStringList out;
    for (const PictureBox* cell : w->Board) {
        if (cell->Tag == QLatin1String("empty")) out << QStringLiteral(".");
        else if (cell->Tag == QLatin1String("Card blocked by mysterious force")) out << QStringLiteral("#");
        else out << cell->Tag;
    }
    return out.join(u',');
}

// The board's tags and colours, then the extra texts, for comparing before and after a line.
template <class W>
QString boardState(const W* w, const QStringList& extra) {
    QStringList colours;
    for (int i = 0; i < 25; ++i) colours << w->Colors(i);
    return (QStringList{boardTags(w), colours.join(u','), w->player1_cards->text(), w->player2_cards->text()} + extra).join(u'|');
}
