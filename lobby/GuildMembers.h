#pragma once
// The guild window's member list: the lobby's players whose guild tag is the player's guild, in
// the lobby's order and with the lobby's texts. It is built from the whole lobby tree once and
// then only follows the joins and leaves the lobby tree saw since the last update; anything
// else (a rewritten text, a reordering, an emptied tree, a change made to the list from
// outside, another guild) builds it afresh at the next update.
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringView>

class QTreeWidget;
class QTreeWidgetItem;

// A lobby node text whose guild tag is guild: the tag is what stands between its first "<" and
// its first ">" (from the start when there is no "<"); a text without ">" has none.
bool inGuild(const QString& text, const QString& guild);

class GuildMembers : public QObject {
    Q_OBJECT
public:
    // list: the guild window's tree, which this keeps; it lives as a child of it.
    explicit GuildMembers(QTreeWidget* list);

    // Makes the list show the members of guild among the nodes of lobbyTree (none without one).
    void update(QTreeWidget* lobbyTree, const QString& guild);

private:
    void rebuild(QTreeWidget* lobbyTree, const QString& guild);
    void follow(QTreeWidget* lobbyTree);
    void lose();
    void joined(int first, int last);
    void leaving(int first, int last);

    QTreeWidget* m_list;
    QPointer<QTreeWidget> m_lobby;  // the tree followed
    QString m_guild;                // the guild the list shows
    bool m_inStep = false;          // the list and the tracking below describe m_lobby
    bool m_editing = false;         // the list is being changed from here
    QHash<const QTreeWidgetItem*, QTreeWidgetItem*> m_copyOf;  // lobby member node -> its node here
    QList<QTreeWidgetItem*> m_gone;                            // nodes here whose lobby node went
    QHash<QTreeWidgetItem*, qint64> m_joined;                  // lobby nodes appended since, by arrival
    qint64 m_arrivals = 0;
    QList<QMetaObject::Connection> m_links;  // to the followed tree's model
};
