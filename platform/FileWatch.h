#pragma once
// Change notices for folders whose files the client keeps decoded in memory (settings, skins),
// so that a lookup needs no disk access while nothing changed. The kernel queues a notice before
// the writing call returns, so a change by this or any other process is seen by the next poll,
// whatever the resolution of file times. Where notices are not available nothing is watched and
// callers keep reading the disk.
#include <QHash>
#include <QList>
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

// A program-wide table of answers, each with the chain it depends on (a member `chain`), from
// which a change drops every answer it can alter, except those `survives` says it leaves right;
// `dropped` (when given) counts what is dropped.
template <typename T>
QHash<QString, T>& keptWhileUnchanged(bool (*survives)(const T&, const Change&) = nullptr, quint64* dropped = nullptr) {
    auto* table = new QHash<QString, T>;
    listen([table, survives, dropped](const Change& change) {
        for (auto it = table->begin(); it != table->end();) {
            if (!affects(it->chain, change) || (survives && survives(*it, change))) {
                ++it;
                continue;
            }
            it = table->erase(it);
            if (dropped) ++*dropped;
        }
    });
    return *table;
}

}  // namespace filewatch
