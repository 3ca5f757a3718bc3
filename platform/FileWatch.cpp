#include "platform/FileWatch.h"

#include "platform/Paths.h"

#include <QFileInfo>
#include <QHash>

#ifdef __linux__
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace filewatch {
namespace {

struct State {
    int fd = -1;
    QHash<int, QStringList> folderOf;  // watch descriptor -> folders (one inode may have two paths)
    QHash<QString, int> watchOf;
    std::vector<std::function<void(const Change&)>> listeners;

    State() {
#ifdef __linux__
        fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
#endif
    }
};

State& state() {
    static State s;
    return s;
}

void tell(const Change& change) {
    for (const auto& l : state().listeners) l(change);
}

bool watchFolder(const QString& folder) {
    State& s = state();
    if (s.fd < 0) return false;
    if (s.watchOf.contains(folder)) return true;
#ifdef __linux__
    constexpr uint32_t kMask = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                               IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
    const int wd = inotify_add_watch(s.fd, QFile::encodeName(folder).constData(), kMask);
    if (wd < 0) return false;
    s.watchOf.insert(folder, wd);
    if (!s.folderOf[wd].contains(folder)) s.folderOf[wd] << folder;
    return true;
#else
    return false;
#endif
}

}  // namespace

bool watchPath(const QString& resolved, Chain& chain) {
    chain.clear();
    if (!resolved.startsWith(u'/') || state().fd < 0) return false;
    QString root = normalizePath(ClientFolder());
    while (root.size() > 1 && root.endsWith(u'/')) root.chop(1);
    const QStringList parts = resolved.split(u'/', Qt::SkipEmptyParts);
    if (parts.isEmpty()) return false;
    // The deepest existing folder on the way and the entry below it the answer depends on.
    QString folder = QStringLiteral("/");
    int i = 0;
    for (; i + 1 < parts.size(); ++i) {
        const QString next = folder.endsWith(u'/') ? folder + parts[i] : folder + u'/' + parts[i];
        if (!QFileInfo(next).isDir()) break;
        folder = next;
    }
    const bool inside = folder == root || folder.startsWith(root + u'/');
    QString name = parts[i];
    for (;;) {
        if (!watchFolder(folder)) return false;
        chain << Link{folder, name.toLower()};
        if (!inside || folder == root || folder == QLatin1String("/")) break;
        const int slash = folder.lastIndexOf(u'/');
        name = folder.mid(slash + 1);
        folder = slash > 0 ? folder.left(slash) : QStringLiteral("/");
    }
    return true;
}

QString entryKey(const QString& folder, const QString& name) { return folder + u'\n' + name.toCaseFolded(); }

bool affects(const Chain& chain, const Change& change) {
    if (change.folder.isEmpty()) return true;
    for (const Link& l : chain)
        if (l.folder == change.folder && (change.name.isEmpty() || change.name.compare(l.name, Qt::CaseInsensitive) == 0))
            return true;
    return false;
}

void poll() {
#ifdef __linux__
    State& s = state();
    if (s.fd < 0) return;
    // Not on the stack: this runs on nearly every lookup.
    alignas(inotify_event) static char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(s.fd, buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            return;
        }
        for (ssize_t at = 0; at + ssize_t(sizeof(inotify_event)) <= n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            at += ssize_t(sizeof(inotify_event)) + e->len;
            if (e->mask & IN_Q_OVERFLOW) {
                tell(Change{});
                continue;
            }
            const QStringList folders = s.folderOf.value(e->wd);
            const QString name = e->len ? QFile::decodeName(e->name) : QString();
            const bool gone = e->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF);
            const bool stays = !gone && e->len && (e->mask & (IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE | IN_MOVED_TO));
            for (const QString& folder : folders) tell(Change{folder, gone ? QString() : name, stays});
            // A folder moved away keeps its watch under its new name: drop it, a lookup watches anew.
            if (e->mask & IN_MOVE_SELF) inotify_rm_watch(s.fd, e->wd);
            if (e->mask & (IN_IGNORED | IN_MOVE_SELF)) {
                for (const QString& folder : folders) s.watchOf.remove(folder);
                s.folderOf.remove(e->wd);
            }
        }
    }
#endif
}

namespace {
int lookupDepth = 0;
}

Lookup::Lookup() {
    if (lookupDepth++ == 0) poll();
}

Lookup::~Lookup() { --lookupDepth; }

void listen(std::function<void(const Change&)> listener) { state().listeners.push_back(std::move(listener)); }

}  // namespace filewatch
