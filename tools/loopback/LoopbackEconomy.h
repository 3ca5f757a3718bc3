#pragma once
// The player economy of the loopback: advancement abilities, the avatar shop and inventory,
// starter decks and the player's shop, kept per nickname while the tool runs. The web half asks
// it for the windows' stored procedures, the game half hands it their lines and sends back the
// refresh and figure lines it answers with.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class LoopbackEconomy {
public:
    static LoopbackEconomy& instance();

    // True when the stored-procedure call is one of the economy windows'.
    static bool serves(const QString& command);
    // The HTTP reply for such a call.
    QByteArray answer(const QString& command);
    // A line of the player; false when it is none of the economy's. reply sends a line back.
    bool handle(const QString& nick, const QString& line, const std::function<void(const QString&)>& reply);

    // The procedure and the unquoted text arguments of "call proc('a', 'b')".
    static bool parseCall(const QString& command, QString& procedure, QStringList& arguments);

private:
    struct Ability {
        QString name, category;
        int level, max;
        QString description;
    };
    struct Item {
        QString id, kind, name, key;
        int price;
    };
    struct Owned {
        int id;
        Item item;
        int paid;
    };
    struct Account {
        int gold = 1500;
        QString gender = QStringLiteral("f");
        bool genderChanged = false;
        int aaPoints = 3, aaTrained = 4, aaShare = 40, aaExp = 800;
        int vaPoints = 1, vaExp = 2600;
        QList<Ability> alternate, veteran;
        QList<Owned> inventory;
        QHash<QString, QString> worn;  // kind -> key
        int nextOwned = 1;
        QString shopTitle, shopDescription;
        QList<QPair<QString, int>> shop;        // card, price
        QHash<QString, QHash<QString, int>> cards;  // deck -> card -> count
    };

    Account& account(const QString& nick);
    static const QList<Item>& items();
    static QHash<QString, QStringList> deckCards();
    QString avatarLine(const Account& a) const;
    static bool train(QList<Ability>& abilities, const QString& key, int& points);

    QHash<QString, Account> m_accounts;
};
