#include "platform/Ini.h"

#include "platform/Codec1252.h"
#include "platform/FileWatch.h"
#include "platform/Paths.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <memory>
#include <optional>

namespace {
constexpr int kValueMax = 254;
constexpr qint64 kStillMs = 2000;

struct IniIndex;

struct IniText {
    QStringList lines;
    QString eol = QStringLiteral("\r\n");
    bool endsWithEol = true;
    // Built on first use for a file kept in memory.
    mutable std::shared_ptr<const IniIndex> index;
};

struct CacheEntry {
    QDateTime modified;
    qint64 size = -1;
    IniText text;
};

IniText decode(const QByteArray& bytes) {
    const QString all = decode1252(bytes);
    IniText t;
    if (!all.contains(QLatin1String("\r\n")) && all.contains(u'\n')) t.eol = QStringLiteral("\n");
    QString body = all;
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    body.replace(u'\r', u'\n');
    t.endsWithEol = body.isEmpty() || body.endsWith(u'\n');
    if (body.endsWith(u'\n')) body.chop(1);
    t.lines = body.isEmpty() && all.isEmpty() ? QStringList() : body.split(u'\n');
    return t;
}

std::optional<IniText> readFile(const QString& path) {
    if (!QFileInfo(path).isFile()) return std::nullopt;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return decode(f.readAll());
}

// Where change notices are not available, a file is re-checked on disk at each lookup; one
// that has not changed since is taken from here.
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
    auto t = readFile(path);
    if (!t) return std::nullopt;
    // A file changed within the last moments may change again without a new time stamp (file
    // times are coarse), so only a file that has been still for a while is kept.
    if (info.lastModified().msecsTo(QDateTime::currentDateTime()) > kStillMs)
        cache().insert(path, CacheEntry{info.lastModified(), info.size(), *t});
    else
        cache().remove(path);
    return t;
}

// Settings and skin files are read on almost every chat line, so each file asked for is kept
// decoded (or known missing) while change notices say nothing on its way changed.
struct KnownFile {
    filewatch::Chain chain;
    std::optional<IniText> text;
};

filewatch::Kept<KnownFile>& known() {
    static auto& files = filewatch::Kept<KnownFile>::make();
    return files;
}

// The file a lookup names, from memory when nothing changed since it was read; kept tells
// whether it stays there.
const std::optional<IniText>& lookup(const QString& file, bool* kept = nullptr) {
    if (kept) *kept = false;
    const QString key = normalizePath(file);
    auto& files = known();
    const filewatch::Lookup fresh;
    if (const auto it = files.constFind(key); it != files.constEnd()) {
        if (kept) *kept = true;
        return it->text;
    }
    KnownFile entry;
    // The path's own answer is kept across saves of the file, so a file saved again is only read.
    const QString path = knownPath(key, nullptr, &entry.chain);
    if (entry.chain.isEmpty()) {
        static std::optional<IniText> uncached;
        uncached = load(path);
        return uncached;
    }
    // Read after the watch is set: a change from here on is noticed at the next lookup.
    entry.text = readFile(path);
    if (files.size() > 1024) files.clear();
    if (kept) *kept = true;
    return files.insert(key, std::move(entry))->text;
}

// The file's text when it is kept in memory and nothing changed since, else nullptr.
const std::optional<IniText>* remembered(const QString& file) {
    const filewatch::Lookup fresh;
    const auto& files = known();
    const auto it = files.constFind(normalizePath(file));
    return it == files.constEnd() ? nullptr : &it->text;
}

bool store(const QString& path, const IniText& t) {
    QByteArray out;
    for (int i = 0; i < t.lines.size(); ++i) {
        out += encode1252(t.lines[i]);
        if (i + 1 < t.lines.size() || t.endsWithEol) out += encode1252(t.eol);
    }
    QSaveFile f(path);
    f.setDirectWriteFallback(true);
    const bool written = f.open(QIODevice::WriteOnly) && f.write(out) == out.size() && f.commit();
    cache().remove(path);
    // The notice of this write is queued by now: what is remembered of the file goes at once.
    filewatch::poll();
    return written;
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

// Cut at kValueMax; one copy made, of what is returned.
QString valueOf(const QString& line) {
    QStringView v = QStringView(line).mid(line.indexOf(u'=') + 1).trimmed();
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front()) v = v.mid(1, v.size() - 2);
    return v.left(kValueMax).toString();
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

namespace {
// The first line of each key in the first section of each name, for a file kept in memory.
// Names are lower-cased ASCII; a file (or a lookup) with a name beyond ASCII is matched by the
// scans above, whose case rules then apply.
struct IniIndex {
    bool usable = true;
    QHash<QString, QHash<QString, int>> keys;
};

bool asciiLower(QStringView text, QString& out) {
    out.resize(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80) return false;
        out[i] = QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
    }
    return true;
}

std::shared_ptr<const IniIndex> buildIndex(const IniText& t) {
    auto index = std::make_shared<IniIndex>();
    QString name;
    QString current;
    bool inFirst = false;
    for (int i = 0; i < t.lines.size(); ++i) {
        if (const auto s = sectionOf(t.lines[i])) {
            if (!asciiLower(*s, name)) return std::make_shared<IniIndex>(IniIndex{false, {}});
            inFirst = !index->keys.contains(name);
            current = name;
            if (inFirst) index->keys.insert(current, {});
            continue;
        }
        const auto k = keyOf(t.lines[i]);
        if (!k) continue;
        if (!asciiLower(*k, name)) return std::make_shared<IniIndex>(IniIndex{false, {}});
        if (!inFirst) continue;
        auto& keys = index->keys[current];
        if (!keys.contains(name)) keys.insert(name, i);
    }
    return index;
}

// The line of a key, -1 when missing.
int lineOf(const IniText& t, bool kept, const QString& section, const QString& key) {
    if (kept) {
        if (!t.index) t.index = buildIndex(t);
        // Lookups come by the hundred per chat line: the lower-cased names reuse two buffers.
        static thread_local QString s, k;
        if (t.index->usable && asciiLower(QStringView(section).trimmed(), s) && asciiLower(QStringView(key).trimmed(), k)) {
            const auto it = t.index->keys.constFind(s);
            return it == t.index->keys.constEnd() ? -1 : it->value(k, -1);
        }
    }
    const auto range = findSection(t, section);
    return range.first < 0 ? -1 : findKey(t, range, key);
}
}  // namespace

QString ReadIni(const QString& section, const QString& key, const QString& file) {
    bool kept = false;
    const auto& t = lookup(file, &kept);
    if (!t) return {};
    const int i = lineOf(*t, kept, section, key);
    if (i < 0) return {};
    return valueOf(t->lines[i]);
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

namespace {
void put(IniText& t, const IniWrite& write) {
    const QString section = oneLine(write.section);
    const QString key = oneLine(write.key);
    const QString line = key.trimmed() + u'=' + oneLine(write.value);
    auto range = findSection(t, section);
    if (range.first < 0) {
        // Trailing blank lines stay where they are; the new section follows them.
        t.lines << u'[' + section.trimmed() + u']' << line;
        t.endsWithEol = true;
        return;
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
}
}  // namespace

bool WriteIni(const QString& section, const QString& key, const QString& value, const QString& file) {
    return WriteIni({IniWrite{section, key, value}}, file);
}

bool WriteIni(const QList<IniWrite>& writes, const QString& file) {
    const QString path = knownPath(file);
    // A file just read (the usual case: a setting read, found missing, written) is not read again.
    const auto* kept = remembered(file);
    IniText t = (kept ? *kept : load(path)).value_or(IniText{});
    t.index.reset();
    for (const IniWrite& w : writes) put(t, w);
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
    const auto& t = lookup(file);
    if (!t) return out;
    for (const QString& l : t->lines) {
        const auto s = sectionOf(l);
        if (s && !out.contains(*s, Qt::CaseInsensitive)) out << *s;
    }
    return out;
}

QStringList IniKeys(const QString& section, const QString& file) {
    QStringList out;
    const auto& t = lookup(file);
    if (!t) return out;
    const auto range = findSection(*t, section);
    for (int i = range.first; i >= 0 && i < range.second; ++i) {
        const auto k = keyOf(t->lines[i]);
        if (k && !k->isEmpty() && !out.contains(*k, Qt::CaseInsensitive)) out << *k;
    }
    return out;
}
