#include "net/PlayerTree.h"

#include "app/ErrorHandler.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmguildchat.h"
#include "platform/Forms.h"

#include <QAbstractItemModel>
#include <QPointer>
#include <QTreeWidget>

QStringView firstWord(const QString& entry) {
    const qsizetype blank = entry.indexOf(u' ');
    return blank < 0 ? QStringView(entry) : QStringView(entry).left(blank);
}

PlayerTreeIndex* PlayerTreeIndex::of(QTreeWidget* tree) {
    if (auto* existing = tree->findChild<PlayerTreeIndex*>(QString(), Qt::FindDirectChildrenOnly)) return existing;
    return new PlayerTreeIndex(tree);
}

PlayerTreeIndex::PlayerTreeIndex(QTreeWidget* tree) : QObject(tree), m_tree(tree) {
    QAbstractItemModel* model = tree->model();
    const auto stale = [this] { m_stale = true; };
    connect(model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex& parent, int first, int last) {
        if (!parent.isValid()) add(first, last);
    });
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this](const QModelIndex& parent, int first, int last) {
        if (!parent.isValid()) remove(first, last);
    });
    connect(model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& from, const QModelIndex& to) {
        if (!from.parent().isValid()) reread(from.row(), to.row());
    });
    // An emptied tree (the list fill starts so) is known at once; a reordering is rare and the
    // next question reads the tree afresh. The model is asked, not the tree: the tree's model
    // empties itself while the tree is being destroyed.
    connect(model, &QAbstractItemModel::modelReset, this, [this, model] {
        m_byLower.clear();
        m_lowerOf.clear();
        m_stale = model->rowCount() != 0;
    });
    connect(model, &QAbstractItemModel::layoutChanged, this, stale);
    connect(model, &QAbstractItemModel::rowsMoved, this, stale);
}

void PlayerTreeIndex::add(int first, int last) {
    if (m_stale) return;
    for (int row = first; row <= last; ++row) {
        QTreeWidgetItem* node = m_tree->topLevelItem(row);
        if (!node) {
            m_stale = true;
            return;
        }
        QString lower = firstWord(node->text(0)).toString().toLower();
        m_byLower[lower].append(node);
        m_lowerOf.insert(node, std::move(lower));
    }
}

void PlayerTreeIndex::forget(const QTreeWidgetItem* node) {
    const auto at = m_lowerOf.constFind(node);
    if (at == m_lowerOf.cend()) {
        m_stale = true;
        return;
    }
    const auto nodes = m_byLower.find(*at);
    m_lowerOf.erase(at);
    if (nodes == m_byLower.end()) return;
    nodes->removeOne(const_cast<QTreeWidgetItem*>(node));
    if (nodes->isEmpty()) m_byLower.erase(nodes);
}

void PlayerTreeIndex::remove(int first, int last) {
    for (int row = first; row <= last && !m_stale; ++row) {
        if (const QTreeWidgetItem* node = m_tree->topLevelItem(row))
            forget(node);
        else
            m_stale = true;
    }
}

// A rewritten node text (a player's new level or guild) may give the node another first word.
void PlayerTreeIndex::reread(int first, int last) {
    for (int row = first; row <= last && !m_stale; ++row) {
        QTreeWidgetItem* node = m_tree->topLevelItem(row);
        if (!node) {
            m_stale = true;
            return;
        }
        if (m_lowerOf.value(node) == firstWord(node->text(0)).toString().toLower()) continue;
        forget(node);
        add(row, row);
    }
}

void PlayerTreeIndex::ensureCurrent() {
    if (!m_stale && m_lowerOf.size() == m_tree->topLevelItemCount()) return;
    m_byLower.clear();
    m_lowerOf.clear();
    m_stale = false;
    add(0, m_tree->topLevelItemCount() - 1);
}

bool PlayerTreeIndex::listsIgnoringCase(const QString& word) {
    ensureCurrent();
    return m_byLower.contains(word.toLower());
}

QList<QTreeWidgetItem*> PlayerTreeIndex::nodesOf(const QString& word) {
    ensureCurrent();
    QList<QTreeWidgetItem*> out;
    const auto nodes = m_byLower.constFind(word.toLower());
    if (nodes == m_byLower.cend()) return out;
    for (QTreeWidgetItem* node : *nodes)
        if (firstWord(node->text(0)) == word) out << node;
    return out;
}

void RefreshGuildListSoon() {
    const auto refresh = [] { shielded("RefreshGuildListSoon", [] { form<frmguildchat>()->RefreshGuildPlayerList(); }); };
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    if (!lobby) {
        refresh();
        return;
    }
    PlayerTreeIndex* index = PlayerTreeIndex::of(lobby->playerlist);
    if (index->guildRefreshPending) return;
    index->guildRefreshPending = true;
    // Queued on the lobby's tree, so a lobby that goes away takes the pending refresh with it.
    QMetaObject::invokeMethod(
        index,
        [index, lobby = QPointer<frmchildchat>(lobby), refresh] {
            index->guildRefreshPending = false;
            if (!lobby || lobby->unloading()) return;
            refresh();
        },
        Qt::QueuedConnection);
}
