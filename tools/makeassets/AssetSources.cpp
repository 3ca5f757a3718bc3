#include "AssetSources.h"

#include <QRegularExpression>

namespace assets {

namespace {
QString lineError(int line, const QString &what)
{
    return QStringLiteral("line %1: %2").arg(line).arg(what);
}
} // namespace

QList<SkinEntry> parseSkinIni(const QByteArray &text, QString *error)
{
    QList<SkinEntry> out;
    QString section;
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = QString::fromUtf8(lines[i]).trimmed();
        const int number = i + 1;
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']') || line.size() < 3) {
                if (error) *error = lineError(number, QStringLiteral("bad section header"));
                return {};
            }
            section = line.mid(1, line.size() - 2).trimmed();
            continue;
        }
        const int eq = line.indexOf(u'=');
        if (eq <= 0 || section.isEmpty()) {
            if (error) *error = lineError(number, QStringLiteral("expected key=value inside a section"));
            return {};
        }
        out.append({section, line.left(eq).trimmed(), line.mid(eq + 1).trimmed(), number});
    }
    if (error) error->clear();
    return out;
}

bool isPictureValue(const QString &value)
{
    const QString lower = value.toLower();
    return value.startsWith(u'\\') && (lower.endsWith(QLatin1String(".jpg")) || lower.endsWith(QLatin1String(".gif")));
}

QString memberForSkinValue(const SkinEntry &entry)
{
    QString rel = entry.value;
    rel.replace(u'\\', u'/');
    while (rel.startsWith(u'/'))
        rel.remove(0, 1);
    if (entry.section.compare(QLatin1String("dice"), Qt::CaseInsensitive) == 0)
        return rel;
    return QStringLiteral("skins/") + rel;
}

QString rankText(int rank)
{
    return rank == 10 ? QStringLiteral("A") : QString::number(rank);
}

int rankValue(const QString &text)
{
    if (text == QLatin1String("A"))
        return 10;
    if (text.size() == 1 && text[0] >= u'1' && text[0] <= u'9')
        return text[0].unicode() - u'0';
    return 0;
}

const QStringList &elementNames()
{
    static const QStringList names{QStringLiteral("fire"),   QStringLiteral("ice"),   QStringLiteral("thunder"),
                                   QStringLiteral("earth"),  QStringLiteral("poison"), QStringLiteral("wind"),
                                   QStringLiteral("water"),  QStringLiteral("holy")};
    return names;
}

const QStringList &rarityNames()
{
    static const QStringList names{QStringLiteral("Common"), QStringLiteral("Uncommon"), QStringLiteral("Rare"),
                                   QStringLiteral("Special")};
    return names;
}

QList<CardSpec> parseCardList(const QByteArray &text, QString *error)
{
    auto fail = [&](int line, const QString &what) {
        if (error) *error = lineError(line, what);
        return QList<CardSpec>{};
    };
    static const QRegularExpression goodName(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9 \\-]{0,38}[A-Za-z0-9]$"));
    QList<CardSpec> out;
    bool headerSeen = false;
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = QString::fromUtf8(lines[i]);
        if (line.endsWith(u'\r'))
            line.chop(1);
        const int number = i + 1;
        if (line.trimmed().isEmpty())
            continue;
        const QStringList cols = line.split(u'\t');
        if (!headerSeen) {
            if (cols != cardListHeader())
                return fail(number, QStringLiteral("header must be: ") + cardListHeader().join(QLatin1String("<tab>")));
            headerSeen = true;
            continue;
        }
        if (cols.size() != cardListHeader().size())
            return fail(number, QStringLiteral("expected %1 tab-separated columns").arg(cardListHeader().size()));
        CardSpec c;
        c.name = cols[0];
        c.deck = cols[1];
        if (!goodName.match(c.name).hasMatch() || c.name.contains(QLatin1String("  ")))
            return fail(number, QStringLiteral("card name unusable as a file name: ") + c.name);
        if (!goodName.match(c.deck).hasMatch())
            return fail(number, QStringLiteral("bad deck name: ") + c.deck);
        bool ok = false;
        c.level = cols[2].toInt(&ok);
        if (!ok || c.level < 1 || c.level > 10)
            return fail(number, QStringLiteral("level must be 1..10"));
        int *ranks[] = {&c.top, &c.right, &c.bottom, &c.left};
        for (int r = 0; r < 4; ++r) {
            *ranks[r] = rankValue(cols[3 + r]);
            if (*ranks[r] == 0)
                return fail(number, QStringLiteral("rank must be 1..9 or A"));
        }
        c.element = cols[7];
        if (c.element != QLatin1String("none") && !elementNames().contains(c.element))
            return fail(number, QStringLiteral("unknown element: ") + c.element);
        c.rarity = cols[8];
        if (!rarityNames().contains(c.rarity))
            return fail(number, QStringLiteral("unknown rarity: ") + c.rarity);
        for (const CardSpec &other : std::as_const(out))
            if (other.name.compare(c.name, Qt::CaseInsensitive) == 0)
                return fail(number, QStringLiteral("duplicate card: ") + c.name);
        out.append(c);
    }
    if (!headerSeen)
        return fail(0, QStringLiteral("no header line"));
    if (error) error->clear();
    return out;
}

} // namespace assets
