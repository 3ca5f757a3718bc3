#include "platform/Ini.h"

#include "platform/Codec1252.h"
#include "platform/Paths.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <optional>

namespace {
constexpr int kValueMax = 254;
constexpr qint64 kStillMs = 2000;

struct IniText {
    QStringList lines;
    QString eol = QStringLiteral("\r\n");
    bool endsWithEol = true;
};

struct CacheEntry {
    QDateTime modified;
    qint64 size = -1;
    IniText text;
};

// Small files are read on almost every lookup (skin values, per-user options), so the decoded
// lines are kept until the file changes on disk or we write it ourselves.
QHash<QString, CacheEntry>& cache() {
    static QHash<QString, CacheEntry> c;
    return c;
}

std::optional<IniText> load(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        cache().remove(path);
        return std::nullopt;
    }
    auto it = cache().find(path);
    if (it != cache().end() && it->size == info.size() && it->modified == info.lastModified()) return it->text;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QString all = decode1252(f.readAll());
    IniText t;
    if (!all.contains(QLatin1String("\r\n")) && all.contains(u'\n')) t.eol = QStringLiteral("\n");
    QString body = all;
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    body.replace(u'\r', u'\n');
    t.endsWithEol = body.isEmpty() || body.endsWith(u'\n');
    if (body.endsWith(u'\n')) body.chop(1);
    t.lines = body.isEmpty() && all.isEmpty() ? QStringList() : body.split(u'\n');
    // A file changed within the last moments may change again without a new time stamp (file
    // times are coarse), so only a file that has been still for a while is kept.
    if (info.lastModified().msecsTo(QDateTime::currentDateTime()) > kStillMs)
        cache().insert(path, CacheEntry{info.lastModified(), info.size(), t});
    else
        cache().remove(path);
    return t;
}

bool store(const QString& path, const IniText& t) {
    QByteArray out;
    for (int i = 0; i < t.lines.size(); ++i) {
        out += encode1252(t.lines[i]);
        if (i + 1 < t.lines.size() || t.endsWithEol) out += encode1252(t.eol);
    }
    QSaveFile f(path);
    f.setDirectWriteFallback(true);
    if (!f.open(QIODevice::WriteOnly) || f.write(out) != out.size() || !f.commit()) {
        cache().remove(path);
        return false;
    }
    cache().remove(path);
    return true;
}

// Section name of a line "[name]", or nullopt.
std::optional<QString> sectionOf(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(u'[')) return std::nullopt;
    const int close = t.indexOf(u']');
    return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
}

// Key of a line "key=value", or nullopt.
std::optional<QString> keyOf(const QString& line) {
    const int eq = line.indexOf(u'=');
    if (eq < 0) return std::nullopt;
    return line.left(eq).trimmed();
}

QString valueOf(const QString& line) {
    QString v = line.mid(line.indexOf(u'=') + 1).trimmed();
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front()) v = v.mid(1, v.size() - 2);
    return v;
}

bool same(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Index range [begin, end) of the first section with this name's body, or begin = -1.
std::pair<int, int> findSection(const IniText& t, const QString& section) {
    const QString want = section.trimmed();
    for (int i = 0; i < t.lines.size(); ++i) {
        const auto s = sectionOf(t.lines[i]);
        if (!s || !same(*s, want)) continue;
        int end = i + 1;
        while (end < t.lines.size() && !sectionOf(t.lines[end])) ++end;
        return {i + 1, end};
    }
    return {-1, -1};
}

int findKey(const IniText& t, std::pair<int, int> range, const QString& key) {
    const QString want = key.trimmed();
    for (int i = range.first; i < range.second; ++i) {
        const auto k = keyOf(t.lines[i]);
        if (k && same(*k, want)) return i;
    }
    return -1;
}
}  // namespace

QString ReadIni(const QString& section, const QString& key, const QString& file) {
    const auto t = load(resolvePath(file));
    if (!t) return {};
    const auto range = findSection(*t, section);
    if (range.first < 0) return {};
    const int i = findKey(*t, range, key);
    if (i < 0) return {};
    return valueOf(t->lines[i]).left(kValueMax);
}

namespace {
// A line break inside a name or value would start a line of its own (a section, another key),
// so text that came from elsewhere could rewrite the file: it is written as a blank.
QString oneLine(QString text) {
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}
}  // namespace

bool WriteIni(const QString& rawSection, const QString& rawKey, const QString& rawValue, const QString& file) {
    const QString section = oneLine(rawSection);
    const QString key = oneLine(rawKey);
    const QString value = oneLine(rawValue);
    const QString path = resolvePath(file);
    IniText t = load(path).value_or(IniText{});
    const QString line = key.trimmed() + u'=' + value;
    auto range = findSection(t, section);
    if (range.first < 0) {
        // Trailing blank lines stay where they are; the new section follows them.
        t.lines << u'[' + section.trimmed() + u']' << line;
        t.endsWithEol = true;
        return store(path, t);
    }
    const int i = findKey(t, range, key);
    if (i >= 0) {
        t.lines[i] = line;
    } else {
        int at = range.second;
        while (at > range.first && t.lines[at - 1].trimmed().isEmpty()) --at;
        t.lines.insert(at, line);
        if (at == t.lines.size() - 1) t.endsWithEol = true;
    }
    return store(path, t);
}

bool DeleteIniKey(const QString& section, const QString& key, const QString& file) {
    const QString path = resolvePath(file);
    auto t = load(path);
    if (!t) return true;
    const auto range = findSection(*t, section);
    if (range.first < 0) return true;
    const int i = findKey(*t, range, key);
    if (i < 0) return true;
    t->lines.removeAt(i);
    return store(path, *t);
}

QStringList IniSections(const QString& file) {
    QStringList out;
    const auto t = load(resolvePath(file));
    if (!t) return out;
    for (const QString& l : t->lines) {
        const auto s = sectionOf(l);
        if (s && !out.contains(*s, Qt::CaseInsensitive)) out << *s;
    }
    return out;
}

QStringList IniKeys(const QString& section, const QString& file) {
    QStringList out;
    const auto t = load(resolvePath(file));
    if (!t) return out;
    const auto range = findSection(*t, section);
    for (int i = range.first; i >= 0 && i < range.second; ++i) {
        const auto k = keyOf(t->lines[i]);
        if (k && !k->isEmpty() && !out.contains(*k, Qt::CaseInsensitive)) out << *k;
    }
    return out;
}
