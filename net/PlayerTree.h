#pragma once
// The lobby's player tree as the player-list handlers use it: its nodes found by nickname without
// walking thousands of them for every joining or leaving player, and the guild member list
// brought up to date once the lines at hand are handled.
#include <QHash>
#include <QList>
#include <QVarLengthArray>
#include <QObject>
#include <QString>
#include <QStringView>

class QTreeWidget;
class QTreeWidgetItem;

// The first blank-separated word of a node text: the player's nickname (with any marker).
QStringView firstWord(const QString& entry);

// The tree's top-level nodes by their first word, kept in step with the tree's model whoever
// changes it; it lives as a child of the tree.
class PlayerTreeIndex : public QObject {
    Q_OBJECT
public:
    static PlayerTreeIndex* of(QTreeWidget* tree);

    // A node whose first word is this word, letter case aside.
    bool listsIgnoringCase(const QString& word);
    // The nodes whose first word is exactly this word, in no particular order.
    QList<QTreeWidgetItem*> nodesOf(const QString& word);

    // Set while a guild list refresh waits for the event loop.
    bool guildRefreshPending = false;

private:
    explicit PlayerTreeIndex(QTreeWidget* tree);
    void add(int first, int last);
    void remove(int first, int last);
    void forget(const QTreeWidgetItem* node);
    void reread(int first, int last);
    void ensureCurrent();

    // Nodes by their first word in lower case (nearly always one), and that word by node.
    using Nodes = QVarLengthArray<QTreeWidgetItem*, 1>;
    QTreeWidget* m_tree;
    QHash<QString, Nodes> m_byLower;
    QHash<const QTreeWidgetItem*, QString> m_lowerOf;
    bool m_stale = true;
};

// Brings the guild window's member list up to date once the received lines at hand are handled:
// a burst of joins at login then costs one refresh, not one per line.
void RefreshGuildListSoon();
