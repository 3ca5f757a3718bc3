#pragma once
// The lobby's player tree as the player-list handlers use it: which nicknames it lists, found
// without walking thousands of nodes for every joining player, and the guild member list that is
// rebuilt from it.
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringView>

class QTreeWidget;

// The first blank-separated word of a node text: the player's nickname (with any marker).
QStringView firstWord(const QString& entry);

// Counts of the first words of the tree's top-level nodes, kept in step with the tree's model
// whoever changes it; it lives as a child of the tree.
class PlayerTreeIndex : public QObject {
    Q_OBJECT
public:
    static PlayerTreeIndex* of(QTreeWidget* tree);

    // A node whose first word is this word, letter case aside.
    bool listsIgnoringCase(const QString& word);
    // A node whose first word is exactly this word.
    bool lists(const QString& word);

private:
    explicit PlayerTreeIndex(QTreeWidget* tree);
    void count(int first, int last, int delta);
    void ensureCurrent();

    QTreeWidget* m_tree;
    QHash<QString, int> m_exact;
    QHash<QString, int> m_lower;
    int m_total = 0;
    bool m_stale = true;
};

// Rebuilds the guild window's member list once the received lines at hand are handled: a burst
// of joins at login then costs one rebuild, not one per line.
void RefreshGuildListSoon();
