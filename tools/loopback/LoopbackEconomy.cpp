#include "tools/loopback/LoopbackEconomy.h"

#include "app/modText.h"
#include "tools/dataset/DataSetXml.h"
#include "tools/loopback/LoopbackRooms.h"

#include <QTextStream>
#include <algorithm>

namespace {
using DataSetXml::Column;

void print(const QString& text) {
    static QTextStream out(stdout);
    out << text << Qt::endl;
}

QByteArray xml(const QString& command, const QList<Column>& columns, const QList<QStringList>& rows) {
    print(QStringLiteral("[web] GetData %1: %2 rows").arg(command).arg(rows.size()));
    return DataSetXml::httpReply(200, "OK", "text/xml; charset=utf-8", DataSetXml::reply(columns, rows));
}

// A field of a line with its "%20" back to blanks.
QString blanksOf(const QString& field) { return QString(field).replace(QLatin1String("%20"), QLatin1String(" ")); }

Column text(const char* name) { return {QString::fromLatin1(name), QStringLiteral("string")}; }
Column number(const char* name) { return {QString::fromLatin1(name), QStringLiteral("integer")}; }

const QStringList kProcedures = {
    QStringLiteral("sps_PlayerAA"),         QStringLiteral("sps_PlayerAAStats"),      QStringLiteral("sps_AADescription"),
    QStringLiteral("sps_PlayerVA"),         QStringLiteral("sps_PlayerVAStats"),      QStringLiteral("sps_VADescription"),
    QStringLiteral("sps_GetAvatars"),       QStringLiteral("sps_GetAvatarInventory"), QStringLiteral("sps_FindStarterDecks"),
    QStringLiteral("sps_GetPlayerCardsByDeck"), QStringLiteral("usp_FindDecks"),      QStringLiteral("sps_ShopInfo"),
    QStringLiteral("sps_ShopCardsOnly"),    QStringLiteral("sps_PlayerCardsOnly"),
};
}  // namespace

LoopbackEconomy& LoopbackEconomy::instance() {
    static LoopbackEconomy economy;
    return economy;
}

bool LoopbackEconomy::parseCall(const QString& command, QString& procedure, QStringList& arguments) {
    if (!command.startsWith(QLatin1String("call "), Qt::CaseInsensitive) || !command.endsWith(u')')) return false;
    const qsizetype open = command.indexOf(u'(');
    if (open < 0) return false;
    procedure = command.mid(5, open - 5).trimmed();
    arguments.clear();
    const QString inside = command.mid(open + 1, command.size() - open - 2);
    qsizetype i = 0;
    while (i < inside.size()) {
        if (inside[i] == u' ' || inside[i] == u',') {
            ++i;
            continue;
        }
        if (inside[i] != u'\'') return false;
        QString value;
        for (++i;; ++i) {
            if (i >= inside.size()) return false;
            if (inside[i] != u'\'') {
                value += inside[i];
            } else if (i + 1 < inside.size() && inside[i + 1] == u'\'') {
                value += u'\'';
                ++i;
            } else {
                break;
            }
        }
        ++i;
        arguments << value;
    }
    return true;
}

bool LoopbackEconomy::serves(const QString& command) {
    QString procedure;
    QStringList arguments;
    return parseCall(command, procedure, arguments) && kProcedures.contains(procedure);
}

const QList<LoopbackEconomy::Item>& LoopbackEconomy::items() {
    static const QList<Item> all = [] {
        QList<Item> out;
        const QStringList codes{QStringLiteral("001"), QStringLiteral("002"), QStringLiteral("003")};
        const QHash<QString, QStringList> names{
            {QStringLiteral("background"), {"Dusk Forest", "Harbour Mist", "Violet Night"}},
            {QStringLiteral("head"), {"Plain Look", "Silver Helm", "Mystic Hood"}},
            {QStringLiteral("body"), {"Traveller's Coat", "Knight's Mail", "Arcane Robe"}}};
        const int prices[] = {150, 400, 900};
        int kindNumber = 1;
        for (const QString kind : {"background", "head", "body"}) {
            for (int i = 0; i < 3; ++i)
                out.append({QString::number(kindNumber * 100 + i + 1), kind, names[kind][i], codes[i], prices[i]});
            ++kindNumber;
        }
        return out;
    }();
    return all;
}

QHash<QString, QStringList> LoopbackEconomy::deckCards() {
    return {{QStringLiteral("Ashfall"), {"Cinderpup", "Emberlark", "Kilnwarden", "Lampwick Moth"}},
            {QStringLiteral("Stormwake"), {"Brine Skitter", "Gustling", "Tidecall Nymph"}},
            {QStringLiteral("Hollowroot"), {"Bogwhisker Rat", "Thornback Boar", "Gloamweaver"}},
            {QStringLiteral("Standard"), {"Cinderpup", "Gustling", "Bogwhisker Rat"}}};
}

LoopbackEconomy::Account& LoopbackEconomy::account(const QString& nick) {
    auto it = m_accounts.find(nick.toLower());
    if (it != m_accounts.end()) return *it;
    Account a;
    a.alternate = {{"Keen Eye", "Mind", 2, 5, "See one more card of the opponent's hand at the start of a game."},
                   {"Iron Will", "Body", 1, 5, "Your cards resist one more flip in Sudden Death."},
                   {"Quick Study", "Mind", 10, 10, "Ten percent more experience from every game."},
                   {"Lucky Draw", "Fortune", 0, 3, "A better chance of a rare card in a chest."},
                   {"Card Sense", "Mind", 9, 10, "Shows the element of the board's cells."}};
    a.veteran = {{"Old Hand", "Veteran", 1, 3, "Challenge rooms open faster for you."},
                 {"War Chest", "Veteran", 0, 5, "Five percent more gold from every win."},
                 {"Mentor", "Veteran", 2, 2, "Players you teach gain more experience."}};
    for (const Item& item : items())
        if (item.key == QLatin1String("001")) a.inventory.append({a.nextOwned++, item, item.price});
    a.worn = {{QStringLiteral("background"), QStringLiteral("001")}, {QStringLiteral("head"), QStringLiteral("001")},
              {QStringLiteral("body"), QStringLiteral("001")}};
    a.shopTitle = QStringLiteral("Ember Stall");
    a.shopDescription = QStringLiteral("Fire cards at fair prices");
    a.shop = {{QStringLiteral("Kilnwarden"), 120}};
    const QHash<QString, QStringList> decks = deckCards();
    for (auto d = decks.begin(); d != decks.end(); ++d) {
        int n = 1;
        for (const QString& card : d.value()) a.cards[d.key()][card] = n++;
    }
    return *m_accounts.insert(nick.toLower(), a);
}

QByteArray LoopbackEconomy::answer(const QString& command) {
    QString procedure;
    QStringList args;
    parseCall(command, procedure, args);
    Account& a = account(args.value(0));
    const auto abilities = [&](const QList<Ability>& list) {
        QList<QStringList> rows;
        for (const Ability& x : list)
            rows << QStringList{x.name, x.category, QString::number(x.level), QString::number(x.max), x.description};
        return xml(command, {text("Ability"), text("Category"), number("Level"), number("Max_x0020_Level"), text("Description")},
                   rows);
    };
    const auto description = [&](const QList<Ability>& list) {
        QList<QStringList> rows;
        for (const Ability& x : list)
            if (x.name == args.value(0)) rows << QStringList{x.description};
        return xml(command, {text("description")}, rows);
    };
    if (procedure == QLatin1String("sps_PlayerAA")) return abilities(a.alternate);
    if (procedure == QLatin1String("sps_PlayerVA")) return abilities(a.veteran);
    if (procedure == QLatin1String("sps_AADescription")) return description(account(QString()).alternate);
    if (procedure == QLatin1String("sps_VADescription")) return description(account(QString()).veteran);
    if (procedure == QLatin1String("sps_PlayerAAStats"))
        return xml(command, {number("EXPToNext"), number("AAPercent"), number("AAPoints"), number("AATrained")},
                   {{QString::number(a.aaExp), QString::number(a.aaShare), QString::number(a.aaPoints), QString::number(a.aaTrained)}});
    if (procedure == QLatin1String("sps_PlayerVAStats"))
        return xml(command, {number("EXPToNext"), number("AAPoints"), number("AATrained")},
                   {{QString::number(a.vaExp), QString::number(a.vaPoints), QStringLiteral("0")}});
    if (procedure == QLatin1String("sps_GetAvatars")) {
        QList<QStringList> rows;
        for (const Item& item : items())
            if (item.kind == args.value(1))
                rows << QStringList{item.id, item.name, QString::number(item.price), item.key, item.kind == QLatin1String("background") ? QStringLiteral("Scene") : QStringLiteral("Wear")};
        return xml(command, {number("AvatarID"), text("Item"), number("Price"), text("keyname"), text("Style")}, rows);
    }
    if (procedure == QLatin1String("sps_GetAvatarInventory")) {
        QList<QStringList> rows;
        for (const Owned& o : a.inventory)
            rows << QStringList{QString::number(o.id), o.item.id, o.item.kind, QString::number(o.paid), o.item.name, o.item.key,
                                a.worn.value(o.item.kind) == o.item.key ? QStringLiteral("Worn") : QString()};
        return xml(command, {number("OwnedID"), number("AvatarID"), text("Kind"), number("Paid"), text("Item"), text("keyname"), text("Equipped")}, rows);
    }
    if (procedure == QLatin1String("sps_FindStarterDecks") || procedure == QLatin1String("usp_FindDecks")) {
        QList<QStringList> rows;
        for (const QString& deck : LoopbackRooms::decks()) rows << QStringList{deck};
        if (procedure == QLatin1String("sps_FindStarterDecks")) rows << QStringList{QStringLiteral("Crusade")} << QStringList{QStringLiteral("EVNT")};
        return xml(command, {text("Deck")}, rows);
    }
    if (procedure == QLatin1String("sps_GetPlayerCardsByDeck") || procedure == QLatin1String("sps_PlayerCardsOnly")) {
        QList<QStringList> rows;
        const QHash<QString, int> held = a.cards.value(args.value(1));
        for (auto c = held.begin(); c != held.end(); ++c)
            if (c.value() > 0) rows << QStringList{c.key(), QString::number(c.value())};
        std::sort(rows.begin(), rows.end());
        return xml(command, {text("Card"), number("Total")}, rows);
    }
    if (procedure == QLatin1String("sps_ShopInfo")) {
        QList<QStringList> rows;
        if (!a.shopTitle.isEmpty()) rows << QStringList{a.shopTitle, a.shopDescription};
        return xml(command, {text("title"), text("description")}, rows);
    }
    // sps_ShopCardsOnly
    QList<QStringList> rows;
    for (const auto& [card, price] : a.shop) rows << QStringList{card, QString::number(price)};
    return xml(command, {text("Card"), number("Price")}, rows);
}

bool LoopbackEconomy::train(QList<Ability>& abilities, const QString& key, int& points) {
    for (Ability& x : abilities) {
        if (x.name.split(u' ').first().toLower() != key) continue;
        if (points <= 0 || x.level >= x.max) return false;
        ++x.level;
        --points;
        return true;
    }
    return false;
}

QString LoopbackEconomy::avatarLine(const Account& a) const {
    return QStringLiteral("UPDATEAVATAR ") + a.gender + u' ' + a.worn.value(QStringLiteral("background")) + u' ' +
           a.worn.value(QStringLiteral("body")) + u' ' + a.worn.value(QStringLiteral("head"));
}

bool LoopbackEconomy::handle(const QString& nick, const QString& line, const std::function<void(const QString&)>& reply) {
    const Fields f = Divide(line, QStringLiteral(" "));
    const QString& keyword = f[0];
    Account& a = account(nick);
    const QString gold = QStringLiteral("UPDATEGP ");
    if (keyword == QLatin1String("ALTERNATESET")) {
        a.aaShare = std::clamp(int(f[1].toInt()), 0, 100);
        reply(QStringLiteral("AAREFRESH"));
    } else if (keyword == QLatin1String("ALTERNATETRAIN")) {
        if (train(a.alternate, f[1], a.aaPoints)) ++a.aaTrained;
        reply(QStringLiteral("AAREFRESH"));
    } else if (keyword == QLatin1String("VETERANALTERNATETRAIN")) {
        train(a.veteran, f[1], a.vaPoints);
        reply(QStringLiteral("AAVETREFRESH"));
    } else if (keyword == QLatin1String("AVATARBUY")) {
        for (const Item& item : items()) {
            if (item.id != f[1] || item.price > a.gold) continue;
            a.gold -= item.price;
            a.inventory.append({a.nextOwned++, item, item.price});
            reply(gold + QString::number(a.gold));
            reply(QStringLiteral("PLAYBUYSOUND"));
        }
        reply(QStringLiteral("AVATARINVENTORYREFRESH"));
    } else if (keyword == QLatin1String("AVATARSELL")) {
        for (int i = 0; i < a.inventory.size(); ++i) {
            if (QString::number(a.inventory[i].id) != f[1]) continue;
            a.gold += a.inventory[i].paid / 4;
            a.inventory.removeAt(i);
            reply(gold + QString::number(a.gold));
            break;
        }
        reply(QStringLiteral("AVATARINVENTORYREFRESH"));
    } else if (keyword == QLatin1String("AVATAREQUIP")) {
        for (const Owned& o : a.inventory)
            if (QString::number(o.id) == f[1]) a.worn[o.item.kind] = o.item.key;
        reply(avatarLine(a));
        reply(QStringLiteral("AVATARINVENTORYREFRESH"));
    } else if (keyword == QLatin1String("AVATARCHANGE")) {
        if (!a.genderChanged) {
            a.genderChanged = true;
            a.gender = a.gender == QLatin1String("f") ? QStringLiteral("m") : QStringLiteral("f");
            reply(avatarLine(a));
        }
    } else if (keyword == QLatin1String("ABNEWDECK")) {
        const QString deck = line.mid(10);
        const QStringList starter = deckCards().value(deck);
        a.cards[deck].clear();
        for (const QString& card : starter) a.cards[deck][card] = 1;
        a.gold = 0;
        reply(gold + QStringLiteral("0"));
        reply(QStringLiteral("STARTERDECKREFRESHGRID"));
    } else if (keyword == QLatin1String("SHOPCREATE")) {
        a.shopTitle = blanksOf(f[1]);
        a.shopDescription = blanksOf(f[2]);
    } else if (keyword == QLatin1String("SHOPADD")) {
        const QString card = blanksOf(f[1]);
        for (auto d = a.cards.begin(); d != a.cards.end(); ++d) {
            auto held = d->find(card);
            if (held == d->end() || held.value() <= 0) continue;
            --held.value();
            a.shop.append({card, f[2].toInt()});
            break;
        }
    } else if (keyword == QLatin1String("SHOPMINUS")) {
        const QString card = blanksOf(f[1]);
        for (int i = 0; i < a.shop.size(); ++i) {
            if (a.shop[i].first != card) continue;
            a.shop.removeAt(i);
            ++a.cards[QStringLiteral("Standard")][card];
            break;
        }
    } else {
        return false;
    }
    return true;
}
