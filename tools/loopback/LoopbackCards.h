#pragma once
// The cards the loopback server knows: the client's own card set (assets/cards.txt, built in),
// with the four side values the game compares, for the collections it lends and the hands it
// deals.
#include <QList>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

namespace LoopbackCards {
struct Card {
    QString name;
    QString deck;
    int level = 1;
    int sides[4] = {1, 1, 1, 1};  // top, right, bottom, left; "A" is 10
    QString element;             // "none" when it has none
    bool special = false;
};

const QList<Card>& all();
// The card of that name; a stand-in of ones when the set has none (a hand the client sent).
Card find(const QString& name);
// The cards of the decks named (blank-separated; "Standard" holds every deck) within the levels,
// special cards only where allowed (games without a trade); every allowed card when nothing fits.
QList<Card> pool(const QString& decks, int minLevel, int maxLevel, bool specials);
// Five cards drawn at random from the pool, at most two of a name.
QStringList deal(const QList<Card>& pool);
// The loopback's dice: random unless seeded (--seed), so that a run can be played again.
QRandomGenerator& random();
void seed(quint32 value);
// The elements a cell of the board may carry.
QStringList elements();
}  // namespace LoopbackCards
