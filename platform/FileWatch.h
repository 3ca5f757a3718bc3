#pragma once
// Change notices for folders whose files the client keeps decoded in memory (settings, skins),
// so that a lookup needs no disk access while nothing changed. The kernel queues a notice before
// the writing call returns, so a change by this or any other process is seen by the next poll,
// whatever the resolution of file times. Where notices are not available nothing is watched and
// callers keep reading the disk.
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>

namespace filewatch {

// One entry a remembered answer depends on: the name (lower case) in a watched folder.
struct Link {
    QString folder;
    QString name;
};
using Chain = QList<Link>;

// A change: an entry of a folder; name "" for the folder itself; folder "" when notices were
// lost and anything may have changed. stays: the entry is there after the change (written, its
// attributes changed, created or moved in), so a path to it still leads somewhere.
struct Change {
    QString folder;
    QString name;
    bool stays = false;
};

// Watches the folders a resolved path goes through, from its deepest existing folder up to the
// client folder (only the deepest one for a path outside it), and returns the entries its answer
// depends on. False when a folder cannot be watched: then nothing about the path may be kept.
bool watchPath(const QString& resolved, Chain& chain);
// True when the change can alter an answer that depends on the chain.
bool affects(const Chain& chain, const Change& change);
// Hands the changes noticed since the last call to every listener.
void poll();
// Registers a listener (once per cache); listeners live as long as the program.
void listen(std::function<void(const Change&)> listener);

// A lookup made of lookups asks the kernel for notices once: the outermost one polls, those
// inside it take that answer (nothing in between writes). A write still polls on its own.
class Lookup {
public:
    Lookup();
    ~Lookup();
    Lookup(const Lookup&) = delete;
    Lookup& operator=(const Lookup&) = delete;
};

// The key under which an entry of a folder is indexed, whatever the case of its name.
QString entryKey(const QString& folder, const QString& name);

// A program-wide table of answers, each with the chain it depends on (a member `chain`), from
// which a change drops every answer it can alter, except those `survives` says it leaves right;
// `dropped` (when given) counts what is dropped. Answers are indexed by the entries they depend
// on, so a change costs what it can alter, not the size of the table.
template <typename T>
class Kept {
public:
    using Table = QHash<QString, T>;

    static Kept& make(bool (*survives)(const T&, const Change&) = nullptr, quint64* dropped = nullptr) {
        auto* kept = new Kept(survives, dropped);
        listen([kept](const Change& change) { kept->apply(change); });
        return *kept;
    }

    typename Table::const_iterator constFind(const QString& key) const { return m_table.constFind(key); }
    typename Table::const_iterator constEnd() const { return m_table.constEnd(); }
    qsizetype size() const { return m_table.size(); }
    void clear() {
        m_table.clear();
        m_byEntry.clear();
        m_byFolder.clear();
    }
    typename Table::iterator insert(const QString& key, T value) {
        if (const auto old = m_table.constFind(key); old != m_table.constEnd()) unindex(key, old->chain);
        for (const Link& l : value.chain) {
            m_byEntry[entryKey(l.folder, l.name)].insert(key);
            m_byFolder[l.folder].insert(key);
        }
        return m_table.insert(key, std::move(value));
    }

private:
    Kept(bool (*survives)(const T&, const Change&), quint64* dropped) : m_survives(survives), m_dropped(dropped) {}

    void apply(const Change& change) {
        QList<QString> keys;
        if (change.folder.isEmpty()) {
            keys = m_table.keys();
        } else {
            const auto& index = change.name.isEmpty() ? m_byFolder : m_byEntry;
            const auto at = index.constFind(change.name.isEmpty() ? change.folder : entryKey(change.folder, change.name));
            if (at == index.constEnd()) return;
            keys = at->values();
        }
        for (const QString& key : keys) {
            const auto it = m_table.find(key);
            if (it == m_table.end() || !affects(it->chain, change) || (m_survives && m_survives(*it, change))) continue;
            unindex(key, it->chain);
            m_table.erase(it);
            if (m_dropped) ++*m_dropped;
        }
    }

    void unindex(const QString& key, const Chain& chain) {
        for (const Link& l : chain) {
            dropFrom(m_byEntry, entryKey(l.folder, l.name), key);
            dropFrom(m_byFolder, l.folder, key);
        }
    }

    static void dropFrom(QHash<QString, QSet<QString>>& index, const QString& at, const QString& key) {
        const auto it = index.find(at);
        if (it == index.end()) return;
        it->remove(key);
        if (it->isEmpty()) index.erase(it);
    }

    Table m_table;
    QHash<QString, QSet<QString>> m_byEntry;   // entryKey(folder, name) -> keys depending on it
    QHash<QString, QSet<QString>> m_byFolder;  // folder -> keys depending on an entry of it
    bool (*m_survives)(const T&, const Change&);
    quint64* m_dropped;
};

}  // namespace filewatch
