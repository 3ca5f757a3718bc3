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
        if (!parent.isValid()) count(first, last, 1);
    });
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this](const QModelIndex& parent, int first, int last) {
        if (!parent.isValid()) count(first, last, -1);
    });
    // A rewritten text or a reordering is rare: the next question counts afresh.
    connect(model, &QAbstractItemModel::dataChanged, this, stale);
    connect(model, &QAbstractItemModel::modelReset, this, stale);
    connect(model, &QAbstractItemModel::layoutChanged, this, stale);
    connect(model, &QAbstractItemModel::rowsMoved, this, stale);
}

void PlayerTreeIndex::count(int first, int last, int delta) {
    if (m_stale) return;
    for (int row = first; row <= last; ++row) {
        const QTreeWidgetItem* node = m_tree->topLevelItem(row);
        if (!node) {
            m_stale = true;
            return;
        }
        const QString text = node->text(0);
        const QString word = firstWord(text).toString();
        m_exact[word] += delta;
        m_lower[word.toLower()] += delta;
        m_total += delta;
    }
}

void PlayerTreeIndex::ensureCurrent() {
    if (!m_stale && m_total == m_tree->topLevelItemCount()) return;
    m_exact.clear();
    m_lower.clear();
    m_total = 0;
    m_stale = false;
    count(0, m_tree->topLevelItemCount() - 1, 1);
}

bool PlayerTreeIndex::listsIgnoringCase(const QString& word) {
    ensureCurrent();
    return m_lower.value(word.toLower()) > 0;
}

bool PlayerTreeIndex::lists(const QString& word) {
    ensureCurrent();
    return m_exact.value(word) > 0;
}

void RefreshGuildListSoon() {
    static const char* const kPending = "guildRefreshPending";
    const auto refresh = [] { shielded("RefreshGuildListSoon", [] { form<frmguildchat>()->RefreshGuildPlayerList(); }); };
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    if (!lobby) {
        refresh();
        return;
    }
    if (lobby->property(kPending).toBool()) return;
    lobby->setProperty(kPending, true);
    // Queued on the lobby, so a lobby that goes away takes the pending rebuild with it.
    QMetaObject::invokeMethod(
        lobby,
        [lobby = QPointer<frmchildchat>(lobby), refresh] {
            if (!lobby || lobby->unloading()) return;
            lobby->setProperty(kPending, false);
            refresh();
        },
        Qt::QueuedConnection);
}
