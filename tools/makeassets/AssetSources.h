#pragma once
// Readers of the two hand-written asset sources: the default skin's ini file and the
// starter card list. Both the generator and the asset test read them through here.

#include <QByteArray>
#include <QList>
#include <QString>

namespace assets {

struct SkinEntry {
    QString section;
    QString key;
    QString value;
    int line = 0;
};

// Parses profile-format text: "[section]" headers, "key=value" lines, ';' comments.
// Keys and sections keep their case; blanks around them are trimmed. A line that is
// neither is reported through `error` (with its number) and parsing stops.
QList<SkinEntry> parseSkinIni(const QByteArray &text, QString *error);

// A picture value is a backslash path ending in .jpg or .gif; anything else is a
// setting (font, size, colour, number).
bool isPictureValue(const QString &value);

// Dice faces are joined to the client folder itself by the dice board, every other
// picture to "<client>\skins". Returns the archive member path of a picture value.
QString memberForSkinValue(const SkinEntry &entry);

struct CardSpec {
    QString name;
    QString deck;
    int level = 0;
    int top = 0, right = 0, bottom = 0, left = 0; // 1..10, 10 written as "A"
    QString element;                              // an element key, or "none"
    QString rarity;                               // Common, Uncommon, Rare, Special
};

inline const QStringList &cardListHeader()
{
    static const QStringList h{QStringLiteral("Name"),   QStringLiteral("Deck"),   QStringLiteral("Level"),
                               QStringLiteral("Top"),    QStringLiteral("Right"),  QStringLiteral("Bottom"),
                               QStringLiteral("Left"),   QStringLiteral("Element"), QStringLiteral("Rarity")};
    return h;
}

// Tab-separated, the header line first; blank lines are skipped. Names become
// file names, so a name with a path character or outside printable ASCII is refused.
QList<CardSpec> parseCardList(const QByteArray &text, QString *error);

QString rankText(int rank);
int rankValue(const QString &text); // 0 when not 1..9 or A

const QStringList &elementNames();
const QStringList &rarityNames();

} // namespace assets
