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

QString clientPath(const QString& relative) {
    QString r = normalizePath(relative);
    while (r.startsWith(u'/')) r.remove(0, 1);
    return resolvePath(ClientFolder() + u'/' + r);
}

namespace {
struct KnownPath {
    QString resolved;
    bool exists = false;
    filewatch::Chain chain;
};

QHash<QString, KnownPath>& knownPaths() {
    static auto& paths = filewatch::keptWhileUnchanged<KnownPath>();
    return paths;
}
}  // namespace

QString knownPath(const QString& path, bool* exists) {
    const QString p = normalizePath(path);
    auto& known = knownPaths();
    filewatch::poll();
    if (const auto it = known.constFind(p); it != known.constEnd()) {
        if (exists) *exists = it->exists;
        return it->resolved;
    }
    KnownPath entry;
    const QString first = resolvePath(p);
    // Watched first, then resolved again: a change in between is either seen here or noticed.
    const bool watched = filewatch::watchPath(first, entry.chain);
    entry.resolved = watched ? resolvePath(p) : first;
    entry.exists = QFileInfo::exists(entry.resolved);
    if (exists) *exists = entry.exists;
    if (watched && entry.resolved == first) {
        if (known.size() > 4096) known.clear();
        known.insert(p, entry);
    }
    return entry.resolved;
}

QString knownClientPath(const QString& relative, bool* exists) {
    QString r = normalizePath(relative);
    while (r.startsWith(u'/')) r.remove(0, 1);
    return knownPath(ClientFolder() + u'/' + r, exists);
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
