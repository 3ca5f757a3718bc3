#include "platform/Paths.h"

#include "platform/FileWatch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace {
QString& overrideFolder() {
    static QString folder;
    return folder;
}
}  // namespace

QString ClientFolder() {
    if (!overrideFolder().isEmpty()) return overrideFolder();
    const QString home = qEnvironmentVariable("CORVADEX_HOME");
    QString folder = !home.isEmpty() ? home
                     : QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                    : QDir::currentPath();
    folder = normalizePath(folder);
    while (folder.size() > 1 && folder.endsWith(u'/')) folder.chop(1);
    return folder;
}

void SetClientFolder(const QString& folder) {
    QString f = normalizePath(folder);
    while (f.size() > 1 && f.endsWith(u'/')) f.chop(1);
    overrideFolder() = f;
}

QString normalizePath(const QString& path) {
    QString p = path;
    p.replace(u'\\', u'/');
    while (p.contains(QLatin1String("//"))) p.replace(QLatin1String("//"), QLatin1String("/"));
    return p;
}

QString resolvePath(const QString& path) {
    const QString p = normalizePath(path);
    if (p.isEmpty() || QFileInfo::exists(p)) return p;
    const bool absolute = p.startsWith(u'/');
    const QStringList parts = p.split(u'/', Qt::SkipEmptyParts);
    QString current = absolute ? QStringLiteral("/") : QString();
    for (int i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        const QString exact = current.isEmpty() ? part : (current.endsWith(u'/') ? current + part : current + u'/' + part);
        if (QFileInfo::exists(exact) || part == QLatin1String(".") || part == QLatin1String("..")) {
            current = exact;
            continue;
        }
        QString found;
        const QDir dir(current.isEmpty() ? QStringLiteral(".") : current);
        const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& e : entries) {
            if (e.compare(part, Qt::CaseInsensitive) == 0) {
                found = e;
                break;
            }
        }
        if (found.isEmpty()) {
            // Nothing by that name: keep the rest as written.
            QString rest = exact;
            for (int j = i + 1; j < parts.size(); ++j) rest += u'/' + parts[j];
            return p.endsWith(u'/') ? rest + u'/' : rest;
        }
        current = current.isEmpty() ? found : (current.endsWith(u'/') ? current + found : current + u'/' + found);
    }
    return p.endsWith(u'/') && !current.endsWith(u'/') ? current + u'/' : current;
}

QString joinBelow(const QString& folder, const QString& relative) {
    QString r = normalizePath(relative);
    while (r.startsWith(u'/')) r.remove(0, 1);
    return folder + u'/' + r;
}

QString clientPath(const QString& relative) { return resolvePath(joinBelow(ClientFolder(), relative)); }

namespace {
struct KnownPath {
    QString resolved;
    bool exists = false;
    bool exact = false;  // the path exists as written
    filewatch::Chain chain;
};

// A path that exists as written leads to the same place whatever is written to its last entry,
// or moved or created over it (a settings file saved again): only a change on the way, or the
// entry leaving, can alter the answer.
bool stillThere(const KnownPath& path, const filewatch::Change& change) {
    return path.exact && change.stays && !path.chain.isEmpty() && change.folder == path.chain.front().folder;
}

// How often remembered paths were dropped: an answer taken from them stays right while this is the same.
quint64 droppedPaths = 0;

filewatch::Kept<KnownPath>& knownPaths() {
    static auto& paths = filewatch::Kept<KnownPath>::make(stillThere, &droppedPaths);
    return paths;
}
}  // namespace

QString knownPath(const QString& path, bool* exists) { return knownPath(path, exists, nullptr); }

QString knownPath(const QString& path, bool* exists, filewatch::Chain* chain) {
    const QString p = normalizePath(path);
    auto& known = knownPaths();
    const filewatch::Lookup fresh;
    if (const auto it = known.constFind(p); it != known.constEnd()) {
        if (exists) *exists = it->exists;
        if (chain) *chain = it->chain;
        return it->resolved;
    }
    if (chain) chain->clear();
    KnownPath entry;
    const QString first = resolvePath(p);
    // Watched first, then resolved again: a change in between is either seen here or noticed.
    const bool watched = filewatch::watchPath(first, entry.chain);
    entry.resolved = watched ? resolvePath(p) : first;
    entry.exists = QFileInfo::exists(entry.resolved);
    if (exists) *exists = entry.exists;
    if (watched && entry.resolved == first) {
        entry.exact = entry.exists && entry.resolved == p;
        if (chain) *chain = entry.chain;
        if (known.size() > 4096) {
            known.clear();
            ++droppedPaths;
        }
        known.insert(p, entry);
    }
    return entry.resolved;
}

QString knownClientPath(const QString& relative, bool* exists) {
    // The same few names are asked for on every chat line: their last answers are taken as they
    // were while the client folder is the same and no remembered path was dropped since.
    struct Recent {
        QString relative, folder, resolved;
        bool exists = false;
        quint64 dropped = 0;
    };
    static Recent recent[8];
    static int next = 0;
    const filewatch::Lookup fresh;
    const QString folder = ClientFolder();
    for (const Recent& k : recent) {
        if (k.resolved.isEmpty() || k.dropped != droppedPaths || k.relative != relative || k.folder != folder) continue;
        if (exists) *exists = k.exists;
        return k.resolved;
    }
    filewatch::Chain chain;
    bool there = false;
    const QString resolved = knownPath(joinBelow(folder, relative), &there, &chain);
    if (exists) *exists = there;
    // Only an answer remembered by knownPath (its entries watched) is taken again.
    if (!chain.isEmpty()) recent[next++ % 8] = Recent{relative, folder, resolved, there, droppedPaths};
    return resolved;
}

bool FileExists(const QString& path) {
    QString p = normalizePath(path);
    if (p.isEmpty()) return false;
    const int slash = p.lastIndexOf(u'/');
    const QString name = p.mid(slash + 1);
    if (name.contains(u'*') || name.contains(u'?')) {
        const QDir dir(resolvePath(slash >= 0 ? p.left(slash + 1) : QStringLiteral(".")));
        const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(name),
                                    QRegularExpression::CaseInsensitiveOption);
        for (const QString& e : dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
            if (re.match(e).hasMatch()) return true;
        return false;
    }
    while (p.size() > 1 && p.endsWith(u'/')) p.chop(1);
    return QFileInfo::exists(resolvePath(p));
}

int EnsureFolder(const QString& folder) {
    const QString path = clientPath(folder);
    if (!QFileInfo::exists(path)) QDir().mkdir(path);
    return 0;
}

bool isSafePathComponent(const QString& name) {
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && !name.contains(QLatin1String("..")) &&
           !name.contains(QChar(0)) && !name.contains(u':');
}
