#include "tools/loopback/LoopbackCards.h"

#include <QFile>

// The card list is built into the engine's library, which links statically.
static void loadResources() { Q_INIT_RESOURCE(loopback); }

namespace LoopbackCards {
QRandomGenerator& random() {
    static QRandomGenerator generator(QRandomGenerator::global()->generate());
    return generator;
}

void seed(quint32 value) { random().seed(value); }

const QList<Card>& all() {
    static const QList<Card> cards = [] {
        QList<Card> out;
        loadResources();
        QFile file(QStringLiteral(":/loopback/cards.txt"));
        if (!file.open(QIODevice::ReadOnly)) return out;
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QStringList f = lines[i].trimmed().split(u'\t');
            if (f.size() < 9) continue;
            Card c;
            c.name = f[0];
            c.deck = f[1];
            c.level = qBound(1, f[2].toInt(), 10);
            for (int s = 0; s < 4; ++s) c.sides[s] = f[3 + s] == QLatin1String("A") ? 10 : qBound(1, f[3 + s].toInt(), 10);
            c.element = f[7];
            c.special = f[8] == QLatin1String("Special");
            out << c;
        }
        return out;
    }();
    return cards;
}

Card find(const QString& name) {
    for (const Card& c : all())
        if (c.name == name) return c;
    Card stand;
    stand.name = name;
    stand.element = QStringLiteral("none");
    return stand;
}

QList<Card> pool(const QString& decks, int minLevel, int maxLevel, bool specials) {
    const QStringList names = decks.split(u' ', Qt::SkipEmptyParts);
    const bool every = names.isEmpty() || names.contains(QStringLiteral("Standard"));
    QList<Card> fitting, allowed;
    for (const Card& c : all()) {
        if (c.special && !specials) continue;
        allowed << c;
        if ((every || names.contains(c.deck)) && c.level >= minLevel && c.level <= maxLevel) fitting << c;
    }
    return fitting.isEmpty() ? allowed : fitting;
}

QStringList deal(const QList<Card>& pool) {
    QStringList hand;
    if (pool.isEmpty()) return hand;
    while (hand.size() < 5) {
        const QString name = pool[random().bounded(int(pool.size()))].name;
        if (hand.count(name) < 2 || pool.size() < 3) hand << name;
    }
    return hand;
}

QStringList elements() {
    return {QStringLiteral("fire"), QStringLiteral("ice"), QStringLiteral("thunder"), QStringLiteral("earth"),
            QStringLiteral("poison"), QStringLiteral("wind"), QStringLiteral("water"), QStringLiteral("holy")};
}
}  // namespace LoopbackCards
