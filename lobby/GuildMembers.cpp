#include "lobby/GuildMembers.h"

#include <QAbstractItemModel>
#include <QTreeWidget>

#include <algorithm>

bool inGuild(const QString& text, const QString& guild) {
    const qsizetype close = text.indexOf(u'>');
    if (close < 0) return false;
    const qsizetype open = text.indexOf(u'<');
    return open < close && QStringView(text).mid(open + 1, close - open - 1) == guild;
}

namespace {
// A copy of a lobby node for the list, or nullptr for a player of another guild.
QTreeWidgetItem* memberCopy(const QTreeWidgetItem* node, const QString& guild) {
    const QString text = node->text(0);
    if (!inGuild(text, guild)) return nullptr;
    auto* copy = new QTreeWidgetItem(QStringList{text});
    copy->setData(0, Qt::UserRole, text);
    return copy;
}
}  // namespace

GuildMembers::GuildMembers(QTreeWidget* list) : QObject(list), m_list(list) {
    // Whatever changes the list but this object puts it out of step.
    QAbstractItemModel* model = list->model();
    const auto outside = [this] {
        if (!m_editing) lose();
    };
    connect(model, &QAbstractItemModel::rowsInserted, this, outside);
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, outside);
    connect(model, &QAbstractItemModel::dataChanged, this, outside);
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, outside);
    connect(model, &QAbstractItemModel::layoutChanged, this, outside);
    connect(model, &QAbstractItemModel::rowsMoved, this, outside);
}

void GuildMembers::lose() {
    m_inStep = false;
    m_copyOf.clear();
    m_gone.clear();
    m_joined.clear();
}

void GuildMembers::follow(QTreeWidget* lobbyTree) {
    if (m_lobby == lobbyTree && !m_links.isEmpty()) return;
    for (const QMetaObject::Connection& link : std::as_const(m_links)) disconnect(link);
    m_links.clear();
    m_lobby = lobbyTree;
    if (!lobbyTree) return;
    QAbstractItemModel* model = lobbyTree->model();
    m_links << connect(model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex& parent, int first, int last) {
        if (!parent.isValid()) joined(first, last);
    });
    m_links << connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                       [this](const QModelIndex& parent, int first, int last) {
                           if (!parent.isValid()) leaving(first, last);
                       });
    const auto lost = [this] { lose(); };
    m_links << connect(model, &QAbstractItemModel::dataChanged, this, lost);
    m_links << connect(model, &QAbstractItemModel::modelReset, this, lost);
    m_links << connect(model, &QAbstractItemModel::layoutChanged, this, lost);
    m_links << connect(model, &QAbstractItemModel::rowsMoved, this, lost);
}

// Joins append their nodes; a node put anywhere else changes the order the list keeps.
void GuildMembers::joined(int first, int last) {
    if (!m_inStep || !m_lobby) return;
    if (last != m_lobby->topLevelItemCount() - 1) return lose();
    for (int row = first; row <= last; ++row) m_joined.insert(m_lobby->topLevelItem(row), ++m_arrivals);
}

void GuildMembers::leaving(int first, int last) {
    if (!m_inStep || !m_lobby) return;
    for (int row = first; row <= last; ++row) {
        QTreeWidgetItem* node = m_lobby->topLevelItem(row);
        if (m_joined.remove(node)) continue;
        if (QTreeWidgetItem* copy = m_copyOf.take(node)) m_gone << copy;
    }
}

void GuildMembers::update(QTreeWidget* lobbyTree, const QString& guild) {
    if (!m_inStep || !lobbyTree || m_lobby != lobbyTree || m_guild != guild ||
        m_list->topLevelItemCount() != m_copyOf.size() + m_gone.size())
        return rebuild(lobbyTree, guild);
    m_editing = true;
    qDeleteAll(m_gone);
    m_gone.clear();
    QList<std::pair<qint64, QTreeWidgetItem*>> arrivals;
    arrivals.reserve(m_joined.size());
    for (auto it = m_joined.cbegin(); it != m_joined.cend(); ++it) arrivals.append({it.value(), it.key()});
    m_joined.clear();
    std::sort(arrivals.begin(), arrivals.end());
    QList<QTreeWidgetItem*> copies;
    for (const auto& arrival : std::as_const(arrivals)) {
        if (QTreeWidgetItem* copy = memberCopy(arrival.second, guild)) {
            m_copyOf.insert(arrival.second, copy);
            copies << copy;
        }
    }
    m_list->addTopLevelItems(copies);
    m_editing = false;
}

void GuildMembers::rebuild(QTreeWidget* lobbyTree, const QString& guild) {
    m_editing = true;
    m_list->clear();
    lose();
    follow(lobbyTree);
    m_guild = guild;
    if (lobbyTree) {
        QList<QTreeWidgetItem*> copies;
        for (int i = 0; i < lobbyTree->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* node = lobbyTree->topLevelItem(i);
            if (QTreeWidgetItem* copy = memberCopy(node, guild)) {
                m_copyOf.insert(node, copy);
                copies << copy;
            }
        }
        m_list->addTopLevelItems(copies);
        m_inStep = true;
    }
    m_editing = false;
}
